// The link thread over a pseudo-terminal (never a real device): a byte from the programmer's
// end reaches the client at once and the answer goes back, and a line whose other end goes
// away is closed without a message and without the thread spinning.
#include <gtest/gtest.h>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "link/SerialLink.h"
#include "platform/SteadyClock.h"
#include "platform/TermiosSerialPort.h"
#include "support/TempDir.h"

namespace vantrel {
namespace {

using Bytes = std::vector<uint8_t>;
using std::chrono::milliseconds;
using std::chrono::steady_clock;

// Answers every byte with the byte plus one, as a programmer's reply would come back.
class EchoClient : public LinkClient {
  public:
    void Tick() override {}
    void Receive(uint8_t byte) override {
        link->PutByte(static_cast<uint8_t>(byte + 1));
        {
            std::lock_guard guard(lock_);
            received_.push_back(byte);
        }
        arrived_.notify_all();
    }
    bool WaitForBytes(std::size_t count, milliseconds limit) {
        std::unique_lock guard(lock_);
        return arrived_.wait_for(guard, limit, [&] { return received_.size() >= count; });
    }

    SerialLink* link = nullptr;

  private:
    std::mutex lock_;
    std::condition_variable arrived_;
    Bytes received_;
};

class NoReports : public Reporter {
  public:
    using Reporter::Report;
    void Report(int32_t, const char*) override { ++count; }
    int count = 0;
};

// Waits until `done` holds, at most `limit`.
template <typename Done> bool WaitUntil(Done done, milliseconds limit) {
    auto deadline = steady_clock::now() + limit;
    while (!done()) {
        if (steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(milliseconds(1));
    }
    return true;
}

// The programmer's end of the line is the master; the link opens the slave as COM3.
class SerialLinkOverPty : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(::openpty(&master_, &slave_, nullptr, nullptr, nullptr), 0);
        char name[256];
        ASSERT_EQ(::ttyname_r(slave_, name, sizeof name), 0);
        path_ = name;
        client_.link = &link_;
        log_.Open(clock_, true, (dir_ / "link.log").string());
        alarm(20); // a wait that never ends stops the test program instead of hanging it
    }
    void TearDown() override {
        link_.Stop();
        alarm(0);
        if (master_ >= 0) ::close(master_);
        ::close(slave_);
    }
    std::optional<uint8_t> ReadAtProgrammer() {
        pollfd p{master_, POLLIN, 0};
        uint8_t byte = 0;
        if (::poll(&p, 1, 2000) <= 0 || ::read(master_, &byte, 1) != 1) return std::nullopt;
        return byte;
    }
    std::string Log() const { return test::ReadFile(dir_ / "link.log"); }

    int master_ = -1;
    int slave_ = -1;
    std::string path_;
    test::TempDir dir_;
    SteadyClock clock_;
    ProtocolLog log_;
    NoReports reporter_;
    EchoClient client_;
    SerialLink link_{SerialLinkSeams{clock_, log_, reporter_,
                                     [] { return std::make_unique<TermiosSerialPort>(); },
                                     [this](int com) -> std::optional<std::string> {
                                         if (com != 3) return std::nullopt;
                                         return path_;
                                     }}};
};

TEST_F(SerialLinkOverPty, AByteReachesTheClientAtOnceAndTheAnswerGoesBack) {
    EXPECT_TRUE(link_.Halted());
    ASSERT_EQ(link_.Start(0, client_), std::nullopt);
    ASSERT_TRUE(WaitUntil([&] { return !link_.Halted(); }, milliseconds(2000)));

    uint8_t byte = 0x5A;
    auto sent = steady_clock::now();
    ASSERT_EQ(::write(master_, &byte, 1), 1);
    ASSERT_TRUE(client_.WaitForBytes(1, milliseconds(2000)));
    // The link waits on the line rather than sleeping between passes; the bound leaves room
    // for a loaded machine.
    EXPECT_LT(steady_clock::now() - sent, milliseconds(250));
    EXPECT_EQ(ReadAtProgrammer(), std::optional<uint8_t>(0x5B));

    link_.Stop();
    EXPECT_TRUE(link_.Halted());
    EXPECT_FALSE(link_.AnyPortOpen());
    std::string log = Log();
    EXPECT_NE(log.find("  <<<< 1    5A\r\n"), std::string::npos);
    EXPECT_NE(log.find("  1 >>>>   5B\r\n"), std::string::npos);
    EXPECT_NE(log.find("\r\n\r\n All COMPORTS closed \r\n\r\n"), std::string::npos);
    EXPECT_EQ(reporter_.count, 0);
}

TEST_F(SerialLinkOverPty, ALineWhoseOtherEndWentAwayIsClosedAndDoesNotSpin) {
    ASSERT_EQ(link_.Start(3, client_), std::nullopt);
    ASSERT_TRUE(WaitUntil([&] { return !link_.Halted(); }, milliseconds(2000)));
    ::close(master_);
    master_ = -1;
    ASSERT_TRUE(WaitUntil([&] { return !link_.AnyPortOpen(); }, milliseconds(2000)));
    ASSERT_TRUE(WaitUntil([&] { return Log().find("COM3 lost") != std::string::npos; },
                          milliseconds(2000)));

    // Every pass writes one time stamp; a pass waits about 2 ms.
    auto passes = [&] {
        std::string log = Log();
        return std::count(log.begin(), log.end(), ':');
    };
    auto before = passes();
    auto from = steady_clock::now();
    std::this_thread::sleep_for(milliseconds(200));
    auto elapsedMs = std::chrono::duration_cast<milliseconds>(steady_clock::now() - from).count();
    EXPECT_LT(passes() - before, elapsedMs + 50);
    EXPECT_EQ(reporter_.count, 0);
}

} // namespace
} // namespace vantrel
