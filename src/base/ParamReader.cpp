#include "base/ParamReader.h"

#include <cstring>

#include "base/Hex.h"

namespace vantrel {

void ParamReader::Fail(const char* text) {
    parseError_ = true;
    if (onError_) onError_(text);
}

char ParamReader::GetChar() {
    if (pos_ >= param_.size()) return '\0';
    return param_[pos_++];
}

int32_t ParamReader::GetHexValue() {
    parseError_ = false;
    std::string text;
    for (char c; (c = GetChar()) != '\0';) {
        if (!std::strchr("01234567890abcdefABCDEF-,", c)) {
            Fail("CMDLINE_GetHexValue: Not a hex value");
            return -1;
        }
        if ((c == '-' || c == ',') && !text.empty()) {
            --pos_; // the separator is left for the caller
            break;
        }
        text += c;
    }
    if (text.empty()) {
        Fail("CMDLINE_GetHexValue: Missing value");
        return 0;
    }
    std::size_t i = 0;
    bool negative = text[0] == '-';
    if (negative) i = 1;
    uint32_t value = 0;
    for (; i < text.size(); ++i) {
        int digit = HexDigitValue(text[i]);
        if (digit < 0) { // only a leading comma gets here
            Fail("Not a hex value");
            return 0;
        }
        value = value * 16u + static_cast<uint32_t>(digit);
    }
    if (negative) value = 0u - value;
    return static_cast<int32_t>(value);
}

std::string ParamReader::GetString(std::size_t maxLength) {
    parseError_ = false;
    std::string text;
    for (char c; (c = GetChar()) != '\0';) {
        if (text.size() >= maxLength) {
            Fail("CMDLINE_GetString: String to long");
            return text;
        }
        if (c == ',' && !text.empty()) {
            --pos_;
            break;
        }
        text += c;
    }
    if (text.empty()) Fail("CMDLINE_GetString: Missing string");
    return text;
}

} // namespace vantrel
