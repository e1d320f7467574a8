#include "base/LogFile.h"

#include <fcntl.h>
#include <unistd.h>

#include "base/UtilSnprintf.h"
#include "base/Version.h"
#include "platform/Clock.h"
#include "platform/RegularFile.h"

namespace vantrel {

ProtocolLog::~ProtocolLog() {
    Close();
}

std::string ProtocolLog::Header(const std::tm& now) {
    char date[128];
    std::strftime(date, sizeof date, "%A, %B %d, %Y %H:%M:%S", &now);
    return "Vantrel Protocoll file (Vantrel, compiled " + BuildDate() + " " + BuildTime() +
           ")\r\n\r\n" + date + "\r\n" + std::string(56, '*') + "\r\n\r\n";
}

void ProtocolLog::Open(Clock& clock, bool enabled, const std::string& path) {
    const char* notRegular = nullptr;
    {
        std::lock_guard guard(lock_);
        clock_ = &clock;
        openTick_ = clock.Milliseconds();
        enabled_ = enabled;
        if (!enabled_ || fd_ >= 0) return;
        RegularFileOpen file = OpenRegularFile(path, O_WRONLY | O_CREAT | O_TRUNC);
        fd_ = file.fd;
        notRegular = file.kind;
        if (fd_ >= 0) WriteLocked(Header(clock.LocalTime()));
    }
    // Told without the lock: the link thread may want to log meanwhile.
    if (notRegular && notice_) notice_(NotRegularNotice(path, notRegular));
}

void ProtocolLog::WriteLocked(const std::string& text) {
    if (!enabled_ || fd_ < 0) return;
    // One write call per formatted piece; failures are ignored.
    [[maybe_unused]] auto n = ::write(fd_, text.data(), text.size());
}

void ProtocolLog::Write(const std::string& text) {
    std::lock_guard guard(lock_);
    WriteLocked(text);
}

void ProtocolLog::WriteHexByte(uint8_t byte) {
    std::lock_guard guard(lock_);
    WriteLocked(UTIL_format(" %.2X", {byte}));
}

void ProtocolLog::WriteTimeStamp() {
    std::lock_guard guard(lock_);
    if (!clock_) return;
    uint32_t elapsed = clock_->Milliseconds() - openTick_;
    if (elapsed >= kLogLifetimeMs) {
        CloseLocked();
        return;
    }
    WriteLocked(UTIL_format("\r\n%.3d:%.3d ", {elapsed / 1000, elapsed % 1000}));
}

void ProtocolLog::CloseLocked() {
    if (fd_ < 0) return;
    WriteLocked("\r\n\r\n*** End of log ***");
    ::close(fd_);
    fd_ = -1;
    enabled_ = false; // never reopened in the same run
}

void ProtocolLog::Close() {
    std::lock_guard guard(lock_);
    CloseLocked();
}

} // namespace vantrel
