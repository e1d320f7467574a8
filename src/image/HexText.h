#pragma once
// Upper-case hexadecimal pairs for the record writers.
#include <array>
#include <cstdint>
#include <cstring>

namespace vantrel {

inline constexpr auto kHexPairs = [] {
    std::array<char, 512> pairs{};
    constexpr char kDigits[] = "0123456789ABCDEF";
    for (int i = 0; i < 256; ++i) {
        pairs[2 * i] = kDigits[i >> 4];
        pairs[2 * i + 1] = kDigits[i & 0x0F];
    }
    return pairs;
}();

inline char* PutHexByte(char* out, uint8_t byte) {
    std::memcpy(out, &kHexPairs[2 * byte], 2);
    return out + 2;
}

} // namespace vantrel
