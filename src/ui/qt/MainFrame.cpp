#include "ui/qt/MainFrame.h"

#include <QMenuBar>
#include <QStatusBar>

#include "app/App.h"
#include "base/Version.h"
#include "commands/DocumentCommands.h"
#include "ops/Firmware.h"
#include "ops/Operations.h"
#include "ui/MainWindow.h"
#include "ui/MenuTable.h"
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
    BuildMenus(ui);
    app.commands.SetPlain(cmd::kAbout, [this] {
        AboutDialog about(this);
        about.exec();
    });
    connect(&timer_, &QTimer::timeout, this, [this] {
        if (app_.mainWindow) app_.mainWindow->OnTimer();
    });
    timer_.start(50);
}

// The menu bar from the menu table. An item is enabled while its command has a handler that
// allows it now (checked whenever a menu opens); the Target items inserted at run time carry
// their command the same way.
void MainFrame::BuildMenus(QtUi& ui) {
    for (const MenuPopup& popup : MainMenu()) {
        QMenu* menu = menuBar()->addMenu(QString::fromLatin1(popup.text));
        for (const MenuItem& item : popup.items)
            menu->addAction(QString::fromLatin1(item.text))->setData(item.command);
        ui.AddMenu(menu);
        if (popup.items.data() == MainMenu()[kTargetPopup].items.data()) ui.SetTargetMenu(menu);
        connect(menu, &QMenu::aboutToShow, this, [this, menu] {
            for (QAction* action : menu->actions())
                action->setEnabled(CommandEnabled(action->data().toInt()));
        });
        connect(menu, &QMenu::triggered, this, [this](QAction* action) {
            int command = action->data().toInt();
            if (app_.mainWindow)
                app_.mainWindow->OnCommand(command);
            else
                app_.commands.Run(command);
        });
    }
}

bool MainFrame::CommandEnabled(int command) const {
    if (command == cmd::kExit) return true;
    if (command == cmd::kDownloadFirmware) return FirmwareCommandEnabled(app_);
    return app_.commands.Has(command) && DocumentCommandEnabled(app_, command) &&
           OperationCommandEnabled(app_, command);
}

} // namespace vantrel
