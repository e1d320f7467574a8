#include "platform/RegularFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

namespace vantrel {

const char* NonRegularKind(mode_t mode) {
    if (S_ISREG(mode)) return nullptr;
    if (S_ISDIR(mode)) return "a directory";
    if (S_ISFIFO(mode)) return "a FIFO";
    if (S_ISCHR(mode) || S_ISBLK(mode)) return "a device";
    if (S_ISSOCK(mode)) return "a socket";
    return "a special file";
}

std::string NotRegularText(const char* kind) {
    return std::string("It is ") + (kind ? kind : "a special file") + ", not a regular file!";
}

RegularFileOpen OpenRegularFile(const std::string& path, int flags, mode_t mode) {
    RegularFileOpen result;
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0 && (result.kind = NonRegularKind(st.st_mode))) return result;
    int fd = ::open(path.c_str(), flags | O_CLOEXEC | O_NONBLOCK | O_NOCTTY, mode);
    if (fd < 0) {
        result.error = errno;
        // A FIFO that came after the check refuses a non-blocking writer (ENXIO): say what it is.
        if (::stat(path.c_str(), &st) == 0 && (result.kind = NonRegularKind(st.st_mode)))
            result.error = 0;
        return result;
    }
    if (::fstat(fd, &st) != 0) {
        result.error = errno;
        ::close(fd);
        return result;
    }
    if ((result.kind = NonRegularKind(st.st_mode))) {
        ::close(fd);
        return result;
    }
    if (int fileFlags = ::fcntl(fd, F_GETFL); fileFlags >= 0)
        (void)::fcntl(fd, F_SETFL, fileFlags & ~O_NONBLOCK);
    result.fd = fd;
    return result;
}

std::string NotRegularNotice(const std::string& name, const char* kind) {
    char* full = ::realpath(name.c_str(), nullptr);
    std::string shown = full ? full : name;
    std::free(full);
    return "Could not open file [" + shown + "]\n" + NotRegularText(kind);
}

} // namespace vantrel
