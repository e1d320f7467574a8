// The discovery rounds against a scripted network and a clock that moves only when the rounds
// wait: the 100 ms window, the measured ping, the cap of 100, the stop flag, a failed send.
#include <gtest/gtest.h>

#include <cstring>
#include <deque>
#include <string>
#include <vector>

#include "locator/DiscoverRounds.h"
#include "support/FakeClock.h"

namespace vantrel::locator {
namespace {

using Bytes = std::vector<uint8_t>;

Bytes Reply(uint32_t serial, std::size_t length = 128) {
    Bytes b(128, 0);
    std::memcpy(b.data(), "5NXT Found", 10);
    for (int i = 0; i < 4; ++i)
        b[16 + i] = static_cast<uint8_t>(10 + i);
    for (int i = 0; i < 4; ++i)
        b[48 + i] = static_cast<uint8_t>(serial >> (8 * i));
    std::memcpy(b.data() + 64, "NXT", 3);
    b.resize(length);
    return b;
}

// Each broadcast starts the next round's script: datagrams that arrive so many milliseconds
// after the send. Waiting moves the fake clock to the arrival or to the end of the wait; a
// datagram that arrives just as the wait ends is left for later.
class ScriptedNetwork : public DiscoverTransport {
  public:
    explicit ScriptedNetwork(test::FakeClock& clock) : clock_(clock) {}

    struct Arrival {
        uint32_t afterMs;
        Bytes datagram;
    };
    std::vector<std::vector<Arrival>> rounds; // the script of round 1, 2, ...
    int failSendNumber = 0;                   // this broadcast (1-based) fails
    int broadcasts = 0;
    std::size_t leftUnread = 0;

    bool Broadcast(std::span<const uint8_t> datagram) override {
        EXPECT_EQ(datagram.size(), 128u);
        if (++broadcasts == failSendNumber) return false;
        leftUnread += pending_.size();
        pending_.clear();
        uint32_t sentAt = clock_.now;
        if (static_cast<std::size_t>(broadcasts) <= rounds.size())
            for (auto& a : rounds[broadcasts - 1])
                pending_.push_back({sentAt + a.afterMs, a.datagram});
        return true;
    }

    std::optional<std::size_t> Receive(std::span<uint8_t> buffer, uint32_t waitMs) override {
        EXPECT_GT(waitMs, 0u);
        if (!pending_.empty() && pending_.front().afterMs < clock_.now + waitMs) {
            Arrival a = pending_.front();
            pending_.pop_front();
            clock_.now = std::max(clock_.now, a.afterMs);
            std::size_t n = std::min(a.datagram.size(), buffer.size());
            std::memcpy(buffer.data(), a.datagram.data(), n);
            return n;
        }
        clock_.now += waitMs;
        return std::nullopt;
    }

  private:
    test::FakeClock& clock_;
    std::deque<Arrival> pending_; // afterMs holds the absolute arrival time here
};

struct Rounds : ::testing::Test {
    test::FakeClock clock;
    ScriptedNetwork network{clock};
    char* diagText = nullptr;
    std::size_t diagSize = 0;
    std::FILE* diag = open_memstream(&diagText, &diagSize);
    DiscoverRounds rounds{network, clock, diag};
    std::atomic<bool> stop{false};
    std::vector<std::vector<DiscoveryEntry>> seen;

    ~Rounds() override {
        std::fclose(diag);
        std::free(diagText);
    }
    RoundsEnd Run(unsigned maxRounds, int stopAfter = 0) {
        return rounds.Run(stop, maxRounds, [&](const DiscoveryTable& table) {
            seen.emplace_back(table.Entries().begin(), table.Entries().end());
            if (stopAfter && static_cast<int>(seen.size()) == stopAfter) stop = true;
        });
    }
    std::string Diag() {
        std::fflush(diag);
        return std::string(diagText, diagSize);
    }
};

TEST_F(Rounds, CollectsForOneHundredMillisecondsAndMeasuresThePing) {
    network.rounds = {
        {{0, Reply(1)}, {7, Reply(2)}, {99, Reply(3)}, {100, Reply(4)}, {150, Reply(5)}}};
    Run(1);
    ASSERT_EQ(seen.size(), 1u);
    ASSERT_EQ(seen[0].size(), 3u);
    EXPECT_EQ(seen[0][0].serial, 1u);
    EXPECT_EQ(seen[0][0].pingMs, 0u);
    EXPECT_EQ(seen[0][1].serial, 2u);
    EXPECT_EQ(seen[0][1].pingMs, 7u);
    EXPECT_EQ(seen[0][2].serial, 3u);
    EXPECT_EQ(seen[0][2].pingMs, 99u);
    EXPECT_EQ(Diag(), "\nSending discover - Waiting for replies...\n");
}

TEST_F(Rounds, ForeignAndShortDatagramsAreSkippedAndTheTableStartsEmptyEachRound) {
    Bytes foreign(128, 'x');
    network.rounds = {
        {{1, foreign}, {2, Reply(1, 15)}, {3, Reply(2)}, {4, Reply(3, 16)}, {5, Reply(4)}},
        {},
        {{50, Reply(5)}},
    };
    Run(3);
    ASSERT_EQ(seen.size(), 3u);
    ASSERT_EQ(seen[0].size(), 3u);
    EXPECT_EQ(seen[0][0].serial, 2u);
    // The 16-byte reply shows nothing of the longer reply read before it.
    EXPECT_EQ(seen[0][1].serial, 0u);
    EXPECT_EQ(seen[0][1].ip[0], 0);
    EXPECT_STREQ(seen[0][1].product, "");
    EXPECT_EQ(seen[0][2].serial, 4u);
    EXPECT_TRUE(seen[1].empty());
    ASSERT_EQ(seen[2].size(), 1u);
    EXPECT_EQ(seen[2][0].pingMs, 50u);
}

TEST_F(Rounds, KeepsTheFirstHundredAndStillEmptiesTheWindow) {
    std::vector<ScriptedNetwork::Arrival> many;
    for (uint32_t i = 0; i < 130; ++i)
        many.push_back({i / 2, Reply(i)});
    network.rounds = {many};
    Run(1);
    ASSERT_EQ(seen[0].size(), 100u);
    for (uint32_t i = 0; i < 100; ++i)
        EXPECT_EQ(seen[0][i].serial, i);
    Run(1); // the next broadcast finds nothing left of the first round
    EXPECT_EQ(network.leftUnread, 0u);
}

TEST_F(Rounds, StopFlagIsReadAtTheTopOfEachRoundWithPausesBetween) {
    EXPECT_EQ(Run(0, 2), RoundsEnd::Stopped);
    EXPECT_EQ(network.broadcasts, 2);
    EXPECT_EQ(seen.size(), 2u);
    EXPECT_EQ(clock.slept, 2u * kPauseMs);

    stop = true;
    seen.clear();
    Run(0);
    EXPECT_TRUE(seen.empty());
}

TEST_F(Rounds, AskedNumberOfRoundsEndsWithoutATrailingPause) {
    uint32_t start = clock.now;
    EXPECT_EQ(Run(3), RoundsEnd::Stopped);
    EXPECT_EQ(network.broadcasts, 3);
    EXPECT_EQ(clock.slept, 2u * kPauseMs);
    EXPECT_EQ(clock.now - start, 3 * kCollectMs + 2 * kPauseMs);
}

TEST_F(Rounds, FailedSendEndsTheRoundsForGood) {
    network.failSendNumber = 2;
    EXPECT_EQ(Run(0), RoundsEnd::SendFailed);
    EXPECT_EQ(network.broadcasts, 2);
    EXPECT_EQ(seen.size(), 1u);
    EXPECT_EQ(Diag(), "\nSending discover - Waiting for replies...\nsendto error\n");
}

} // namespace
} // namespace vantrel::locator
