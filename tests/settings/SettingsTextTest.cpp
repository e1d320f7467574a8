// The settings text in memory: which line a key is found on, and where a write puts it.
#include <gtest/gtest.h>

#include "settings/SettingsText.h"

namespace vantrel {
namespace {

// The value text behind the key, up to the end of its line; "-" when the key is not found.
std::string ValueOf(const std::string& text, const std::string& section, const std::string& key) {
    SettingsText t;
    EXPECT_TRUE(t.Assign(text));
    auto offset = t.FindValue(section, key);
    if (!offset) return "-";
    std::string rest = t.At(*offset);
    return rest.substr(0, rest.find_first_of("\r\n"));
}

TEST(SettingsTextFind, WhichLineAKeyIsFoundOn) {
    struct Case {
        const char* text;
        const char* key;
        const char* expected;
    } cases[] = {
        {"[Settings]\r\nComPort=3\r\n", "ComPort", "=3"},
        {"[Settings]\r\nComPort   =   3\r\n", "ComPort", "   =   3"},
        {"[Settings]\r\n \tComPort = 3\r\n", "ComPort", " = 3"}, // leading blanks
        {"[Settings]\r\ncomport = 3\r\n", "ComPort", "-"},       // case matters
        {"[settings]\r\nComPort = 3\r\n", "ComPort", "-"},       // in the section name too
        {"[Settings]\r\nComPortX = 3\r\n", "ComPort", "-"},      // a longer key
        {"[Settings]\r\nComPort\r\n", "ComPort", "-"},           // nothing behind the key
        {"[Other]\r\nComPort = 7\r\n[Settings]\r\nComPort = 3\r\n", "ComPort", " = 3"},
        {"[Settings]\r\nComPort = 3\r\n[Other]\r\nComPort = 7\r\n", "ComPort", " = 3"},
        {"[Settings]\r\n[Other]\r\nComPort = 7\r\n", "ComPort", "-"}, // section ended
        {" [Settings]\r\nComPort = 3\r\n", "ComPort", "-"},           // "[" not at line start
        {"[Settings\r\nComPort = 3\r\n", "ComPort", "-"},             // no "]"
        {"[Settings]\nComPort = 3\n", "ComPort", " = 3"},             // LF only
        {"[Settings]\r\n\r\n\r\nComPort = 3", "ComPort", " = 3"},     // blank lines, no end
        {"[Settings]\rComPort = 3\r", "ComPort", " = 3"},             // CR only
        {"[Settings]\r\nA = 1\r\nComPort = 3\r\nComPort = 4\r\n", "ComPort", " = 3"},
        {"[Settings]\r\nA=ComPort = 1\r\nComPort = 3\r\n", "ComPort", " = 3"}, // not at line start
        {"[Settings]\r\nA=[x]\r\nComPort = 3\r\n", "ComPort", " = 3"},         // "[" inside a line
        {"x[Settings]\r\nComPort = 7\r\n[Settings]\r\nComPort = 3\r\n", "ComPort", " = 3"},
        {"", "ComPort", "-"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ValueOf(c.text, "Settings", c.key), c.expected) << c.text;
}

TEST(SettingsTextWrite, KeysStandBehindTheHeaderInReverseOrderOfWriting) {
    SettingsText t;
    ASSERT_TRUE(t.WriteLine("Settings", "A", IntLine("A", 1)));
    ASSERT_TRUE(t.WriteLine("Settings", "B", IntLine("B", -2)));
    ASSERT_TRUE(t.WriteLine("Settings", "Device", StringLine("Device", "R5F 100")));
    EXPECT_EQ(t.Str(), "[Settings]\r\nDevice=\"R5F 100\"\r\nB = -2\r\nA = 1\r\n");
    // Writing a key again moves it behind the header.
    ASSERT_TRUE(t.WriteLine("Settings", "A", IntLine("A", 5)));
    EXPECT_EQ(t.Str(), "[Settings]\r\nA = 5\r\nDevice=\"R5F 100\"\r\nB = -2\r\n");
}

TEST(SettingsTextWrite, KeepsWhatItDoesNotKnow) {
    const std::string before = "; made by hand\r\n[Ports]\r\nCOM3=\"/dev/ttyUSB0\"\r\n\r\n"
                               "[Settings]\r\nComPort = 2\r\nMyNote = 1\r\n[Tail]\r\nx=\"y\"";
    SettingsText t;
    ASSERT_TRUE(t.Assign(before));
    ASSERT_TRUE(t.WriteLine("Settings", "ComPort", IntLine("ComPort", 4)));
    EXPECT_EQ(t.Str(), "; made by hand\r\n[Ports]\r\nCOM3=\"/dev/ttyUSB0\"\r\n\r\n"
                       "[Settings]\r\nComPort = 4\r\nMyNote = 1\r\n[Tail]\r\nx=\"y\"");
    // A new section goes on a line of its own, even behind a last line without a line end.
    ASSERT_TRUE(t.WriteLine("New", "K", IntLine("K", 1)));
    EXPECT_EQ(t.Str().substr(t.Str().size() - 21), "x=\"y\"\r\n[New]\r\nK = 1\r\n");
}

TEST(SettingsTextWrite, HeaderAtTheEndWithoutLineEnd) {
    SettingsText t;
    ASSERT_TRUE(t.Assign("[Settings]"));
    ASSERT_TRUE(t.WriteLine("Settings", "A", IntLine("A", 1)));
    EXPECT_EQ(t.Str(), "[Settings]\r\nA = 1\r\n");
}

// The insert point is taken after the old line went: a lone CR ending the header line and the
// LF the old line leaves behind are one line end then.
TEST(SettingsTextWrite, ALoneCrBehindTheHeaderJoinsTheLfTheOldLineLeaves) {
    SettingsText t;
    ASSERT_TRUE(t.Assign("[Ports]\rCom 1\n\n[Settings]\r\n"));
    ASSERT_TRUE(t.WriteLine("Ports", "Com", IntLine("Com", 0)));
    EXPECT_EQ(t.Str(), "[Ports]\r\nCom = 0\r\n[Settings]\r\n");
}

TEST(SettingsTextWrite, RemovesOnlyTheOldLineOfItsOwnSection) {
    SettingsText t;
    ASSERT_TRUE(t.Assign("[Other]\nA = 9\n[Settings]\nB = 1\n  A=3\nC = 2\n"));
    ASSERT_TRUE(t.WriteLine("Settings", "A", IntLine("A", 4)));
    EXPECT_EQ(t.Str(), "[Other]\nA = 9\n[Settings]\nA = 4\r\nB = 1\nC = 2\n");
}

TEST(SettingsTextWrite, QuotesAndLineEndsCannotBreakALine) {
    EXPECT_EQ(StringLine("Device", "ab\"cd"), "Device=\"ab\"\r\n");
    EXPECT_EQ(StringLine("Device", "ab\r\n[Settings]"), "Device=\"ab\"\r\n");
}

TEST(SettingsTextLimit, ATextPastTheLimitIsRefusedAndNothingChanges) {
    SettingsText t;
    EXPECT_FALSE(t.Assign(std::string(kSettingsTextMax + 1, 'x')));
    EXPECT_EQ(t.Length(), 0u);

    const std::string head = "[Settings]\r\nA = 1\r\n;";
    std::string full = head + std::string(kSettingsTextMax - head.size() - 2, '.') + "\r\n";
    ASSERT_EQ(full.size(), kSettingsTextMax);
    ASSERT_TRUE(t.Assign(full));
    // Same length: "A = 2" replaces "A = 1".
    EXPECT_TRUE(t.WriteLine("Settings", "A", IntLine("A", 2)));
    EXPECT_EQ(t.Length(), kSettingsTextMax);
    // One more character is refused; the old line stays.
    EXPECT_FALSE(t.WriteLine("Settings", "A", IntLine("A", 10)));
    EXPECT_EQ(t.Str().substr(0, head.size()), "[Settings]\r\nA = 2\r\n;");
    EXPECT_FALSE(t.WriteLine("Settings", "B", IntLine("B", 1)));
    EXPECT_EQ(t.Length(), kSettingsTextMax);
}

} // namespace
} // namespace vantrel
