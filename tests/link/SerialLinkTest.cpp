// The port table and one pass of the link at a time, over in-memory devices and a hand-driven
// clock: which ports open, where bytes go and come from, the tick's pace, the transmit buffer,
// the data rates, the trace in the protocol log, and a device that is unplugged and comes back.
#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "link/SerialLink.h"
#include "support/FakeClock.h"
#include "support/FakeSerialPort.h"
#include "support/TempDir.h"

namespace vantrel {
namespace {

using Bytes = std::vector<uint8_t>;

class RecordingClient : public LinkClient {
  public:
    void Tick() override {
        ++ticks;
        if (onTick) onTick();
    }
    void Receive(uint8_t byte) override {
        received.push_back(byte);
        if (onReceive) onReceive(byte);
    }

    int ticks = 0;
    Bytes received;
    std::function<void()> onTick;
    std::function<void(uint8_t)> onReceive;
};

class RecordingReporter : public Reporter {
  public:
    using Reporter::Report;
    void Report(int32_t code, const char* text) override {
        reports.emplace_back(code, text ? text : "");
    }
    std::vector<std::pair<int32_t, std::string>> reports;
};

std::string PathOf(int com) {
    return "/fake/ttyCOM" + std::to_string(com);
}

// One link over fake devices; `mapped` COM numbers have a path, of which `present` have a device.
struct Rig {
    explicit Rig(std::set<int> mappedComs, const std::set<int>& presentComs) : mapped(mappedComs) {
        for (int com : presentComs)
            line.Plug(PathOf(com));
        log.Open(clock, true, (dir / "link.log").string());
    }
    explicit Rig(const std::set<int>& coms) : Rig(coms, coms) {}

    std::optional<std::string> Start(int comPort) {
        return link.StartWithoutThread(comPort, client);
    }
    // One pass at `ms` after the link's first start.
    void PassAt(uint32_t ms) {
        clock.now = kStart + ms;
        link.ServiceOnce();
    }
    test::FakeDevice& Com(int com) { return line.devices.at(PathOf(com)); }
    std::string Log() const { return test::ReadFile(dir / "link.log"); }
    void Put(const Bytes& bytes) {
        for (uint8_t b : bytes)
            link.PutByte(b);
    }

    static constexpr uint32_t kStart = 1000;
    test::TempDir dir;
    test::FakeClock clock;
    ProtocolLog log;
    RecordingReporter reporter;
    test::FakeSerialLine line;
    RecordingClient client;
    std::set<int> mapped;
    SerialLink link{SerialLinkSeams{clock, log, reporter, [this] { return line.MakePort(); },
                                    [this](int com) -> std::optional<std::string> {
                                        if (!mapped.count(com)) return std::nullopt;
                                        return PathOf(com);
                                    }}};
};

std::set<int> AllComs() {
    std::set<int> all;
    for (int com = 1; com <= kComPortCount; ++com)
        all.insert(com);
    return all;
}

TEST(SerialLinkPorts, OpensTheSelectedPortsAndReportsWhenNoneOpened) {
    struct Case {
        const char* name;
        int comPort;
        std::set<int> mapped;
        std::set<int> present;
        std::set<int> opened;
    };
    const Case cases[] = {
        {"COM5 opens only COM5", 5, AllComs(), AllComs(), {5}},
        {"AUTO opens every mapped port", 0, {2, 7, 20}, {2, 7, 20}, {2, 7, 20}},
        {"AUTO skips a mapped port without device", 0, {3, 4}, {4}, {4}},
        {"AUTO leaves an unmapped device alone", 0, {4}, {4, 6}, {4}},
        {"selected port not mapped", 5, {4, 6}, {4, 6}, {}},
        {"selected port without device", 5, {5}, {}, {}},
        {"no port at all", 0, {}, {}, {}},
        {"number above 20", 21, AllComs(), AllComs(), {}},
        {"negative number", -1, AllComs(), AllComs(), {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Rig rig(c.mapped, c.present);
        std::optional<std::string> result = rig.Start(c.comPort);

        std::set<int> opened;
        for (int com : c.present) {
            if (!rig.Com(com).open) continue;
            opened.insert(com);
            EXPECT_EQ(rig.Com(com).flushCount, 1) << "COM" << com << " flushed once opened";
        }
        EXPECT_EQ(opened, c.opened);
        EXPECT_EQ(rig.link.AnyPortOpen(), !c.opened.empty());
        EXPECT_EQ(rig.link.ActivePort(), -1);
        if (c.opened.empty()) {
            EXPECT_EQ(result, std::optional<std::string>(kNoComPortText));
            ASSERT_EQ(rig.reporter.reports.size(), 1u);
            EXPECT_EQ(rig.reporter.reports[0].first, 218);
            EXPECT_EQ(rig.reporter.reports[0].second,
                      "None of the selected com ports is available !");
        } else {
            EXPECT_EQ(result, std::nullopt);
            EXPECT_TRUE(rig.reporter.reports.empty());
        }
    }
}

TEST(SerialLinkPorts, WithoutAnyPortTheLinkStillTicksAndReportsOnlyOnce) {
    Rig rig({});
    ASSERT_TRUE(rig.Start(0));
    for (uint32_t ms = 2; ms <= 1000; ms += 2)
        rig.PassAt(ms);
    EXPECT_GE(rig.client.ticks, 17);
    rig.link.PutByte(0x42); // nowhere to go, and no harm
    rig.PassAt(1002);
    EXPECT_EQ(rig.reporter.reports.size(), 1u);
}

TEST(SerialLinkPorts, ASecondStartDoesNothing) {
    Rig rig({1}, {1});
    ASSERT_EQ(rig.Start(0), std::nullopt);
    rig.mapped.insert(2);
    rig.line.Plug(PathOf(2));
    EXPECT_EQ(rig.Start(0), std::nullopt);
    EXPECT_EQ(rig.Com(1).openCount, 1);
    EXPECT_EQ(rig.Com(2).openTries, 0);

    Rig none({});
    ASSERT_TRUE(none.Start(0));
    EXPECT_EQ(none.Start(0), std::nullopt);
    EXPECT_EQ(none.reporter.reports.size(), 1u);
}

TEST(SerialLinkPorts, StopClosesEveryPortAndAStartSearchesAgain) {
    Rig rig({3, 9});
    ASSERT_EQ(rig.Start(0), std::nullopt);
    EXPECT_FALSE(rig.link.Halted());
    rig.Com(9).incoming = {0x01};
    rig.client.onReceive = [&](uint8_t) { rig.link.CloseOthers(); };
    rig.PassAt(2);
    ASSERT_EQ(rig.link.ActivePort(), 8);

    rig.link.Stop();
    EXPECT_FALSE(rig.Com(3).open);
    EXPECT_FALSE(rig.Com(9).open);
    EXPECT_FALSE(rig.link.AnyPortOpen());
    EXPECT_EQ(rig.link.ActivePort(), -1);
    EXPECT_TRUE(rig.link.Halted());
    EXPECT_NE(rig.Log().find("\r\n\r\n All COMPORTS closed \r\n\r\n"), std::string::npos);

    ASSERT_EQ(rig.Start(0), std::nullopt);
    EXPECT_TRUE(rig.Com(3).open);
    EXPECT_TRUE(rig.Com(9).open);
    EXPECT_EQ(rig.link.ActivePort(), -1);
}

TEST(SerialLinkTraffic, AutoWritesEveryByteToAllPortsAndTracesIt) {
    Rig rig({1, 4});
    ASSERT_EQ(rig.Start(0), std::nullopt);
    rig.Put({0x01, 0xA5, 0xFF});
    rig.PassAt(2);
    rig.PassAt(4); // the buffer was emptied: nothing is sent twice
    EXPECT_EQ(rig.Com(1).written, (Bytes{0x01, 0xA5, 0xFF}));
    EXPECT_EQ(rig.Com(4).written, (Bytes{0x01, 0xA5, 0xFF}));
    EXPECT_EQ(rig.link.TransmittedTotal(), 3u);
    EXPECT_NE(rig.Log().find("  3 >>>>   01 A5 FF\r\n"), std::string::npos);
}

TEST(SerialLinkTraffic, OfTwoPortsDeliveringInOnePassTheLowerIsReadFirst) {
    Rig rig({3, 8});
    ASSERT_EQ(rig.Start(0), std::nullopt);
    rig.Com(8).incoming = {0x81};
    rig.Com(3).incoming = {0x11, 0x0C};
    rig.PassAt(2);
    EXPECT_EQ(rig.client.received, (Bytes{0x11, 0x0C}));
    EXPECT_EQ(rig.Com(8).incoming.size(), 1u);
    rig.PassAt(4);
    EXPECT_EQ(rig.client.received, (Bytes{0x11, 0x0C, 0x81}));
    EXPECT_EQ(rig.link.ReceivedTotal(), 3u);
    std::string log = rig.Log();
    EXPECT_NE(log.find("  <<<< 2    11 0C\r\n"), std::string::npos);
    EXPECT_NE(log.find("  <<<< 1    81\r\n"), std::string::npos);
}

TEST(SerialLinkTraffic, AReadTakesAtMost200Bytes) {
    Rig rig({2});
    ASSERT_EQ(rig.Start(2), std::nullopt);
    rig.Com(2).incoming.assign(450, 0x33);
    rig.PassAt(2);
    EXPECT_EQ(rig.client.received.size(), 200u);
    rig.PassAt(4);
    rig.PassAt(6);
    EXPECT_EQ(rig.client.received.size(), 450u);
}

TEST(SerialLinkTraffic, CloseOthersKeepsThePortThatAnswered) {
    Rig rig({2, 7, 9});
    ASSERT_EQ(rig.Start(0), std::nullopt);
    rig.link.CloseOthers(); // nothing answered yet: the search goes on
    EXPECT_EQ(rig.link.ActivePort(), -1);
    EXPECT_TRUE(rig.Com(2).open && rig.Com(7).open && rig.Com(9).open);

    rig.Com(7).incoming = {0x06};
    rig.client.onReceive = [&](uint8_t) { rig.link.CloseOthers(); };
    rig.PassAt(2);
    EXPECT_EQ(rig.link.ActivePort(), 6);
    EXPECT_FALSE(rig.Com(2).open);
    EXPECT_TRUE(rig.Com(7).open);
    EXPECT_FALSE(rig.Com(9).open);
    std::string log = rig.Log();
    EXPECT_NE(log.find("\r\n\r\n COM2 closed \r\n\r\n"), std::string::npos);
    EXPECT_NE(log.find("\r\n\r\n COM9 closed \r\n\r\n"), std::string::npos);
    EXPECT_EQ(log.find("COM7 closed"), std::string::npos);

    rig.Put({0x55});
    rig.PassAt(4);
    EXPECT_EQ(rig.Com(7).written, (Bytes{0x55}));
    EXPECT_TRUE(rig.Com(2).written.empty());
}

TEST(SerialLinkTraffic, TheTransmitBufferKeeps1000BytesAndCountsAll) {
    Rig rig({1});
    ASSERT_EQ(rig.Start(1), std::nullopt);
    Bytes put;
    for (int i = 0; i < 1001; ++i)
        put.push_back(static_cast<uint8_t>(i));
    rig.Put(put);
    rig.PassAt(2);
    EXPECT_EQ(rig.Com(1).written, Bytes(put.begin(), put.begin() + 1000));
    EXPECT_EQ(rig.link.TransmittedTotal(), 1001u);
}

TEST(SerialLinkTiming, TheTickKeepsItsPaceAndIsRebasedAfterAPause) {
    struct Step {
        uint32_t at;
        int ticks; // ticks run so far
    };
    struct Case {
        const char* name;
        std::vector<Step> steps;
    };
    const Case cases[] = {
        {"on time", {{53, 0}, {54, 1}, {106, 1}, {107, 2}}},
        {"late by at most 20 ms keeps the pace", {{54, 1}, {120, 2}, {159, 2}, {160, 3}}},
        {"a longer pause is rebased, no burst", {{54, 1}, {300, 2}, {302, 2}, {353, 2}, {354, 3}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Rig rig({1});
        EXPECT_EQ(rig.link.TickInterval(), 50u);
        ASSERT_EQ(rig.Start(1), std::nullopt);
        EXPECT_EQ(rig.link.TickInterval(), 53u);
        for (const Step& step : c.steps) {
            rig.PassAt(step.at);
            EXPECT_EQ(rig.client.ticks, step.ticks) << "at " << step.at << " ms";
        }
    }
}

TEST(SerialLinkTiming, RatesAreBytesPerSecondOverTheElapsedTime) {
    Rig rig({1});
    ASSERT_EQ(rig.Start(1), std::nullopt);
    rig.Com(1).incoming.assign(300, 0x00);
    rig.PassAt(500);
    rig.PassAt(502);
    rig.Put(Bytes(150, 0x11));
    rig.PassAt(999);
    EXPECT_EQ(rig.link.ReceiveRate(), 0u);
    rig.PassAt(1000);
    EXPECT_EQ(rig.link.ReceiveRate(), 300u);
    EXPECT_EQ(rig.link.TransmitRate(), 150u);

    rig.Com(1).incoming.assign(100, 0x00);
    rig.PassAt(1500);
    rig.PassAt(2500);
    EXPECT_EQ(rig.link.ReceiveRate(), 66u);
    EXPECT_EQ(rig.link.TransmitRate(), 0u);
}

TEST(SerialLinkLost, AnUnpluggedPortIsClosedAndReopenedOnceASecondWithoutAMessage) {
    Rig rig({2, 5});
    ASSERT_EQ(rig.Start(0), std::nullopt);
    rig.Com(2).incoming = {0x06};
    rig.client.onReceive = [&](uint8_t) { rig.link.CloseOthers(); };
    rig.PassAt(2);
    ASSERT_EQ(rig.link.ActivePort(), 1);
    rig.client.onReceive = nullptr;

    rig.line.Unplug(PathOf(2));
    rig.PassAt(10);
    EXPECT_FALSE(rig.link.AnyPortOpen());
    EXPECT_NE(rig.Log().find("COM2 lost"), std::string::npos);
    int tries = rig.Com(2).openTries;
    rig.PassAt(1009);
    EXPECT_EQ(rig.Com(2).openTries, tries) << "no try before a second has passed";
    rig.PassAt(1010);
    EXPECT_EQ(rig.Com(2).openTries, tries + 1) << "absent: tried and failed";
    rig.PassAt(1500);
    EXPECT_EQ(rig.Com(2).openTries, tries + 1);

    test::FakeDevice& back = rig.line.Plug(PathOf(2));
    back.incoming = {0xEE}; // from before the link opened it again: dropped
    int flushes = back.flushCount;
    rig.PassAt(2010);
    EXPECT_TRUE(back.open);
    EXPECT_EQ(back.flushCount, flushes + 1);
    EXPECT_NE(rig.Log().find("COM2 reopened"), std::string::npos);
    EXPECT_EQ(rig.link.ActivePort(), 1) << "still bound to COM2";
    EXPECT_FALSE(rig.Com(5).open) << "closed by CloseOthers, never reopened";

    back.incoming = {0x42};
    rig.PassAt(2012);
    EXPECT_EQ(rig.client.received, (Bytes{0x06, 0x42}));
    EXPECT_TRUE(rig.reporter.reports.empty());
}

TEST(SerialLinkLost, APortLostWhileWritingIsClosedToo) {
    Rig rig({4, 6});
    ASSERT_EQ(rig.Start(0), std::nullopt);
    rig.line.Unplug(PathOf(6));
    rig.Put({0x01});
    rig.Com(4).incoming = {0x07}; // the read stops at COM4: the write finds COM6 gone
    rig.PassAt(2);
    EXPECT_TRUE(rig.Com(4).open);
    EXPECT_EQ(rig.Com(4).written, (Bytes{0x01}));
    EXPECT_NE(rig.Log().find("COM6 lost"), std::string::npos);
    EXPECT_TRUE(rig.reporter.reports.empty());
}

TEST(SerialLinkLost, APortClosedByCloseOthersIsNeverReopened) {
    Rig rig({2, 5});
    ASSERT_EQ(rig.Start(0), std::nullopt);
    rig.line.Unplug(PathOf(5));
    rig.PassAt(2);
    ASSERT_NE(rig.Log().find("COM5 lost"), std::string::npos);

    rig.Com(2).incoming = {0x06};
    rig.client.onReceive = [&](uint8_t) { rig.link.CloseOthers(); };
    rig.PassAt(4);
    ASSERT_EQ(rig.link.ActivePort(), 1);
    rig.line.Plug(PathOf(5));
    int tries = rig.Com(5).openTries;
    for (uint32_t ms = 1000; ms <= 5000; ms += 500)
        rig.PassAt(ms);
    EXPECT_EQ(rig.Com(5).openTries, tries);
    EXPECT_FALSE(rig.Com(5).open);
}

} // namespace
} // namespace vantrel
