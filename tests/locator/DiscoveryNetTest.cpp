// locator --console and nxt-sim as a user runs them, on a private network namespace of the
// test's own (loopback only): the responders and the locator share port 19020 there, and the
// locator's rounds are read back from its output.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <sstream>

#include "PrivateNetwork.h"
#include "Responder.h"
#include "support/Process.h"
#include "support/TempDir.h"

namespace vantrel {
namespace {

using ::testing::ElementsAre;
using Row = std::vector<std::string>;
using Round = std::vector<Row>;

const std::string kSending = "\nSending discover - Waiting for replies...\n";
const std::string kHeader = "#\tProduct\tNickname\tSN\tIP address\tMAC address\tPing\n";

Row Split(const std::string& line) {
    Row columns;
    std::stringstream in(line);
    std::string column;
    while (std::getline(in, column, '\t'))
        columns.push_back(column);
    return columns;
}

// The ping column's number of milliseconds, or -1 when it is not "<n> ms".
int PingMs(const Row& row) {
    int ms = -1;
    char rest = 0;
    if (row.size() != 7 || std::sscanf(row[6].c_str(), "%d m%c", &ms, &rest) != 2 || rest != 's')
        return -1;
    return ms;
}

// The rows without their ping column, for exact comparison.
Row WithoutPing(Row row) {
    if (!row.empty()) row.pop_back();
    return row;
}

struct Discovery : ::testing::Test {
    test::TempDir dir;
    std::vector<std::unique_ptr<test::Responder>> responders;

    void SetUp() override { VANTREL_REQUIRE_PRIVATE_NETWORK(); }

    void StartResponder(const std::vector<std::string>& args) {
        responders.push_back(std::make_unique<test::Responder>(args, dir.Path()));
        ASSERT_TRUE(responders.back()->Ready()) << responders.back()->Log();
    }

    test::ProcessResult Locator(int rounds) {
        return test::RunProcess({(test::BinDir() / "locator").string(), "--console", "--rounds",
                                 std::to_string(rounds)},
                                dir.Path(), 30);
    }

    // Runs the locator and cuts its output into rounds of rows.
    std::vector<Round> Rounds(int rounds) {
        auto r = Locator(rounds);
        EXPECT_EQ(r.exitCode, 0) << r.out << r.err;
        std::vector<Round> result;
        std::size_t at = 0;
        while (r.out.compare(at, kSending.size(), kSending) == 0) {
            at += kSending.size();
            EXPECT_EQ(r.out.compare(at, kHeader.size(), kHeader), 0) << r.out;
            at += kHeader.size();
            Round round;
            while (at < r.out.size() && r.out[at] != '\n') {
                std::size_t end = r.out.find('\n', at);
                round.push_back(Split(r.out.substr(at, end - at)));
                at = end + 1;
            }
            result.push_back(round);
        }
        EXPECT_EQ(at, r.out.size()) << "unexpected output: " << r.out.substr(at);
        EXPECT_EQ(result.size(), static_cast<std::size_t>(rounds)) << r.out;
        return result;
    }
};

TEST_F(Discovery, NoResponderLeavesEveryRoundEmpty) {
    auto r = Locator(3);
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, kSending + kHeader + kSending + kHeader + kSending + kHeader);
}

TEST_F(Discovery, TwoRespondersAreNumberedInArrivalOrderWithTheirPing) {
    StartResponder({"--nickname", "LAB-A", "--serial", "1001"});
    StartResponder({"--nickname", "LAB-B", "--serial", "1002", "--firmware", "10512", "--ip",
                    "10.20.30.40", "--mac", "0a:bc:de:f0:12:34", "--delay", "25"});
    auto rounds = Rounds(2);
    for (const Round& round : rounds) {
        ASSERT_EQ(round.size(), 2u);
        EXPECT_THAT(WithoutPing(round[0]), ElementsAre("1", "Vantrel 5 NXT V2.00", "LAB-A", "1001",
                                                       "192.168.1.50", "00:1A:2B:3C:4D:5E"));
        EXPECT_THAT(WithoutPing(round[1]), ElementsAre("2", "Vantrel 5 NXT V1.05", "LAB-B", "1002",
                                                       "10.20.30.40", "0A:BC:DE:F0:12:34"));
        // Measured: the second reply cannot come before its responder's delay, and every
        // reply counted came within the window.
        EXPECT_GE(PingMs(round[0]), 0);
        EXPECT_GE(PingMs(round[1]), 25);
        EXPECT_LT(PingMs(round[1]), 100);
    }
}

struct FieldCase {
    const char* name;
    std::vector<std::string> args;
    Row expected; // without the ping
};
void PrintTo(const FieldCase& c, std::ostream* os) {
    *os << c.name;
}

class DiscoveryFields : public Discovery, public ::testing::WithParamInterface<FieldCase> {};

TEST_P(DiscoveryFields, OneResponderOneRow) {
    StartResponder(GetParam().args);
    auto rounds = Rounds(1);
    ASSERT_EQ(rounds[0].size(), 1u);
    EXPECT_EQ(WithoutPing(rounds[0][0]), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Replies, DiscoveryFields,
    ::testing::Values(
        // 40 characters: the field holds 32 and no terminating 0; 31 are shown.
        FieldCase{"ProductWithoutTerminatingZero",
                  {"--product", "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789abcd", "--nickname", "N"},
                  {"1", "ABCDEFGHIJKLMNOPQRSTUVWXYZ01234 V2.00", "N", "1001", "192.168.1.50",
                   "00:1A:2B:3C:4D:5E"}},
        FieldCase{
            "VersionTwoZeroRevisionThreeShownAsV200",
            {"--firmware", "20003", "--serial", "4000000000"},
            {"1", "Vantrel 5 NXT V2.00", "NXT", "4000000000", "192.168.1.50", "00:1A:2B:3C:4D:5E"}},
        FieldCase{"SixteenBytesOnly",
                  {"--length", "16"},
                  {"1", " V0.00", "", "0", "0.0.0.0", "00:00:00:00:00:00"}},
        FieldCase{
            "LongerThan512Bytes",
            {"--length", "1000", "--nickname", "Big"},
            {"1", "Vantrel 5 NXT V2.00", "Big", "1001", "192.168.1.50", "00:1A:2B:3C:4D:5E"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Discovery, ShortAndForeignDatagramsAreIgnored) {
    StartResponder({"--length", "15"});
    StartResponder({"--magic", "5NXT Fount"});
    StartResponder({"--magic", "HELLO"});
    StartResponder({"--nickname", "REAL", "--delay", "10"});
    auto rounds = Rounds(2);
    for (const Round& round : rounds) {
        ASSERT_EQ(round.size(), 1u);
        EXPECT_EQ(round[0][0], "1");
        EXPECT_EQ(round[0][2], "REAL");
    }
}

TEST_F(Discovery, MoreThanOneHundredRepliesKeepTheFirstHundred) {
    StartResponder({"--count", "130"});
    auto rounds = Rounds(2);
    for (const Round& round : rounds) {
        ASSERT_EQ(round.size(), 100u);
        for (std::size_t i = 0; i < round.size(); ++i)
            EXPECT_EQ(round[i][0], std::to_string(i + 1));
    }
}

TEST_F(Discovery, RespondersAnswerTheirPeersNothing) {
    // Each responder hears the other's broadcast replies; answering them would flood the
    // round with rows.
    StartResponder({"--nickname", "A", "--count", "3"});
    StartResponder({"--nickname", "B", "--count", "3", "--delay", "5"});
    auto rounds = Rounds(3);
    for (const Round& round : rounds)
        EXPECT_EQ(round.size(), 6u);
}

// A socket that holds port 19020 and does not share it.
struct PortHolder {
    int fd = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    PortHolder() {
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_port = htons(19020);
        EXPECT_EQ(bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof(a)), 0);
    }
    ~PortHolder() { close(fd); }
};

TEST_F(Discovery, PortThatCannotBeBoundEndsTheConsoleWithOne) {
    PortHolder holder;
    auto r = Locator(2);
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.out, "Could not bind the socket to port 19020.\n");
}

TEST_F(Discovery, BroadcastThatCannotBeSentEndsTheRoundsWithTwo) {
    // A namespace inside the test's own, with no route at all: the first send fails.
    auto r = test::RunProcess({"/usr/bin/unshare", "-n", (test::BinDir() / "locator").string(),
                               "--console", "--rounds", "3"},
                              dir.Path(), 30);
    EXPECT_EQ(r.exitCode, 2) << r.err;
    EXPECT_EQ(r.out, "sendto error\n");
}

TEST_F(Discovery, ResponderCanReplyToTheSender) {
    StartResponder({"--reply-to-sender", "--serial", "305419896", "--firmware", "20003", "--ip",
                    "1.2.3.4", "--mac", "AA:BB:CC:DD:EE:FF", "--product", "P", "--nickname",
                    "Nick"});
    int fd = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    int on = 1;
    ASSERT_EQ(setsockopt(fd, SOL_SOCKET, SO_BROADCAST, &on, sizeof(on)), 0);
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(19020);
    to.sin_addr.s_addr = htonl(INADDR_BROADCAST);
    uint8_t request[128] = "5NXT Discover";
    ASSERT_EQ(sendto(fd, request, sizeof(request), 0, reinterpret_cast<sockaddr*>(&to), sizeof(to)),
              128);
    pollfd p{fd, POLLIN, 0};
    ASSERT_EQ(poll(&p, 1, 5000), 1) << "no reply within 5 s";
    uint8_t reply[600] = {};
    ASSERT_EQ(recv(fd, reply, sizeof(reply), 0), 128);
    close(fd);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(reply), 10), "5NXT Found");
    EXPECT_EQ(std::vector<uint8_t>(reply + 16, reply + 20), (std::vector<uint8_t>{1, 2, 3, 4}));
    EXPECT_EQ(std::vector<uint8_t>(reply + 32, reply + 38),
              (std::vector<uint8_t>{0xAA, 0xBB, 0xCC, 0xDD, 0xEE, 0xFF}));
    EXPECT_EQ(std::vector<uint8_t>(reply + 48, reply + 56),
              (std::vector<uint8_t>{0x78, 0x56, 0x34, 0x12, 0x23, 0x4E, 0x00, 0x00}));
    EXPECT_STREQ(reinterpret_cast<char*>(reply + 64), "P");
    EXPECT_STREQ(reinterpret_cast<char*>(reply + 96), "Nick");
}

} // namespace
} // namespace vantrel
