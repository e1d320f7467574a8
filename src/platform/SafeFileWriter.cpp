#include "platform/SafeFileWriter.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstring>

#include "platform/RegularFile.h"

namespace vantrel {
namespace {

std::atomic<unsigned> temporaryCounter{0};

std::string FolderOf(const std::string& path) {
    auto slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// The path with every symbolic link of its last part followed; a relative link is taken from
// the link's folder. A link to a file that does not exist yet gives that file's path.
bool FollowLinks(std::string& path, int& error) {
    for (int hops = 0; hops < 40; ++hops) {
        struct stat st {};
        if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return true;
        std::string link(PATH_MAX, '\0');
        ssize_t n = ::readlink(path.c_str(), link.data(), link.size());
        if (n < 0) {
            error = errno;
            return false;
        }
        link.resize(static_cast<std::size_t>(n));
        if (link.empty()) {
            error = ENOENT;
            return false;
        }
        if (link[0] != '/' && path.find('/') != std::string::npos)
            link = path.substr(0, path.rfind('/') + 1) + link;
        path = link;
    }
    error = ELOOP;
    return false;
}

bool SystemCanCreateIn(const std::string& folder) {
    return ::faccessat(AT_FDCWD, folder.c_str(), W_OK | X_OK, AT_EACCESS) == 0;
}

} // namespace

SafeFileWriter::SafeFileWriter(SafeWriteChecks checks) : checks_(std::move(checks)) {}

SafeFileWriter::~SafeFileWriter() {
    Abandon();
}

bool SafeFileWriter::Fail(Step step, int error) {
    if (failedStep_ == Step::None) {
        failedStep_ = step;
        error_ = error;
    }
    return false;
}

std::string SafeFileWriter::ErrorText() const {
    if (kind_) return NotRegularText(kind_);
    return error_ ? std::strerror(error_) : "";
}

bool SafeFileWriter::Open(const std::string& path) {
    Abandon();
    failedStep_ = Step::None;
    error_ = 0;
    readOnly_ = false;
    kind_ = nullptr;
    inPlace_ = false;
    target_ = path;
    int error = 0;
    if (!FollowLinks(target_, error)) return Fail(Step::Open, error);

    struct stat old {};
    replacing_ = ::stat(target_.c_str(), &old) == 0;
    if (!replacing_ && errno != ENOENT) return Fail(Step::Open, errno);
    std::string folder = FolderOf(target_);
    if (replacing_) {
        if ((kind_ = NonRegularKind(old.st_mode))) return Fail(Step::Open, 0);
        if ((old.st_mode & 0222) == 0) {
            readOnly_ = true;
            return Fail(Step::Open, EACCES);
        }
        if (::faccessat(AT_FDCWD, target_.c_str(), W_OK, AT_EACCESS) != 0)
            return Fail(Step::Open, errno);
        bool canCreate =
            checks_.canCreateIn ? checks_.canCreateIn(folder) : SystemCanCreateIn(folder);
        inPlace_ = old.st_nlink > 1 || !canCreate;
    }

    if (inPlace_) {
        RegularFileOpen file = OpenRegularFile(target_, O_WRONLY);
        if (file.kind) kind_ = file.kind;
        if (file.fd < 0) return Fail(Step::Open, file.error);
        fd_ = file.fd;
        return true;
    }

    temporary_ = target_ + "." + std::to_string(::getpid()) + "-" +
                 std::to_string(temporaryCounter.fetch_add(1)) + ".tmp";
    fd_ = ::open(temporary_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd_ < 0) {
        int openError = errno;
        temporary_.clear();
        return Fail(Step::Open, openError);
    }
    if (replacing_) {
        // The owner first: a change of owner clears the set-id bits that the mode then restores.
        (void)::fchown(fd_, old.st_uid, old.st_gid);
        (void)::fchmod(fd_, old.st_mode & 07777);
    }
    return true;
}

bool SafeFileWriter::WriteFd(const char* data, std::size_t count) {
    std::size_t done = 0;
    while (done < count) {
        ssize_t n = ::write(fd_, data + done, count - done);
        if (n > 0)
            done += static_cast<std::size_t>(n);
        else if (n == 0)
            return Fail(Step::Write, EIO);
        else if (errno != EINTR)
            return Fail(Step::Write, errno);
    }
    return true;
}

bool SafeFileWriter::Write(const char* data, std::size_t count) {
    if (fd_ < 0 || failedStep_ != Step::None) return false;
    if (inPlace_) {
        pending_.append(data, count);
        return true;
    }
    return WriteFd(data, count);
}

bool SafeFileWriter::Commit() {
    if (fd_ < 0 || failedStep_ != Step::None) {
        Abandon();
        return false;
    }
    if (inPlace_) {
        if (::ftruncate(fd_, 0) != 0) Fail(Step::Write, errno);
        if (failedStep_ == Step::None) WriteFd(pending_.data(), pending_.size());
        if (failedStep_ == Step::None && ::fsync(fd_) != 0 && errno != EINVAL)
            Fail(Step::Write, errno);
        pending_.clear();
    } else if (replacing_ && ::fsync(fd_) != 0 && errno != EINVAL) {
        // The old file is only given up once the new one is on the disk (EINVAL: a file system
        // that cannot sync).
        Fail(Step::Write, errno);
    }
    if (::close(fd_) != 0) Fail(Step::Write, errno);
    fd_ = -1;
    if (!inPlace_) {
        if (failedStep_ == Step::None && ::rename(temporary_.c_str(), target_.c_str()) != 0)
            Fail(Step::Replace, errno);
        if (failedStep_ != Step::None) ::unlink(temporary_.c_str());
        temporary_.clear();
    }
    return failedStep_ == Step::None;
}

void SafeFileWriter::Abandon() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    if (!temporary_.empty()) ::unlink(temporary_.c_str());
    temporary_.clear();
    pending_.clear();
}

} // namespace vantrel
