#include "image/FileIo.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>

namespace vantrel {
namespace {
constexpr std::size_t kBufferSize = 1 << 16;
std::atomic<unsigned> temporaryCounter{0};
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
    path_ = path;
    char suffix[64];
    std::snprintf(suffix, sizeof suffix, ".%d-%u.part", static_cast<int>(getpid()),
                  temporaryCounter.fetch_add(1));
    temporary_ = path + suffix;
    fd_ = ::open(temporary_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd_ < 0) {
        Fail();
        temporary_.clear();
        return false;
    }
    // A replaced file keeps its permissions.
    struct stat old;
    replacing_ = ::stat(path.c_str(), &old) == 0;
    if (replacing_ && S_ISREG(old.st_mode)) (void)::fchmod(fd_, old.st_mode & 07777);
    buffer_.reserve(kBufferSize);
    return true;
}

void OutputFile::Fail() {
    if (error_.empty()) error_ = std::strerror(errno);
}

void OutputFile::Flush() {
    std::size_t done = 0;
    while (done < buffer_.size() && fd_ >= 0 && error_.empty()) {
        ssize_t n = ::write(fd_, buffer_.data() + done, buffer_.size() - done);
        if (n > 0)
            done += static_cast<std::size_t>(n);
        else if (n < 0 && errno != EINTR)
            Fail();
    }
    buffer_.clear();
}

void OutputFile::Write(const char* data, std::size_t count) {
    if (fd_ < 0 || !error_.empty()) return;
    if (buffer_.size() + count > kBufferSize) Flush();
    if (count >= kBufferSize) {
        buffer_.assign(data, count);
        Flush();
        return;
    }
    buffer_.append(data, count);
}

bool OutputFile::Commit() {
    if (fd_ < 0) return false;
    Flush();
    // The old file is only given up once the new one is on the disk.
    if (replacing_ && error_.empty() && ::fsync(fd_) != 0 && errno != EINVAL) Fail();
    if (::close(fd_) != 0) Fail();
    fd_ = -1;
    if (error_.empty() && ::rename(temporary_.c_str(), path_.c_str()) != 0) Fail();
    if (!error_.empty()) {
        ::unlink(temporary_.c_str());
        temporary_.clear();
        return false;
    }
    temporary_.clear();
    return true;
}

void OutputFile::Abandon() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    if (!temporary_.empty()) ::unlink(temporary_.c_str());
    temporary_.clear();
    buffer_.clear();
}

} // namespace vantrel
