// The windows on the offscreen platform: they come up with their texts, and leave screenshots
// under the build tree for a reviewer to look at.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QLabel>
#include <QMimeData>
#include <QProgressBar>
#include <QPushButton>
#include <QSplitter>
#include <QStatusBar>
#include <cstdlib>
#include <filesystem>
#include <set>

#include "WindowTestSupport.h"
#include "app/App.h"
#include "commands/DocumentFiles.h"
#include "commands/RegisterCommands.h"
#include "support/FakeClock.h"
#include "support/FakeUi.h"
#include "support/TempDir.h"
#include "ui/MenuTable.h"
#include "ui/qt/AboutDialog.h"
#include "ui/qt/MainFrame.h"
#include "ui/qt/ProgressDialog.h"
#include "ui/qt/QtUi.h"
#include "ui/qt/views/SummaryView.h"

#include <QMenuBar>

namespace vantrel {
namespace {

using test::Qt;
using test::Screenshot;

// The window on its own, with no link: a fake clock, and the commands the window answers itself.
class Window : public ::testing::Test {
  protected:
    ~Window() override {
        frame.reset();
        app.reset();
    }
    QApplication& qt = Qt(); // before any widget
    test::TempDir dir{true};
    test::FakeClock clock;
    QtUi ui;
    std::unique_ptr<App> app = [this] {
        auto a = std::make_unique<App>(ui, clock);
        a->programDirectory = dir.Path().string() + "/";
        return a;
    }();
    std::unique_ptr<MainFrame> frame = std::make_unique<MainFrame>(*app, ui);
    test::BoxAnswerer boxes;
};

TEST_F(Window, TitleSizeSplitterAndStatusPanes) {
    frame->show();
    QApplication::processEvents();
    EXPECT_EQ(frame->windowTitle().toStdString(), "Vantrel V2.00x");
    EXPECT_EQ(frame->size(), QSize(750, 560));
    EXPECT_EQ(frame->pos(), QPoint(0, 0));
    ASSERT_NE(frame->LowerView(), nullptr);
    EXPECT_EQ(frame->Splitter()->sizes().value(0), 200); // the summary view on top
    EXPECT_EQ(frame->Splitter()->widget(0), frame->Summary());
    EXPECT_EQ(frame->Splitter()->widget(1), frame->LowerView());
    EXPECT_EQ(ui.PaneWidget(0)->text().toStdString(), "Ready");
    ui.SetStatusText(1, "COM1: 115200 Baud");
    ui.SetStatusText(2, "No communication");
    EXPECT_EQ(ui.PaneWidget(2)->text().toStdString(), "No communication");
    ui.SetDocumentTitle("/home/u/program.mot");
    EXPECT_EQ(frame->windowTitle().toStdString(), "/home/u/program.mot - Vantrel V2.00x");
}

// Panes 1 and 2 are as wide as their longest texts in the font the window has, and a text
// longer than foreseen widens its pane: nothing is cut, in the normal font and in one twice
// its size (what a desktop scaled to 200 % gives).
TEST(MainFrameFonts, StatusPaneTextsAreNeverCut) {
    Qt();
    const QFont normal = QApplication::font();
    for (double scale : {1.0, 2.0}) {
        SCOPED_TRACE(scale);
        QFont font = normal;
        font.setPointSizeF(normal.pointSizeF() * scale);
        QApplication::setFont(font);
        test::FakeClock clock;
        QtUi ui;
        App app(ui, clock);
        MainFrame frame(app, ui);
        frame.show();
        const char* const texts[3] = {"Time for last action (sec:ms) 12:345", "COM20: 115200 Baud",
                                      "COM12, Datarate[bytes/sec] 10472(Rx), 10472(Tx)"};
        for (int pane = 0; pane < 3; ++pane)
            ui.SetStatusText(pane, texts[pane]);
        ui.SetStatusText(2, "COM12, Datarate[bytes/sec] 123456789(Rx), 123456789(Tx)");
        QApplication::processEvents();
        for (int pane = 0; pane < 3; ++pane) {
            QLabel* label = ui.PaneWidget(pane);
            SCOPED_TRACE(label->text().toStdString());
            EXPECT_GE(label->contentsRect().width(),
                      label->fontMetrics().horizontalAdvance(label->text()));
        }
        EXPECT_GE(ui.PaneWidget(1)->width(), 120);
        EXPECT_GE(ui.PaneWidget(2)->width(), 240);
        // Side by side inside the window, none over another.
        EXPECT_LT(ui.PaneWidget(0)->geometry().right(), ui.PaneWidget(1)->geometry().left());
        EXPECT_LT(ui.PaneWidget(1)->geometry().right(), ui.PaneWidget(2)->geometry().left());
        EXPECT_LE(ui.PaneWidget(2)->geometry().right(), frame.statusBar()->width());
        EXPECT_GE(frame.width(), 750);
        if (scale == 2.0) Screenshot(frame, "main-window-large-font.png");
    }
    QApplication::setFont(normal);
}

// The menu bar is the menu table: popups and items in their order, each with its key; an item
// is enabled only while its command has a handler that allows it.
TEST_F(Window, MenusComeFromTheTable) {
    QList<QAction*> popups = frame->menuBar()->actions();
    ASSERT_EQ(popups.size(), static_cast<qsizetype>(MainMenu().size()));
    const std::set<int> answered = {cmd::kAbout,    cmd::kExit,         cmd::kListMode,
                                    cmd::kDumpMode, cmd::kHelpContents, cmd::kHelpHowTo};
    for (std::size_t p = 0; p < MainMenu().size(); ++p) {
        const MenuPopup& popup = MainMenu()[p];
        QMenu* menu = popups[static_cast<qsizetype>(p)]->menu();
        SCOPED_TRACE(popup.text);
        EXPECT_EQ(menu->title().toStdString(), popup.text);
        ASSERT_EQ(menu->actions().size(), static_cast<qsizetype>(popup.items.size()));
        emit menu->aboutToShow();
        for (std::size_t i = 0; i < popup.items.size(); ++i) {
            QAction* action = menu->actions()[static_cast<qsizetype>(i)];
            const MenuItem& item = popup.items[i];
            EXPECT_EQ(action->text().toStdString(), item.text);
            EXPECT_EQ(action->data().toInt(), item.command);
            // No recent file yet: the submenu is greyed like every unanswered command.
            EXPECT_EQ(action->isEnabled(), answered.contains(item.command)) << item.text;
        }
    }
    EXPECT_EQ(ui.TargetMenuItemCount(), 7); // the device items go into the Target menu
}

TEST_F(Window, EveryKeyRunsItsCommand) {
    for (const Accelerator& key : MainAccelerators()) {
        SCOPED_TRACE(key.key);
        QAction* action = frame->Action(key.command);
        ASSERT_NE(action, nullptr);
        EXPECT_EQ(action->shortcut(), QKeySequence(key.key));
    }
    // A key works only while its command may run: F7 with nothing loaded does nothing.
    int programmed = 0;
    app->commands.SetPlain(cmd::kProgramVerify, [&] { ++programmed; });
    frame->UpdateCommandStates();
    frame->Action(cmd::kProgramVerify)->trigger();
    EXPECT_EQ(programmed, 0);
}

// The lower view is made again only when the mode changes; the View menu checks the mode.
TEST_F(Window, ViewModeSwitchesTheLowerView) {
    std::vector<int> made;
    frame->makeLowerView = [&](int command, QWidget* parent) {
        made.push_back(command);
        return new QWidget(parent);
    };
    frame->show();
    QApplication::processEvents();
    EXPECT_EQ(made, std::vector<int>{cmd::kListMode});
    frame->UpdateCommandStates();
    EXPECT_TRUE(frame->Action(cmd::kListMode)->isChecked());
    frame->Action(cmd::kDumpMode)->trigger();
    QWidget* dump = frame->LowerView();
    frame->Action(cmd::kDumpMode)->trigger(); // twice in a row: the same view stays
    EXPECT_EQ(frame->LowerView(), dump);
    EXPECT_EQ(made, (std::vector<int>{cmd::kListMode, cmd::kDumpMode}));
    EXPECT_EQ(frame->LowerViewMode(), cmd::kDumpMode);
    EXPECT_TRUE(frame->Action(cmd::kDumpMode)->isChecked());
    EXPECT_FALSE(frame->Action(cmd::kListMode)->isChecked());
    EXPECT_EQ(frame->Splitter()->count(), 2);
    EXPECT_EQ(frame->Splitter()->widget(1), dump);
    EXPECT_EQ(frame->Splitter()->sizes().value(0), 200); // the summary keeps its height
}

TEST_F(Window, HelpShowsTheManualBesideTheProgram) {
    std::vector<QUrl> opened;
    frame->openUrl = [&](const QUrl& url) {
        opened.push_back(url);
        return true;
    };
    frame->Action(cmd::kHelpContents)->trigger(); // no manual installed here
    ASSERT_EQ(boxes.texts.size(), 1u);
    EXPECT_EQ(boxes.texts[0], "Cannot show the user manual " + frame->ManualPath());
    std::filesystem::create_directories(dir / "docs");
    test::WriteFile(dir / "docs/manual.md", "# Manual\n");
    frame->Action(cmd::kHelpContents)->trigger();
    EXPECT_EQ(opened, (std::vector<QUrl>{QUrl::fromLocalFile(
                          QString::fromStdString((dir / "docs/manual.md").string()))}));
    frame->Action(cmd::kHelpHowTo)->trigger();
    EXPECT_EQ(boxes.texts.size(), 2u);
}

// A file dropped on the window is opened as if chosen in the Open dialog, and listed first in
// the recent files, which Ctrl+1 and Ctrl+2 open again.
TEST_F(Window, DroppedFilesOpenAndBecomeRecentFiles) {
    RegisterCommands(*app);
    frame->show();
    test::WriteFile(dir / "first.mot", "S1061000010203E3\r\n");
    test::WriteFile(dir / "second.mot", "S1052000AABB75\r\n");
    auto drop = [&](const std::string& name) {
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(QString::fromStdString((dir / name).string()))});
        QDragEnterEvent enter(QPoint(300, 300), Qt::CopyAction, &data, Qt::LeftButton,
                              Qt::NoModifier);
        QApplication::sendEvent(frame.get(), &enter);
        EXPECT_TRUE(enter.isAccepted());
        QDropEvent event(QPointF(300, 300), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(frame.get(), &event);
    };
    drop("first.mot");
    EXPECT_EQ(app->doc.Lock()->StartAddress(), 0x1000u);
    EXPECT_EQ(frame->windowTitle().toStdString(),
              (dir / "first.mot").string() + " - Vantrel V2.00x");
    drop("second.mot");
    EXPECT_EQ(app->doc.Lock()->StartAddress(), 0x2000u);
    EXPECT_EQ(ui.RecentFiles(), (std::vector<std::string>{(dir / "second.mot").string(),
                                                          (dir / "first.mot").string()}));
    frame->UpdateCommandStates();
    frame->Action(cmd::kRecentFile + 1)->trigger(); // Ctrl+2
    EXPECT_EQ(app->doc.Lock()->StartAddress(), 0x1000u);
    EXPECT_TRUE(boxes.texts.empty());
    QApplication::processEvents();
    frame->Summary()->Refresh();
    EXPECT_TRUE(std::filesystem::exists(Screenshot(*frame, "main-window-with-image.png")));

    // A text that is no file is refused before anything happens.
    QMimeData text;
    text.setText("not a file");
    QDragEnterEvent enter(QPoint(300, 300), Qt::CopyAction, &text, Qt::LeftButton, Qt::NoModifier);
    enter.setAccepted(false);
    QApplication::sendEvent(frame.get(), &enter);
    EXPECT_FALSE(enter.isAccepted());
}

// Changes not saved are asked about before a drop replaces them and before the window closes.
TEST_F(Window, SaveChangesQuestion) {
    RegisterCommands(*app);
    frame->show();
    test::WriteFile(dir / "first.mot", "S1061000010203E3\r\n");
    test::WriteFile(dir / "second.mot", "S1052000AABB75\r\n");
    ASSERT_TRUE(OpenFileByName(*app, (dir / "first.mot").string()));
    app->doc.Relocate(0x10);
    const std::string question = "Save changes to " + (dir / "first.mot").string() + "?";

    boxes.answers = {QMessageBox::Cancel};
    EXPECT_FALSE(OpenFileByName(*app, (dir / "second.mot").string()));
    EXPECT_EQ(boxes.texts, std::vector<std::string>{question});
    EXPECT_EQ(app->doc.Lock()->StartAddress(), 0x1010u);

    boxes.answers = {QMessageBox::Cancel};
    EXPECT_FALSE(frame->close()); // Cancel keeps the window
    EXPECT_TRUE(frame->isVisible());
    boxes.answers = {QMessageBox::Yes};
    EXPECT_TRUE(frame->close()); // Yes saves, then closes
    EXPECT_EQ(boxes.texts.size(), 3u);
    EXPECT_FALSE(app->doc.IsModified());
    EXPECT_NE(test::ReadFile(dir / "first.mot"), "S1061000010203E3\r\n");
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
