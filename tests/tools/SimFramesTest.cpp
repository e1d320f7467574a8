// The emulator's frame reader and encoder: bad frames are dropped and the reader finds the
// next good one; replies come out in the format the PC's frame layer takes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "SimFrames.h"
#include "link/FrameLayer.h"

namespace vantrel::sim {
namespace {

std::vector<uint8_t> Request(uint8_t n, std::vector<uint8_t> payload) {
    const auto l = static_cast<uint8_t>(payload.size());
    std::vector<uint8_t> f = {0x68, l, l, 0x68, 0x00, 0x00, n};
    uint8_t sum = n;
    for (uint8_t b : payload) {
        f.push_back(b);
        sum = static_cast<uint8_t>(sum + b);
    }
    f.push_back(sum);
    f.push_back(0x16);
    return f;
}

TEST(SimFrameReader, DropsBadFramesAndFindsTheNextGoodOne) {
    const std::vector<uint8_t> good = Request(2, {1, 2, 3, 4, 5});
    auto with = [&](std::size_t at, uint8_t v) {
        auto f = good;
        f[at] = v;
        return f;
    };
    // A whole frame of 251 payload bytes, right in every other respect.
    std::vector<uint8_t> tooLong = {0x68, 251, 251, 0x68, 0x00, 0x00, 2};
    tooLong.insert(tooLong.end(), 251, 0x01);
    tooLong.push_back(static_cast<uint8_t>(2 + 251));
    tooLong.push_back(0x16);
    struct Case {
        std::string name;
        std::vector<uint8_t> bad;
    } cases[] = {
        {"length above 250", tooLong},
        {"length bytes differ", with(2, 6)},
        {"second start byte", with(3, 0x69)},
        {"reply control byte", with(4, 0x80)},
        {"checksum", with(12, 0x00)},
        {"end byte", with(13, 0x17)},
        {"cut after the payload", std::vector<uint8_t>(good.begin(), good.begin() + 12)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        FrameReader r;
        std::vector<uint8_t> line = c.bad;
        line.insert(line.end(), good.begin(), good.end());
        int frames = 0;
        for (uint8_t b : line)
            if (r.Feed(b)) {
                ++frames;
                EXPECT_EQ(r.Last().n, 2);
                EXPECT_EQ(std::vector<uint8_t>(r.Last().payload.begin(), r.Last().payload.end()),
                          (std::vector<uint8_t>{1, 2, 3, 4, 5}));
            }
        EXPECT_EQ(frames, 1);
        EXPECT_GE(r.Dropped(), 1u);
    }
}

TEST(SimFrameReader, ResetDropsAHalfReadFrame) {
    const std::vector<uint8_t> good = Request(1, {9, 8, 7});
    FrameReader r;
    for (std::size_t i = 0; i < 8; ++i) // the frame lost its last bytes on the line
        r.Feed(good[i]);
    r.Reset();
    int frames = 0;
    for (uint8_t b : good) // its retransmission
        frames += r.Feed(b);
    EXPECT_EQ(frames, 1);
    EXPECT_EQ(r.Dropped(), 1u);
    r.Reset(); // between frames nothing is lost
    EXPECT_EQ(r.Dropped(), 1u);
}

TEST(SimFrameReader, TakesEmptyAndLongestPayloads) {
    for (std::size_t size : {std::size_t{0}, std::size_t{250}}) {
        SCOPED_TRACE(size);
        FrameReader r;
        int frames = 0;
        for (uint8_t b : Request(7, std::vector<uint8_t>(size, 0xE5)))
            if (r.Feed(b)) {
                ++frames;
                EXPECT_EQ(r.Last().payload.size(), size);
            }
        EXPECT_EQ(frames, 1);
    }
}

// The PC's frame layer as the judge of the encoder.
class Collect : public FrameSink {
  public:
    void PutByte(uint8_t) override {}
    void OnReply(uint8_t s, uint8_t n, std::span<const uint8_t> p) override {
        status = s;
        slot = n;
        payload.assign(p.begin(), p.end());
    }
    void OnAck(uint8_t, uint8_t) override {}
    void OnTimeout(uint8_t, uint8_t) override {}
    uint8_t status = 0, slot = 0xFF;
    std::vector<uint8_t> payload;
};

TEST(SimFrameEncoder, ReplyIsTakenByThePcFrameLayer) {
    Collect sink;
    FrameLayer pc(sink);
    const std::vector<uint8_t> request = {9, 9};
    pc.Send(4, FrameLayer::kRequest, request, 5);
    const std::vector<uint8_t> payload = {0xFF, 0x00, 0x80, 0x16, 0x68};
    for (uint8_t b : EncodeReply(3, 4, payload))
        pc.Receive(b);
    EXPECT_EQ(sink.slot, 4);
    EXPECT_EQ(sink.status, 3);
    EXPECT_EQ(sink.payload, payload);
}

} // namespace
} // namespace vantrel::sim
