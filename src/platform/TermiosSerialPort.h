#pragma once
// The serial port on a POSIX terminal device: the programmer's line is 115200 baud, 8 data bits,
// odd parity (generated, not checked), 1 stop bit, raw, no flow control, DTR and RTS inactive.
// The port is held exclusively (TIOCEXCL and an advisory lock), so that the link never sends
// frames into another program's session on the same device.
#include <string>

#include "platform/SerialPort.h"

namespace vantrel {

class TermiosSerialPort final : public SerialPort {
  public:
    TermiosSerialPort() = default;
    ~TermiosSerialPort() override;
    TermiosSerialPort(const TermiosSerialPort&) = delete;
    TermiosSerialPort& operator=(const TermiosSerialPort&) = delete;

    std::optional<std::string> Open(const std::string& path) override;
    bool IsOpen() const override { return fd_ >= 0; }
    void Close() override;
    Transfer Read(std::uint8_t* buffer, std::size_t size) override;
    Transfer Write(const std::uint8_t* data, std::size_t size) override;
    void Flush() override;
    bool WaitForInput(int ms) override;
    int PollDescriptor() const override { return fd_; }

  private:
    bool HungUp() const;

    int fd_ = -1;
};

// The message for a device this user may not open: the path, the group that owns it and the
// one command that lets `user` in (joining the group when the group may use the device, else
// taking the device over until it is plugged in again). At most 199 characters.
std::string NoPermissionText(const std::string& path, const std::string& group, bool groupMayUse,
                             const std::string& user);

// The same for the device `path`, with its group and modes taken from `fileToInspect` (the same
// file, seen through a different root when a test lists a fake device tree).
std::string NoPermissionText(const std::string& path, const std::string& fileToInspect);

} // namespace vantrel
