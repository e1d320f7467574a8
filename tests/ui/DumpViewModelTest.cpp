// The dump view's caret, keys, clicks and nibble edits, driven as the widget drives them.
#include <gtest/gtest.h>

#include <vector>

#include "ImageViewFixture.h"
#include "base/Version.h"
#include "ui/DumpViewModel.h"

namespace vantrel {
namespace {

using namespace dumpkey;

std::vector<int> Repeat(int key, int times) {
    return std::vector<int>(static_cast<std::size_t>(times), key);
}
std::vector<int> Then(std::vector<int> a, const std::vector<int>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

class DumpViewModelTest : public test::ImageViewFixture {
  protected:
    DumpViewModel model{app};

    // 14 pixels a line: 140 pixels show 10 lines.
    void Show(int clientHeight = 140, ViewTextMetrics metrics = test::FixedMetrics()) {
        model.SetMetrics(metrics);
        model.OnUpdate(clientHeight);
    }
    DumpKeyAction Keys(const std::vector<int>& keys) {
        DumpKeyAction last;
        for (int key : keys)
            last = model.OnKey(key);
        return last;
    }
    DumpKeyAction Type(char c) { return model.OnKey(c); }
};

TEST_F(DumpViewModelTest, CaretMovesWithTheEdgeRules) {
    struct Case {
        const char* name;
        uint32_t imageLength; // one area from 0: 0x30 is 3 lines, 0x640 is 100
        std::vector<int> keys;
        int column;
        int64_t row, scroll;
    };
    const Case cases[] = {
        {"Left on the first byte of the first line stays", 0x30, {kLeft}, 0, 0, 0},
        {"Right on the last byte of the last line stays", 0x30,
         Then({kDown, kDown}, Repeat(kRight, 16)), 30, 2, 0},
        {"Right from a line's last byte to the next line", 0x30, Repeat(kRight, 16), 0, 1, 0},
        {"Left from a line's first byte to the line above", 0x30, {kDown, kLeft}, 30, 0, 0},
        {"Down stays on the last line of a short image", 0x30, Repeat(kDown, 5), 0, 2, 0},
        {"Down past the last row scrolls one line", 0x640, Repeat(kDown, 10), 0, 9, 1},
        {"Up past the top row scrolls back", 0x640, Then(Repeat(kDown, 10), Repeat(kUp, 10)), 0, 0,
         0},
        {"Right at the end of the last row scrolls one line", 0x640,
         Then(Repeat(kDown, 9), Repeat(kRight, 16)), 0, 9, 1},
        {"Left at the top of a scrolled view scrolls back", 0x640, {kPageDown, kLeft}, 30, 0, 9},
        {"Page Down, Page Down, Page Up", 0x640, {kPageDown, kPageDown, kPageUp}, 0, 0, 10},
        {"Page Down stops at the last line", 0x640, Repeat(kPageDown, 20), 0, 0, 90},
        {"End, then Home", 0x640, {kEnd, kHome}, 0, 0, 0},
        {"Right on the very last byte after End stays", 0x640,
         Then(Then({kEnd}, Repeat(kDown, 9)), Repeat(kRight, 17)), 30, 9, 90},
        {"keys of no meaning move nothing", 0x640, {0x10, 'G', ' ', kF1, kDelete}, 0, 0, 0},
        {"bit 7 of the code is not looked at", 0x640, {kRight | 0x80, kDown | 0x80}, 2, 1, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        app.doc.ClearImage();
        AddArea(0, c.imageLength);
        Show();
        Keys(c.keys);
        EXPECT_EQ(model.CaretColumn(), c.column);
        EXPECT_EQ(model.CaretRow(), c.row);
        EXPECT_EQ(model.ScrollPosition(), c.scroll);
    }
}

TEST_F(DumpViewModelTest, WhatAKeyAsksOfTheWidget) {
    AddArea(0, 0x640); // 100 lines, 10 shown
    Show();
    struct Case {
        int key;
        int64_t asked, scrolled;
        bool beep;
    };
    const Case cases[] = {
        {kPageUp, -10, 0, false},
        {kPageDown, 10, 10, false},
        {kEnd, 101, 80, false},
        {kHome, -101, -90, false},
        {kUp, -1, 0, false},
        {kDown, 0, 0, false},
        {'G', 0, 0, true},
        {' ', 0, 0, true},
        {kF1, 0, 0, true},
        {0x10 /* shift */, 0, 0, false},
        {0x1B /* escape */, 0, 0, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.key);
        DumpKeyAction action = model.OnKey(c.key);
        EXPECT_EQ(action.scrollAsked, c.asked);
        EXPECT_EQ(action.scrolled, c.scrolled);
        EXPECT_EQ(action.beep, c.beep);
        EXPECT_FALSE(action.repaintAddress);
    }
}

// Home and End reach the first and last line of any image, also one of 2^28 lines.
TEST_F(DumpViewModelTest, EndReachesTheLastLineOfTheWholeAddressSpace) {
    AddArea(0, 1);
    AddArea(0xFFFFFFFF, 1);
    Show();
    model.OnKey(kEnd);
    EXPECT_EQ(model.ScrollPosition(), 0x10000000 - 10);
    Keys(Repeat(kDown, 9));
    EXPECT_EQ(model.CaretAddress(), 0xFFFFFFF0u);
    model.OnKey(kHome);
    EXPECT_EQ(model.ScrollPosition(), 0);
}

TEST_F(DumpViewModelTest, ResizeKeepsTheCaretAndTheScrollInRange) {
    AddArea(0, 0x640);
    Show();
    Keys(Then({kEnd}, Repeat(kDown, 9)));
    model.OnResize(70); // 5 lines
    EXPECT_EQ(model.CaretRow(), 4);
    EXPECT_EQ(model.ScrollPosition(), 90);
    model.OnResize(1400); // all 100 lines
    EXPECT_EQ(model.ScrollPosition(), 0);
    EXPECT_EQ(model.CaretRow(), 4);
    EXPECT_EQ(model.Caret().y, 4 * 14);
}

TEST_F(DumpViewModelTest, ClickPutsTheCaretOnTheHighNibble) {
    AddArea(0, 0x30); // 3 lines; hex column at 65, cells of 26, lines of 14
    struct Case {
        int x, y;
        int column; // -1: the click is outside the hex cells, the caret stays
        int64_t row;
    };
    const Case cases[] = {
        {65, 0, 0, 0},
        {65 + 3 * 26 + 25, 2 * 14 + 13, 6, 2},
        {65 + 16 * 26 - 1, 5, 30, 0},
        {65 + 16 * 26, 5, -1, 0},
        {64, 5, -1, 0},
        {70, -1, -1, 0},
        {70, 5 * 14, 0, 2},   // below the last line: the last line
        {70, 10 * 14, -1, 0}, // below the last whole line shown
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.x << "," << c.y);
        Show();
        Keys({kRight, kRight, kDown}); // column 4, row 1
        model.OnLeftButton(c.x, c.y);
        EXPECT_EQ(model.CaretColumn(), c.column < 0 ? 4 : c.column);
        EXPECT_EQ(model.CaretRow(), c.column < 0 ? 1 : c.row);
    }
    EXPECT_TRUE(ui.boxes.empty());
}

TEST_F(DumpViewModelTest, ClickWithAZeroLayoutValueReportsError226) {
    AddArea(0, 0x30);
    const std::string head = VersionString() + ", compiled at " + BuildTime() + ":\n\nAssertion ";
    const std::string tail = " failed in file .\\Src\\HEXViewDump\\HEXViewDump at line ";
    struct Case {
        const char* name;
        int eWidth, zeroHeight;
        std::vector<std::string> texts;
    };
    const Case cases[] = {
        {"cell width 0", -5, 13, {head + "m_xDistHex!=0" + tail + "347"}},
        {"line height 0", 8, -1, {head + "m_yDist!=0" + tail + "348"}},
        {"both",
         -5,
         -1,
         {head + "m_xDistHex!=0" + tail + "347", head + "m_yDist!=0" + tail + "348"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ViewTextMetrics metrics = test::FixedMetrics();
        metrics.eWidth = c.eWidth;
        metrics.zeroHeight = c.zeroHeight;
        ui.boxes.clear();
        Show(140, metrics);
        model.OnLeftButton(100, 20);
        EXPECT_EQ(ui.Messages(), c.texts);
        EXPECT_EQ(app.lastErrorCode, 226);
        EXPECT_EQ(model.CaretColumn(), 0);
    }
}

TEST_F(DumpViewModelTest, FirstDigitAsksOnceAndNoChangesNothing) {
    AddArea(0, 0x30);
    Show();
    ui.answers = {MsgAnswer::No};
    DumpKeyAction declined = Type('5');
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_EQ(ui.boxes[0].text, "Modify existing data?");
    EXPECT_EQ(ui.boxes[0].buttons, MsgButtons::YesNo);
    EXPECT_EQ(ui.boxes[0].icon, MsgIcon::Question);
    EXPECT_EQ(ByteAt(0), 0x00);
    EXPECT_FALSE(app.doc.IsModified());
    EXPECT_FALSE(declined.repaintAddress);
    EXPECT_EQ(model.CaretColumn(), 0);

    ui.answers = {MsgAnswer::Yes};
    DumpKeyAction first = Type('5');
    EXPECT_EQ(ui.boxes.size(), 2u);
    EXPECT_EQ(first.repaintAddress, 0u);
    Type('C');
    Type('6');
    EXPECT_EQ(ui.boxes.size(), 2u); // asked once
    EXPECT_EQ(ByteAt(0), 0x5C);
    EXPECT_EQ(ByteAt(1), 0x61);
    EXPECT_TRUE(app.doc.IsModified());
    EXPECT_EQ(model.CaretColumn(), 3);
    EXPECT_EQ(model.Caret().x, 65 + 3 * 8 + 10);
    auto lines = model.Lines(140);
    EXPECT_EQ(lines[0].cells[0].kind, DumpCellKind::Edited);
    EXPECT_EQ(lines[0].cells[1].kind, DumpCellKind::Edited);
    EXPECT_EQ(lines[0].cells[2].kind, DumpCellKind::Defined);

    // A new image: the question comes back.
    app.doc.ClearImage();
    AddArea(0, 0x30);
    Show();
    ui.answers = {MsgAnswer::Yes};
    Type('1');
    EXPECT_EQ(ui.boxes.size(), 3u);
}

// The caret goes high nibble, low nibble, next byte; the nibble typed replaces only its half.
TEST_F(DumpViewModelTest, NibbleOrder) {
    AddBytes(0, "\x3F\x3F\x3F");
    Show();
    ui.answers = {MsgAnswer::Yes};
    struct Step {
        char key;
        int columnAfter;
        uint8_t byte0, byte1;
    };
    const Step steps[] = {
        {'1', 1, 0x1F, 0x3F}, {'2', 2, 0x12, 0x3F}, {'A', 3, 0x12, 0xAF}, {'B', 4, 0x12, 0xAB}};
    for (const Step& s : steps) {
        SCOPED_TRACE(s.key);
        Type(s.key);
        EXPECT_EQ(model.CaretColumn(), s.columnAfter);
        EXPECT_EQ(ByteAt(0), s.byte0);
        EXPECT_EQ(ByteAt(1), s.byte1);
    }
    model.OnKey(kLeft); // from a high nibble: the byte on the left
    EXPECT_EQ(model.CaretColumn(), 2);
    Type('0');
    model.OnKey(kLeft); // from a low nibble: the same byte's high nibble
    EXPECT_EQ(model.CaretColumn(), 2);
}

// Typing the fill byte's own high nibble changes nothing but moves on; the low nibble then
// makes a one-byte area. The question is not asked again, though no byte had changed yet.
TEST_F(DumpViewModelTest, DigitAtAnUndefinedAddressMakesAOneByteArea) {
    AddBytes(0x1005, "\x3F\x3F\x3F");
    Show();
    ui.answers = {MsgAnswer::Yes};
    Type('F');
    EXPECT_FALSE(Defined(0x1000));
    EXPECT_EQ(model.CaretColumn(), 1);
    DumpKeyAction action = Type('A');
    EXPECT_EQ(ui.boxes.size(), 1u);
    EXPECT_EQ(action.repaintAddress, 0x1000u);
    EXPECT_EQ(ByteAt(0x1000), 0xFA);
    EXPECT_EQ(app.doc.Lock()->AreaCount(), 2u);
    EXPECT_FALSE(Defined(0x1001));
}

TEST_F(DumpViewModelTest, AnEditMakesTheCrcStaleAndRepaintsTheOtherViews) {
    AddArea(0, 0x30);
    Show();
    const AddressRange range{0, 0x2F};
    app.doc.GetImageCrc({&range, 1}, 0xFF);
    ASSERT_TRUE(app.doc.CrcValid());
    const int repaints = ui.repaints;
    ui.answers = {MsgAnswer::Yes};
    Type('7');
    EXPECT_FALSE(app.doc.CrcValid());
    EXPECT_GT(ui.repaints, repaints);
}

// The last nibble of the image: the byte is written, the caret stays on it.
TEST_F(DumpViewModelTest, TypingOnTheLastByteStaysThere) {
    AddArea(0, 0x10);
    Show();
    ui.answers = {MsgAnswer::Yes};
    Keys(Repeat(kRight, 15));
    Type('9');
    Type('8');
    EXPECT_EQ(ByteAt(0xF), 0x98);
    EXPECT_EQ(model.CaretColumn(), 30);
    EXPECT_EQ(model.CaretRow(), 0);
}

} // namespace
} // namespace vantrel
