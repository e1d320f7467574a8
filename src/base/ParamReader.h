#pragma once
// Reads the parameter of one queued command-line command: characters, hexadecimal values and
// comma-separated texts, from its own cursor. Each command gets a reader over its own entry, so
// no read position is shared between commands. A failed read sets the parse error and reports
// its text through `onError` (the error file of the command line).
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

namespace vantrel {

class ParamReader {
  public:
    using ErrorSink = std::function<void(const std::string&)>;

    ParamReader() = default;
    ParamReader(std::string param, ErrorSink onError)
        : param_(std::move(param)), onError_(std::move(onError)) {}

    const std::string& Param() const { return param_; }
    // What is left unread.
    std::string Rest() const { return param_.substr(pos_); }
    // The next character, or '\0' at the end.
    char GetChar();
    // A hexadecimal value, with a leading "-" for a negative one; a "-" or "," after digits is
    // left for the caller. -1 after a character that belongs to no value, 0 when none is there.
    int32_t GetHexValue();
    // A text up to the next comma (left for the caller), at most `maxLength` characters.
    std::string GetString(std::size_t maxLength);
    bool HasParseError() const { return parseError_; }

  private:
    void Fail(const char* text);

    std::string param_;
    std::size_t pos_ = 0;
    bool parseError_ = false;
    ErrorSink onError_;
};

} // namespace vantrel
