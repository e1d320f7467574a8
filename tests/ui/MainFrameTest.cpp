// The windows on the offscreen platform: they come up with their texts, and leave screenshots
// under the build tree for a reviewer to look at.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <cstdlib>
#include <filesystem>

#include "app/App.h"
#include "support/FakeClock.h"
#include "support/FakeUi.h"
#include "ui/qt/AboutDialog.h"
#include "ui/qt/MainFrame.h"
#include "ui/qt/QtUi.h"

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

} // namespace
} // namespace vantrel
