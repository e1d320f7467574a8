#include "image/FileIo.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace vantrel {
namespace {
constexpr std::size_t kBufferSize = 1 << 16;
} // namespace

std::size_t StringSource::Read(uint8_t* buffer, std::size_t count) {
    std::size_t n = std::min(count, text_.size());
    std::memcpy(buffer, text_.data(), n);
    text_.remove_prefix(n);
    return n;
}

std::size_t FdSource::Read(uint8_t* buffer, std::size_t count) {
    std::size_t done = 0;
    while (done < count && !failed_) {
        ssize_t n = ::read(fd_, buffer + done, count - done);
        if (n > 0)
            done += static_cast<std::size_t>(n);
        else if (n == 0)
            break;
        else if (errno != EINTR)
            failed_ = true;
    }
    return done;
}

OutputFile::~OutputFile() {
    Abandon();
}

bool OutputFile::Open(const std::string& path) {
    Abandon();
    error_.clear();
    open_ = file_.Open(path);
    if (!open_) {
        error_ = file_.ErrorText();
        return false;
    }
    buffer_.reserve(kBufferSize);
    return true;
}

void OutputFile::Flush() {
    if (open_ && error_.empty() && !file_.Write(buffer_)) error_ = file_.ErrorText();
    buffer_.clear();
}

void OutputFile::Write(const char* data, std::size_t count) {
    if (!open_ || !error_.empty()) return;
    if (buffer_.size() + count > kBufferSize) Flush();
    if (count >= kBufferSize) {
        buffer_.assign(data, count);
        Flush();
        return;
    }
    buffer_.append(data, count);
}

bool OutputFile::Commit() {
    if (!open_) return false;
    Flush();
    open_ = false;
    if (!error_.empty()) {
        file_.Abandon();
        return false;
    }
    if (file_.Commit()) return true;
    error_ = file_.ErrorText();
    return false;
}

void OutputFile::Abandon() {
    file_.Abandon();
    open_ = false;
    buffer_.clear();
}

} // namespace vantrel
