#include "base/Crc16.h"

#include <array>

namespace vantrel {
namespace {

constexpr std::array<uint16_t, 256> MakeKermitTable() {
    std::array<uint16_t, 256> table{};
    for (unsigned i = 0; i < 256; ++i) {
        uint16_t crc = static_cast<uint16_t>(i);
        for (int bit = 0; bit < 8; ++bit)
            crc = static_cast<uint16_t>((crc & 1) ? (crc >> 1) ^ 0x8408 : crc >> 1);
        table[i] = crc;
    }
    return table;
}
constexpr auto kKermitTable = MakeKermitTable();

} // namespace

uint16_t Crc16Kermit(uint16_t crc, const uint8_t* bytes, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i)
        crc = static_cast<uint16_t>((crc >> 8) ^ kKermitTable[(crc ^ bytes[i]) & 0xFF]);
    return crc;
}

} // namespace vantrel
