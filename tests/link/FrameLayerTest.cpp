#include <gtest/gtest.h>

#include <cstdio>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "link/FrameLayer.h"

namespace vantrel {
namespace {

using Bytes = std::vector<uint8_t>;

// Records the line and every event as a short text.
class RecordingSink : public FrameSink {
  public:
    void PutByte(uint8_t byte) override { line.push_back(byte); }
    void OnReply(uint8_t status, uint8_t n, std::span<const uint8_t> payload) override {
        std::string text = Hex("reply S=", status) + Hex(" N=", n) + " [";
        for (uint8_t b : payload)
            text += Hex("", b);
        events.push_back(text + "]");
    }
    void OnAck(uint8_t control, uint8_t n) override {
        events.push_back(Hex("ack C=", control) + Hex(" N=", n));
    }
    void OnTimeout(uint8_t control, uint8_t n) override {
        events.push_back(Hex("timeout C=", control) + Hex(" N=", n));
    }

    static std::string Hex(const char* label, uint8_t b) {
        char text[8];
        std::snprintf(text, sizeof text, "%02X", b);
        return label + std::string(text);
    }

    Bytes line;
    std::vector<std::string> events;
};

class FrameLayerTest : public ::testing::Test {
  protected:
    void Feed(const Bytes& bytes) {
        for (uint8_t b : bytes)
            frames.Receive(b);
    }
    void Ticks(int count) {
        for (int i = 0; i < count; ++i)
            frames.Tick();
    }
    // Takes what went out on the line since the last call.
    Bytes Sent() { return std::exchange(sink.line, {}); }

    RecordingSink sink;
    FrameLayer frames{sink};
};

using Events = std::vector<std::string>;

// A reply to slot 0 with status 0x05 and one payload byte 0xAA.
const Bytes kReply0 = {0x68, 0x01, 0x01, 0x68, 0x80, 0x05, 0x00, 0xAA, 0x2F, 0x16};
const char* const kReply0Event = "reply S=05 N=00 [AA]";

TEST_F(FrameLayerTest, RequestsGoOutAsFrames) {
    struct Case {
        const char* name;
        uint8_t slot;
        uint8_t control;
        Bytes payload;
        Bytes line;
    };
    const Case cases[] = {
        {"empty", 3, 0x00, {}, {0x68, 0x00, 0x00, 0x68, 0x00, 0x00, 0x03, 0x03, 0x16}},
        {"one byte", 8, 0x00, {0xF0}, {0x68, 0x01, 0x01, 0x68, 0x00, 0x00, 0x08, 0xF0, 0xF8, 0x16}},
        {"checksum wraps",
         2,
         0x80,
         {0xFF, 0x11, 0x22},
         {0x68, 0x03, 0x03, 0x68, 0x80, 0x00, 0x02, 0xFF, 0x11, 0x22, 0xB4, 0x16}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RecordingSink sink;
        FrameLayer frames(sink);
        ASSERT_TRUE(frames.Send(c.slot, c.control, c.payload, 5));
        EXPECT_EQ(sink.line, c.line);
    }
}

TEST_F(FrameLayerTest, LongestPayloadFillsA259ByteFrame) {
    const Bytes payload(250, 0x01);
    ASSERT_TRUE(frames.Send(0, 0x00, payload, 1));
    const Bytes line = Sent();
    ASSERT_EQ(line.size(), 259u);
    EXPECT_EQ(line[1], 250);
    EXPECT_EQ(line[257], 250); // 250 x 0x01 + C + S + N
    EXPECT_EQ(line[258], 0x16);
}

TEST_F(FrameLayerTest, RefusesWhatCannotBeSent) {
    const Bytes tooLong(251, 0x55);
    EXPECT_FALSE(frames.Send(9, 0x00, Bytes{1}, 5));
    EXPECT_FALSE(frames.Send(255, 0x00, {}, 5));
    EXPECT_FALSE(frames.Send(0, 0x00, tooLong, 5));
    EXPECT_TRUE(Sent().empty());
    EXPECT_EQ(frames.AwaitingSlot(), -1);
    EXPECT_EQ(frames.RemainingSends(0), 0);
}

TEST_F(FrameLayerTest, PayloadIsCopiedIntoTheSlot) {
    Bytes payload = {0x01, 0x02};
    frames.Send(0, 0x00, payload, 5);
    const Bytes first = Sent();
    payload.assign(200, 0xEE); // the caller's buffer moves and changes
    Ticks(8);
    EXPECT_EQ(Sent(), first);
}

TEST_F(FrameLayerTest, ReplyCompletesTheAwaitingSlot) {
    frames.Send(0, 0x00, Bytes{0x42}, 5);
    Sent();
    Feed(kReply0);
    EXPECT_EQ(sink.events, Events{kReply0Event});
    EXPECT_EQ(frames.AwaitingSlot(), -1);
    EXPECT_EQ(frames.RemainingSends(0), 0);
    Ticks(100);
    EXPECT_TRUE(Sent().empty()); // no retransmission after the answer
    EXPECT_EQ(sink.events.size(), 1u);
}

TEST_F(FrameLayerTest, EmptyReplyGoesFromCommandToChecksum) {
    frames.Send(3, 0x00, {}, 5);
    Feed({0x68, 0x00, 0x00, 0x68, 0x80, 0x07, 0x03, 0x8A, 0x16});
    EXPECT_EQ(sink.events, Events{"reply S=07 N=03 []"});
    EXPECT_EQ(frames.AwaitingSlot(), -1);
}

TEST_F(FrameLayerTest, AcknowledgeCompletesTheAwaitingSlot) {
    Feed({0x90}); // nothing awaits: ignored
    EXPECT_TRUE(sink.events.empty());
    frames.Send(4, 0x00, Bytes{0x01, 0x02}, 5);
    Feed({0x90});
    EXPECT_EQ(sink.events, Events{"ack C=00 N=04"});
    EXPECT_EQ(frames.AwaitingSlot(), -1);
    Feed({0x90}); // a second acknowledge has nothing left to complete
    EXPECT_EQ(sink.events.size(), 1u);
}

TEST_F(FrameLayerTest, RequestsFromTheProgrammerAreDroppedSilently) {
    frames.Send(0, 0x00, Bytes{0x42}, 5);
    Feed({0x68, 0x01, 0x01, 0x68, 0x00, 0x05, 0x00, 0xAA, 0xAF, 0x16});
    EXPECT_TRUE(sink.events.empty());
    EXPECT_EQ(frames.AwaitingSlot(), 0);
    Feed(kReply0); // no resynchronisation pause: the next frame counts at once
    EXPECT_EQ(sink.events, Events{kReply0Event});
}

// A late reply to another slot goes up but must not end the wait of the awaiting request.
TEST_F(FrameLayerTest, ReplyToAnotherSlotLeavesTheAwaitingSlot) {
    frames.Send(1, 0x00, Bytes{0x42}, 5);
    Sent();
    Feed(kReply0);
    EXPECT_EQ(sink.events, Events{kReply0Event});
    EXPECT_EQ(frames.AwaitingSlot(), 1);
    EXPECT_TRUE(Sent().empty()); // nothing new goes out
    Ticks(7);
    EXPECT_TRUE(Sent().empty());
    Ticks(1);
    EXPECT_FALSE(Sent().empty()); // the time-out still runs
}

TEST_F(FrameLayerTest, FramingErrorsHoldTheReceiverUntilThreeQuietTicks) {
    struct Case {
        const char* name;
        Bytes broken; // ends at the byte that breaks the frame
    };
    const Case cases[] = {
        {"length 251", {0x68, 0xFB}},
        {"two different lengths", {0x68, 0x01, 0x02}},
        {"wrong second start byte", {0x68, 0x01, 0x01, 0x69}},
        {"bad control byte", {0x68, 0x01, 0x01, 0x68, 0x40}},
        {"wrong checksum", {0x68, 0x01, 0x01, 0x68, 0x80, 0x05, 0x00, 0xAA, 0x2E}},
        {"wrong end byte", {0x68, 0x01, 0x01, 0x68, 0x80, 0x05, 0x00, 0xAA, 0x2F, 0x17}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RecordingSink sink;
        FrameLayer frames(sink);
        auto feed = [&](const Bytes& bytes) {
            for (uint8_t b : bytes)
                frames.Receive(b);
        };
        auto ticks = [&](int n) {
            for (int i = 0; i < n; ++i)
                frames.Tick();
        };
        frames.Send(0, 0x00, Bytes{0x42}, 5);

        feed(c.broken);
        ticks(2);
        feed(kReply0); // arrives during the pause: dropped, and restarts it
        ticks(2);
        feed({0x00}); // so does a single byte
        ticks(2);
        feed(kReply0);
        EXPECT_TRUE(sink.events.empty());
        ticks(3);
        feed(kReply0);
        EXPECT_EQ(sink.events, Events{kReply0Event});

        // The frame breaks at its last byte and the pause is over after exactly 3 quiet ticks.
        feed(c.broken);
        ticks(3);
        feed(kReply0);
        EXPECT_EQ(sink.events, (Events{kReply0Event, kReply0Event}));
    }
}

// The pause counts ticks, not the time-out: the request is not sent again while the receiver
// waits for the line to fall quiet.
TEST_F(FrameLayerTest, ResynchronisationPausesTheAnswerTimeout) {
    frames.Send(0, 0x00, Bytes{0x42}, 5);
    Sent();
    Feed({0x68, 0xFB});
    Ticks(3 + 7);
    EXPECT_TRUE(Sent().empty());
    Ticks(1);
    EXPECT_FALSE(Sent().empty());
}

TEST_F(FrameLayerTest, UnansweredRequestIsSentAgainThenTimesOut) {
    struct Case {
        const char* name;
        uint8_t sends;
        std::vector<int> sendTicks;
        int timeoutTick;
    };
    const Case cases[] = {
        {"command", 5, {0, 8, 16, 24}, 32},
        {"firmware chunk", 1, {0}, 8},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RecordingSink sink;
        FrameLayer frames(sink);
        frames.Send(2, 0x00, Bytes{0x42}, c.sends);
        frames.Send(6, 0x00, {}, 5); // waits its turn
        const Bytes request2 = {0x68, 0x01, 0x01, 0x68, 0x00, 0x00, 0x02, 0x42, 0x44, 0x16};
        const Bytes request6 = {0x68, 0x00, 0x00, 0x68, 0x00, 0x00, 0x06, 0x06, 0x16};

        std::vector<int> sendTicks;
        int timeoutTick = -1;
        for (int tick = 0; tick <= 60; ++tick) {
            if (tick > 0) frames.Tick();
            if (!sink.events.empty() && timeoutTick < 0) {
                timeoutTick = tick;
                EXPECT_EQ(sink.line, request6) << "the waiting slot goes next";
                sink.line.clear();
                frames.Receive(0x90);
            }
            if (!sink.line.empty()) {
                EXPECT_EQ(sink.line, request2);
                sendTicks.push_back(tick);
                sink.line.clear();
            }
        }
        EXPECT_EQ(sendTicks, c.sendTicks);
        EXPECT_EQ(timeoutTick, c.timeoutTick);
        EXPECT_EQ(sink.events, (Events{"timeout C=00 N=02", "ack C=00 N=06"}));
        EXPECT_EQ(frames.AwaitingSlot(), -1);
    }
}

TEST_F(FrameLayerTest, WaitingRequestsTakeTurnsFromTheSlotAfterTheAnswered) {
    frames.Send(7, 0x00, {}, 5);
    frames.Send(2, 0x00, {}, 5);
    frames.Send(8, 0x00, {}, 5);
    EXPECT_EQ(frames.AwaitingSlot(), 7);
    EXPECT_EQ(Sent().size(), 9u); // only slot 7 is on the line
    Feed({0x90});
    EXPECT_EQ(frames.AwaitingSlot(), 8);
    EXPECT_EQ(Sent(), (Bytes{0x68, 0x00, 0x00, 0x68, 0x00, 0x00, 0x08, 0x08, 0x16}));
    Feed({0x90});
    EXPECT_EQ(frames.AwaitingSlot(), 2); // wrapped round
    EXPECT_EQ(Sent(), (Bytes{0x68, 0x00, 0x00, 0x68, 0x00, 0x00, 0x02, 0x02, 0x16}));
    Feed({0x90});
    EXPECT_EQ(frames.AwaitingSlot(), -1);
    EXPECT_TRUE(Sent().empty());
    EXPECT_EQ(sink.events, (Events{"ack C=00 N=07", "ack C=00 N=08", "ack C=00 N=02"}));
}

// A doubled acknowledge comes in the same read as the first: the request that the first one
// let go out cannot have been answered yet, so the second is dropped and the request waits for
// its own answer (or its time-out and a second send). In a later read it counts.
TEST_F(FrameLayerTest, AcknowledgeInTheReadThatSentTheRequestIsNotItsAnswer) {
    struct Case {
        const char* name;
        std::vector<Bytes> reads;
        Events events;
        int awaiting;
        uint32_t stale;
    };
    const Case cases[] = {
        {"doubled in one read", {{0x90, 0x90}}, {"ack C=00 N=01"}, 2, 1},
        {"tripled in one read", {{0x90, 0x90, 0x90}}, {"ack C=00 N=01"}, 2, 2},
        {"reply, then a stray acknowledge",
         {[] {
             Bytes b = {0x68, 0x00, 0x00, 0x68, 0x80, 0x00, 0x01, 0x81, 0x16};
             b.push_back(0x90);
             return b;
         }()},
         {"reply S=00 N=01 []"},
         2,
         1},
        {"in two reads", {{0x90}, {0x90}}, {"ack C=00 N=01", "ack C=00 N=02"}, -1, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RecordingSink sink;
        FrameLayer frames(sink);
        frames.Send(1, 0x00, Bytes{0x11}, 5);
        frames.Send(2, 0x00, Bytes{0x22}, 5);
        for (const Bytes& read : c.reads)
            frames.ReceiveRead(read);
        EXPECT_EQ(sink.events, c.events);
        EXPECT_EQ(frames.AwaitingSlot(), c.awaiting);
        EXPECT_EQ(frames.StaleAcknowledges(), c.stale);
    }
    // The request still waiting goes out again when its time is up, and its answer counts.
    frames.Send(1, 0x00, Bytes{0x11}, 5);
    frames.Send(2, 0x00, Bytes{0x22}, 5);
    frames.ReceiveRead(Bytes{0x90, 0x90});
    Sent();
    Ticks(FrameLayer::kAnswerTicks);
    EXPECT_EQ(Sent().size(), 10u); // slot 2 again
    frames.ReceiveRead(Bytes{0x90});
    EXPECT_EQ(sink.events, (Events{"ack C=00 N=01", "ack C=00 N=02"}));
}

// A reply that arrives in pieces, with ticks in between, ends the same way wherever it is cut.
TEST_F(FrameLayerTest, ReplySplitAnywhereGivesTheSameResult) {
    Bytes stream = kReply0;
    stream.push_back(0x90); // and the acknowledge of the request that follows
    for (size_t cut = 0; cut <= stream.size(); ++cut) {
        SCOPED_TRACE(cut);
        RecordingSink sink;
        FrameLayer frames(sink);
        frames.Send(0, 0x00, Bytes{0x42}, 5);
        frames.Send(1, 0x00, {}, 5);
        for (size_t i = 0; i < stream.size(); ++i) {
            if (i == cut) {
                frames.Tick();
                frames.Tick();
            }
            frames.Receive(stream[i]);
        }
        EXPECT_EQ(sink.events, (Events{kReply0Event, "ack C=00 N=01"}));
        EXPECT_EQ(frames.AwaitingSlot(), -1);
    }
}

// A well-formed reply frame for the random traffic below.
Bytes ReplyFrame(uint8_t status, uint8_t n, const Bytes& payload) {
    const auto length = static_cast<uint8_t>(payload.size());
    Bytes frame = {0x68, length, length, 0x68, 0x80, status, n};
    uint8_t sum = static_cast<uint8_t>(0x80 + status + n);
    for (uint8_t b : payload) {
        frame.push_back(b);
        sum = static_cast<uint8_t>(sum + b);
    }
    frame.push_back(sum);
    frame.push_back(0x16);
    return frame;
}

// Random traffic: noise, frame bytes, whole replies with a byte now and then broken, ticks and
// requests (some of them out of range), so that it gets deep into every state.
TEST_F(FrameLayerTest, RandomBytesNeverCrash) {
    std::mt19937 random(20261210);
    const uint8_t likely[] = {0x68, 0x16, 0x90, 0x80, 0x00, 0x01, 0xFA, 0xFB};
    for (int step = 0; step < 100000; ++step) {
        const unsigned pick = random() % 100;
        if (pick < 50) {
            frames.Receive(static_cast<uint8_t>(random()));
        } else if (pick < 70) {
            frames.Receive(likely[random() % sizeof likely]);
        } else if (pick < 75) {
            Bytes frame =
                ReplyFrame(static_cast<uint8_t>(random()), static_cast<uint8_t>(random() % 12),
                           Bytes(random() % 251, static_cast<uint8_t>(random())));
            if (random() % 2) frame[random() % frame.size()] = static_cast<uint8_t>(random());
            Feed(frame);
        } else if (pick < 95) {
            frames.Tick();
        } else {
            const Bytes payload(random() % 260, static_cast<uint8_t>(random()));
            const uint8_t slot = static_cast<uint8_t>(random() % 11);
            const bool valid = payload.size() <= 250 && slot <= 8;
            EXPECT_EQ(frames.Send(slot, static_cast<uint8_t>(random()), payload,
                                  static_cast<uint8_t>(random() % 6)),
                      valid);
        }
        ASSERT_GE(frames.AwaitingSlot(), -1);
        ASSERT_LE(frames.AwaitingSlot(), 8);
        sink.line.clear();
    }
    size_t replies = 0;
    for (const std::string& event : sink.events)
        replies += event.starts_with("reply");
    EXPECT_GT(replies, 100u); // the traffic did reach the end of frames
}

} // namespace
} // namespace vantrel
