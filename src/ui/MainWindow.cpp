#include "ui/MainWindow.h"

#include "app/App.h"
#include "app/Batch.h"
#include "app/LinkControl.h"
#include "base/UtilSnprintf.h"
#include "commands/DocumentFiles.h"
#include "ops/Firmware.h"

namespace vantrel {

MainWindow::MainWindow(App& app) : app_(app) {}

void MainWindow::OnCommand(int command) {
    if (app_.commands.Run(command)) return;
    // Exit destroys the main window; changes not saved yet are asked about first.
    if (command == cmd::kExit && SaveModified(app_)) app_.ui.PostQuit(0);
}

void MainWindow::OnErrorMessage(int32_t code, int kind, const std::string& text) {
    Ui& ui = app_.ui;
    if (kind == 2) {
        ui.MessageBox(text, "VANTREL", MsgButtons::Ok, MsgIcon::None, MsgAnswer::Ok);
        return;
    }
    if (code == 214) { // firmware mismatch: the update, or the end of the program
        FW_OfferAfterMismatch(app_);
        return;
    }
    if (code == 231) {
        if (CMDLINE_IsExitRequested(app_)) {
            ui.MessageBox(text, "VANTREL", MsgButtons::Ok, MsgIcon::Warning, MsgAnswer::Ok);
            overwriteAnswer_ = MsgAnswer::Yes;
        } else {
            overwriteAnswer_ = ui.MessageBox(text + "\r\nOverwrite existing data ?", "VANTREL",
                                             MsgButtons::YesNo, MsgIcon::Warning, MsgAnswer::No);
        }
        return;
    }
    ui.MessageBox(text, "VANTREL", MsgButtons::Ok, MsgIcon::Warning, MsgAnswer::Ok);
    switch (code) {
    case 63: // the programmer lost its setup block: send it again
        PM_ForceConfig(app_.pm);
        PM_RequestSetupWrite(app_.pm);
        break;
    case 211:
    case 212:
    case 216:
        PM_EnableSessionCheck(app_.pm);
        break;
    case 215:
    case 217:
        if (openDeviceDialog) openDeviceDialog();
        PM_EnableSessionCheck(app_.pm);
        break;
    case 227:
        if (PM_Status(app_.pm).state != kStateReady) {
            app_.clock.Sleep(1000);
            if (PM_Status(app_.pm).state != kStateReady) {
                APP_ReportError(app_, 228, "Vantrel not ready !\r\nCan't edit device settings.");
                break;
            }
        }
        if (CMDLINE_IsBatchRunning(app_)) break;
        if (openDeviceDialog) openDeviceDialog();
        break;
    default:
        break;
    }
}

void MainWindow::SetPane(int pane, const std::string& text) {
    if (paneText_[pane] == text) return;
    paneText_[pane] = text;
    app_.ui.SetStatusText(pane, text);
}

void MainWindow::OnTimer() {
    app_.mainQueue.Drain();
    LINK_PublishTarget(app_);
    int state = PM_Status(app_.pm).state;
    if (state != lastState_) {
        lastState_ = state;
        app_.ui.Repaint();
    }
    int port = app_.options.comPort;
    SetPane(1, port == 0 ? UTIL_format("AUTO: %d Baud", {115200})
                         : UTIL_format("COM%d: %d Baud", {port, 115200}));
    const LinkView link = LINK_View(app_);
    SetPane(2, link.activePort < 0
                   ? std::string("No communication")
                   : UTIL_format("COM%d, Datarate[bytes/sec] %d(Rx), %d(Tx)",
                                 {link.activePort + 1, link.receiveRate, link.transmitRate}));
    if (timerHook) timerHook();
    CMDLINE_Step(app_);
}

} // namespace vantrel
