// The programmer model driven through the PC's own frame layer: the status record, sessions,
// the buffer, the operations on the target flash, the CRC and the firmware download.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "SimBench.h"
#include "base/Crc16.h"
#include "link/StatusRecord.h"

namespace vantrel::sim::test {
namespace {

const Banks kTwoBanks = {{0x1000, 0x100}, {0x4000, 0x80}};

TEST(SimStatus, RecordCarriesEveryFieldInOrder) {
    struct Case {
        std::string name;
        uint16_t hardware;
        uint32_t firmware;
        unsigned fields;
        std::size_t size; // bytes of the record
        bool codeLists;   // fields 20-22 present
    } cases[] = {
        {"hardware 5.10: all 22 fields", 510, 20000, 22, 45 + 1 + 1 + 3 + 1 + 2, true},
        {"older hardware, older firmware: 19 fields", 411, 18100, 22, 45, false},
        {"older hardware, firmware 18200: 22 fields", 411, 18200, 22, 45 + 1 + 1 + 3 + 1 + 2, true},
        {"cut after the state", 510, 20000, 1, 1, false},
        {"cut before the parallel flag", 510, 20000, 18, 44, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SimSettings s;
        s.hardware = c.hardware;
        s.firmware = c.firmware;
        s.statusFields = c.fields;
        s.variant = 7;
        s.serial = 4321;
        s.vin = 11900;
        s.vtarget = 4950;
        s.interfaceInUse = 2;
        s.algorithms = {130, 139, 144};
        s.interfaces = {0, 12};
        Bench bench(s);
        const Answer a = bench.Poll(kTwoBanks, 0xCAFE0001);
        ASSERT_TRUE(a.reply);
        ASSERT_EQ(a.payload.size(), c.size);
        if (c.fields == 1) {
            EXPECT_EQ(a.payload[0], 0);
            continue;
        }
        ProgrammerStatus st;
        ParseStatusRecord(a.payload, 4321, st);
        EXPECT_EQ(st.state, 0);
        EXPECT_EQ(st.firmwareVersion, c.firmware);
        EXPECT_EQ(st.result, 0);
        EXPECT_EQ(st.sessionId, 0xCAFE0001u);
        EXPECT_EQ(std::string(st.bootloaderId.begin(), st.bootloaderId.end()), "SIM-BL01");
        EXPECT_EQ(st.interfaceInUse, 2);
        EXPECT_EQ(st.hardwareVersion, c.hardware);
        EXPECT_EQ(st.inputVoltage, 11900);
        EXPECT_EQ(st.targetVoltage, 4950);
        EXPECT_EQ(st.parallelFlag, c.fields >= 19 ? 1 : 0); // else derived: 0 for 5.10
        if (c.codeLists) {
            EXPECT_EQ(st.hardwareVariant, 7);
            EXPECT_EQ(st.supportedAlgorithms, (std::vector<uint8_t>{130, 139, 144}));
            EXPECT_EQ(st.supportedInterfaces, (std::vector<uint8_t>{0, 12}));
        } else {
            EXPECT_TRUE(st.supportedAlgorithms.empty());
        }
    }
}

TEST(SimStatus, UnparsableConfigurationGetsAShortRefusal) {
    struct Case {
        std::string name;
        std::vector<uint8_t> config;
    } cases[] = {
        {"empty", {}},
        {"ends in the header", std::vector<uint8_t>(10, 0)},
        {"trailing bytes",
         [] {
             auto c = ConfigBytes(kTwoBanks, 5);
             c.push_back(0);
             c.push_back(0);
             return c;
         }()},
        {"overlapping banks", ConfigBytes({{0x1000, 0x100}, {0x1080, 0x100}}, 5)},
        {"more flash than is held in memory", ConfigBytes({{0, 0xFFFFFFFF}}, 5)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Bench bench;
        const Answer a = bench.Exchange(0, c.config);
        ASSERT_TRUE(a.reply);
        EXPECT_EQ(a.payload, std::vector<uint8_t>{100});
        EXPECT_EQ(bench.sim.Session(), 0u); // nothing of it was taken
        EXPECT_EQ(bench.sim.Counters().refused, 1u);
    }
}

TEST(SimSession, StartRefuseAndMismatch) {
    struct Case {
        std::string name;
        bool refuse, mismatch;
        bool sameId; // the programmer reports the id the PC set
    } cases[] = {
        {"accepted", false, false, true},
        {"refused", true, false, false},
        {"mismatch", false, true, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SimSettings s;
        s.refuseSession = c.refuse;
        s.sessionMismatch = c.mismatch;
        Bench bench(s);
        ProgrammerStatus st;
        ParseStatusRecord(bench.Poll(kTwoBanks, 777).payload, 0, st);
        EXPECT_EQ(st.sessionId == 777, c.sameId);
        EXPECT_EQ(st.sessionId == 0, c.refuse);
        // A poll with session 0 (the session is valid) keeps whatever the programmer knows.
        const uint32_t known = st.sessionId;
        ParseStatusRecord(bench.Status().payload, 0, st);
        EXPECT_EQ(st.sessionId, known);
        EXPECT_EQ(bench.sim.Counters().sessions, c.refuse ? 0u : 1u);
    }
}

TEST(SimSetup, ReadCarriesSerialAndWriteReplacesFirst64Bytes) {
    SimSettings s;
    s.serial = 0x01020304;
    Bench bench(s);
    Answer a = bench.Exchange(4, {0, 0, 0, 0});
    ASSERT_TRUE(a.reply);
    ASSERT_EQ(a.payload.size(), 4u + 128u);
    EXPECT_EQ(U32(a.payload, 4 + 16), 0x01020304u);

    std::vector<uint8_t> write = {0, 0, 0, 0};
    for (int i = 0; i < 64; ++i)
        write.push_back(static_cast<uint8_t>(i + 1));
    EXPECT_TRUE(bench.Exchange(4, write).ack);
    a = bench.Exchange(4, {0, 0, 0, 0});
    EXPECT_EQ(a.payload[4], 1);
    EXPECT_EQ(a.payload[4 + 63], 64);
    EXPECT_EQ(a.payload[4 + 64], 0); // the second half stays
}

TEST(SimBuffer, WriteThenReadBackAndRefusals) {
    Bench bench;
    bench.Poll(kTwoBanks, 1);
    EXPECT_TRUE(bench.Write(0x1010, {1, 2, 3}).ack);
    // A block crossing into the second bank must lie wholly inside banks.
    struct Case {
        std::string name;
        uint32_t address;
        uint8_t count;
        uint8_t error;
        std::vector<uint8_t> data; // after error, address, count
    } reads[] = {
        {"written bytes, the rest erased", 0x100F, 5, 0, {5, 0xFF, 1, 2, 3, 0xFF}},
        {"all erased comes back as count 0", 0x1080, 128, 0, {0}},
        {"outside every bank", 0x1100, 1, 1, {0}},
        {"runs past a bank", 0x10FF, 2, 1, {0}},
        {"more than 128 bytes", 0x1000, 129, 61, {0}},
    };
    for (const auto& c : reads) {
        SCOPED_TRACE(c.name);
        const Answer a = bench.Read(c.address, c.count);
        ASSERT_TRUE(a.reply);
        ASSERT_GE(a.payload.size(), 5u);
        EXPECT_EQ(a.payload[0], c.error);
        EXPECT_EQ(U32(a.payload, 1), c.address);
        EXPECT_EQ(std::vector<uint8_t>(a.payload.begin() + 5, a.payload.end()), c.data);
    }
    // A write with one byte outside the banks is refused as a whole, naming that byte.
    const Answer refused = bench.Write(0x10FE, {7, 8, 9});
    ASSERT_TRUE(refused.reply);
    EXPECT_EQ(refused.payload[0], 1);
    EXPECT_EQ(U32(refused.payload, 1), 0x1100u);
    EXPECT_EQ(refused.payload[5], 9);
    EXPECT_EQ(bench.sim.Buffer().Get(0x10FE, 0xEE), 0xEE);
}

TEST(SimBuffer, UnreadableTargetAcknowledgesReads) {
    SimSettings s;
    s.unreadable = true;
    Bench bench(s);
    bench.Poll(kTwoBanks, 1);
    const Answer a = bench.Read(0x1000, 16);
    EXPECT_TRUE(a.ack);
    EXPECT_FALSE(a.reply);
}

// Runs an operation to its end and records the busy states and addresses it showed.
struct Trace {
    std::vector<uint8_t> states;
    std::vector<uint32_t> addresses;
};
Trace RunOperation(Bench& bench, uint8_t op, uint64_t ms) {
    Trace t;
    EXPECT_TRUE(bench.Operation(op).ack);
    for (uint64_t i = 0; i <= ms + 1; ++i) {
        ProgrammerStatus st;
        ParseStatusRecord(bench.Status().payload, 0, st);
        if (st.state && (t.states.empty() || t.states.back() != st.state))
            t.states.push_back(st.state);
        if (st.state) t.addresses.push_back(st.currentAddress);
        bench.Run(1);
    }
    return t;
}

TEST(SimOperations, FillDownloadCrcProgramAndVerify) {
    SimSettings s;
    s.opMs = 20;
    Bench bench(s);
    bench.Poll(kTwoBanks, 1, 0x5A);
    RunOperation(bench, 10, 20); // fill
    const std::vector<uint8_t> data = {0x11, 0x22, 0x33};
    ASSERT_TRUE(bench.Write(0x4010, data).ack);
    RunOperation(bench, 13, 20); // CRC

    std::vector<uint8_t> image(0x100, 0x5A);
    std::vector<uint8_t> second(0x80, 0x5A);
    std::copy(data.begin(), data.end(), second.begin() + 0x10);
    uint16_t crc = Crc16Kermit(0, image.data(), image.size());
    crc = Crc16Kermit(crc, second.data(), second.size());
    EXPECT_EQ(bench.sim.Crc(), crc);

    const Trace t = RunOperation(bench, 11, 20); // program and verify
    EXPECT_EQ(t.states, (std::vector<uint8_t>{3, 5}));
    ASSERT_FALSE(t.addresses.empty());
    EXPECT_EQ(t.addresses.front(), 0x1000u);
    EXPECT_TRUE(std::is_sorted(t.addresses.begin(), t.addresses.begin() + t.addresses.size() / 2));
    EXPECT_GE(*std::max_element(t.addresses.begin(), t.addresses.end()), 0x4000u);
    EXPECT_EQ(bench.sim.State(), 0);
    EXPECT_EQ(bench.sim.Result(), 0);
    EXPECT_EQ(bench.sim.Target().Get(0x4011, 0xFF), 0x22);
    EXPECT_EQ(bench.sim.Target().Get(0x1000, 0xFF), 0x5A);
}

TEST(SimOperations, FailuresReportAddressAndBytes) {
    struct Case {
        std::string name;
        std::optional<uint32_t> failVerify, failBlank;
        bool programFirst;
        uint8_t op;
        uint8_t result;
        uint32_t address;
        uint8_t read, expected;
    } cases[] = {
        {"verify fault", 0x1005, std::nullopt, true, 6, 3, 0x1005, 0xEE, 0x11},
        {"verify of an unprogrammed target", std::nullopt, std::nullopt, false, 6, 3, 0x1004, 0xFF,
         0x11},
        {"blank check of a programmed target", std::nullopt, std::nullopt, true, 4, 4, 0x1004, 0x11,
         0xFF},
        {"blank check fault", std::nullopt, 0x4002, false, 4, 4, 0x4002, 0x00, 0xFF},
        {"program over programmed bytes", std::nullopt, std::nullopt, true, 2, 2, 0x1004, 0x11,
         0x22},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SimSettings s;
        s.opMs = 0;
        s.failVerify = c.failVerify;
        s.failBlank = c.failBlank;
        Bench bench(s);
        bench.Poll(kTwoBanks, 1);
        ASSERT_TRUE(bench.Write(0x1004, std::vector<uint8_t>(4, 0x11)).ack);
        if (c.programFirst) {
            RunOperation(bench, 2, 0);
            ASSERT_EQ(bench.sim.Result(), 0);
        }
        if (c.op == 2) bench.Write(0x1004, {0x22});
        RunOperation(bench, c.op, 0);
        ProgrammerStatus st;
        ParseStatusRecord(bench.Status().payload, 0, st);
        EXPECT_EQ(st.state, 0);
        EXPECT_EQ(st.result, c.result);
        EXPECT_EQ(st.currentAddress, c.address);
        EXPECT_EQ(st.readByte, c.read);
        EXPECT_EQ(st.expectedByte, c.expected);
    }
}

TEST(SimOperations, UnknownOperationEndsAtOnceAsUnsupported) {
    Bench bench;
    bench.Poll(kTwoBanks, 1);
    EXPECT_TRUE(bench.Operation(77).ack);
    bench.Run(5);
    EXPECT_EQ(bench.sim.State(), 0);
    EXPECT_EQ(bench.sim.Result(), 61);
}

TEST(SimOperations, CancelStopsTheRunningOperation) {
    SimSettings s;
    s.opMs = 1000;
    Bench bench(s);
    bench.Poll(kTwoBanks, 1);
    bench.Operation(1);
    bench.Run(10);
    EXPECT_EQ(bench.sim.State(), 2);
    EXPECT_TRUE(bench.Operation(9).ack);
    EXPECT_EQ(bench.sim.State(), 0);
    EXPECT_EQ(bench.sim.Result(), 7);
}

TEST(SimOperations, ReadChipCopiesTheTargetIntoTheBuffer) {
    SimSettings s;
    s.opMs = 0;
    Bench bench(s);
    bench.Poll(kTwoBanks, 1);
    bench.Write(0x4000, {0x01, 0x02});
    RunOperation(bench, 2, 0);
    RunOperation(bench, 10, 0); // the buffer forgets the program
    RunOperation(bench, 8, 0);
    const Answer a = bench.Read(0x4000, 3);
    EXPECT_EQ(std::vector<uint8_t>(a.payload.begin() + 5, a.payload.end()),
              (std::vector<uint8_t>{3, 0x01, 0x02, 0xFF}));
}

// A firmware image sent in 240-byte chunks as the PC does.
void SendFirmware(Bench& bench, const std::vector<uint8_t>& image) {
    for (std::size_t off = 0; off < image.size(); off += 240) {
        std::vector<uint8_t> p;
        PutU32(p, static_cast<uint32_t>(off));
        const std::size_t n = std::min<std::size_t>(240, image.size() - off);
        p.insert(p.end(), image.begin() + off, image.begin() + off + n);
        ASSERT_TRUE(bench.Exchange(5, p).ack) << off;
        bench.Run(5);
    }
}

TEST(SimFirmware, DownloadThenRestartWithNewVersion) {
    std::vector<uint8_t> marked(0xC000, 0xA5);
    marked[0xBFF0] = 0x21;
    marked[0xBFF1] = 0x43;
    marked[0xBFF2] = 0x65;
    marked[0xBFF3] = 0x87;
    struct Case {
        std::string name;
        std::vector<uint8_t> image;
        uint64_t endsAfterMs; // after the last chunk
    } cases[] = {
        {"end marker", marked, 0},
        {"quiet gap", std::vector<uint8_t>(1000, 0x3C), 300},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SimSettings s;
        s.firmware = 19900;
        s.newFirmware = 20003;
        s.firmwareQuietMs = 300;
        s.restartMs = 2000;
        Bench bench(s);
        bench.Poll(kTwoBanks, 42);
        bench.Write(0x1000, {1});
        SendFirmware(bench, c.image);
        bench.Run(c.endsAfterMs);
        EXPECT_TRUE(bench.Status().None()); // restarting: deaf
        bench.Run(2000);
        ProgrammerStatus st;
        ParseStatusRecord(bench.Status().payload, 0, st);
        EXPECT_EQ(st.firmwareVersion, 20003u);
        EXPECT_EQ(st.sessionId, 0u); // the PC starts a new session
        EXPECT_EQ(bench.sim.Buffer().Get(0x1000, 0xEE), 0xEE);
        EXPECT_EQ(bench.sim.Counters().restarts, 1u);
    }
}

TEST(SimRobustness, RandomRequestsNeverBreakTheModel) {
    std::mt19937 rng(5);
    SimSettings s;
    s.opMs = 3;
    Bench bench(s);
    for (int i = 0; i < 3000; ++i) {
        if (i % 50 == 0) bench.Poll(kTwoBanks, static_cast<uint32_t>(rng()));
        std::vector<uint8_t> payload(rng() % 251);
        for (auto& b : payload)
            b = static_cast<uint8_t>(rng());
        // Addresses mostly near the banks, so that writes and reads get past the first check.
        if (payload.size() >= 4 && rng() % 2) {
            payload[3] = payload[2] = 0;
            payload[1] = static_cast<uint8_t>(0x0F + rng() % 0x33);
        }
        const uint8_t n = static_cast<uint8_t>(rng() % 9);
        const std::vector<uint8_t> bytes =
            bench.sim.OnRequest(n, payload, bench.now); // straight in: every length is tried
        EXPECT_TRUE(bytes.empty() || bytes.size() == 1 || bytes.size() <= 259);
        bench.Run(1);
    }
    EXPECT_EQ(bench.sim.Counters().frames + bench.sim.Counters().unheard, 3000u + 60u);
}

TEST(SimFaults, SilenceAfterTheNthWriteFrame) {
    SimSettings s;
    s.silenceAfterWrite = 2;
    s.silenceMs = 100;
    Bench bench(s);
    bench.Poll(kTwoBanks, 1);
    EXPECT_TRUE(bench.Write(0x1000, {1}).ack);
    EXPECT_TRUE(bench.Write(0x1001, {2}).None());
    EXPECT_TRUE(bench.Status().None());
    bench.Run(100);
    EXPECT_TRUE(bench.Write(0x1001, {2}).ack);
    EXPECT_EQ(bench.sim.Counters().unheard, 2u);
}

} // namespace
} // namespace vantrel::sim::test
