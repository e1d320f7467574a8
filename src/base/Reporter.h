#pragma once
// The reporting seam: how the file readers, the device database, the settings and the link
// report an error without knowing the application. The application's implementation is the
// program's one error path (it sets the error level, feeds the error file and has the main
// window show the text, queued to the main thread when reported from another thread).
#include <cstddef>
#include <cstdint>
#include <string>

namespace vantrel {

// A message holds at most 199 characters and its terminator, wherever it is shown.
inline constexpr std::size_t kMessageSize = 200;

class Reporter {
  public:
    virtual ~Reporter() = default;
    // `code` 0 means a message without an error code; a null `text` means the code's standard
    // text.
    virtual void Report(int32_t code, const char* text = nullptr) = 0;
    void Report(int32_t code, const std::string& text) { Report(code, text.c_str()); }
};

} // namespace vantrel
