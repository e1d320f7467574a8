#pragma once
// Byte streams of the program file readers and writers.
//
// A written file goes through SafeFileWriter (platform/SafeFileWriter.h): beside its target
// first, in its place only when complete, so a save that fails half-way (a refused range, a
// full disk) leaves an existing file of the same name as it was; links, permissions and
// read-only files are handled there.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

#include "platform/SafeFileWriter.h"

namespace vantrel {

class ByteSource {
  public:
    virtual ~ByteSource() = default;
    // Up to `count` bytes; 0 at the end of the data or after a read error.
    virtual std::size_t Read(uint8_t* buffer, std::size_t count) = 0;
    virtual bool Failed() const { return false; }
};

class StringSource : public ByteSource {
  public:
    explicit StringSource(std::string_view text) : text_(text) {}
    std::size_t Read(uint8_t* buffer, std::size_t count) override;

  private:
    std::string_view text_;
};

// An open file descriptor (not owned).
class FdSource : public ByteSource {
  public:
    explicit FdSource(int fd) : fd_(fd) {}
    std::size_t Read(uint8_t* buffer, std::size_t count) override;
    bool Failed() const override { return failed_; }

  private:
    int fd_;
    bool failed_ = false;
};

class OutputSink {
  public:
    virtual ~OutputSink() = default;
    virtual void Write(const char* data, std::size_t count) = 0;
    void Write(std::string_view text) { Write(text.data(), text.size()); }
};

class StringSink : public OutputSink {
  public:
    void Write(const char* data, std::size_t count) override { text.append(data, count); }
    using OutputSink::Write;
    std::string text;
};

class OutputFile : public OutputSink {
  public:
    explicit OutputFile(SafeWriteChecks checks = {}) : file_(std::move(checks)) {}
    ~OutputFile() override;
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    // Starts the save of `path`; false with Error() set when the file is refused or the new
    // file cannot be made.
    bool Open(const std::string& path);
    void Write(const char* data, std::size_t count) override;
    using OutputSink::Write;
    // Writes what is buffered and puts the file in place of `path`; false on any failure,
    // and then the target is untouched.
    bool Commit();
    // Drops the new file; the target is untouched.
    void Abandon();
    // The system's text for the first failure.
    const std::string& Error() const { return error_; }

  private:
    void Flush();

    SafeFileWriter file_;
    bool open_ = false;
    std::string buffer_;
    std::string error_;
};

} // namespace vantrel
