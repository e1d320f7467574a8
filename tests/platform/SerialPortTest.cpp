// The serial port over a pseudo-terminal (never a real device): the line is raw both ways, an
// empty line never blocks, the port is held exclusively, a lost device is told without a busy
// loop, and a port the user may not open says how to get in.
#include <fcntl.h>
#include <grp.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <pty.h>
#include <pwd.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <vector>

#include "platform/TermiosSerialPort.h"
#include "support/TempDir.h"

namespace vantrel {
namespace {

using Bytes = std::vector<std::uint8_t>;
using std::chrono::milliseconds;
using std::chrono::steady_clock;

long ElapsedMs(steady_clock::time_point since) {
    return static_cast<long>(
        std::chrono::duration_cast<milliseconds>(steady_clock::now() - since).count());
}

// The programmer's end of the line is the pseudo-terminal's master; the port opens the slave.
class SerialPortOverPty : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(::openpty(&master_, &slave_, nullptr, nullptr, nullptr), 0);
        char name[256];
        ASSERT_EQ(::ttyname_r(slave_, name, sizeof name), 0);
        path_ = name;
        termios raw{}; // no echo and no lines at the programmer's end
        ASSERT_EQ(::tcgetattr(slave_, &raw), 0);
        ::cfmakeraw(&raw);
        ASSERT_EQ(::tcsetattr(slave_, TCSANOW, &raw), 0);
        alarm(20); // a read or wait that blocks ends the test program instead of hanging it
    }
    void TearDown() override {
        alarm(0);
        CloseMaster();
        ::close(slave_);
    }
    void CloseMaster() {
        if (master_ >= 0) ::close(master_);
        master_ = -1;
    }
    void SendFromProgrammer(const Bytes& bytes) {
        ASSERT_EQ(::write(master_, bytes.data(), bytes.size()), ssize_t(bytes.size()));
    }
    Bytes ReceiveAtProgrammer(std::size_t count) {
        Bytes got(count);
        std::size_t have = 0;
        pollfd p{master_, POLLIN, 0};
        while (have<count&& ::poll(&p, 1, 2000)> 0) {
            ssize_t n = ::read(master_, got.data() + have, count - have);
            if (n <= 0) break;
            have += std::size_t(n);
        }
        got.resize(have);
        return got;
    }
    Bytes ReceiveAtPort(SerialPort& port, std::size_t count) {
        Bytes got(count);
        std::size_t have = 0;
        while (have < count && port.WaitForInput(2000)) {
            SerialPort::Transfer t = port.Read(got.data() + have, count - have);
            EXPECT_FALSE(t.lost);
            have += t.count;
        }
        got.resize(have);
        return got;
    }

    int master_ = -1;
    int slave_ = -1;
    std::string path_;
};

Bytes EveryByteValue() {
    Bytes all(256);
    for (int i = 0; i < 256; ++i)
        all[std::size_t(i)] = std::uint8_t(i);
    return all;
}

TEST_F(SerialPortOverPty, EveryByteCrossesUnchangedBothWaysAndStaleBytesAreDropped) {
    // Answers meant for an earlier process wait in the queue before the port is opened.
    SendFromProgrammer({'o', 'l', 'd'});
    pollfd p{slave_, POLLIN, 0};
    ASSERT_EQ(::poll(&p, 1, 2000), 1);

    TermiosSerialPort port;
    ASSERT_EQ(port.Open(path_), std::nullopt);
    std::uint8_t byte;
    EXPECT_EQ(port.Read(&byte, 1).count, 0u);

    // Raw in both directions: CR, LF, XON, XOFF, 0x00 and 0xFF pass as they are.
    Bytes all = EveryByteValue();
    SerialPort::Transfer sent = port.Write(all.data(), all.size());
    EXPECT_FALSE(sent.lost);
    EXPECT_EQ(sent.count, all.size());
    EXPECT_EQ(ReceiveAtProgrammer(all.size()), all);
    SendFromProgrammer(all);
    EXPECT_EQ(ReceiveAtPort(port, all.size()), all);
}

TEST_F(SerialPortOverPty, AnEmptyLineReadsNothingAtOnceAndTheWaitKeepsItsLimit) {
    TermiosSerialPort port;
    ASSERT_EQ(port.Open(path_), std::nullopt);
    std::uint8_t buffer[200];
    SerialPort::Transfer read = port.Read(buffer, sizeof buffer);
    EXPECT_EQ(read.count, 0u);
    EXPECT_FALSE(read.lost);

    auto start = steady_clock::now();
    EXPECT_FALSE(port.WaitForInput(50));
    EXPECT_GE(ElapsedMs(start), 45);
    EXPECT_LT(ElapsedMs(start), 5000);

    SendFromProgrammer({0x55});
    start = steady_clock::now();
    EXPECT_TRUE(port.WaitForInput(10000));
    EXPECT_LT(ElapsedMs(start), 5000);
}

TEST_F(SerialPortOverPty, ASecondOpenOfThePathIsRefusedNamingIt) {
    TermiosSerialPort first;
    ASSERT_EQ(first.Open(path_), std::nullopt);
    TermiosSerialPort second;
    std::optional<std::string> refused = second.Open(path_);
    ASSERT_TRUE(refused.has_value());
    EXPECT_EQ(*refused, "Can not open com-port: " + path_ + " is in use by another program.");
    EXPECT_FALSE(second.IsOpen());

    first.Close();
    EXPECT_EQ(second.Open(path_), std::nullopt);
}

// A lost port says so on every read and write, and waiting on it takes the whole wait.
void ExpectLostWithoutSpinning(SerialPort& port) {
    std::uint8_t buffer[16];
    EXPECT_TRUE(port.Read(buffer, sizeof buffer).lost);
    auto start = steady_clock::now();
    for (int i = 0; i < 5; ++i)
        EXPECT_FALSE(port.WaitForInput(20));
    EXPECT_GE(ElapsedMs(start), 90);
    EXPECT_TRUE(port.Read(buffer, sizeof buffer).lost);
    EXPECT_TRUE(port.Write(buffer, 1).lost);
}

TEST_F(SerialPortOverPty, AClosedOtherSideIsLostAndWaitingOnItDoesNotSpin) {
    TermiosSerialPort port;
    ASSERT_EQ(port.Open(path_), std::nullopt);
    CloseMaster();
    ExpectLostWithoutSpinning(port);
}

// As when a USB adapter is unplugged: the device hangs up, and its reads end as at end of file.
TEST_F(SerialPortOverPty, AHungUpDeviceIsLostAndWaitingOnItDoesNotSpin) {
    TermiosSerialPort port;
    ASSERT_EQ(port.Open(path_), std::nullopt);
    if (::ioctl(slave_, TIOCVHANGUP) != 0) GTEST_SKIP() << "may not hang up a terminal";
    ExpectLostWithoutSpinning(port);
}

TEST(SerialPort, WhatIsNoDeviceIsNotOpened) {
    test::TempDir dir;
    test::WriteFile(dir / "file", "x");
    const struct {
        const char* name;
        std::string path;
    } cases[] = {
        {"missing path", (dir / "ttyUSB9").string()},
        {"regular file", (dir / "file").string()},
        {"directory", dir.Path().string()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TermiosSerialPort port;
        EXPECT_EQ(port.Open(c.path), "Can not open com-port");
        EXPECT_FALSE(port.IsOpen());
    }
}

std::string NameOfUser(uid_t uid) {
    const passwd* pw = ::getpwuid(uid);
    return pw ? pw->pw_name : "$USER";
}

std::string NameOfGroup(gid_t gid) {
    const group* gr = ::getgrgid(gid);
    return gr ? gr->gr_name : std::to_string(gid);
}

// Opens `path` as user and group 65534 in a child process; the text it got, or "opened".
std::string OpenAsNobody(const std::string& path) {
    int pipeFds[2];
    if (::pipe(pipeFds) != 0) return "no pipe";
    pid_t child = ::fork();
    if (child == 0) {
        ::close(pipeFds[0]);
        if (::setgroups(0, nullptr) != 0 || ::setgid(65534) != 0 || ::setuid(65534) != 0)
            ::_exit(1);
        TermiosSerialPort port;
        std::string text = port.Open(path).value_or("opened");
        ssize_t written = ::write(pipeFds[1], text.data(), text.size());
        ::_exit(written == ssize_t(text.size()) ? 0 : 1);
    }
    ::close(pipeFds[1]);
    std::string text;
    char chunk[256];
    for (ssize_t n; (n = ::read(pipeFds[0], chunk, sizeof chunk)) > 0;)
        text.append(chunk, n);
    ::close(pipeFds[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? text : "child failed";
}

TEST_F(SerialPortOverPty, APortTheUserMayNotOpenSaysHowToGetIn) {
    if (::geteuid() != 0) GTEST_SKIP() << "needs root to open the port as another user";
    const gid_t kDialout = 20;
    const std::string user = NameOfUser(65534);
    const std::string group = NameOfGroup(kDialout);
    const struct {
        const char* name;
        gid_t gid;
        mode_t mode;
        std::string command;
    } cases[] = {
        {"group may use it", kDialout, 0660, "\"sudo usermod -aG " + group + " " + user + "\""},
        {"only its owner may", kDialout, 0600, "\"sudo chown " + user + " " + path_ + "\""},
        {"group root", 0, 0660, "\"sudo chown " + user + " " + path_ + "\""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_EQ(::fchown(slave_, 0, c.gid), 0);
        ASSERT_EQ(::fchmod(slave_, c.mode), 0);
        std::string text = OpenAsNobody(path_);
        // Some build roots hide the device from other users altogether (it cannot even be
        // looked at): the message can then name no group, and there is nothing to check here.
        if (text == "Can not open com-port: no permission for " + path_ + ".")
            GTEST_SKIP() << "the device cannot be looked at by another user here";
        EXPECT_EQ(text.rfind("Can not open com-port: no permission for " + path_, 0), 0u) << text;
        EXPECT_NE(text.find("(group " + NameOfGroup(c.gid) + ")"), std::string::npos) << text;
        EXPECT_NE(text.find(c.command), std::string::npos) << text;
        EXPECT_LE(text.size(), 199u);
    }
}

TEST(SerialPort, ANoPermissionTextForALongPathKeepsItsCommand) {
    std::string path = "/dev/serial/by-id/" + std::string(150, 'x') + "-if00-port0";
    std::string text = NoPermissionText(path, "dialout", true, "alice");
    EXPECT_LE(text.size(), 199u);
    EXPECT_NE(text.find("xxx-if00-port0 (group dialout)"), std::string::npos) << text;
    EXPECT_NE(text.find("\"sudo usermod -aG dialout alice\", then log in again."),
              std::string::npos)
        << text;
}

} // namespace
} // namespace vantrel
