#include "app/Batch.h"

#include "app/App.h"
#include "link/UtilSnprintf.h"
#include "ui/MainWindow.h"

namespace vantrel {
namespace {

void SetStatus(App& app, const std::string& text) {
    app.ui.SetStatusText(0, text);
}

void SendToMainWindow(App& app, int command) {
    if (app.mainWindow) app.mainWindow->OnCommand(command);
}

} // namespace

void CMDLINE_Step(App& app) {
    auto& s = app.cmdline;
    if (!s.batchRunning) return;
    if (s.errorLevel != 0) {
        s.batchRunning = false;
        // An error in an entry before the last leaves a "running" text behind: say it stopped.
        if (s.runningTextShown) SetStatus(app, "Batchmode stopped");
        if (s.exitRequested) {
            app.clock.Sleep(kExitDelayMs);
            app.ui.PostQuit(s.errorLevel);
        }
        return;
    }
    if (s.current >= s.count) { // nothing left (cannot happen while running, kept safe)
        s.batchRunning = false;
        return;
    }
    const BatchEntry& entry = s.queue[s.current];
    CMDLINE_SetReadParam(app, entry.param);
    if (s.callback) s.callback(entry.option->command, entry.option->needsProgrammer);
}

void CMDLINE_CommandDone(App& app) {
    auto& s = app.cmdline;
    ++s.current;
    if (s.current >= s.count) s.batchRunning = false;
}

void RunBatchCommand(App& app, int command, bool needsProgrammer) {
    auto& s = app.cmdline;
    if (!app.mainWindow || app.operationsRunning > 0) return; // tried again at the next tick
    if (!s.runningTextShown) {
        s.runningTextShown = true;
        SetStatus(app, "Batchmode running");
    }
    if (needsProgrammer) {
        if (PM_Status(app.pm).state == kStateReady) {
            if (s.waiting) {
                s.waiting = false;
                SetStatus(app, "Batchmode running");
            }
            DispatchBatchCommand(app, command);
        } else if (!s.waiting) {
            s.waiting = true;
            s.waitDeadline = app.clock.Milliseconds() + kProgrammerWaitMs;
            return;
        } else if (auto left = static_cast<int32_t>(s.waitDeadline - app.clock.Milliseconds());
                   left > 0) {
            SetStatus(app, UTIL_format("Batchmode running (timeout %.4d)", {left}));
            return;
        } else {
            s.waiting = false;
            APP_ReportError(app, 209);
            CMDLINE_CommandDone(app);
        }
    } else {
        DispatchBatchCommand(app, command);
    }
    if (s.runningTextShown && !s.batchRunning)
        SetStatus(app,
                  s.errorLevel != 0 ? "Batchmode stopped" : "Batchmode successfully completed");
}

void DispatchBatchCommand(App& app, int command) {
    if (PM_JobCount(app.pm) > 0) return; // the link is still busy: next tick
    auto& s = app.cmdline;
    if (command != s.exitCommand) s.lastBatchCommand = command;
    auto& o = app.options;
    switch (command) {
    case cmd::kCheckBlank:
    case cmd::kClearAll:
    case cmd::kClearChip:
    case cmd::kClear:
    case cmd::kVerify:
    case cmd::kProgram:
    case cmd::kProgramVerify:
    case cmd::kReadBack:
        WaitLinkReady(app);
        SendToMainWindow(app, command);
        break;
    case cmd::kSaveAs:
    case cmd::kStart:
    case cmd::kMerge:
    case cmd::kDelRange:
    case cmd::kDownload:
    case cmd::kOpenFile:
        SendToMainWindow(app, command);
        break;
    case cmd::kSetACBP:
        o.enableAC = true;
        break;
    case cmd::kClearACBP:
        o.enableAC = false;
        break;
    case cmd::kSetCOD:
        o.clearOnDemand = true;
        break;
    case cmd::kClearCOD:
        o.clearOnDemand = false;
        break;
    // "Do not verify blank pages" on the command line switches the readout-protection flag,
    // as the option ids were always dispatched; the dialog's check box keeps EnableVBP.
    case cmd::kSetACRP:
    case cmd::kSetDNVBP:
        o.clearReadoutProtection = true;
        break;
    case cmd::kClearACRP:
    case cmd::kClearDNVBP:
        o.clearReadoutProtection = false;
        break;
    case cmd::kSetDE:
        o.detailedError = true;
        break;
    case cmd::kClearDE:
        o.detailedError = false;
        break;
    case cmd::kExit:
        app.documentModified = false; // no save question
        SendToMainWindow(app, command);
        break;
    default:
        break;
    }
    CMDLINE_CommandDone(app);
}

bool WaitLinkReady(App& app) {
    PM_ForceConfig(app.pm);
    for (int i = 0; i < 100; ++i) {
        if (!PM_ForceConfigPending(app.pm)) return true;
        app.clock.Sleep(2);
    }
    return !PM_ForceConfigPending(app.pm);
}

} // namespace vantrel
