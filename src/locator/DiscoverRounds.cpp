#include "locator/DiscoverRounds.h"

namespace vantrel::locator {

void DiscoverRounds::Say(const char* text) {
    if (!diag_) return;
    std::fputs(text, diag_);
    std::fflush(diag_);
}

bool DiscoverRounds::RunRound(DiscoveryTable& table) {
    auto request = BuildDiscoverRequest();
    // Taken before the send: a programmer may get the request, and answer, before the send
    // returns here, and the ping must not come out shorter than the programmer's own delay.
    uint32_t sentAt = clock_.Milliseconds();
    if (!transport_.Broadcast(request)) {
        Say("sendto error\n");
        return false;
    }
    Say("\nSending discover - Waiting for replies...\n");
    table.Clear();
    uint8_t buffer[kMaxReplyRead];
    // The window is read until it ends even when the table is full, so that replies beyond the
    // 100th are taken off the socket and do not show up in the next round.
    for (uint32_t elapsed = 0; elapsed < kCollectMs; elapsed = clock_.Milliseconds() - sentAt) {
        auto length = transport_.Receive(buffer, kCollectMs - elapsed);
        if (!length) continue;
        auto entry = ParseDiscoverReply({buffer, *length});
        if (!entry) continue;
        entry->pingMs = clock_.Milliseconds() - sentAt;
        table.Add(*entry);
    }
    return true;
}

RoundsEnd DiscoverRounds::Run(const std::atomic<bool>& stop, unsigned maxRounds,
                              const RoundHandler& onRound) {
    for (unsigned round = 1; !stop.load(); ++round) {
        if (!RunRound(table_)) return RoundsEnd::SendFailed;
        if (onRound) onRound(table_);
        if (maxRounds != 0 && round >= maxRounds) break;
        clock_.Sleep(kPauseMs);
    }
    return RoundsEnd::Stopped;
}

} // namespace vantrel::locator
