#pragma once
// The target configuration as the programmer reads it from a status poll. Addresses arrive
// absolute (the PC has already added the device's address offset), so the emulator works in
// absolute addresses throughout.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace vantrel::sim {

struct Bank {
    uint8_t kindOrder = 0; // (kind of memory area << 4) | order
    uint32_t start = 0;
    uint32_t size = 0;
    uint64_t End() const { return uint64_t{start} + size; } // one past the last byte
};

struct TargetConfig {
    uint32_t lowest = 0;
    uint32_t highest = 0; // inclusive
    uint8_t speedInterface = 0;
    uint8_t sifType = 0;
    uint8_t algoS = 0;
    uint8_t algoP = 0;
    uint8_t vpp = 0;
    uint8_t flags = 0; // bit 0: clear before programming
    std::vector<uint8_t> idBytes;
    uint32_t session = 0; // non-zero: start a session with this id
    uint8_t fill = 0xFF;
    uint8_t bootSelect = 0;
    std::vector<uint32_t> protectedAddresses;
    std::vector<Bank> banks; // ascending by start, as sent
    uint8_t serialAlgo = 0;
    std::vector<uint8_t> passcodeBlock; // 13 bytes for the algorithms that carry one
    std::vector<uint8_t> chipSpecifics;

    uint8_t Interface() const { return speedInterface & 0x0F; }
    bool ClearBeforeProgram() const { return flags & 0x01; }
};

// The emulator holds its flash in memory: banks of more bytes than this are refused.
inline constexpr uint64_t kMaxBankBytes = uint64_t{16} << 20;

// Parses a configuration; nullopt with `reason` set when the bytes do not form one (too short,
// trailing bytes, overlapping or unordered banks, more than kMaxBankBytes in all). Without a bank
// list (no device selected), the range lowest..highest stands for one bank when it is not empty.
std::optional<TargetConfig> ParseTargetConfig(std::span<const uint8_t> bytes, std::string& reason);

} // namespace vantrel::sim
