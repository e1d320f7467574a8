#include "base/TextScanner.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "base/UtilSnprintf.h"

namespace vantrel {
namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}
bool IsLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

template <typename Accept>
void ReadRun(ScanError& error, const char*& cursor, char* buffer, std::size_t size, Accept accept) {
    if (error.Failed() || size == 0) return;
    SkipBlanks(cursor);
    std::size_t n = 0;
    while (accept(*cursor) && n + 1 < size)
        buffer[n++] = *cursor++;
    buffer[n] = '\0';
}

} // namespace

void ScanError::Set(const std::string& message) {
    std::size_t n = std::min(message.size(), kSize - 1);
    std::memcpy(text, message.data(), n);
    text[n] = '\0';
}

void SkipBlanks(const char*& cursor) {
    while (IsBlank(*cursor))
        ++cursor;
}

void SkipLine(const char*& cursor) {
    while (*cursor && *cursor != '\r' && *cursor != '\n')
        ++cursor;
    while (*cursor == '\r' || *cursor == '\n')
        ++cursor;
}

void SkipComma(const char*& cursor) {
    SkipBlanks(cursor);
    if (*cursor == ',') ++cursor;
}

void ExpectChar(ScanError& error, const char*& cursor, char wanted) {
    if (error.Failed()) return;
    if (*cursor == wanted) {
        ++cursor;
        return;
    }
    std::snprintf(error.text, ScanError::kSize, "Expected '%c', got '%c'", wanted, *cursor);
}

void ReadQuoted(ScanError& error, const char*& cursor, char* buffer, std::size_t size) {
    if (error.Failed()) return;
    const char* p = cursor;
    SkipBlanks(p);
    if (*p != '"' || size == 0) {
        error.Set("\x01");
        return;
    }
    ++p;
    std::size_t n = 0;
    while (*p && *p != '"') {
        if (n + 1 >= size) {
            error.Set("\x01");
            return;
        }
        buffer[n++] = *p++;
    }
    if (*p != '"') {
        error.Set("\x01");
        return;
    }
    buffer[n] = '\0';
    cursor = p + 1;
}

void ReadLetters(ScanError& error, const char*& cursor, char* buffer, std::size_t size) {
    ReadRun(error, cursor, buffer, size, IsLetter);
}

void ReadAlnum(ScanError& error, const char*& cursor, char* buffer, std::size_t size) {
    ReadRun(error, cursor, buffer, size, [](char c) { return IsLetter(c) || IsDigit(c); });
}

void ReadDecimal(ScanError& error, const char*& cursor, int32_t& result, int32_t minimum,
                 int32_t maximum) {
    if (error.Failed()) return;
    const char* p = cursor; // the cursor moves only when the read succeeds, blanks included
    SkipBlanks(p);
    int32_t sign = 1;
    if (*p == '+') {
        ++p;
    } else if (*p == '-') {
        sign = -1;
        ++p;
    } else if (!IsDigit(*p)) {
        error.Set("Expecting a number");
        return;
    }
    // Accumulated in 32 bits with wrap-around, as a 32-bit register would.
    uint32_t value = 0;
    while (IsDigit(*p))
        value = value * 10u + static_cast<uint32_t>(*p++ - '0');
    auto signedValue = static_cast<int32_t>(value);
    if (signedValue < minimum) {
        error.Set(UTIL_format("Expected a value >= %d", {minimum}));
        return;
    }
    if (signedValue > maximum) signedValue = maximum;
    result = static_cast<int32_t>(static_cast<uint32_t>(sign) * static_cast<uint32_t>(signedValue));
    cursor = p;
}

void ReadHex(ScanError& error, const char*& cursor, uint32_t& result, uint32_t minimum,
             uint32_t maximum) {
    if (error.Failed()) return;
    const char* p = cursor;
    SkipBlanks(p);
    if (HexDigitValue(*p) < 0) {
        error.Set("Expecting a number");
        return;
    }
    uint32_t value = 0;
    for (int d; (d = HexDigitValue(*p)) >= 0; ++p)
        value = value * 16u + static_cast<uint32_t>(d);
    if (value < minimum) {
        char text[64];
        std::snprintf(text, sizeof text, "Expected a value >= %x", minimum);
        error.Set(text);
        return;
    }
    result = value > maximum ? maximum : value;
    cursor = p;
}

} // namespace vantrel
