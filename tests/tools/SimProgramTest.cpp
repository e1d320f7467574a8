// The vantrel-sim program as a test starts it: the terminal path on the first line, a status
// poll over the pseudo-terminal, the [Ports] entry, the buffer dump and the summary on exit.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "SimBench.h"
#include "SimPortsFile.h"
#include "link/FrameLayer.h"
#include "link/StatusRecord.h"
#include "support/Process.h"
#include "support/SimProcess.h"
#include "support/TempDir.h"

namespace vantrel::sim::test {
namespace {

using vantrel::test::ReadFile;
using vantrel::test::TempDir;
using vantrel::test::WriteFile;

TEST(SimPortsFile, SetsTheEntryAndKeepsEveryOtherLine) {
    const std::string e = "COM3=\"/dev/pts/9\"";
    struct Case {
        std::string name, before, after;
    } cases[] = {
        {"new file", "", "[Ports]\r\n" + e + "\r\n"},
        {"no [Ports] yet", "[Settings]\r\nDevice=\"NR16C62A\"\r\n",
         "[Settings]\r\nDevice=\"NR16C62A\"\r\n[Ports]\r\n" + e + "\r\n"},
        {"entry replaced, neighbours kept",
         "[Ports]\r\nCOM1=\"/dev/ttyUSB0\"\r\ncom3 = "
         "\"/dev/old\"\r\nCOM30=\"x\"\r\n[Other]\r\nA=1\r\n",
         "[Ports]\r\nCOM1=\"/dev/ttyUSB0\"\r\n" + e + "\r\nCOM30=\"x\"\r\n[Other]\r\nA=1\r\n"},
        {"added at the end of its section",
         "[Ports]\r\nCOM1=\"/dev/ttyUSB0\"\r\n\r\n[Settings]\r\nCOM3=\"not a port\"\r\n",
         "[Ports]\r\nCOM1=\"/dev/ttyUSB0\"\r\n" + e +
             "\r\n\r\n[Settings]\r\nCOM3=\"not a port\"\r\n"},
        {"LF line ends stay", "[Ports]\nCOM2=\"/dev/a\"", "[Ports]\nCOM2=\"/dev/a\"\n" + e + "\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(SetPortEntry(c.before, 3, "/dev/pts/9"), c.after);
    }
}

using vantrel::test::SimProcess;

// The PC's frame layer on the real terminal.
class PtyPc : public FrameSink {
  public:
    explicit PtyPc(int fd) : fd_(fd), layer_(*this) {}
    void PutByte(uint8_t b) override { ASSERT_EQ(write(fd_, &b, 1), 1); }
    void OnReply(uint8_t, uint8_t, std::span<const uint8_t> p) override {
        answer.reply = true;
        answer.payload.assign(p.begin(), p.end());
    }
    void OnAck(uint8_t, uint8_t) override { answer.ack = true; }
    void OnTimeout(uint8_t, uint8_t) override { timedOut = true; }
    // Sends a request (up to `sends` times, as the PC does) and waits for its answer, with a
    // protocol tick after every 5 quiet ms.
    Answer Exchange(uint8_t n, const std::vector<uint8_t>& payload, uint8_t sends = 1) {
        answer = {};
        timedOut = false;
        layer_.Send(n, FrameLayer::kRequest, payload, sends);
        for (int i = 0; i < 400 && answer.None() && !timedOut; ++i) {
            pollfd p{fd_, POLLIN, 0};
            if (poll(&p, 1, 5) <= 0) {
                layer_.Tick();
                continue;
            }
            uint8_t buf[300];
            const ssize_t got = read(fd_, buf, sizeof buf);
            for (ssize_t k = 0; k < got; ++k)
                layer_.Receive(buf[k]);
        }
        return answer;
    }
    Answer answer;
    bool timedOut = false;

  private:
    int fd_;
    FrameLayer layer_;
};

TEST(SimProgram, ServesAStatusPollOverThePseudoTerminal) {
    TempDir dir;
    const auto ini = dir / "vantrel.ini";
    WriteFile(ini, "[Settings]\r\nDevice=\"NR16C62A\"\r\n");
    SimProcess sim({"--settings", ini.string(), "--com", "4", "--hardware", "411", "--firmware",
                    "20001", "--op-time", "0", "--dump-buffer", (dir / "buffer.mot").string(),
                    "--dump-target", (dir / "target.mot").string()});
    const std::string path = sim.Path(10000);
    ASSERT_EQ(path.rfind("/dev/pts/", 0), 0u) << path;
    EXPECT_EQ(ReadFile(ini),
              "[Settings]\r\nDevice=\"NR16C62A\"\r\n[Ports]\r\nCOM4=\"" + path + "\"\r\n");

    // The terminal outlives the PC closing it: open, close, open again.
    int fd = open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    ASSERT_GE(fd, 0);
    close(fd);
    fd = open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    ASSERT_GE(fd, 0);
    PtyPc pc(fd);
    const Answer status = pc.Exchange(0, ConfigBytes({{0x1000, 0x100}}, 0xBEEF));
    ASSERT_TRUE(status.reply);
    ProgrammerStatus st;
    ParseStatusRecord(status.payload, 0, st);
    EXPECT_EQ(st.state, 0);
    EXPECT_EQ(st.hardwareVersion, 411);
    EXPECT_EQ(st.firmwareVersion, 20001u);
    EXPECT_EQ(st.sessionId, 0xBEEFu);
    std::vector<uint8_t> write = {0x00, 0x10, 0x00, 0x00, 0xDE, 0xAD};
    EXPECT_TRUE(pc.Exchange(1, write).ack);
    EXPECT_TRUE(pc.Exchange(3, {2, 0, 0, 0}).ack); // program
    EXPECT_TRUE(pc.Exchange(0, ConfigBytes({{0x1000, 0x100}}, 0)).reply);
    close(fd);

    int exitCode = -1;
    const std::string err = sim.Stop(&exitCode);
    EXPECT_EQ(exitCode, 0);
    EXPECT_NE(err.find("1 sessions started, 4 frames received, 0 refused"), std::string::npos)
        << err;
    EXPECT_EQ(ReadFile(dir / "buffer.mot"), "S1051000DEAD5F\r\nS9030000FC\r\n");
    // The target over the whole bank: the programmed bytes, then erased ones.
    const std::string target = ReadFile(dir / "target.mot");
    EXPECT_EQ(target.rfind("S1231000DEADFFFF", 0), 0u) << target;
    EXPECT_NE(target.find("S12310E0FFFF"), std::string::npos) << target;
}

TEST(SimProgram, PaceHoldsBothDirectionsToTheLineRate) {
    TempDir dir;
    SimProcess sim({"--pace"});
    const std::string path = sim.Path(10000);
    ASSERT_FALSE(path.empty());
    const int fd = open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    ASSERT_GE(fd, 0);
    PtyPc pc(fd);
    const auto config = ConfigBytes({{0x1000, 0x100}}, 0);
    std::size_t bytes = 0;
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < 10; ++i) {
        const Answer a = pc.Exchange(0, config);
        ASSERT_TRUE(a.reply);
        bytes += config.size() + 9 + a.payload.size() + 9;
    }
    const auto us = std::chrono::duration_cast<std::chrono::microseconds>(
                        std::chrono::steady_clock::now() - start)
                        .count();
    close(fd);
    // 11 bits a byte at 115200 baud, one exchange after the other.
    EXPECT_GE(us, static_cast<long long>(bytes * 95));
}

TEST(SimProgram, RetransmissionCarriesRequestsOverAFaultyLine) {
    SimProcess sim(
        {"--drop", "0.002", "--corrupt", "0.002", "--duplicate", "0.002", "--seed", "3"});
    const std::string path = sim.Path(10000);
    ASSERT_FALSE(path.empty());
    const int fd = open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    ASSERT_GE(fd, 0);
    PtyPc pc(fd);
    int answered = 0;
    for (int i = 0; i < 30; ++i) {
        const Answer a = pc.Exchange(0, ConfigBytes({{0x1000, 0x100}}, 0), 5);
        answered += a.reply;
    }
    close(fd);
    int exitCode = -1;
    const std::string err = sim.Stop(&exitCode);
    // About half the exchanges (some 115 bytes both ways) meet a fault; with four sends
    // nearly all get through, and the faults show in the summary.
    EXPECT_GE(answered, 25) << err;
    EXPECT_EQ(err.find(" 0 dropped"), std::string::npos) << err;
}

TEST(SimProgram, BadOptionsAreRefusedWithAMessage) {
    TempDir dir;
    const std::string sim = (vantrel::test::BinDir() / "vantrel-sim").string();
    const std::vector<std::vector<std::string>> cases = {
        {sim, "--com", "3"},       {sim, "--drop", "1.5"},           {sim, "--fail-verify", "0xZZ"},
        {sim, "--op-time", "2=x"}, {sim, "--algorithms", "130,300"},
    };
    for (const auto& argv : cases) {
        SCOPED_TRACE(argv[1]);
        const auto r = vantrel::test::RunProcess(argv, dir.Path(), 10);
        EXPECT_NE(r.exitCode, 0);
        EXPECT_TRUE(r.out.empty()); // no terminal was opened
        EXPECT_FALSE(r.err.empty());
    }
}

} // namespace
} // namespace vantrel::sim::test
