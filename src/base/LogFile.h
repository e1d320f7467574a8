#pragma once
// The protocol log "Vantrel.LOG": a time-stamped hex trace of the traffic with the programmer.
// It is opened once at start-up when the settings enable it and closes itself 200 s later. A
// name that stands for anything but a regular file is left alone (nothing is logged) and the
// notice handler is told.
#include <cstdint>
#include <ctime>
#include <functional>
#include <mutex>
#include <string>

namespace vantrel {

class Clock;

inline constexpr uint32_t kLogLifetimeMs = 200000;

class ProtocolLog {
  public:
    ProtocolLog() = default;
    ~ProtocolLog();
    ProtocolLog(const ProtocolLog&) = delete;
    ProtocolLog& operator=(const ProtocolLog&) = delete;

    void Open(Clock& clock, bool enabled, const std::string& path = "Vantrel.LOG");
    // Who shows "Could not open file [path]\nIt is a FIFO, not a regular file!".
    void SetNoticeHandler(std::function<void(const std::string&)> notice) {
        notice_ = std::move(notice);
    }
    void Write(const std::string& text);
    void WriteHexByte(uint8_t byte);
    void WriteTimeStamp();
    void Close();

    // The header line as written at the top of the file.
    static std::string Header(const std::tm& now);

  private:
    void WriteLocked(const std::string& text);
    void CloseLocked();

    std::function<void(const std::string&)> notice_;
    std::mutex lock_; // the link thread writes while the main thread may close
    Clock* clock_ = nullptr;
    bool enabled_ = false;
    int fd_ = -1;
    uint32_t openTick_ = 0;
};

inline void LOG_Open(ProtocolLog& log, Clock& clock, bool enabled) {
    log.Open(clock, enabled);
}
inline void LOG_Write(ProtocolLog& log, const std::string& text) {
    log.Write(text);
}
inline void LOG_WriteHexByte(ProtocolLog& log, uint8_t byte) {
    log.WriteHexByte(byte);
}
inline void LOG_WriteTimeStamp(ProtocolLog& log) {
    log.WriteTimeStamp();
}
inline void LOG_Close(ProtocolLog& log) {
    log.Close();
}

} // namespace vantrel
