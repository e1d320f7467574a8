#pragma once
// CRC-16/KERMIT (polynomial 0x1021 taken least significant bit first, start 0, no final XOR):
// the image CRC that the programmer computes over the same bytes.
#include <cstddef>
#include <cstdint>

namespace vantrel {

// Continues `crc` over the bytes.
uint16_t Crc16Kermit(uint16_t crc, const uint8_t* bytes, std::size_t count);

} // namespace vantrel
