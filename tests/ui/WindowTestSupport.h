#pragma once
// What the window tests share: the application on the offscreen platform with per-user settings
// of its own, screenshots under the build tree, and an answerer for the message boxes the
// program shows (a modal box would otherwise wait for a user who is not there).
#include <QApplication>
#include <QDir>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>
#include <QTimer>
#include <unistd.h>

#include <cstdlib>
#include <deque>
#include <string>
#include <vector>

namespace vantrel::test {

inline QApplication& Qt() {
    static int argc = 1;
    static char name[] = "ui_tests";
    static char* argv[] = {name, nullptr};
    // No display needed, whatever build folder or IDE runs the tests; a platform the caller
    // chose is kept.
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    // Never destroyed: at exit Qt's own globals may be gone before a static application
    // could tear down its input devices.
    static QApplication* app = new QApplication(argc, argv);
    // A test that closes its last window does not end the event loops of the next ones.
    QApplication::setQuitOnLastWindowClosed(false);
    // The recent-file list of the tests is not the user's.
    static const bool settingsMoved = [] {
        QString path = QDir::temp().filePath(QString("vantrel-ui-tests-%1").arg(getpid()));
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, path);
        QSettings("KORVID Instruments", "VANTREL").clear();
        return true;
    }();
    (void)settingsMoved;
    return *app;
}

inline std::string Screenshot(QWidget& w, const char* name) {
    std::string path = std::string(VANTREL_SCREENSHOT_DIR) + "/" + name;
    w.grab().save(QString::fromStdString(path));
    return path;
}

// Answers every message box that shows: from `answers` in turn, else with its default button.
class BoxAnswerer {
  public:
    BoxAnswerer() {
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box || !box->isVisible()) return;
            texts.push_back(box->text().toLatin1().toStdString());
            QAbstractButton* button = box->defaultButton();
            if (!answers.empty()) {
                button = box->button(answers.front());
                answers.pop_front();
            }
            if (!button) button = box->buttons().value(0);
            if (button) button->click();
        });
        timer_.start(20);
    }
    std::deque<QMessageBox::StandardButton> answers;
    std::vector<std::string> texts;

  private:
    QTimer timer_;
};

} // namespace vantrel::test
