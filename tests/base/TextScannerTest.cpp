// The text scanner: each read with its cursor movement, its result and its message, and the
// sticky error that makes every later read do nothing.
#include <gtest/gtest.h>

#include "base/TextScanner.h"

namespace vantrel {
namespace {

struct DecimalCase {
    const char* text;
    int32_t minimum, maximum;
    int32_t result; // unchanged (77) on failure
    const char* error;
    std::size_t consumed;
};

TEST(TextScanner, ReadDecimal) {
    const DecimalCase cases[] = {
        {"  42,", 0, 100, 42, "", 4},
        {"+7", 0, 100, 7, "", 2},
        {"-5", 0, 1, -1, "", 2}, // the range check is made before the sign
        {"-", 0, 10, 0, "", 1},  // a sign without digits is 0
        {"7000", 2000, 6000, 6000, "", 4},
        {"1800", 2000, 6000, 77, "Expected a value >= 2000", 0},
        {"x1", 0, 9, 77, "Expecting a number", 0},
        {"", 0, 9, 77, "Expecting a number", 0},
        {"\t12abc", -3, 100, 12, "", 3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        ScanError error;
        const char* cursor = c.text;
        int32_t result = 77;
        ReadDecimal(error, cursor, result, c.minimum, c.maximum);
        EXPECT_EQ(result, c.result);
        EXPECT_EQ(error.Text(), c.error);
        // A failing read leaves the cursor where it was (blanks included).
        EXPECT_EQ(static_cast<std::size_t>(cursor - c.text), c.consumed);
    }
}

struct HexCase {
    const char* text;
    uint32_t minimum, maximum;
    uint32_t result;
    const char* error;
    std::size_t consumed;
};

TEST(TextScanner, ReadHex) {
    const HexCase cases[] = {
        {"1fF0 ", 0, 0xFFFFFFFF, 0x1FF0, "", 4},
        {"0x10", 0, 0xFFFFFFFF, 0, "", 1}, // no prefix: stops at the x
        {"200000", 1, 0x100000, 0x100000, "", 6},
        {"0", 1, 0x100000, 77, "Expected a value >= 1", 0},
        {" 5", 0xA0, 0xFF, 77, "Expected a value >= a0", 0},
        {"123456789", 0, 0xFFFFFFFF, 0x23456789, "", 9}, // the low 32 bits
        {"g", 0, 0xFF, 77, "Expecting a number", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        ScanError error;
        const char* cursor = c.text;
        uint32_t result = 77;
        ReadHex(error, cursor, result, c.minimum, c.maximum);
        EXPECT_EQ(result, c.result);
        EXPECT_EQ(error.Text(), c.error);
        EXPECT_EQ(static_cast<std::size_t>(cursor - c.text), c.consumed);
    }
}

struct QuotedCase {
    const char* text;
    std::size_t size;
    const char* result; // nullptr: fails with the mark 0x01
    std::size_t consumed;
};

TEST(TextScanner, ReadQuotedMarksEveryFailureWithoutWords) {
    const QuotedCase cases[] = {
        {" \"abc\" rest", 256, "abc", 6},   {"\"\"", 256, "", 2},
        {"\"a;b\"", 256, "a;b", 5},         {"abc", 256, nullptr, 0}, // no opening quote
        {"\"abc", 256, nullptr, 0},                                   // no closing quote
        {"\"abc\r\n\"", 256, "abc\r\n", 7}, // line ends are text like any other
        {"\"abcd\"", 5, "abcd", 6},         // exactly size - 1
        {"\"abcde\"", 5, nullptr, 0},       // too long
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        ScanError error;
        const char* cursor = c.text;
        char buffer[256] = {};
        ReadQuoted(error, cursor, buffer, c.size);
        if (c.result) {
            EXPECT_FALSE(error.Failed());
            EXPECT_STREQ(buffer, c.result);
        } else {
            EXPECT_EQ(error.Text(), "\x01");
        }
        EXPECT_EQ(static_cast<std::size_t>(cursor - c.text), c.consumed);
    }
}

TEST(TextScanner, LettersAndAlnumStopAtTheirRunAndNeverFail) {
    struct Case {
        const char* text;
        bool alnum;
        std::size_t size;
        const char* result;
        std::size_t consumed;
    };
    const Case cases[] = {
        {"  AlgoS = x", false, 256, "AlgoS", 7}, {"S7542,", false, 256, "S", 1},
        {"S7542,", true, 256, "S7542", 5},       {"#x", false, 256, "", 0},
        {"abcdef", false, 4, "abc", 3}, // at most size - 1
        {"\"S60\"", true, 256, "", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        ScanError error;
        const char* cursor = c.text;
        char buffer[256] = {};
        if (c.alnum)
            ReadAlnum(error, cursor, buffer, c.size);
        else
            ReadLetters(error, cursor, buffer, c.size);
        EXPECT_FALSE(error.Failed());
        EXPECT_STREQ(buffer, c.result);
        EXPECT_EQ(static_cast<std::size_t>(cursor - c.text), c.consumed);
    }
}

TEST(TextScanner, ExpectCharNamesWhatItFoundAndSkipsNoBlanks) {
    struct Case {
        const char* text;
        char wanted;
        const char* error;
        std::size_t consumed;
    };
    const Case cases[] = {
        {"=1", '=', "", 1},
        {" =", '=', "Expected '=', got ' '", 0},
        {"x", ',', "Expected ',', got 'x'", 0},
        {"\r\n", ',', "Expected ',', got '\r'", 0},
    };
    for (const auto& c : cases) {
        ScanError error;
        const char* cursor = c.text;
        ExpectChar(error, cursor, c.wanted);
        EXPECT_EQ(error.Text(), c.error);
        EXPECT_EQ(static_cast<std::size_t>(cursor - c.text), c.consumed);
    }
}

TEST(TextScanner, TheFirstErrorSticksAndLaterReadsDoNothing) {
    ScanError error;
    const char* text = "x 12 \"t\" abc";
    const char* cursor = text;
    int32_t d = 5;
    ReadDecimal(error, cursor, d, 0, 99);
    ASSERT_EQ(error.Text(), "Expecting a number");
    cursor = text + 2; // even on valid text nothing happens while the error stands
    ReadDecimal(error, cursor, d, 0, 99);
    uint32_t h = 9;
    ReadHex(error, cursor, h, 0, 0xFF);
    char buffer[8] = "keep";
    ReadQuoted(error, cursor, buffer, sizeof buffer);
    ReadLetters(error, cursor, buffer, sizeof buffer);
    ExpectChar(error, cursor, '1');
    EXPECT_EQ(d, 5);
    EXPECT_EQ(h, 9u);
    EXPECT_STREQ(buffer, "keep");
    EXPECT_EQ(cursor, text + 2);
    EXPECT_EQ(error.Text(), "Expecting a number");
}

TEST(TextScanner, LineCommaAndBlankSkipping) {
    const char* text = " \t, ,x\r\n\r\n\nnext";
    const char* cursor = text;
    SkipComma(cursor); // blanks and one comma
    EXPECT_EQ(cursor, text + 3);
    SkipComma(cursor);
    EXPECT_EQ(cursor, text + 5);
    SkipBlanks(cursor);
    EXPECT_EQ(*cursor, 'x');
    SkipLine(cursor); // past the whole run of line ends
    EXPECT_STREQ(cursor, "next");
    SkipLine(cursor);
    EXPECT_EQ(*cursor, '\0');
}

TEST(TextScanner, HexDigitValue) {
    const std::pair<char, int> cases[] = {{'0', 0},  {'9', 9},  {'a', 10}, {'F', 15},
                                          {'g', -1}, {'x', -1}, {' ', -1}, {'\0', -1}};
    for (auto [c, value] : cases)
        EXPECT_EQ(HexDigitValue(c), value) << c;
}

} // namespace
} // namespace vantrel
