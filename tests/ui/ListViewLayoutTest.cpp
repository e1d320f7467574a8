// The list view: column positions from the text extents, and the rows of the areas shown.
#include <gtest/gtest.h>

#include "ImageViewFixture.h"
#include "ui/ListViewLayout.h"

namespace vantrel {
namespace {

TEST(ListViewLayout, ColumnsFromTheMeasuredWidths) {
    ListViewLayout l = ComputeListViewLayout(test::FixedMetrics());
    EXPECT_EQ(l.startX, 32 + 17);
    EXPECT_EQ(l.lengthX, 49 + 64 + 12);
    EXPECT_EQ(l.gapX, 125 + 48 + 12);
    EXPECT_EQ(l.dataX, 185 + 64 + 12);
    EXPECT_EQ(l.dataCellWidth, 16 + 4);
    EXPECT_EQ(l.asciiX, 261 + 16 * 20 + 10);
    EXPECT_EQ(l.asciiCellWidth, 10 + 2);
    EXPECT_EQ(l.lineY, 13 + 5);
    EXPECT_EQ(l.firstRowY, 18 + 5);
    EXPECT_EQ(l.rowHeight, 13);
    EXPECT_EQ(l.ContentHeight(100), 23 + 1300);
    std::vector<std::string> texts;
    std::vector<int> xs;
    for (const ListHeader& h : ListViewHeaders(l)) {
        texts.push_back(h.text);
        xs.push_back(h.x);
    }
    EXPECT_EQ(texts,
              (std::vector<std::string>{"Area", "Adr.", "Len.", "Gap", "Data (hex)", "ASCII"}));
    EXPECT_EQ(xs, (std::vector<int>{5, 49, 125, 185, 261, 591}));
}

class ListViewRowsTest : public test::ImageViewFixture {
  protected:
    std::vector<ListRow> Rows(std::size_t first, std::size_t count) {
        return ListViewRows(app.doc.Lock(), first, count);
    }
};

TEST_F(ListViewRowsTest, GapToTheNextAreaAndNoneAfterTheLast) {
    AddArea(0x0, 0x10);
    AddArea(0x20, 0x10);
    auto rows = Rows(0, 10);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].number, "0001");
    EXPECT_EQ(rows[0].start, "000000");
    EXPECT_EQ(rows[0].length, "000010");
    EXPECT_EQ(rows[0].gap, "000010");
    EXPECT_EQ(rows[1].number, "0002");
    EXPECT_EQ(rows[1].start, "000020");
    EXPECT_EQ(rows[1].gap, "");
}

// The first 16 bytes of an area however long it is; a blank is a blank here, other bytes
// outside 0x20..0x7F are ".".
TEST_F(ListViewRowsTest, FirstSixteenBytesAsHexAndText) {
    AddBytes(0x1000, std::string("A B\x7F\x80\x1F", 6) + std::string(20, 'z'));
    AddBytes(0x2000, "\x01");
    auto rows = Rows(0, 2);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].length, "00001A");
    ASSERT_EQ(rows[0].hex.size(), 16u);
    EXPECT_EQ(rows[0].hex[0], "41");
    EXPECT_EQ(rows[0].hex[4], "80");
    EXPECT_EQ(rows[0].text, "A B\x7F..zzzzzzzzzz");
    EXPECT_EQ(rows[0].gap, "000FE6");
    EXPECT_EQ(rows[1].hex, std::vector<std::string>{"01"});
    EXPECT_EQ(rows[1].text, ".");
}

// Only the rows asked for are made; the last of them still gets its gap from the area after it.
TEST_F(ListViewRowsTest, RowsInSightOnly) {
    for (uint32_t i = 0; i < 20; ++i)
        AddArea(i * 0x100, 0x10);
    AddArea(0x1000000, 1); // wider than six digits
    struct Case {
        std::size_t first, count, rows;
        const char* firstNumber;
        const char* lastGap;
    };
    const Case cases[] = {{0, 3, 3, "0001", "0000F0"},
                          {18, 5, 3, "0019", ""},
                          {19, 1, 1, "0020", "FFECF0"},
                          {21, 4, 0, nullptr, nullptr},
                          {5, 0, 0, nullptr, nullptr}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.first);
        auto rows = Rows(c.first, c.count);
        ASSERT_EQ(rows.size(), c.rows);
        if (!c.rows) continue;
        EXPECT_EQ(rows.front().number, c.firstNumber);
        EXPECT_EQ(rows.back().gap, c.lastGap);
    }
    EXPECT_EQ(Rows(20, 1)[0].start, "1000000");
}

// A view keeps its index of area starts; whatever changes the areas makes it again.
TEST_F(ListViewRowsTest, KeptIndexFollowsTheAreas) {
    ListAreaIndex index;
    auto starts = [&](std::size_t first = 0) {
        std::vector<std::string> texts;
        for (const ListRow& row : ListViewRows(app.doc.Lock(), index, first, 10))
            texts.push_back(row.start + "+" + row.length + ">" + row.gap);
        return texts;
    };
    using Texts = std::vector<std::string>;
    AddArea(0x100, 0x10);
    EXPECT_EQ(starts(), Texts{"000100+000010>"});
    AddArea(0x200, 0x10);
    EXPECT_EQ(starts(), (Texts{"000100+000010>0000F0", "000200+000010>"}));
    AddArea(0x1F0, 0x10); // joined to the front of an area: same count, another start
    EXPECT_EQ(starts(1), Texts{"0001F0+000020>"});
    app.doc.Relocate(-0x100);
    EXPECT_EQ(starts(), (Texts{"000000+000010>0000E0", "0000F0+000020>"}));
    app.doc.RemoveRange(0, 0x10);
    EXPECT_EQ(starts(), Texts{"0000F0+000020>"});
    app.doc.ClearImage();
    EXPECT_EQ(starts(), Texts{});
}

TEST_F(ListViewRowsTest, EmptyImageHasNoRows) {
    EXPECT_TRUE(Rows(0, 10).empty());
}

} // namespace
} // namespace vantrel
