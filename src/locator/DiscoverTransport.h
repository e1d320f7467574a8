#pragma once
// What a discovery round needs of the network: send the request as a broadcast, and receive
// one datagram, waiting at most a given time. DiscoverSocket is the real one; the tests give
// the rounds a scripted one.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace vantrel::locator {

class DiscoverTransport {
  public:
    virtual ~DiscoverTransport() = default;
    // False when the datagram could not be sent.
    virtual bool Broadcast(std::span<const uint8_t> datagram) = 0;
    // The length of the next datagram (cut to buffer.size()) copied into `buffer`, or nothing
    // when none arrived within waitMs.
    virtual std::optional<std::size_t> Receive(std::span<uint8_t> buffer, uint32_t waitMs) = 0;
};

} // namespace vantrel::locator
