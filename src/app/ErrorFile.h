#pragma once
// The error file: created at the first error of a run (an older file is left alone until
// then), one entry per error with the time since the program started, and the programmer's
// serial number when the process ends.
#include <cstdint>
#include <ctime>
#include <string>

namespace vantrel {

class ErrorFile {
  public:
    ErrorFile() = default;
    ~ErrorFile();
    ErrorFile(const ErrorFile&) = delete;
    ErrorFile& operator=(const ErrorFile&) = delete;

    // The name (empty: no error file) and the program start it measures from.
    void Init(const std::string& name, const std::tm& startTime, uint32_t startTick);
    // One entry: time since start, the error level, the text as given.
    void WriteEntry(uint32_t nowTick, int32_t errorLevel, const std::string& text);
    // At process exit: a blank line, the serial number line when it is known, then close.
    void Close(int32_t serialNumber);
    bool IsOpen() const { return fd_ >= 0; }

  private:
    void Write(const std::string& text);

    std::string name_;
    std::tm startTime_{};
    uint32_t startTick_ = 0;
    int fd_ = -1;
    bool opened_ = false; // created once per run, never again after a failure or close
};

} // namespace vantrel
