#pragma once
// A cursor over NUL-terminated 8-bit text with a sticky error text. Every read that takes a
// ScanError does nothing once it holds a message, so a run of reads stops at the first failure
// and keeps its message; a failing read leaves the cursor where it was. Blanks are spaces and
// tabs. Used by the device files, the CSV list, the settings, the command line and dialogs.
#include <cstddef>
#include <cstdint>
#include <string>

#include "base/Hex.h"

namespace vantrel {

struct ScanError {
    static constexpr std::size_t kSize = 256;
    char text[kSize] = {};

    bool Failed() const { return text[0] != '\0'; }
    std::string Text() const { return text; }
    void Set(const std::string& message);
    void Clear() { text[0] = '\0'; }
};

void SkipBlanks(const char*& cursor);
// To the first CR, LF or NUL, then past every CR and LF that follows.
void SkipLine(const char*& cursor);
// Blanks, then one comma if there is one.
void SkipComma(const char*& cursor);
void ExpectChar(ScanError& error, const char*& cursor, char wanted);
// A text in double quotes, at most size - 1 characters; any failure sets the one-byte text 0x01.
void ReadQuoted(ScanError& error, const char*& cursor, char* buffer, std::size_t size);
void ReadLetters(ScanError& error, const char*& cursor, char* buffer, std::size_t size);
void ReadAlnum(ScanError& error, const char*& cursor, char* buffer, std::size_t size);
// A signed decimal; below `minimum` fails, above `maximum` becomes `maximum` silently. The range
// check is made before the sign is applied.
void ReadDecimal(ScanError& error, const char*& cursor, int32_t& result, int32_t minimum,
                 int32_t maximum);
// Hexadecimal digits without a prefix, kept in 32 bits; the same range rule, unsigned.
void ReadHex(ScanError& error, const char*& cursor, uint32_t& result, uint32_t minimum,
             uint32_t maximum);

} // namespace vantrel
