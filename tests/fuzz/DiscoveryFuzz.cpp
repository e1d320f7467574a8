// The locator's discovery round on datagrams from the input (each a two-byte length, then its
// bytes; a length past the receive buffer is cut as the socket cuts it) on a fake clock. Every
// entry of the table must be what the reply parser makes of its datagram padded with zeros to
// the full read size (a short reply reads as 0 where it ends, never as an older datagram's
// bytes), names stay terminated, the table keeps its limit, and every row's texts can be made.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <span>
#include <vector>

#include "locator/DiscoverDatagrams.h"
#include "locator/DiscoverRounds.h"
#include "locator/DiscoveryColumns.h"
#include "support/FakeClock.h"

namespace {

using namespace vantrel::locator;

// Hands out the input's datagrams as fast as they are asked for, then silence until the
// window ends.
class ScriptedTransport : public DiscoverTransport {
  public:
    ScriptedTransport(std::vector<std::vector<uint8_t>> datagrams, vantrel::test::FakeClock& clock)
        : datagrams_(std::move(datagrams)), clock_(clock) {}

    bool Broadcast(std::span<const uint8_t>) override { return true; }
    std::optional<std::size_t> Receive(std::span<uint8_t> buffer, uint32_t waitMs) override {
        if (next_ >= datagrams_.size()) {
            clock_.now += waitMs;
            return std::nullopt;
        }
        const std::vector<uint8_t>& d = datagrams_[next_++];
        const std::size_t n = std::min(d.size(), buffer.size());
        std::copy_n(d.begin(), n, buffer.begin());
        return n;
    }
    // The datagrams that were taken off the line, in order.
    std::span<const std::vector<uint8_t>> Delivered() const { return {datagrams_.data(), next_}; }

  private:
    std::vector<std::vector<uint8_t>> datagrams_;
    vantrel::test::FakeClock& clock_;
    std::size_t next_ = 0;
};

bool SameEntry(const DiscoveryEntry& a, const DiscoveryEntry& b) {
    return std::memcmp(a.product, b.product, kNameSize) == 0 &&
           std::memcmp(a.nickname, b.nickname, kNameSize) == 0 && a.version == b.version &&
           a.serial == b.serial && std::memcmp(a.ip, b.ip, sizeof a.ip) == 0 &&
           std::memcmp(a.mac, b.mac, sizeof a.mac) == 0;
}

bool Terminated(const char (&name)[kNameSize]) {
    return std::memchr(name, 0, kNameSize) != nullptr;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<std::vector<uint8_t>> datagrams;
    for (size_t at = 0; at + 2 <= size;) {
        const size_t length = std::min<size_t>(data[at] | data[at + 1] << 8, size - at - 2);
        datagrams.emplace_back(data + at + 2, data + at + 2 + length);
        at += 2 + length;
    }
    vantrel::test::FakeClock clock;
    ScriptedTransport transport(std::move(datagrams), clock);
    DiscoverRounds rounds(transport, clock, nullptr);
    DiscoveryTable table;
    if (!rounds.RunRound(table) || table.Count() > kMaxEntries) std::abort();

    std::size_t row = 0;
    for (const std::vector<uint8_t>& d : transport.Delivered()) {
        std::vector<uint8_t> padded(d.begin(), d.begin() + std::min(d.size(), kMaxReplyRead));
        if (padded.size() >= kMinReplySize) padded.resize(kMaxReplyRead, 0);
        const std::optional<DiscoveryEntry> expected = ParseDiscoverReply(padded);
        if (!expected || row >= kMaxEntries) continue;
        if (row >= table.Count() || !SameEntry(table[row], *expected)) std::abort();
        ++row;
    }
    if (row != table.Count()) std::abort();
    for (std::size_t i = 0; i < table.Count(); ++i) {
        if (!Terminated(table[i].product) || !Terminated(table[i].nickname)) std::abort();
        DiscoveryRowTexts(i, table[i]);
    }
    return 0;
}
