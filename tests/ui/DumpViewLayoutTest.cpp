// The dump view's layout from the image's span and the text extents, and the lines it draws
// for a scroll position: address texts, values, colour classes and characters.
#include <gtest/gtest.h>

#include "ImageViewFixture.h"
#include "ui/DumpViewLines.h"

namespace vantrel {
namespace {

using test::FixedMetrics;

TEST(DumpViewLayout, ValuesFromTheImageSpanAndTheFont) {
    struct Case {
        const char* name;
        uint64_t start, end;
        int clientHeight;
        bool wide;
        int hexColumnStart, asciiColumnStart;
        uint64_t firstLine;
        int64_t totalLines, visibleLines, scrollMax;
    };
    const Case cases[] = {
        {"one line inside", 0x1005, 0x1007, 130, false, 65, 493, 0x1000, 1, 9, 0},
        {"last address at 0xFFFFFF", 0, 0xFFFFFF, 140, false, 65, 493, 0, 0x100000, 10,
         0x100000 - 10},
        {"8 digits above 0xFFFFFF", 0xFFFFF0, 0x1000000, 140, true, 81, 509, 0xFFFFF0, 2, 10, 0},
        {"whole address space", 0, 0xFFFFFFFF, 14, true, 81, 509, 0, 0x10000000, 1, 0x10000000 - 1},
        {"empty image: one line", 0, 0, 100, false, 65, 493, 0, 1, 7, 0},
        {"part of a line is no line", 0x20, 0x3FF, 27, false, 65, 493, 0x20, 62, 1, 61},
        {"no room at all", 0, 0x3F, 0, false, 65, 493, 0, 4, 0, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DumpViewLayout l = ComputeDumpViewLayout(FixedMetrics(), c.start, c.end, c.clientHeight);
        EXPECT_EQ(l.yDist, 14);
        EXPECT_EQ(l.xDistHex, 26);
        EXPECT_EQ(l.hexDigitWidth, 8);
        EXPECT_EQ(l.asciiCharWidth, 12);
        EXPECT_EQ(l.wideAddresses, c.wide);
        EXPECT_EQ(l.hexColumnStart, c.hexColumnStart);
        EXPECT_EQ(l.asciiColumnStart, c.asciiColumnStart);
        EXPECT_EQ(l.firstLine, c.firstLine);
        EXPECT_EQ(l.totalLines, c.totalLines);
        EXPECT_EQ(l.visibleLines, c.visibleLines);
        EXPECT_EQ(l.ScrollMax(), c.scrollMax);
    }
}

TEST(DumpViewLayout, AFontWithoutHeightShowsNoLine) {
    ViewTextMetrics m = FixedMetrics();
    m.zeroHeight = -1; // yDist 0
    DumpViewLayout l = ComputeDumpViewLayout(m, 0, 0xFF, 300);
    EXPECT_EQ(l.yDist, 0);
    EXPECT_EQ(l.visibleLines, 0);
}

class DumpLinesTest : public test::ImageViewFixture {
  protected:
    std::vector<DumpLine> Lines(int64_t scroll, int clientHeight, uint8_t fill = 0xFF) {
        auto image = app.doc.Lock();
        DumpViewLayout layout = ComputeDumpViewLayout(FixedMetrics(), image->StartAddress(),
                                                      image->EndAddress(), clientHeight);
        return DumpViewLines(image, layout, scroll, clientHeight, fill);
    }
    static std::string Kinds(const DumpLine& line) {
        std::string s;
        for (const DumpCell& cell : line.cells)
            s += cell.kind == DumpCellKind::Edited    ? 'E'
                 : cell.kind == DumpCellKind::Defined ? 'D'
                                                      : 'u';
        return s;
    }
    static std::string Hex(const DumpLine& line) {
        std::string s;
        for (const DumpCell& cell : line.cells)
            s += cell.hex;
        return s;
    }
    static std::string Text(const DumpLine& line) {
        std::string s;
        for (const DumpCell& cell : line.cells)
            s += cell.character;
        return s;
    }
};

TEST_F(DumpLinesTest, ThreeBytesInTheMiddleOfALine) {
    AddBytes(0x1005, "A B");
    auto lines = Lines(0, 500);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_STREQ(lines[0].addressText, "001000");
    EXPECT_EQ(Kinds(lines[0]), "uuuuuDDDuuuuuuuu");
    EXPECT_EQ(Hex(lines[0]), "FFFFFFFFFF412042FFFFFFFFFFFFFFFF");
    EXPECT_EQ(Text(lines[0]), ".....A.B........"); // the blank too shows as "."
}

TEST_F(DumpLinesTest, EightDigitAddressesAboveTheLowSixteenMegabytes) {
    AddArea(0xFFFFFE, 3);
    auto lines = Lines(0, 500, 0x00);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_STREQ(lines[0].addressText, "00FFFFF0");
    EXPECT_STREQ(lines[1].addressText, "01000000");
    EXPECT_EQ(Kinds(lines[1]), "Duuuuuuuuuuuuuuu");
}

TEST_F(DumpLinesTest, EditedBytesAndGapsBetweenAreas) {
    AddArea(0x100, 4, 0x30);
    AddArea(0x108, 2, 0x7E);
    AddArea(0x10F, 3, 0x80);
    app.doc.SetByte(0x101, 0x21);
    app.doc.SetByte(0x10A, 0x5A); // an edit where nothing was: a new defined byte
    auto lines = Lines(0, 500, 0xAA);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(Kinds(lines[0]), "DEDDuuuuDDEuuuuD");
    EXPECT_EQ(Hex(lines[0]), "30213233AAAAAAAA7E7F5AAAAAAAAA80");
    EXPECT_EQ(Text(lines[0]), "0!23....~\x7FZ.....");
    EXPECT_EQ(Kinds(lines[1]), "DDuuuuuuuuuuuuuu");
}

// Only the lines in sight: one more for a part-shown line, none past the last line, none at
// all for a position past the end.
TEST_F(DumpLinesTest, OnlyTheLinesInSight) {
    AddArea(0x0, 0x400);
    struct Case {
        int64_t scroll;
        int clientHeight;
        std::size_t lines;
        const char* firstAddress;
    };
    const Case cases[] = {{0, 140, 11, "000000"}, {0, 141, 11, "000000"}, {60, 140, 4, "0003C0"},
                          {63, 140, 1, "0003F0"}, {64, 140, 0, nullptr},  {-1, 140, 0, nullptr},
                          {0, 0, 1, "000000"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.scroll << " / " << c.clientHeight);
        auto lines = Lines(c.scroll, c.clientHeight);
        ASSERT_EQ(lines.size(), c.lines);
        if (c.firstAddress) {
            EXPECT_STREQ(lines[0].addressText, c.firstAddress);
        }
    }
}

} // namespace
} // namespace vantrel
