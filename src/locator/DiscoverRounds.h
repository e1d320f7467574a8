#pragma once
// The discovery rounds. One round: broadcast the request, clear the table, collect the replies
// for 100 ms after the send (each stamped with the milliseconds since the send), hand the
// table to the caller. Between rounds a pause of 500 ms. The stop flag is read at the top of
// each round, so a stop takes effect within one round. A failed send ends the rounds for good.
//
// Diagnostics go to `diag` (stdout in the programs), in the program's own words.
#include <atomic>
#include <cstdio>
#include <functional>

#include "locator/DiscoverDatagrams.h"
#include "locator/DiscoverTransport.h"
#include "platform/Clock.h"

namespace vantrel::locator {

constexpr uint32_t kCollectMs = 100;
constexpr uint32_t kPauseMs = 500;

enum class RoundsEnd {
    Stopped,   // the stop flag was set, or the asked number of rounds ran
    SendFailed // "sendto error": no more rounds
};

using RoundHandler = std::function<void(const DiscoveryTable&)>;

class DiscoverRounds {
  public:
    DiscoverRounds(DiscoverTransport& transport, Clock& clock, std::FILE* diag = stdout)
        : transport_(transport), clock_(clock), diag_(diag) {}

    // One round into `table`; false when the request could not be sent.
    bool RunRound(DiscoveryTable& table);

    // Rounds until `stop` is set or `maxRounds` rounds ran (0: no limit). `onRound` gets the
    // table after each round. No pause follows the last of `maxRounds` rounds.
    RoundsEnd Run(const std::atomic<bool>& stop, unsigned maxRounds, const RoundHandler& onRound);

  private:
    void Say(const char* text);

    DiscoverTransport& transport_;
    Clock& clock_;
    std::FILE* diag_;
    DiscoveryTable table_;
};

} // namespace vantrel::locator
