#pragma once
// The programmer's numbers (in frames, status records, the setup block, the firmware marker,
// discovery replies) are stored least significant byte first. The emulators under tools/ keep
// their own decoding on purpose, so that a fault here cannot hide behind the same fault there.
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace vantrel {

// The value of all of `bytes` (at most 8).
constexpr uint64_t ReadLittleEndian(std::span<const uint8_t> bytes) {
    uint64_t value = 0;
    for (std::size_t i = bytes.size(); i-- > 0;)
        value = value << 8 | bytes[i];
    return value;
}

// `value` into every byte of `out` (at most 8), the lowest first.
constexpr void WriteLittleEndian(std::span<uint8_t> out, uint64_t value) {
    for (uint8_t& byte : out) {
        byte = static_cast<uint8_t>(value);
        value >>= 8;
    }
}

inline void AppendLittleEndian(std::vector<uint8_t>& out, uint64_t value, std::size_t width) {
    for (std::size_t i = 0; i < width; ++i, value >>= 8)
        out.push_back(static_cast<uint8_t>(value));
}

} // namespace vantrel
