#pragma once
// One serial line to the programmer, as the link thread uses it: opened by device path,
// configured for the programmer's line, read and written without ever blocking. Behind an
// interface so that the link can run over a pseudo-terminal or an in-memory line in tests.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace vantrel {

// The text of a port that cannot be opened; a reason may follow it after ": ".
inline constexpr const char* kCannotOpenPort = "Can not open com-port";

class SerialPort {
  public:
    // What a read or write did: the bytes moved, and whether the device is gone (unplugged, hung
    // up, the other side of a pseudo-terminal closed). A lost port stays lost: close it and open
    // the path again later.
    struct Transfer {
        std::size_t count = 0;
        bool lost = false;
    };

    virtual ~SerialPort() = default;

    // Opens and configures the device; null, or why not. A device that cannot be opened gives a
    // text starting with "Can not open com-port" (then, where it helps, the path and what to
    // do); one whose line settings cannot be read gives "Com-port problem", one that refuses
    // them "SIO_Init: Com-port problem". In those two cases the port stays open, as the link
    // counts a port available once it could be opened.
    virtual std::optional<std::string> Open(const std::string& path) = 0;
    virtual bool IsOpen() const = 0;
    virtual void Close() = 0;

    // Takes whatever has arrived, at most `size` bytes; count 0 at once when nothing has.
    virtual Transfer Read(std::uint8_t* buffer, std::size_t size) = 0;
    // Hands bytes to the driver; count is how many it took.
    virtual Transfer Write(const std::uint8_t* data, std::size_t size) = 0;
    // Drops whatever waits in the receive and the transmit queue.
    virtual void Flush() = 0;
    // Waits at most `ms` milliseconds for bytes to read; true when there are some. A lost port
    // has none and takes the whole time, so that a loop over it does not spin.
    virtual bool WaitForInput(int ms) = 0;
    // The descriptor to poll(2) for input together with other ports, or -1 when the port has
    // none (then the link waits through WaitForInput).
    virtual int PollDescriptor() const { return -1; }
};

} // namespace vantrel
