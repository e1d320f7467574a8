// The discover request, the reply parser, the table of one round and the texts of the list,
// without a network. Replies are written byte by byte at their offsets, so a wrong offset in
// the parser cannot hide behind a shared constant.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "locator/ConsoleRounds.h"
#include "locator/DiscoverDatagrams.h"
#include "locator/DiscoveryColumns.h"

namespace vantrel::locator {
namespace {

using Bytes = std::vector<uint8_t>;

void Put(Bytes& b, std::size_t at, const std::string& text) {
    if (b.size() < at + text.size()) b.resize(at + text.size());
    std::memcpy(b.data() + at, text.data(), text.size());
}

// A complete reply of a programmer: 192.168.7.21, 00:1A:2B:3C:4D:EF, serial 0x00012345,
// version 20304 (2.03.04), "Vantrel 5 NXT", "Bench".
Bytes GoodReply() {
    Bytes b(128, 0);
    Put(b, 0, "5NXT Found");
    Put(b, 16, std::string("\xC0\xA8\x07\x15", 4));
    Put(b, 32, std::string("\x00\x1A\x2B\x3C\x4D\xEF", 6));
    Put(b, 48, std::string("\x45\x23\x01\x00", 4));
    Put(b, 52, std::string("\x50\x4F\x00\x00", 4)); // 20304
    Put(b, 64, "Vantrel 5 NXT");
    Put(b, 96, "Bench");
    return b;
}

TEST(DiscoverRequest, IsTheTextWithItsZeroAndZeroPadding) {
    auto request = BuildDiscoverRequest();
    ASSERT_EQ(request.size(), 128u);
    EXPECT_EQ(std::string(request.begin(), request.begin() + 14),
              std::string("5NXT Discover\0", 14));
    for (std::size_t i = 14; i < request.size(); ++i)
        EXPECT_EQ(request[i], 0) << "byte " << i;
}

TEST(DiscoverReply, FieldsAtTheirOffsetsLittleEndian) {
    auto entry = ParseDiscoverReply(GoodReply());
    ASSERT_TRUE(entry);
    EXPECT_STREQ(entry->product, "Vantrel 5 NXT");
    EXPECT_STREQ(entry->nickname, "Bench");
    EXPECT_EQ(entry->serial, 0x12345u);
    EXPECT_EQ(entry->version, 20304u);
    EXPECT_EQ(std::vector<uint8_t>(entry->ip, entry->ip + 4),
              (std::vector<uint8_t>{192, 168, 7, 21}));
    EXPECT_EQ(std::vector<uint8_t>(entry->mac, entry->mac + 6),
              (std::vector<uint8_t>{0x00, 0x1A, 0x2B, 0x3C, 0x4D, 0xEF}));
    EXPECT_EQ(entry->pingMs, 0u);
}

struct ReplyCase {
    const char* name;
    Bytes datagram;
    bool accepted;
    const char* product = "";
    const char* nickname = "";
};

Bytes With(Bytes b, std::size_t at, const std::string& text) {
    Put(b, at, text);
    return b;
}
Bytes Cut(Bytes b, std::size_t length) {
    b.resize(length);
    return b;
}

class DiscoverReplyCases : public ::testing::TestWithParam<ReplyCase> {};

TEST_P(DiscoverReplyCases, AcceptedOrIgnored) {
    const ReplyCase& c = GetParam();
    auto entry = ParseDiscoverReply(c.datagram);
    ASSERT_EQ(entry.has_value(), c.accepted);
    if (!entry) return;
    EXPECT_STREQ(entry->product, c.product);
    EXPECT_STREQ(entry->nickname, c.nickname);
}

const std::string k32 = "ABCDEFGHIJKLMNOPQRSTUVWXYZ012345"; // 32 characters, no 0

INSTANTIATE_TEST_SUITE_P(
    Table, DiscoverReplyCases,
    ::testing::Values(
        ReplyCase{"Empty", Bytes{}, false}, ReplyCase{"FifteenBytes", Cut(GoodReply(), 15), false},
        ReplyCase{"SixteenBytesIsEnough", Cut(GoodReply(), 16), true, "", ""},
        ReplyCase{"OtherText", With(GoodReply(), 0, "5NXT Fount"), false},
        ReplyCase{"CaseMatters", With(GoodReply(), 0, "5nxt found"), false},
        ReplyCase{"TheRequestItself", With(GoodReply(), 0, "5NXT Discover"), false},
        ReplyCase{"NoTerminatorAfterTheText", With(GoodReply(), 10, "XYZ"), true, "Vantrel 5 NXT",
                  "Bench"},
        ReplyCase{"ProductWithoutZeroCutAt31", With(GoodReply(), 64, k32), true,
                  "ABCDEFGHIJKLMNOPQRSTUVWXYZ01234", "Bench"},
        ReplyCase{"NicknameWithoutZeroCutAt31", With(GoodReply(), 96, k32), true, "Vantrel 5 NXT",
                  "ABCDEFGHIJKLMNOPQRSTUVWXYZ01234"},
        ReplyCase{"ProductEndsAtItsZero", With(GoodReply(), 64, std::string("Short\0Tail", 10)),
                  true, "Short", "Bench"},
        // Bytes 64..69 arrive, the rest of the name and the nickname do not: they read as 0.
        ReplyCase{"ShortReplyCutsTheName", Cut(GoodReply(), 70), true, "Vantre", ""},
        ReplyCase{"LongerThan512", With(GoodReply(), 700, "x"), true, "Vantrel 5 NXT", "Bench"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(DiscoverReply, FieldsBeyondAShortReplyReadAsZero) {
    // 35 bytes: the text, the IPv4 address and the first three bytes of the MAC address.
    auto entry = ParseDiscoverReply(Cut(GoodReply(), 35));
    ASSERT_TRUE(entry);
    EXPECT_EQ(std::vector<uint8_t>(entry->ip, entry->ip + 4),
              (std::vector<uint8_t>{192, 168, 7, 21}));
    EXPECT_EQ(std::vector<uint8_t>(entry->mac, entry->mac + 6),
              (std::vector<uint8_t>{0x00, 0x1A, 0x2B, 0, 0, 0}));
    EXPECT_EQ(entry->serial, 0u);
    EXPECT_EQ(entry->version, 0u);
    EXPECT_STREQ(entry->product, "");
}

TEST(DiscoveryTable, HoldsAtMost100InArrivalOrder) {
    DiscoveryTable table;
    for (uint32_t i = 0; i < 130; ++i) {
        DiscoveryEntry e;
        e.serial = i;
        EXPECT_EQ(table.Add(e), i < 100) << i;
    }
    ASSERT_EQ(table.Count(), 100u);
    EXPECT_EQ(table[0].serial, 0u);
    EXPECT_EQ(table[99].serial, 99u);
    table.Clear();
    EXPECT_EQ(table.Count(), 0u);
    EXPECT_TRUE(table.Add(DiscoveryEntry{}));
}

DiscoveryEntry Entry(const char* product, const char* nickname, uint32_t version, uint32_t serial,
                     std::array<uint8_t, 4> ip, std::array<uint8_t, 6> mac, uint32_t ping) {
    DiscoveryEntry e;
    std::strncpy(e.product, product, sizeof(e.product) - 1);
    std::strncpy(e.nickname, nickname, sizeof(e.nickname) - 1);
    e.version = version;
    e.serial = serial;
    std::copy(ip.begin(), ip.end(), e.ip);
    std::copy(mac.begin(), mac.end(), e.mac);
    e.pingMs = ping;
    return e;
}

TEST(DiscoveryRow, ColumnTexts) {
    struct Case {
        std::size_t index;
        DiscoveryEntry entry;
        RowTexts expected;
    };
    const Case cases[] = {
        {0,
         Entry("Vantrel 5 NXT", "Bench", 20003, 1001, {192, 168, 1, 50},
               {0, 0x1a, 0x2b, 0x3c, 0x4d, 0x5e}, 0),
         {"1", "Vantrel 5 NXT V2.00", "Bench", "1001", "192.168.1.50", "00:1A:2B:3C:4D:5E",
          "0 ms"}},
        {1,
         Entry("X", "", 123456, 0, {10, 0, 0, 255}, {0xff, 0xfe, 0xa, 0xb, 0xc, 0xd}, 37),
         {"2", "X V12.34", "", "0", "10.0.0.255", "FF:FE:0A:0B:0C:0D", "37 ms"}},
        // The version keeps only two digits of major and minor; the revision is not shown.
        {99,
         Entry("", "n", 99999999, 4294967295u, {0, 0, 0, 0}, {0, 0, 0, 0, 0, 0}, 99),
         {"100", " V99.99", "n", "4294967295", "0.0.0.0", "00:00:00:00:00:00", "99 ms"}},
        {4,
         Entry("P", "N", 1000105, 2147483648u, {255, 255, 255, 255}, {1, 2, 3, 4, 5, 6}, 5),
         {"5", "P V0.01", "N", "2147483648", "255.255.255.255", "01:02:03:04:05:06", "5 ms"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(DiscoveryRowTexts(c.index, c.entry), c.expected) << "row " << c.index;
}

TEST(ConsoleTable, HeaderAndTabSeparatedRowsWithControlCharactersMasked) {
    DiscoveryTable table;
    EXPECT_EQ(ConsoleTableText(table), "#\tProduct\tNickname\tSN\tIP address\tMAC address\tPing\n");
    table.Add(Entry("Vantrel 5 NXT", "a\tb\nc\x1b[2J\x7f", 20003, 7, {1, 2, 3, 4},
                    {1, 2, 3, 4, 5, 6}, 12));
    table.Add(Entry("\xe9t\xe9", "", 10000, 8, {5, 6, 7, 8}, {0, 0, 0, 0, 0, 0}, 40));
    EXPECT_EQ(ConsoleTableText(table),
              "#\tProduct\tNickname\tSN\tIP address\tMAC address\tPing\n"
              "1\tVantrel 5 NXT V2.00\ta.b.c.[2J.\t7\t1.2.3.4\t01:02:03:04:05:06\t12 ms\n"
              "2\t\xe9t\xe9 V1.00\t\t8\t5.6.7.8\t00:00:00:00:00:00\t40 ms\n");
}

} // namespace
} // namespace vantrel::locator
