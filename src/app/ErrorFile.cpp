#include "app/ErrorFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

#include "platform/RegularFile.h"

namespace vantrel {

ErrorFile::~ErrorFile() {
    Close(-1);
}

void ErrorFile::Init(const std::string& name, const std::tm& startTime, uint32_t startTick) {
    name_ = name;
    startTime_ = startTime;
    startTick_ = startTick;
}

void ErrorFile::Write(const std::string& text) {
    if (fd_ < 0) return;
    [[maybe_unused]] auto n = ::write(fd_, text.data(), text.size());
}

void ErrorFile::WriteEntry(uint32_t nowTick, int32_t errorLevel, const std::string& text) {
    if (name_.empty()) return;
    if (!opened_) {
        opened_ = true;
        RegularFileOpen file = OpenRegularFile(name_, O_WRONLY | O_CREAT | O_TRUNC);
        fd_ = file.fd;
        if (file.kind && notice_) notice_(NotRegularNotice(name_, file.kind));
        char line[128];
        std::snprintf(line, sizeof line, "* Program start: %4d-%02d-%02d, %02d:%02d:%02d\r\n",
                      startTime_.tm_year + 1900, startTime_.tm_mon + 1, startTime_.tm_mday,
                      startTime_.tm_hour, startTime_.tm_min, startTime_.tm_sec);
        Write(line);
    }
    Write("\r\n");
    uint32_t elapsed = nowTick - startTick_;
    char stamp[64];
    std::snprintf(stamp, sizeof stamp, "\r\n%03u:%02u:%03u --- ", elapsed / 60000,
                  elapsed / 1000 % 60, elapsed % 1000);
    Write(stamp);
    if (errorLevel != 0) {
        char level[32];
        std::snprintf(level, sizeof level, "Error:%4d\r\n", errorLevel);
        Write(std::string(level) + text);
    }
}

void ErrorFile::Close(int32_t serialNumber) {
    if (fd_ < 0) return;
    Write("\r\n");
    if (serialNumber > 0) {
        char line[64];
        std::snprintf(line, sizeof line, "* Vantrel SN: %d\r\n", serialNumber);
        Write(line);
    }
    ::close(fd_);
    fd_ = -1;
}

} // namespace vantrel
