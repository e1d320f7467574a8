#include "ops/OperationSteps.h"

#include <cstdio>

#include "app/App.h"
#include "app/DeviceSeam.h"
#include "app/LinkControl.h"
#include "base/UtilSnprintf.h"
#include "device/DeviceChecks.h"
#include "device/ImageView.h"
#include "ops/ProgressDialog.h"

namespace vantrel {

namespace {

constexpr uint32_t kWaitStepMs = 25;

// One look per 25 ms, with the windows running in between.
void WaitStep(App& app) {
    APP_PumpMessages(app);
    app.clock.Sleep(kWaitStepMs);
}

// Reports the protocol's message, if any; true when there was one.
bool ReportProtocolMessage(App& app) {
    std::optional<std::string> message = PM_GetMessage(app.pm);
    if (!message) return false;
    APP_ReportError(app, 222, *message);
    return true;
}

const char* CaptionOfState(uint8_t state) {
    switch (state) {
    case 3:
        return "Programming";
    case 2:
        return "Clearing target";
    case 5:
        return "Verifying";
    case 14:
        return "Verifying CRC";
    case 6:
        return "Blank checking";
    default:
        return nullptr;
    }
}

} // namespace

int32_t ResultCode(const App& app) {
    const ProgrammerStatus status = PM_Status(app.pm);
    return status.state != kStateReady ? -1 : status.result;
}

bool OP_CheckSupply(App& app) {
    app.operationStart = app.clock.Milliseconds();
    const ProgrammerStatus status = PM_Status(app.pm);
    const DeviceRecord* device = app.selection.SelectedDevice();
    // Only a target supplied in its own circuit is measured by the programmer.
    if (!device || status.interfaceInUse != 1 || status.hardwareVersion < 300) return false;
    const uint32_t target = status.targetVoltage;
    if (target > device->vMax * 100u + 50) {
        APP_ReportError(app, 223);
        return true;
    }
    if (target + 30 < device->vMin * 100u) {
        APP_ReportError(app, 224);
        return true;
    }
    if (device->vpp != 0) {
        const uint32_t threshold = device->vpp * 100u + 3000;
        if (status.inputVoltage < threshold) {
            char text[kMessageSize];
            std::snprintf(text, sizeof text,
                          "Vin < %3.1f Volt\r\n(Vantrel supply voltage too low ...)",
                          threshold / 1000.0);
            APP_ReportError(app, 225, text);
            return true;
        }
    }
    return false;
}

bool OP_WaitJobs(App& app, const std::string& caption) {
    bool cancelled = false;
    {
        ProgressDialog dialog(app, caption);
        int shown = -1;
        while (PM_JobCount(app.pm) > 0) {
            const int percent = PM_Percentage(app.pm);
            if (percent != shown) dialog.SetPos(shown = percent);
            if (dialog.CheckCancelButton()) {
                PM_ClearJobs(app.pm);
                cancelled = true;
            }
            WaitStep(app);
        }
    }
    if (ReportProtocolMessage(app)) return true;
    return cancelled;
}

bool OP_WaitOperation(App& app, const std::string& caption) {
    bool cancelled = false;
    {
        ProgressDialog dialog(app, caption);
        while (PM_JobCount(app.pm) > 0)
            WaitStep(app);
        // Only a status that came after the operation was handed over may end the wait.
        app.pm.Update([](LinkShared& s) { s.status.state = kStateBusy; });
        int shown = 0;
        for (;;) {
            const ProgrammerStatus status = PM_Status(app.pm);
            if (status.state == kStateReady || status.state == kStateNoCommunication) break;
            if (const char* text = CaptionOfState(status.state)) dialog.SetCaption(text);
            const int percent =
                ProgramProgressPercent(app.selection.programRanges, status.currentAddress);
            if (percent != shown) dialog.SetPos(shown = percent);
            if (dialog.CheckCancelButton()) {
                PM_ClearJobs(app.pm);
                cancelled = true;
                break;
            }
            WaitStep(app);
        }
    }
    ReportProtocolMessage(app);
    return cancelled;
}

void OP_ShowTime(App& app) {
    const uint32_t elapsed = app.clock.Milliseconds() - app.operationStart;
    app.ui.SetStatusText(
        0, UTIL_format("Time for last action (sec:ms) %d:%.3d", {elapsed / 1000, elapsed % 1000}));
}

void OP_Success(App& app, const std::string& text) {
    if (!CMDLINE_IsBatchRunning(app))
        app.ui.MessageBox(text, "VANTREL", MsgButtons::Ok, MsgIcon::Information, MsgAnswer::Ok);
}

void OP_Fail(App& app, int32_t code) {
    app.operationsRunning = 0;
    APP_ReportError(app, code);
}

bool OP_Download(App& app) {
    PM_ClearMessage(app.pm);
    LINK_PublishTarget(app);
    if (!PM_NeedsDownload(app.pm)) return false;

    if (!(CMDLINE_IsBatchRunning(app) && !app.options.enableIdCheck)) {
        Warning warning;
        {
            LockedImage image = app.doc.Lock();
            warning = RunIdCheck(app.selection, ImageView(image.Image()));
        }
        if (warning && app.ui.MessageBox(*warning, "Problem in source file", MsgButtons::YesNo,
                                         MsgIcon::Warning, MsgAnswer::No) != MsgAnswer::Yes) {
            SetLastErrorCode(app, 62);
            return true;
        }
    }

    PM_QueueJob(app.pm, job::kFill);
    if (OP_WaitOperation(app, "Filling")) return true;
    if (PM_NeedsDownload(app.pm)) PM_QueueJob(app.pm, job::kDownload);
    if (OP_WaitJobs(app, "Downloading")) return true;
    PM_QueueJob(app.pm, job::kCrc);
    if (OP_WaitOperation(app, "Calculating CRC of Vantrel memory")) return true;

    const uint16_t programmerCrc = PM_Status(app.pm).crc;
    const auto imageCrc = static_cast<uint16_t>(GetImageCrc(app));
    app.lastCrcComparison = {true, imageCrc, programmerCrc};
    if (programmerCrc == imageCrc) return false;
    APP_ReportError(app, 55);
    PM_SetImageDirty(app.pm);
    app.ui.Repaint();
    return true;
}

} // namespace vantrel
