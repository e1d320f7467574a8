// The windows on the offscreen platform: they come up with their texts, and leave screenshots
// under the build tree for a reviewer to look at.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <cstdlib>
#include <filesystem>

#include "app/App.h"
#include "support/FakeClock.h"
#include "support/FakeUi.h"
#include "ui/MenuTable.h"
#include "ui/qt/AboutDialog.h"
#include "ui/qt/MainFrame.h"
#include "ui/qt/ProgressDialog.h"
#include "ui/qt/QtUi.h"

#include <QMenuBar>

namespace vantrel {
namespace {

QApplication& Qt() {
    static int argc = 1;
    static char name[] = "ui_tests";
    static char* argv[] = {name, nullptr};
    // No display needed, whatever build folder or IDE runs the tests; a platform the caller
    // chose is kept.
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    static QApplication app(argc, argv);
    return app;
}

std::string Screenshot(QWidget& w, const char* name) {
    std::string path = std::string(VANTREL_SCREENSHOT_DIR) + "/" + name;
    w.grab().save(QString::fromStdString(path));
    return path;
}

TEST(MainFrame, TitleSizeAndStatusPanes) {
    Qt();
    test::FakeClock clock;
    QtUi ui;
    App app(ui, clock);
    MainFrame frame(app, ui);
    frame.show();
    EXPECT_EQ(frame.windowTitle().toStdString(), "Vantrel V2.00x");
    EXPECT_EQ(frame.size(), QSize(750, 560));
    ui.SetStatusText(1, "COM1: 115200 Baud");
    ui.SetStatusText(2, "No communication");
    EXPECT_EQ(static_cast<QLabel*>(ui.PaneWidget(2))->text().toStdString(), "No communication");
    EXPECT_TRUE(std::filesystem::exists(Screenshot(frame, "main-window.png")));
}

// The menu bar is the menu table: popups and items in their order; an item is enabled only
// while its command has a handler that allows it.
TEST(MainFrame, MenusComeFromTheTable) {
    Qt();
    test::FakeClock clock;
    QtUi ui;
    App app(ui, clock);
    MainFrame frame(app, ui);
    QList<QAction*> popups = frame.menuBar()->actions();
    ASSERT_EQ(popups.size(), static_cast<qsizetype>(MainMenu().size()));
    for (std::size_t p = 0; p < MainMenu().size(); ++p) {
        const MenuPopup& popup = MainMenu()[p];
        QMenu* menu = popups[static_cast<qsizetype>(p)]->menu();
        SCOPED_TRACE(popup.text);
        EXPECT_EQ(menu->title().toStdString(), popup.text);
        ASSERT_EQ(menu->actions().size(), static_cast<qsizetype>(popup.items.size()));
        emit menu->aboutToShow();
        for (std::size_t i = 0; i < popup.items.size(); ++i) {
            QAction* action = menu->actions()[static_cast<qsizetype>(i)];
            EXPECT_EQ(action->text().toStdString(), popup.items[i].text);
            EXPECT_EQ(action->data().toInt(), popup.items[i].command);
            bool handled =
                popup.items[i].command == cmd::kAbout || popup.items[i].command == cmd::kExit;
            EXPECT_EQ(action->isEnabled(), handled) << popup.items[i].text;
        }
    }
    EXPECT_EQ(ui.TargetMenuItemCount(), 7); // the device items go into the Target menu
}

TEST(AboutDialog, ShowsVersionAndBuildStamp) {
    Qt();
    AboutDialog about;
    about.show();
    EXPECT_EQ(about.windowTitle().toStdString(), "About Vantrel.exe");
    QStringList texts;
    for (auto* label : about.findChildren<QLabel*>())
        texts << label->text();
    EXPECT_TRUE(texts.contains("Vantrel V2.00x"));
    EXPECT_TRUE(texts.filter("Compile time: ").size() == 1);
    EXPECT_TRUE(std::filesystem::exists(Screenshot(about, "about-box.png")));
}

// The operations' progress as the window shows it: the dialog with caption, bar and percentage
// text while the main window is disabled, Cancel noted, and the window enabled again at the end.
TEST(MainFrame, ProgressDialogFollowsTheOperation) {
    Qt();
    test::FakeClock clock;
    QtUi ui;
    App app(ui, clock);
    MainFrame frame(app, ui);
    frame.show();
    using Kind = ProgressEvent::Kind;
    ui.Progress({Kind::Open, "Downloading", 0, "0% of 65536 bytes", 65536});
    ui.Progress({Kind::Position, "Downloading", 42, "42% of 65536 bytes", 65536});
    auto* dialog = static_cast<QtProgressDialog*>(ui.ProgressWidget());
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_FALSE(frame.isEnabled());
    EXPECT_EQ(dialog->windowTitle().toStdString(), "Downloading");
    EXPECT_EQ(dialog->Bar()->value(), 42);
    EXPECT_EQ(dialog->PercentText()->text().toStdString(), "42% of 65536 bytes");
    EXPECT_TRUE(std::filesystem::exists(Screenshot(*dialog, "progress-dialog.png")));
    ui.Progress({Kind::Caption, "Verifying", 42, "42%", 0});
    EXPECT_EQ(dialog->windowTitle().toStdString(), "Verifying");

    EXPECT_FALSE(ui.ProgressCancelRequested());
    for (QPushButton* button : dialog->findChildren<QPushButton*>())
        if (button->text() == "Cancel") button->click();
    EXPECT_TRUE(ui.ProgressCancelRequested());
    ui.Progress({Kind::Close, "Verifying", 42, "42%", 0});
    EXPECT_EQ(ui.ProgressWidget(), nullptr);
    EXPECT_TRUE(frame.isEnabled());
    EXPECT_FALSE(ui.ProgressCancelRequested());
}

} // namespace
} // namespace vantrel
