#include "locator/DiscoverDatagrams.h"

#include <algorithm>
#include <cstring>

#include "base/LittleEndian.h"

namespace vantrel::locator {
namespace {

constexpr char kRequestText[] = "5NXT Discover"; // sent with its terminating 0
constexpr char kReplyText[] = "5NXT Found";      // its 10 characters are compared
constexpr std::size_t kReplyTextLength = sizeof(kReplyText) - 1;

constexpr std::size_t kIpOffset = 16;
constexpr std::size_t kMacOffset = 32;
constexpr std::size_t kSerialOffset = 48;
constexpr std::size_t kVersionOffset = 52;
constexpr std::size_t kProductOffset = 64;
constexpr std::size_t kNicknameOffset = 96;
constexpr std::size_t kReplyLayoutSize = kNicknameOffset + kNameSize;

uint32_t ReadU32(const uint8_t* p) {
    return static_cast<uint32_t>(ReadLittleEndian({p, 4}));
}

// Copies a name field up to its terminating 0, at most kNameSize - 1 characters.
void CopyName(char (&to)[kNameSize], const uint8_t* from) {
    std::size_t n = 0;
    while (n < kNameSize - 1 && from[n] != 0) {
        to[n] = static_cast<char>(from[n]);
        ++n;
    }
    to[n] = 0;
}

} // namespace

std::array<uint8_t, kRequestSize> BuildDiscoverRequest() {
    std::array<uint8_t, kRequestSize> request{};
    std::memcpy(request.data(), kRequestText, sizeof(kRequestText));
    return request;
}

std::optional<DiscoveryEntry> ParseDiscoverReply(std::span<const uint8_t> datagram) {
    if (datagram.size() < kMinReplySize) return std::nullopt;
    if (std::memcmp(datagram.data(), kReplyText, kReplyTextLength) != 0) return std::nullopt;

    // A zeroed copy of the fixed layout, so that fields a short reply leaves out read as 0.
    uint8_t reply[kReplyLayoutSize] = {};
    std::memcpy(reply, datagram.data(), std::min(datagram.size(), sizeof(reply)));

    DiscoveryEntry entry;
    std::memcpy(entry.ip, reply + kIpOffset, sizeof(entry.ip));
    std::memcpy(entry.mac, reply + kMacOffset, sizeof(entry.mac));
    entry.serial = ReadU32(reply + kSerialOffset);
    entry.version = ReadU32(reply + kVersionOffset);
    CopyName(entry.product, reply + kProductOffset);
    CopyName(entry.nickname, reply + kNicknameOffset);
    return entry;
}

bool DiscoveryTable::Add(const DiscoveryEntry& entry) {
    if (Full()) return false;
    entries_[count_++] = entry;
    return true;
}

} // namespace vantrel::locator
