#pragma once
// The locator's UDP socket: bound to port 19020 on every local address, broadcasts allowed,
// non-blocking; requests go to the limited broadcast address 255.255.255.255:19020.
#include <cstdint>
#include <string>

#include "locator/DiscoverDatagrams.h"
#include "locator/DiscoverTransport.h"

namespace vantrel::locator {

class DiscoverSocket : public DiscoverTransport {
  public:
    DiscoverSocket() = default;
    ~DiscoverSocket() override;
    DiscoverSocket(const DiscoverSocket&) = delete;
    DiscoverSocket& operator=(const DiscoverSocket&) = delete;

    // Sets the socket up; on failure returns the diagnostic text ("Could not create socket."
    // or one that names the step that failed) and leaves no socket open.
    std::optional<std::string> Open(uint16_t port = kDiscoverPort);

    bool Broadcast(std::span<const uint8_t> datagram) override;
    std::optional<std::size_t> Receive(std::span<uint8_t> buffer, uint32_t waitMs) override;

  private:
    int fd_ = -1;
    uint16_t port_ = kDiscoverPort;
};

} // namespace vantrel::locator
