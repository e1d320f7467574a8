// The protocol engine over an in-memory line and a fake clock: the session and its checks, the
// setup block, operations, the data download, the read back, the firmware download, time-outs,
// and a target configuration that cannot be sent. The programmer's side is played by hand,
// frame by frame.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "../device/DeviceTestData.h"
#include "base/Reporter.h"
#include "device/DeviceSelection.h"
#include "device/DeviceTable.h"
#include "image/HexDoc.h"
#include "link/LinkTarget.h"
#include "link/ProtocolEngine.h"
#include "settings/ProgramOptions.h"
#include "support/FakeClock.h"

namespace vantrel {
namespace {

using Bytes = std::vector<uint8_t>;

class FakeLine : public LinkLine {
  public:
    void PutByte(uint8_t byte) override { out.push_back(byte); }
    void CloseOthers() override { ++closeOthers; }
    bool Halted() const override { return halted; }
    Bytes out;
    int closeOthers = 0;
    bool halted = false;
};

class RecordingReporter : public Reporter {
  public:
    void Report(int32_t code, const char* text) override {
        reports.emplace_back(code, text ? text : "");
    }
    std::vector<std::pair<int, std::string>> reports;
};

struct Request {
    uint8_t n = 0xFF;
    Bytes payload;
};

void Put32(Bytes& out, uint32_t v) {
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}
void Put16(Bytes& out, uint32_t v) {
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}
uint32_t Get32(const Bytes& b, std::size_t at) {
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<uint32_t>(b[at + 3]) << 24;
}

struct StatusFields {
    uint8_t state = 0;
    uint32_t firmware = 20000;
    uint32_t session = 0;
    uint16_t hardware = 510;
    uint8_t variant = 5;
    Bytes algorithms = {130};
    Bytes interfaces = {0};
};

// A whole status record in the programmer's layout.
Bytes StatusRecord(const StatusFields& f) {
    Bytes b{f.state};
    Put32(b, f.firmware);
    Put32(b, 0);
    b.push_back(0); // result
    Put32(b, 0);    // current address
    Put32(b, f.session);
    for (int i = 0; i < 8; ++i)
        b.push_back('B');
    b.push_back(1); // interface
    Put16(b, f.hardware);
    Put16(b, 12000);
    Put16(b, 5000);
    b.insert(b.end(), {0, 0, 0, 0, 0}); // read, expected, kept u16, kept u8
    Put16(b, 0xBEEF);                   // CRC
    Put16(b, 0);
    Put16(b, 0);
    b.push_back(1); // parallel flag
    b.push_back(f.variant);
    b.push_back(static_cast<uint8_t>(f.algorithms.size()));
    b.insert(b.end(), f.algorithms.begin(), f.algorithms.end());
    b.push_back(static_cast<uint8_t>(f.interfaces.size()));
    b.insert(b.end(), f.interfaces.begin(), f.interfaces.end());
    return b;
}

// A reply frame of the programmer.
Bytes ReplyFrame(uint8_t n, const Bytes& payload) {
    Bytes frame = {0x68,
                   static_cast<uint8_t>(payload.size()),
                   static_cast<uint8_t>(payload.size()),
                   0x68,
                   0x80,
                   0x00,
                   n};
    uint8_t sum = static_cast<uint8_t>(0x80 + n);
    for (uint8_t b : payload) {
        frame.push_back(b);
        sum = static_cast<uint8_t>(sum + b);
    }
    frame.push_back(sum);
    frame.push_back(0x16);
    return frame;
}

class Engine : public ::testing::Test {
  protected:
    Engine() {
        DeviceRecord d = test::Sample(); // banks: 0 DATA 0xF000, flash 0x1000, 0x2000, 0x8000
        d.flashOffset = 0x10000;
        Use(d);
        selection.bankFlags[1] = selection.bankFlags[2] = true;
        selection.RebuildProgramRanges();
        Publish();
    }
    void Use(const DeviceRecord& d) {
        table.records = {d};
        table.index = {{d.device, 0}};
        selection.SelectDevice(0);
    }
    void Publish() { pm.SetTarget(MakeLinkTarget(selection, options)); }

    // The frames the engine put on the line since the last call.
    std::vector<Request> Requests() {
        std::vector<Request> requests;
        const Bytes out = std::exchange(line.out, {});
        for (std::size_t i = 0; i + 9 <= out.size();) {
            const std::size_t length = out[i + 1];
            Request r;
            r.n = out[i + 6];
            r.payload.assign(out.begin() + static_cast<long>(i) + 7,
                             out.begin() + static_cast<long>(i + 7 + length));
            requests.push_back(r);
            i += length + 9;
        }
        return requests;
    }
    // One tick; the request it sent, if any.
    Request Tick() {
        engine.Tick();
        std::vector<Request> sent = Requests();
        EXPECT_LE(sent.size(), 1u);
        return sent.empty() ? Request{} : sent.front();
    }
    void Reply(uint8_t n, const Bytes& payload) {
        for (uint8_t b : ReplyFrame(n, payload))
            engine.Receive(b);
    }
    void Ack() { engine.Receive(0x90); }
    // The answer after the reply to `r`: what went on the line at once.
    Request Next() {
        std::vector<Request> sent = Requests();
        EXPECT_LE(sent.size(), 1u);
        return sent.empty() ? Request{} : sent.front();
    }

    // Poll, session, setup block: the link is ready for jobs.
    // Ticks until a request of command `n` goes out (at most 50 ticks).
    Request TickUntil(uint8_t n) {
        Request r;
        for (int i = 0; i < 50 && r.n != n; ++i)
            r = Tick();
        return r;
    }

    void Establish(StatusFields f = {}) {
        Request poll = TickUntil(0);
        ASSERT_EQ(poll.n, 0);
        f.session = Get32(poll.payload, SessionOffset());
        Reply(0, StatusRecord(f));
        Request setup = Tick();
        ASSERT_EQ(setup.n, 4);
        Bytes block(4, 0);
        block.resize(4 + 128, 0);
        block[4 + 16] = 0x67; // serial number 4711
        block[4 + 17] = 0x12;
        Reply(4, block);
    }
    std::size_t SessionOffset() {
        return 16 + pm.Read([](auto& s) { return s.target.config[14]; });
    }
    bool SessionValid() {
        return pm.Read([](auto& s) { return s.sessionValid; });
    }

    test::FakeClock clock;
    RecordingReporter reporter;
    CHEXDoc doc;
    ProtocolManager pm;
    FakeLine line;
    std::vector<bool> menu;
    int redraws = 0;
    uint32_t serialNumber = 0;
    ProtocolEngine engine{
        pm, line,
        EngineSeams{clock, reporter, doc, [this](bool shown) { menu.push_back(shown); },
                    [this] { ++redraws; }, [this](uint32_t number) { serialNumber = number; }}};
    DeviceTable table;
    DeviceSelection selection{table, reporter};
    ProgramOptions options;
};

TEST_F(Engine, SessionSetupBlockThenPollsWithoutSession) {
    clock.now = 0x12345;
    Request poll = Tick();
    ASSERT_EQ(poll.n, 0);
    EXPECT_EQ(Get32(poll.payload, SessionOffset()), 0x12345u);
    EXPECT_EQ(Get32(poll.payload, 0), 0x11000u); // lowest start + offset

    StatusFields f;
    f.session = 0x12345;
    Reply(0, StatusRecord(f));
    EXPECT_TRUE(SessionValid());
    EXPECT_EQ(line.closeOthers, 1);
    EXPECT_EQ(redraws, 1); // the firmware version is new
    EXPECT_TRUE(reporter.reports.empty());

    Request setup = Tick();
    EXPECT_EQ(setup.n, 4);
    EXPECT_EQ(setup.payload, Bytes(4, 0));
    Bytes block(4 + 128, 0);
    block[4 + 16] = 0x67;
    block[4 + 17] = 0x12;
    block[4 + 127] = 0x7E;
    Reply(4, block);
    EXPECT_EQ(serialNumber, 4711u);
    EXPECT_EQ(pm.Setup()[127], 0x7E);
    EXPECT_EQ(menu, std::vector<bool>{true}); // hardware 5.10 with a session and setup block

    Request next = Tick();
    ASSERT_EQ(next.n, 0);
    EXPECT_EQ(Get32(next.payload, SessionOffset()), 0u);
    EXPECT_TRUE(pm.NeedsDownload()); // a new session always needs the image

    Reply(0, StatusRecord(f));
    pm.RequestSetupWrite();
    Request write = Tick();
    ASSERT_EQ(write.n, 4);
    EXPECT_EQ(write.payload.size(), 68u);
    EXPECT_EQ(write.payload[4 + 16], 0x67);
    Ack();
    EXPECT_FALSE(pm.Read([](auto& s) { return s.setupWritePending; }));
}

TEST_F(Engine, SessionCheckReportsEachProblemOnce) {
    struct Case {
        const char* name;
        bool first; // the very first status reply of the program
        int theirs; // -1: the identifier sent, else this one
        uint32_t firmware;
        uint16_t hardware;
        uint8_t variant;
        Bytes algorithms;
        int error;
    };
    const Case cases[] = {
        {"adopted silently at start", true, 777, 20000, 510, 5, {130}, 0},
        {"mismatch later", false, 777, 20000, 510, 5, {130}, 216},
        {"refused", false, 0, 20000, 510, 5, {130}, 217},
        {"refused at start", true, 0, 20000, 510, 5, {130}, 217},
        {"firmware 2.00 any revision", false, -1, 20099, 510, 5, {130}, 0},
        {"firmware 1.99", false, -1, 19999, 510, 5, {130}, 214},
        {"firmware 2.01", false, -1, 20100, 510, 5, {130}, 214},
        {"not supported, new hardware", false, -1, 20000, 510, 5, {99}, 230},
        {"not supported, old variant", false, -1, 20000, 510, 4, {99}, 215},
        {"not supported, old hardware", false, -1, 20000, 420, 5, {99}, 215},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ProtocolManager pm2;
        FakeLine line2;
        RecordingReporter reports;
        ProtocolEngine e(pm2, line2, EngineSeams{clock, reports, doc, {}, {}, {}});
        pm2.SetTarget(MakeLinkTarget(selection, options));
        auto replyTo = [&](uint32_t session) {
            Bytes payload = StatusRecord(
                StatusFields{0, c.firmware, session, c.hardware, c.variant, c.algorithms, {0}});
            for (uint8_t b : ReplyFrame(0, payload))
                e.Receive(b);
        };
        if (!c.first) { // one status reply that is not checked
            pm2.DisableSessionCheck();
            e.Tick();
            replyTo(0);
            pm2.EnableSessionCheck();
        }
        clock.now += 100;
        e.Tick();
        const uint32_t sent = clock.now;
        replyTo(c.theirs < 0 ? sent : static_cast<uint32_t>(c.theirs));
        std::vector<int> codes;
        for (auto& [code, text] : reports.reports)
            codes.push_back(code);
        EXPECT_EQ(codes, c.error ? std::vector<int>{c.error} : std::vector<int>{});
        EXPECT_TRUE(pm2.Read([](auto& s) { return s.sessionValid; }));
        EXPECT_EQ(pm2.Read([](auto& s) { return s.checkSession; }), c.error == 0);
        // The link carries on and says nothing more.
        e.Tick();
        replyTo(c.theirs < 0 ? sent : static_cast<uint32_t>(c.theirs));
        EXPECT_EQ(reports.reports.size(), codes.size());
    }
}

TEST_F(Engine, ChangedSessionOfTheProgrammerStartsANewOne) {
    Establish();
    Tick();
    StatusFields f;
    f.session = 999; // the programmer was restarted
    pm.SetImageDirty(false);
    Reply(0, StatusRecord(f));
    EXPECT_FALSE(SessionValid());
    EXPECT_TRUE(pm.ImageDirty());
    clock.now = 5555;
    Request poll = Tick();
    EXPECT_EQ(Get32(poll.payload, SessionOffset()), 5555u);
}

TEST_F(Engine, UnansweredPollMeansNoCommunication) {
    Establish();
    pm.QueueJob(12);
    Request op = Tick();
    ASSERT_EQ(op.n, 3);
    int sends = 1;
    Request r;
    for (int i = 0; i < 40 && r.n != 0; ++i)
        if ((r = Tick()).n == 3) ++sends;
    EXPECT_EQ(sends, 4);
    // The job had left the queue: the session is lost, no message; a new session is sought.
    EXPECT_FALSE(SessionValid());
    EXPECT_EQ(pm.Message(), std::nullopt);
    StatusFields f;
    f.session = Get32(r.payload, SessionOffset());
    Reply(0, StatusRecord(f));

    pm.QueueJob(4);
    doc.AddData(0x1000, 4, Bytes{1, 2, 3, 4}.data());
    ASSERT_EQ(Tick().n, 1); // the download starts
    for (int i = 0; i < 40 && pm.JobCount() > 0; ++i)
        Tick();
    EXPECT_EQ(pm.Message(), std::optional<std::string>("Communication timed out !"));
    EXPECT_EQ(pm.JobCount(), 0);

    for (int i = 0; i < 40 && pm.Status().state != kStateNoCommunication; ++i)
        Tick();
    EXPECT_EQ(pm.Status().state, kStateNoCommunication);
    EXPECT_EQ(menu, (std::vector<bool>{true, false}));
}

TEST_F(Engine, OperationJobsSendTheirCodeAndLeaveTheQueue) {
    Establish();
    const std::map<uint32_t, uint8_t> table = {
        {1, 1},   {2, 14},  {3, 15},  {7, 6},   {10, 4},  {11, 8},  {12, 2},  {13, 9},  {14, 10},
        {15, 13}, {16, 11}, {17, 12}, {18, 20}, {19, 21}, {20, 22}, {21, 25}, {22, 23}, {23, 24}};
    for (auto [job, operation] : table) {
        SCOPED_TRACE(job);
        pm.QueueJob(job);
        Request r = Tick();
        ASSERT_EQ(r.n, 3);
        EXPECT_EQ(r.payload, (Bytes{operation, 0, 0, 0}));
        EXPECT_EQ(pm.JobCount(), 0);
        EXPECT_EQ(Tick().n, 0xFF); // busy until the acknowledge
        Ack();
    }
    for (int i = 0; i < 70; ++i)
        pm.QueueJob(1);
    EXPECT_EQ(pm.JobCount(), 64);
}

TEST_F(Engine, DownloadSendsTheImageInChunksFromTheLowestBank) {
    Establish();
    Bytes area(300);
    for (std::size_t i = 0; i < area.size(); ++i)
        area[i] = static_cast<uint8_t>(i);
    doc.AddData(0x1000, 300, area.data());
    doc.AddData(0x2000, 10, area.data());
    pm.QueueJob(4);
    std::vector<std::pair<uint32_t, std::size_t>> chunks;
    std::vector<int> percentages;
    Request r = Tick();
    while (r.n == 1) {
        chunks.emplace_back(Get32(r.payload, 0), r.payload.size() - 4);
        if (chunks.size() == 1) { // the programmer is not ready once
            Reply(1, Bytes{4, 0, 0, 0, 0, 0, 0, 0, 0});
            Request again = Next();
            EXPECT_EQ(again.payload, r.payload);
        }
        percentages.push_back(pm.Percentage());
        Ack();
        r = Next();
    }
    using Chunks = std::vector<std::pair<uint32_t, std::size_t>>;
    EXPECT_EQ(chunks, (Chunks{{0x11000, 240}, {0x110F0, 60}, {0x12000, 10}}));
    EXPECT_EQ(percentages, (std::vector<int>{0, 77, 96}));
    EXPECT_FALSE(pm.ImageDirty());
    EXPECT_EQ(pm.JobCount(), 0);
    EXPECT_EQ(pm.TransferTotal(), 310u);
}

TEST_F(Engine, RefusedChunkEndsTheDownloadWithItsText) {
    struct Case {
        Bytes reply;
        const char* message;
    };
    const Case cases[] = {
        {{1, 0x00, 0x10, 0x01, 0, 0, 0, 0, 0}, "Illegal Address: 1000"},
        {{2, 0x05, 0x10, 0x01, 0, 0xAB, 0, 0, 0}, "Could not program: AB at 1005"},
        {{5, 0, 0, 0, 0, 0, 0, 0, 0}, "Vantrel supply out of specification"},
        {{9, 0x05, 0x10, 0x01, 0, 0x0C, 0, 0, 0}, "Error 9: Could not program 0C at 1005"},
    };
    Establish();
    doc.AddData(0x1000, 4, Bytes{1, 2, 3, 4}.data());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        pm.ClearMessage();
        pm.QueueJob(4);
        pm.QueueJob(12);
        ASSERT_EQ(Tick().n, 1);
        Reply(1, c.reply);
        EXPECT_EQ(pm.Message(), std::optional<std::string>(c.message));
        EXPECT_EQ(pm.JobCount(), 0);
    }
}

TEST_F(Engine, ReadBackFillsTheImageOverTheSelectedBanks) {
    selection.bankFlags[2] = false;
    selection.bankFlags[3] = true; // 0x1000..0x1FFF and 0x8000..0xBFFF
    selection.RebuildProgramRanges();
    Publish();
    Establish();
    pm.QueueJob(6);
    uint32_t requests = 0, previous = 0;
    for (Request r = Tick(); r.n == 2; r = Next()) {
        const uint32_t address = Get32(r.payload, 0) - 0x10000;
        const uint8_t count = r.payload[4];
        EXPECT_TRUE(address < 0x2000 || address >= 0x8000) << std::hex << address;
        EXPECT_GE(address, previous);
        previous = address;
        Bytes reply{0};
        Put32(reply, address + 0x10000);
        if (address == 0x8000) { // an erased block comes with count 0
            reply.push_back(0);
        } else {
            reply.push_back(count);
            for (uint32_t i = 0; i < count; ++i)
                reply.push_back(static_cast<uint8_t>(address + i));
        }
        ++requests;
        Reply(2, reply);
    }
    EXPECT_EQ(requests, (0x1000u + 0x4000u) / 128);
    EXPECT_EQ(pm.JobCount(), 0);
    LockedImage image = doc.Lock();
    EXPECT_EQ(image->TotalBytes(), 0x5000u);
    EXPECT_EQ(image->GetByte(0x1081, 0), 0x81);
    EXPECT_EQ(image->GetByte(0x8000, 0), 0xFF);
    EXPECT_EQ(image->GetByte(0x807F, 0), 0xFF);
    EXPECT_EQ(image->GetByte(0x8080, 0), 0x80);
}

TEST_F(Engine, ReadRepliesThatDoNotFit) {
    Establish();
    // No read back running: the queue's head is another job.
    pm.QueueJob(12);
    Reply(2, Bytes{0, 0, 0x10, 1, 0, 1, 0xAA});
    EXPECT_EQ(pm.Message(),
              std::optional<std::string>("Protocoll error: Unexpected read frame received"));
    EXPECT_EQ(pm.JobCount(), 1);
    pm.ClearJobs();
    pm.ClearMessage();
    Reply(2, Bytes{0, 0, 0x10, 1, 0, 1, 0xAA}); // nothing queued: ignored
    EXPECT_EQ(pm.Message(), std::nullopt);

    struct Case {
        Bytes reply; // to the first request, at 0x1000
        bool ack;
        const char* message;
    };
    const Case cases[] = {
        {{}, true, "Target does not support reading !"},
        {{1, 0x00, 0x10, 0x01, 0, 0}, false, "Illegal Address: 1000"},
        {{3, 0x00, 0x10, 0x01, 0, 0}, false, "Error 3: Could not read from 1000"},
        {{0, 0x80, 0x10, 0x01, 0, 0}, false, "Error: Read from wrong adr: 1080 instead of 1000"},
        {{0, 0x00, 0x10, 0x01, 0, 5, 1, 2}, false, "Protocoll error: Read frame too short"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        pm.ClearMessage();
        pm.QueueJob(6);
        ASSERT_EQ(Tick().n, 2);
        if (c.ack)
            Ack();
        else
            Reply(2, c.reply);
        EXPECT_EQ(pm.Message(), std::optional<std::string>(c.message));
        EXPECT_EQ(pm.JobCount(), 0);
        EXPECT_EQ(doc.Lock()->TotalBytes(), 0u);
    }
}

TEST_F(Engine, FirmwareGoesOutOncePerChunk) {
    Establish();
    Bytes firmware(500);
    for (std::size_t i = 0; i < firmware.size(); ++i)
        firmware[i] = static_cast<uint8_t>(i * 7);
    pm.SetFirmware(firmware);
    pm.SetImageDirty(false);
    pm.QueueJob(5);
    Bytes received;
    for (Request r = Tick(); r.n == 5; r = Next()) {
        EXPECT_EQ(Get32(r.payload, 0), received.size());
        EXPECT_EQ(engine.Frames().RemainingSends(5), 0);
        received.insert(received.end(), r.payload.begin() + 4, r.payload.end());
        Ack();
    }
    EXPECT_EQ(received, firmware);
    EXPECT_TRUE(pm.ImageDirty());
    EXPECT_EQ(pm.JobCount(), 0);

    // An unanswered chunk is not sent again.
    pm.QueueJob(5);
    ASSERT_EQ(Tick().n, 5);
    int sends = 0;
    for (int i = 0; i < 20; ++i)
        if (Tick().n == 5) ++sends;
    EXPECT_EQ(sends, 0);
    EXPECT_EQ(pm.Message(), std::optional<std::string>("Communication timed out !"));

    pm.ClearMessage();
    Establish();
    pm.QueueJob(5);
    ASSERT_EQ(Tick().n, 5);
    Reply(5, Bytes{7, 0, 0, 0, 0, 0, 0, 0, 0});
    EXPECT_EQ(pm.Message(), std::optional<std::string>("Error 7: Could not download Firmware"));
}

TEST_F(Engine, ConfigurationTooLongIsRefusedCleanly) {
    DeviceRecord d = test::Sample();
    d.areas.clear();
    for (uint32_t a = 0; a < 3; ++a) { // 30 banks of 9 bytes each cannot fit in 250
        std::vector<BankRange> ranges;
        for (uint32_t i = 0; i < 10; ++i)
            ranges.push_back({0x10000 + (a * 10 + i) * 0x100, 0x100});
        d.areas.push_back(test::Area("FLASH", 7, ranges));
    }
    Use(d);
    for (int i = 0; i < 30; ++i)
        selection.bankFlags[static_cast<std::size_t>(i)] = true;
    Publish();
    pm.QueueJob(12);
    EXPECT_EQ(Tick().n, 0xFF);
    EXPECT_EQ(Tick().n, 0xFF);
    ASSERT_EQ(reporter.reports.size(), 1u);
    EXPECT_NE(reporter.reports[0].second.find("at most 250"), std::string::npos);
    EXPECT_EQ(pm.JobCount(), 0);
    EXPECT_EQ(pm.Message(), std::optional<std::string>(reporter.reports[0].second));
}

TEST_F(Engine, NothingGoesOutWhileHaltedOrBeforeATargetIsKnown) {
    line.halted = true;
    EXPECT_EQ(Tick().n, 0xFF);
    line.halted = false;
    pm.SetTarget(LinkTarget{});
    EXPECT_EQ(Tick().n, 0xFF);
    Publish();
    EXPECT_EQ(Tick().n, 0);
}

} // namespace
} // namespace vantrel
