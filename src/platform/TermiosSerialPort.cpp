#include "platform/TermiosSerialPort.h"

#include <asm/termbits.h> // the kernel's termios: see ConfigureLine
#include <fcntl.h>
#include <grp.h>
#include <poll.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <thread>
#include <vector>

namespace vantrel {

namespace {

constexpr const char* kCannotOpen = kCannotOpenPort;
constexpr std::size_t kMaxMessage = 199;

// 115200 baud, 8 data bits, odd parity generated but not checked, 1 stop bit, raw, no flow
// control, reads return at once; null, or the problem. Set through the kernel's own call and
// judged by its result alone: a pseudo-terminal takes odd parity but reads back without it, and
// the C library's tcsetattr reads back and calls that a failure once nothing else changes (the
// second open of a port).
const char* ConfigureLine(int fd) {
    termios tio{};
    if (::ioctl(fd, TCGETS, &tio) != 0) return "Com-port problem";
    tio.c_iflag &=
        ~(IGNBRK | BRKINT | PARMRK | ISTRIP | INLCR | IGNCR | ICRNL | IXON | IXOFF | IXANY | INPCK);
    tio.c_oflag &= ~OPOST;
    tio.c_lflag &= ~(ECHO | ECHONL | ICANON | ISIG | IEXTEN);
    tio.c_cflag &= ~(CBAUD | CIBAUD | CSIZE | CSTOPB | CRTSCTS);
    tio.c_cflag |= B115200 | CS8 | PARENB | PARODD | CLOCAL | CREAD;
    tio.c_cc[VMIN] = 0;
    tio.c_cc[VTIME] = 0;
    // TCSETSF also drops what came in before the line was set.
    if (::ioctl(fd, TCSETSF, &tio) != 0) return "SIO_Init: Com-port problem";
    return nullptr;
}

std::string InUseText(const std::string& path) {
    std::string text = std::string(kCannotOpen) + ": " + path + " is in use by another program.";
    return text.substr(0, kMaxMessage);
}

// The login name of this process's user; "$USER" (for the shell to fill in) when it has none.
std::string UserName() {
    passwd entry{};
    passwd* found = nullptr;
    std::vector<char> buffer(4096);
    if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found)
        return found->pw_name;
    return "$USER";
}

std::string GroupName(gid_t gid) {
    group entry{};
    group* found = nullptr;
    std::vector<char> buffer(4096);
    if (::getgrgid_r(gid, &entry, buffer.data(), buffer.size(), &found) == 0 && found)
        return found->gr_name;
    return std::to_string(gid);
}

} // namespace

std::string NoPermissionText(const std::string& path, const std::string& fileToInspect) {
    struct stat st {};
    if (::stat(fileToInspect.c_str(), &st) != 0)
        return (std::string(kCannotOpen) + ": no permission for " + path + ".")
            .substr(0, kMaxMessage);
    // Joining the root group is no advice: such a device is taken over instead.
    bool groupMayUse = st.st_gid != 0 && (st.st_mode & (S_IRGRP | S_IWGRP)) == (S_IRGRP | S_IWGRP);
    return NoPermissionText(path, GroupName(st.st_gid), groupMayUse, UserName());
}

std::string NoPermissionText(const std::string& path, const std::string& group, bool groupMayUse,
                             const std::string& user) {
    std::string command =
        groupMayUse
            ? "Run \"sudo usermod -aG " + group + " " + user + "\", then log in again."
            : "Run \"sudo chown " + user + " " + path + "\" (until it is plugged in again).";
    std::string head = std::string(kCannotOpen) + ": no permission for ";
    std::string tail = " (group " + group + "). " + command;
    // A long path is named by its end, so that the command still fits.
    std::string shown = path;
    std::size_t room = kMaxMessage - std::min(kMaxMessage, head.size() + tail.size());
    if (shown.size() > room) shown = room > 3 ? "..." + path.substr(path.size() - (room - 3)) : "";
    return (head + shown + tail).substr(0, kMaxMessage);
}

TermiosSerialPort::~TermiosSerialPort() {
    Close();
}

std::optional<std::string> TermiosSerialPort::Open(const std::string& path) {
    Close();
    int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        int error = errno;
        if (error == EACCES || error == EPERM) return NoPermissionText(path, path);
        // Another program holds the device exclusively (TIOCEXCL).
        if (error == EBUSY) return InUseText(path);
        return kCannotOpen;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISCHR(st.st_mode)) {
        ::close(fd);
        return kCannotOpen;
    }
    // The advisory lock catches a holder that TIOCEXCL lets through (root, or an open from
    // before); a file system without locks just goes without.
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK) {
        ::close(fd);
        return InUseText(path);
    }
    (void)::ioctl(fd, TIOCEXCL);
    fd_ = fd;
    // Bytes still queued may be answers to an earlier process.
    (void)::ioctl(fd, TCFLSH, TCIOFLUSH);

    if (const char* problem = ConfigureLine(fd)) return problem;
    // A pseudo-terminal has no modem lines; nothing to hold inactive there.
    int lines = TIOCM_DTR | TIOCM_RTS;
    (void)::ioctl(fd, TIOCMBIC, &lines);
    return std::nullopt;
}

void TermiosSerialPort::Close() {
    if (fd_ < 0) return;
    (void)::ioctl(fd_, TIOCNXCL);
    ::close(fd_);
    fd_ = -1;
}

bool TermiosSerialPort::HungUp() const {
    pollfd p{fd_, 0, 0};
    return ::poll(&p, 1, 0) > 0 && (p.revents & (POLLHUP | POLLERR | POLLNVAL));
}

SerialPort::Transfer TermiosSerialPort::Read(std::uint8_t* buffer, std::size_t size) {
    if (fd_ < 0) return {0, true};
    for (;;) {
        ssize_t n = ::read(fd_, buffer, size);
        if (n > 0) return {static_cast<std::size_t>(n), false};
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return {0, errno != EAGAIN && errno != EWOULDBLOCK};
        // A hung-up device reads as end of file, as does an empty queue without VMIN and VTIME.
        return {0, HungUp()};
    }
}

SerialPort::Transfer TermiosSerialPort::Write(const std::uint8_t* data, std::size_t size) {
    if (fd_ < 0) return {0, true};
    for (;;) {
        ssize_t n = ::write(fd_, data, size);
        if (n >= 0) return {static_cast<std::size_t>(n), false};
        if (errno == EINTR) continue;
        return {0, errno != EAGAIN && errno != EWOULDBLOCK};
    }
}

void TermiosSerialPort::Flush() {
    if (fd_ >= 0) (void)::ioctl(fd_, TCFLSH, TCIOFLUSH);
}

bool TermiosSerialPort::WaitForInput(int ms) {
    using namespace std::chrono;
    auto deadline = steady_clock::now() + milliseconds(ms);
    while (fd_ >= 0) {
        auto left = duration_cast<milliseconds>(deadline - steady_clock::now()).count();
        if (left < 0) return false;
        pollfd p{fd_, POLLIN, 0};
        int ready = ::poll(&p, 1, static_cast<int>(left));
        if (ready < 0 && errno == EINTR) continue;
        if (ready <= 0) return false;
        if (!(p.revents & (POLLHUP | POLLERR | POLLNVAL))) return (p.revents & POLLIN) != 0;
        // A hung-up device shows as readable for ever; only bytes still queued count.
        int queued = 0;
        if (::ioctl(fd_, FIONREAD, &queued) == 0 && queued > 0) return true;
        break;
    }
    std::this_thread::sleep_until(deadline);
    return false;
}

} // namespace vantrel
