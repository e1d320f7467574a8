#pragma once
// Byte streams of the program file readers and writers.
//
// A written file first goes to a new file beside its target and replaces the target only
// when it is complete: a save that fails half-way (a refused range, a full disk) leaves an
// existing file of the same name as it was.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

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
    OutputFile() = default;
    ~OutputFile() override;
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    // Creates the new file beside `path`; false with Error() set when it cannot.
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
    void Fail();

    std::string path_;
    std::string temporary_;
    int fd_ = -1;
    bool replacing_ = false;
    std::string buffer_;
    std::string error_;
};

} // namespace vantrel
