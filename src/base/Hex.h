#pragma once
// The one decoder of hexadecimal digits: the program files, the command line, the device files
// and the CSV list all read digits through it.
#include <array>
#include <cstdint>

namespace vantrel {

// The value of each character as a hexadecimal digit, -1 for any other character.
inline constexpr auto kHexDigitValue = [] {
    std::array<int8_t, 256> digit{};
    for (int i = 0; i < 256; ++i)
        digit[i] = -1;
    for (int i = 0; i < 10; ++i)
        digit['0' + i] = static_cast<int8_t>(i);
    for (int i = 0; i < 6; ++i) {
        digit['A' + i] = static_cast<int8_t>(10 + i);
        digit['a' + i] = static_cast<int8_t>(10 + i);
    }
    return digit;
}();

inline int HexDigitValue(char c) {
    return kHexDigitValue[static_cast<uint8_t>(c)];
}

} // namespace vantrel
