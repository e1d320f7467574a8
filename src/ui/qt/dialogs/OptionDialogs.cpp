#include "ui/qt/dialogs/OptionDialogs.h"

#include "app/App.h"
#include "base/CommandIds.h"
#include "commands/DeviceCommands.h"
#include "ui/MainWindow.h"
#include "ui/qt/dialogs/CalibrationDialogView.h"
#include "ui/qt/dialogs/CommunicationDialogView.h"
#include "ui/qt/dialogs/FillingDialogView.h"
#include "ui/qt/dialogs/PasscodeDialogView.h"
#include "ui/qt/dialogs/SetupDialogView.h"
#include "ui/qt/dialogs/ToshibaPasscodeDialogView.h"

namespace vantrel {

namespace {

template <class Model, class View> void Run(App& app, QWidget* parent) {
    Model model(app);
    View view(model, parent);
    view.exec();
}

void RunPasscode(App& app, QWidget* parent) {
    if (!PasscodeDialogEnabled(app)) return;
    if (UsesToshibaPasscodeDialog(app))
        Run<ToshibaPasscodeDialog, ToshibaPasscodeDialogView>(app, parent);
    else
        Run<PasscodeDialog, PasscodeDialogView>(app, parent);
}

void RunSetup(App& app, QWidget* parent) {
    Run<SetupDialog, SetupDialogView>(app, parent);
    AfterSetupDialog(app);
}

void RunCalibration(App& app, QWidget* parent) {
    if (!CalibrationEnabled(PM_Status(app.pm))) return;
    CalibrationDialog model(app);
    CalibrationDialogView view(model, parent);
    auto* window = dynamic_cast<MainWindow*>(app.mainWindow.get());
    if (window) window->timerHook = [&view] { view.Refresh(); };
    view.exec();
    if (window) window->timerHook = nullptr;
}

} // namespace

void RegisterOptionDialogs(App& app, QWidget* parent) {
    CommandTable& c = app.commands;
    c.SetPlain(cmd::kCommunication,
               [&app, parent] { Run<CommunicationDialog, CommunicationDialogView>(app, parent); });
    c.SetPlain(cmd::kFilling,
               [&app, parent] { Run<FillingDialog, FillingDialogView>(app, parent); });
    // The command line's -password sets the passcode from its parameter; the menu asks.
    c.Set(cmd::kPassword, [&app, parent](ParamReader* param) {
        if (param)
            DEVICE_BatchPassword(app, *param);
        else
            RunPasscode(app, parent);
    });
    c.SetPlain(cmd::kSetup, [&app, parent] { RunSetup(app, parent); });
    c.SetPlain(kCalibrationCommand, [&app, parent] { RunCalibration(app, parent); });
}

} // namespace vantrel
