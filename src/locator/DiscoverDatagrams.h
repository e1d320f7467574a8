#pragma once
// The two datagrams of network discovery and the table that one round fills.
//
// Request (PC to programmers): 128 bytes, the text "5NXT Discover" with its terminating 0,
// the rest 0. Reply (programmer to PC): at least 16 bytes that begin with the 10 characters
// "5NXT Found"; little-endian fields at fixed offsets (IPv4 at 16, MAC at 32, serial number at
// 48, firmware version at 52, product name at 64, nickname at 96). Up to 512 bytes of a reply
// are read. A field that lies beyond the end of a short reply reads as 0, never as bytes left
// over from an earlier datagram.
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace vantrel::locator {

constexpr uint16_t kDiscoverPort = 19020;
constexpr std::size_t kRequestSize = 128;
constexpr std::size_t kMinReplySize = 16;
constexpr std::size_t kMaxReplyRead = 512;
constexpr std::size_t kMaxEntries = 100;
constexpr std::size_t kNameSize = 32; // a name field; at most kNameSize - 1 characters are used

struct DiscoveryEntry {
    char product[kNameSize] = {}; // always 0-terminated
    char nickname[kNameSize] = {};
    uint32_t version = 0; // decimal MMmmRR
    uint32_t serial = 0;
    uint8_t ip[4] = {}; // in the order they were sent
    uint8_t mac[6] = {};
    uint32_t pingMs = 0; // from the broadcast to the reply's arrival
};

std::array<uint8_t, kRequestSize> BuildDiscoverRequest();

// The entry a datagram describes, or nothing when it is not a discover reply (shorter than 16
// bytes or without the reply text). Bytes past kMaxReplyRead are not looked at.
std::optional<DiscoveryEntry> ParseDiscoverReply(std::span<const uint8_t> datagram);

// At most kMaxEntries entries in arrival order; replies are not merged.
class DiscoveryTable {
  public:
    void Clear() { count_ = 0; }
    // False (and nothing stored) when the table is full.
    bool Add(const DiscoveryEntry& entry);
    std::size_t Count() const { return count_; }
    bool Full() const { return count_ == kMaxEntries; }
    std::span<const DiscoveryEntry> Entries() const { return {entries_.data(), count_}; }
    const DiscoveryEntry& operator[](std::size_t i) const { return entries_[i]; }

  private:
    std::array<DiscoveryEntry, kMaxEntries> entries_{};
    std::size_t count_ = 0;
};

} // namespace vantrel::locator
