// The locator's dialog on the offscreen platform: its layout and columns, the rows after a
// round, the ways it ends and does not end, and a live round from nxt-sim on a private
// network namespace, which leaves a screenshot under the build tree.
#include <gtest/gtest.h>

#include <QApplication>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>

#include "PrivateNetwork.h"
#include "Responder.h"
#include "locator/DiscoverThread.h"
#include "locator/qt/LocatorDialog.h"
#include "support/TempDir.h"

namespace vantrel::locator {
namespace {

// Never destroyed: at exit the input devices that QTest made would outlive their owner.
QApplication& Qt() {
    static int argc = 1;
    static char name[] = "locator_dialog_tests";
    static char* argv[] = {name, nullptr};
    // No display needed, whatever build folder or IDE runs the tests; a platform the caller
    // chose is kept.
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    static QApplication* app = new QApplication(argc, argv);
    return *app;
}

std::string Screenshot(QWidget& w, const char* name) {
    std::string path = std::string(VANTREL_SCREENSHOT_DIR) + "/" + name;
    w.grab().save(QString::fromStdString(path));
    return path;
}

QStringList RowTexts(QTreeWidget* list, int row) {
    QStringList texts;
    auto* item = list->topLevelItem(row);
    for (int c = 0; item && c < list->columnCount(); ++c)
        texts << item->text(c);
    return texts;
}

DiscoveryEntry Entry(const char* nickname, uint32_t serial, uint32_t ping) {
    DiscoveryEntry e;
    std::strcpy(e.product, "Vantrel 5 NXT");
    std::strncpy(e.nickname, nickname, sizeof(e.nickname) - 1);
    e.version = 20003;
    e.serial = serial;
    const uint8_t ip[] = {192, 168, 0, 9}, mac[] = {0, 0x1a, 0x2b, 0x3c, 0x4d, 0x5e};
    std::memcpy(e.ip, ip, 4);
    std::memcpy(e.mac, mac, 6);
    e.pingMs = ping;
    return e;
}

TEST(LocatorDialog, WindowAndColumns) {
    Qt();
    LocatorDialog dialog;
    dialog.show();
    EXPECT_EQ(dialog.windowTitle().toStdString(), "KORVID - Vantrel 5 NXT Discover Tool");
    EXPECT_EQ(dialog.size(), QSize(724, 307));
    EXPECT_TRUE(dialog.windowFlags() & Qt::WindowStaysOnTopHint);

    QStringList captions;
    for (auto* label : dialog.findChildren<QLabel*>())
        captions << label->text();
    EXPECT_TRUE(captions.contains("Located Vantrel 5 NXT:"));

    QTreeWidget* list = dialog.List();
    EXPECT_EQ(list->geometry(), QRect(146, 27, 562, 207));
    EXPECT_EQ(list->selectionMode(), QAbstractItemView::SingleSelection);
    EXPECT_EQ(list->selectionBehavior(), QAbstractItemView::SelectRows);
    EXPECT_EQ(dialog.focusWidget(), list);
    const char* titles[] = {"#", "Product", "Nickname", "SN", "IP address", "MAC address", "Ping"};
    const int widths[] = {20, 138, 75, 75, 90, 115, 45};
    ASSERT_EQ(list->columnCount(), 7);
    for (int c = 0; c < 7; ++c) {
        EXPECT_EQ(list->headerItem()->text(c).toStdString(), titles[c]);
        EXPECT_EQ(list->columnWidth(c), widths[c]) << titles[c];
    }
    EXPECT_TRUE(list->headerItem()->textAlignment(6) & Qt::AlignHCenter);
    EXPECT_TRUE(list->headerItem()->textAlignment(1) & Qt::AlignLeft);

    EXPECT_EQ(dialog.OkButton()->text(), "OK");
    EXPECT_EQ(dialog.OkButton()->geometry(), QRect(627, 247, 80, 23));
    EXPECT_TRUE(dialog.OkButton()->isDefault());
}

TEST(LocatorDialog, EachRoundRebuildsTheListWithTheFirstRowSelected) {
    Qt();
    LocatorDialog dialog;
    dialog.show();
    QTreeWidget* list = dialog.List();
    DiscoveryTable table;
    table.Add(Entry("LAB-A", 1001, 3));
    table.Add(Entry("LAB-B", 1002, 41));
    dialog.ShowRound(table);
    ASSERT_EQ(list->topLevelItemCount(), 2);
    EXPECT_EQ(RowTexts(list, 0), (QStringList{"1", "Vantrel 5 NXT V2.00", "LAB-A", "1001",
                                              "192.168.0.9", "00:1A:2B:3C:4D:5E", "3 ms"}));
    EXPECT_EQ(RowTexts(list, 1)[0], "2");
    EXPECT_EQ(RowTexts(list, 1)[6], "41 ms");
    EXPECT_TRUE(list->topLevelItem(1)->textAlignment(6) & Qt::AlignHCenter);
    EXPECT_EQ(list->currentItem(), list->topLevelItem(0));
    EXPECT_EQ(list->selectedItems(), QList<QTreeWidgetItem*>{list->topLevelItem(0)});

    // The user selects the second row; the next round selects the first again.
    list->setCurrentItem(list->topLevelItem(1));
    table.Clear();
    table.Add(Entry("LAB-C", 7, 0));
    dialog.ShowRound(table);
    ASSERT_EQ(list->topLevelItemCount(), 1);
    EXPECT_EQ(RowTexts(list, 0)[2], "LAB-C");
    EXPECT_EQ(list->currentItem(), list->topLevelItem(0));

    table.Clear();
    dialog.ShowRound(table);
    EXPECT_EQ(list->topLevelItemCount(), 0);
    EXPECT_TRUE(list->isEnabled());
}

TEST(LocatorDialog, EscapeAndCloseBoxLeaveItOpen) {
    Qt();
    LocatorDialog dialog;
    dialog.show();
    QTest::keyClick(dialog.List(), Qt::Key_Escape);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_FALSE(dialog.close());
    EXPECT_TRUE(dialog.isVisible());
}

TEST(LocatorDialog, OkButtonEnterAndDoubleClickEndIt) {
    Qt();
    using Action = void (*)(LocatorDialog&);
    const std::pair<const char*, Action> actions[] = {
        {"OK button", [](LocatorDialog& d) { QTest::mouseClick(d.OkButton(), Qt::LeftButton); }},
        {"Enter", [](LocatorDialog& d) { QTest::keyClick(d.List(), Qt::Key_Return); }},
        // Below the last row: a double-click anywhere in the list counts.
        {"double-click",
         [](LocatorDialog& d) {
             QTest::mouseDClick(d.List()->viewport(), Qt::LeftButton, {}, QPoint(200, 150));
         }},
    };
    for (const auto& [name, act] : actions) {
        LocatorDialog dialog;
        DiscoveryTable table;
        table.Add(Entry("LAB-A", 1, 0));
        dialog.ShowRound(table);
        dialog.show();
        QApplication::setActiveWindow(&dialog);
        dialog.List()->setFocus();
        act(dialog);
        EXPECT_FALSE(dialog.isVisible()) << name;
        EXPECT_EQ(dialog.result(), QDialog::Accepted) << name;
    }
}

TEST(LocatorDialog, ShowsTheRoundsOfALiveResponder) {
    VANTREL_REQUIRE_PRIVATE_NETWORK();
    Qt();
    test::TempDir dir;
    test::Responder responder({"--nickname", "BENCH-7", "--serial", "424242", "--firmware", "30105",
                               "--ip", "172.16.5.9", "--mac", "02:00:5E:10:20:30"},
                              dir.Path());
    ASSERT_TRUE(responder.Ready()) << responder.Log();

    LocatorDialog dialog;
    dialog.show();
    {
        DiscoverThread worker([&dialog](const DiscoveryTable& t) { dialog.PostRound(t); });
        auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (dialog.List()->topLevelItemCount() == 0 &&
               std::chrono::steady_clock::now() < deadline)
            QApplication::processEvents(QEventLoop::AllEvents, 50);
    } // the worker stops before the dialog goes away
    QApplication::processEvents();

    QTreeWidget* list = dialog.List();
    ASSERT_EQ(list->topLevelItemCount(), 1);
    QStringList row = RowTexts(list, 0);
    EXPECT_EQ(row.mid(0, 6), (QStringList{"1", "Vantrel 5 NXT V3.01", "BENCH-7", "424242",
                                          "172.16.5.9", "02:00:5E:10:20:30"}));
    EXPECT_TRUE(row[6].endsWith(" ms")) << row[6].toStdString();
    EXPECT_EQ(list->currentItem(), list->topLevelItem(0));
    EXPECT_TRUE(std::filesystem::exists(Screenshot(dialog, "locator-dialog.png")));
}

} // namespace
} // namespace vantrel::locator
