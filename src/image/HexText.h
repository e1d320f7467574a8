#pragma once
// Upper-case hexadecimal pairs for the record writers.
#include <cstdint>

namespace vantrel {

inline char* PutHexByte(char* out, uint8_t byte) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    out[0] = kDigits[byte >> 4];
    out[1] = kDigits[byte & 0x0F];
    return out + 2;
}

} // namespace vantrel
