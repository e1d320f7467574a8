#include "ui/qt/MainFrame.h"

#include <QMenuBar>
#include <QStatusBar>

#include "app/App.h"
#include "base/Version.h"
#include "ui/MainWindow.h"
#include "ui/qt/AboutDialog.h"
#include "ui/qt/QtUi.h"

namespace vantrel {

MainFrame::MainFrame(App& app, QtUi& ui) : app_(app) {
    setWindowTitle(QString::fromLatin1(VersionString().c_str()));
    resize(750, 560);
    move(0, 0);
    ui.SetWindow(this, statusBar());
    ui.SetMainQueue(&app.mainQueue);
    statusBar()->showMessage("Ready");
    QMenu* help = menuBar()->addMenu("&Help");
    help->addAction("&About VANTREL...", this, [this] {
        AboutDialog about(this);
        about.exec();
    });
    connect(&timer_, &QTimer::timeout, this, [this] {
        if (app_.mainWindow) app_.mainWindow->OnTimer();
    });
    timer_.start(50);
}

} // namespace vantrel
