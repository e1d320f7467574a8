#pragma once
// The error file: created at the first error of a run (an older file is left alone until
// then), one entry per error with the time since the program started, and the programmer's
// serial number when the process ends. A name that stands for anything but a regular file (a
// FIFO, a directory, a device) is never opened for good: the errors are then not recorded, and
// the notice handler is told once.
#include <cstdint>
#include <ctime>
#include <functional>
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
    // Who shows "Could not open file [path]\nIt is a FIFO, not a regular file!".
    void SetNoticeHandler(std::function<void(const std::string&)> notice) {
        notice_ = std::move(notice);
    }
    // One entry: time since start, the error level, the text as given.
    void WriteEntry(uint32_t nowTick, int32_t errorLevel, const std::string& text);
    // At process exit: a blank line, the serial number line when it is known, then close.
    void Close(int32_t serialNumber);
    bool IsOpen() const { return fd_ >= 0; }

  private:
    void Write(const std::string& text);

    std::function<void(const std::string&)> notice_;
    std::string name_;
    std::tm startTime_{};
    uint32_t startTick_ = 0;
    int fd_ = -1;
    bool opened_ = false; // created once per run, never again after a failure or close
};

} // namespace vantrel
