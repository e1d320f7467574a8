#include "app/Batch.h"

#include "app/App.h"
#include "app/LinkControl.h"
#include "base/UtilSnprintf.h"

namespace vantrel {
namespace {

void SetStatus(App& app, const std::string& text) {
    app.ui.SetStatusText(0, text);
}

// The command's handler gets the entry's parameter; a command without one (exit) goes to the
// main window as a menu command would.
void SendToMainWindow(App& app, int command, ParamReader& param) {
    if (app.commands.Run(command, &param)) return;
    if (command != app.cmdline.exitCommand) {
        // A command this version has no handler for (the target operations) must not pass for
        // done: the batch stops with an error instead of reporting success.
        APP_ReportError(
            app, 222, UTIL_format("Command %d can not be carried out by this version", {command}));
        return;
    }
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
            // The window stays up a moment so that its last message can be read; a console
            // has already written it.
            if (!s.consolePacing) app.clock.Sleep(kExitDelayMs);
            app.ui.PostQuit(s.errorLevel);
        }
        return;
    }
    if (s.current >= s.count) { // nothing left (cannot happen while running, kept safe)
        s.batchRunning = false;
        return;
    }
    const BatchEntry& entry = s.queue[s.current];
    ParamReader param = CMDLINE_ParamReader(app, entry.param);
    if (s.callback) s.callback(entry.option->command, entry.option->needsProgrammer, param);
}

void CMDLINE_CommandDone(App& app) {
    auto& s = app.cmdline;
    ++s.current;
    if (s.current >= s.count) s.batchRunning = false;
}

void RunBatchCommand(App& app, int command, bool needsProgrammer, ParamReader& param) {
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
            DispatchBatchCommand(app, command, param);
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
        DispatchBatchCommand(app, command, param);
    }
    if (s.runningTextShown && !s.batchRunning)
        SetStatus(app,
                  s.errorLevel != 0 ? "Batchmode stopped" : "Batchmode successfully completed");
}

void DispatchBatchCommand(App& app, int command, ParamReader& param) {
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
        SendToMainWindow(app, command, param);
        break;
    case cmd::kSaveAs:
    case cmd::kStart:
    case cmd::kMerge:
    case cmd::kDelRange:
    case cmd::kDownload:
        SendToMainWindow(app, command, param);
        break;
    case cmd::kOpenFile: // the open command takes this name instead of asking
        app.doc.batchOpenName = param.Param();
        SendToMainWindow(app, command, param);
        break;
    case cmd::kRelocate:
    case cmd::kPassword:
    case cmd::kSetArea:
    case cmd::kSelBanks:
    case cmd::kSelMultiple:
    case cmd::kSetFill:
    case cmd::kSetIfASync:
        app.commands.Run(command, &param);
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
        app.doc.ForgetModified(); // no save question
        SendToMainWindow(app, command, param);
        break;
    default:
        break;
    }
    CMDLINE_CommandDone(app);
}

bool WaitLinkReady(App& app) {
    LINK_PublishTarget(app);
    PM_ForceConfig(app.pm);
    // Without an open port no reply can come: the console does not wait for one.
    if (app.cmdline.consolePacing && !PM_PortOpen(app.pm)) return false;
    for (int i = 0; i < 100; ++i) {
        if (!PM_ForceConfigPending(app.pm)) return true;
        app.clock.Sleep(2);
    }
    return !PM_ForceConfigPending(app.pm);
}

bool BatchNeedsProgrammer(const App& app) {
    const auto& s = app.cmdline;
    for (std::size_t i = s.current; i < s.count; ++i)
        if (s.queue[i].option && s.queue[i].option->needsProgrammer) return true;
    return false;
}

void RunBatchWithoutWindow(App& app, const std::function<bool()>& stopRequested) {
    const auto& s = app.cmdline;
    uint32_t next = app.clock.Milliseconds();
    bool paced = !s.consolePacing;
    while (!stopRequested() && CMDLINE_IsBatchRunning(app)) {
        if (paced) {
            next += kTimerPeriodMs;
            auto wait = static_cast<int32_t>(next - app.clock.Milliseconds());
            if (wait > 0) app.clock.Sleep(static_cast<uint32_t>(wait));
        }
        std::size_t entry = s.current;
        app.mainWindow->OnTimer();
        paced = !s.consolePacing || (s.current == entry && CMDLINE_IsBatchRunning(app));
        if (!paced) next = app.clock.Milliseconds();
    }
}

} // namespace vantrel
