#pragma once
// Builds record lines with correct counts and checksums, for tests that need many of them.
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace vantrel::test {

inline std::string HexBytes(const std::vector<uint8_t>& bytes) {
    std::string text;
    char pair[3];
    for (uint8_t b : bytes) {
        std::snprintf(pair, sizeof pair, "%02X", b);
        text += pair;
    }
    return text;
}

// S<type> with an address of 2, 3 or 4 bytes (S1/S9: 2, S2/S8: 3, S3/S7: 4, others 2).
inline std::string SRec(int type, uint32_t address, const std::vector<uint8_t>& data) {
    int addressLength = type == 2 || type == 8 ? 3 : type == 3 || type == 7 ? 4 : 2;
    std::vector<uint8_t> bytes{static_cast<uint8_t>(addressLength + data.size() + 1)};
    for (int i = addressLength - 1; i >= 0; --i)
        bytes.push_back(static_cast<uint8_t>(address >> (8 * i)));
    bytes.insert(bytes.end(), data.begin(), data.end());
    uint8_t sum = 0;
    for (uint8_t b : bytes)
        sum = static_cast<uint8_t>(sum + b);
    bytes.push_back(static_cast<uint8_t>(~sum));
    return "S" + std::to_string(type) + HexBytes(bytes);
}

inline std::string IHex(uint8_t type, uint16_t address, const std::vector<uint8_t>& data) {
    std::vector<uint8_t> bytes{static_cast<uint8_t>(data.size()),
                               static_cast<uint8_t>(address >> 8), static_cast<uint8_t>(address),
                               type};
    bytes.insert(bytes.end(), data.begin(), data.end());
    uint8_t sum = 0;
    for (uint8_t b : bytes)
        sum = static_cast<uint8_t>(sum + b);
    bytes.push_back(static_cast<uint8_t>(0u - sum));
    return ":" + HexBytes(bytes);
}

} // namespace vantrel::test
