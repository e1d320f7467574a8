// The dump and list widgets on the offscreen platform, driven by real key presses and clicks;
// screenshots of both are left under the build tree.
#include <gtest/gtest.h>

#include <QApplication>
#include <QScrollBar>
#include <QTest>
#include <cstdlib>
#include <filesystem>

#include "ImageViewFixture.h"
#include "WindowTestSupport.h"
#include "ui/qt/views/DumpView.h"
#include "ui/qt/views/ListView.h"

namespace vantrel {
namespace {

using test::Qt;

bool Screenshot(QWidget& w, const char* name) {
    return std::filesystem::exists(test::Screenshot(w, name));
}

class ImageViewWidgets : public test::ImageViewFixture {
  protected:
    void SetUp() override { Qt(); }
};

TEST_F(ImageViewWidgets, DumpViewEditSessionByKeys) {
    AddBytes(0x1005, "\x3F\x3F\x3F");
    AddBytes(0x1020, "Vantrel dump view, edited in place");
    DumpView view(app, nullptr);
    view.resize(720, 260);
    view.show();
    view.setFocus();
    view.OnDocumentChanged();
    ui.answers = {MsgAnswer::Yes};

    // The fill byte's high nibble changes nothing; the low nibble makes a byte of its own.
    QTest::keyClick(&view, Qt::Key_F);
    QTest::keyClick(&view, Qt::Key_A);
    EXPECT_EQ(ByteAt(0x1000), 0xFA);
    QTest::keyClicks(&view, "12"); // lower or upper case alike
    QTest::keyClick(&view, Qt::Key_Right);
    QTest::keyClick(&view, Qt::Key_Right);
    QTest::keyClicks(&view, "be");
    EXPECT_EQ(ByteAt(0x1001), 0x12);
    EXPECT_EQ(ByteAt(0x1004), 0xBE);
    EXPECT_EQ(ui.boxes.size(), 1u); // asked once
    EXPECT_EQ(ui.Messages().front(), "Modify existing data?");
    EXPECT_TRUE(app.doc.IsModified());
    EXPECT_EQ(view.Model().CaretColumn(), 10);
    // The edited byte on red; beside it the text of a defined byte, grey on white.
    const DumpViewLayout& cells = view.Model().Layout();
    const QImage page = view.viewport()->grab().toImage();
    EXPECT_EQ(page.pixelColor(cells.hexColumnStart + 1, 1), QColor(255, 0, 0));
    EXPECT_EQ(page.pixelColor(cells.asciiColumnStart + 1, 1), QColor(255, 0, 0));
    EXPECT_EQ(page.pixelColor(cells.hexColumnStart + 5 * cells.xDistHex + 1, 1), Qt::white);
    EXPECT_EQ(page.pixelColor(cells.hexColumnStart + 2 * cells.xDistHex + 1, 1), Qt::white);

    // A click on the third line's fifth byte, then the view goes to its last line.
    const DumpViewLayout& layout = view.Model().Layout();
    QTest::mouseClick(
        view.viewport(), Qt::LeftButton, {},
        QPoint(layout.hexColumnStart + 4 * layout.xDistHex + 3, 2 * layout.yDist + 2));
    EXPECT_EQ(view.Model().CaretColumn(), 8);
    EXPECT_EQ(view.Model().CaretRow(), 2);
    QTest::keyClick(&view, Qt::Key_Z); // no digit: a beep, nothing else
    EXPECT_EQ(ByteAt(0x1024), 'r');
    EXPECT_TRUE(Screenshot(view, "dump-view.png"));
}

// The window asks its views to draw again for any change, the programmer's state included: the
// dump view starts over at the top only when the image's areas changed, and never for a byte
// typed in it, even one that makes a new area.
TEST_F(ImageViewWidgets, DumpViewStartsOverOnlyForANewImage) {
    AddArea(0, 0x1000);
    AddArea(0x2000, 0x10);
    DumpView view(app, nullptr);
    view.resize(720, 300);
    view.show();
    view.setFocus();
    view.OnDocumentChanged();
    ui.onRepaint = [&] { view.OnRepaintRequested(); };
    ui.answers = {MsgAnswer::Yes};

    QTest::keyClick(&view, Qt::Key_End);
    QTest::keyClick(&view, Qt::Key_Up); // the caret on an undefined address
    const int64_t scrolled = view.Model().ScrollPosition();
    const uint64_t undefined = view.Model().CaretAddress();
    ASSERT_GT(scrolled, 0);
    ASSERT_GT(undefined, 0x1000u);
    ASSERT_LT(undefined, 0x2000u);
    ui.Repaint(); // the programmer's state changed
    EXPECT_EQ(view.Model().ScrollPosition(), scrolled);
    EXPECT_EQ(view.Model().CaretAddress(), undefined);

    QTest::keyClicks(&view, "12"); // a byte of its own: a new area
    EXPECT_EQ(ByteAt(static_cast<uint32_t>(undefined)), 0x12);
    EXPECT_EQ(view.Model().ScrollPosition(), scrolled);
    EXPECT_EQ(view.Model().CaretAddress(), undefined + 1);

    AddArea(0x8000, 0x10); // loaded, merged, read back
    ui.Repaint();
    EXPECT_EQ(view.Model().ScrollPosition(), 0);
    EXPECT_EQ(view.Model().CaretAddress(), 0u);
}

TEST_F(ImageViewWidgets, DumpViewScrollsByLinesAndFollowsItsFont) {
    AddArea(0, 0x10000); // 4096 lines
    DumpView view(app, nullptr);
    view.resize(720, 300);
    view.show();
    view.setFocus();
    const int64_t visible = view.Model().Layout().visibleLines;
    ASSERT_GT(visible, 0);
    EXPECT_EQ(view.verticalScrollBar()->maximum(), 4096 - visible);
    QTest::keyClick(&view, Qt::Key_PageDown);
    EXPECT_EQ(view.verticalScrollBar()->value(), visible);
    EXPECT_EQ(view.Model().ScrollPosition(), visible);
    view.verticalScrollBar()->setValue(100); // the scroll bar moved by the user
    EXPECT_EQ(view.Model().ScrollPosition(), 100);
    QTest::keyClick(&view, Qt::Key_End);
    EXPECT_EQ(view.verticalScrollBar()->value(), 4096 - visible);

    // Twice the font, twice the lines' height: the rows follow the font, not fixed pixels.
    const int yDist = view.Model().Layout().yDist;
    QFont big = view.font();
    big.setPointSizeF(big.pointSizeF() * 2);
    view.setFont(big);
    EXPECT_EQ(view.Model().Layout().yDist, QFontMetrics(big).height() + 1);
    EXPECT_GT(view.Model().Layout().yDist, yDist);
    EXPECT_LT(view.Model().Layout().visibleLines, visible);
}

TEST_F(ImageViewWidgets, ListViewShowsTheAreas) {
    AddArea(0x0, 0x10, 0x41);
    AddArea(0x20, 0x10, 0x20);
    AddBytes(0x1000000, "wide address");
    ListView view(app, nullptr);
    view.resize(720, 200);
    view.show();
    view.OnDocumentChanged();
    EXPECT_EQ(view.verticalScrollBar()->maximum(), 0);
    EXPECT_TRUE(Screenshot(view, "list-view.png"));

    for (uint32_t i = 0; i < 1000; ++i)
        AddArea(0x2000000 + i * 0x20, 4);
    view.OnDocumentChanged();
    EXPECT_GT(view.verticalScrollBar()->maximum(),
              1000 * QFontMetrics(view.font()).height() - view.viewport()->height());
    view.verticalScrollBar()->setValue(view.verticalScrollBar()->maximum());
    EXPECT_FALSE(view.grab().isNull());
}

} // namespace
} // namespace vantrel
