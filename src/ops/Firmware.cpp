#include "ops/Firmware.h"

#include "app/App.h"
#include "base/Codes.h"
#include "base/CommandIds.h"
#include "image/FirmwareFile.h"
#include "ops/OperationSteps.h"

namespace vantrel {

namespace {

constexpr const char* kCaption = "VANTREL";

constexpr const char* kConfirm =
    "Firmware download requires a stable power supply\r\nand a stable UART connection to the "
    "PC.\r\n\r\nAfter downloading the firmware, the Vantrel will start updating its "
    "firmware\r\nand will then lose connection to the PC for a few seconds.\r\n\r\nDon't "
    "disconnect the Vantrel from the supply and PC\r\nuntil the Vantrel reconnects to the PC "
    "program again!\r\n\r\nDownload firmware now ?";

constexpr const char* kOffer =
    "Firmware mismatch !!!\r\nYou have to download new firmware to continue\r\nDownload firmware "
    "now ?";

constexpr const char* kAborted = "\r\nProgram will be aborted !!!";

std::string ImagePath(const App& app, const ProgrammerStatus& status) {
    return FirmwareFilePath(app.programDirectory, status.hardwareVersion, status.hardwareVariant);
}

// An unattended run never replaces the firmware: every question defaults to No.
bool AskYesNo(App& app, const char* text) {
    return app.ui.MessageBox(text, kCaption, MsgButtons::YesNo, MsgIcon::Warning, MsgAnswer::No) ==
           MsgAnswer::Yes;
}

void Warn(App& app, const std::string& text) {
    app.ui.MessageBox(text, kCaption, MsgButtons::Ok, MsgIcon::Warning, MsgAnswer::Ok);
}

void ExitProgram(App& app) {
    if (app.mainWindow)
        app.mainWindow->OnCommand(cmd::kExit);
    else
        app.ui.PostQuit(0);
}

} // namespace

bool FW_IsAvailable(const App& app) {
    const ProgrammerStatus status = PM_Status(app.pm);
    return status.firmwareVersion >= kFirmwareUpdateFrom &&
           FirmwareFileReadable(ImagePath(app, status));
}

bool FW_Download(App& app) {
    const ProgrammerStatus status = PM_Status(app.pm);
    FirmwareLoad load = LoadFirmwareFile(ImagePath(app, status), status.hardwareVersion);
    if (!load.error.empty()) {
        // Nothing half-loaded may ever go out.
        app.pm.SetFirmware({});
        Warn(app, load.error);
        return true;
    }
    if (!AskYesNo(app, kConfirm)) return true;
    PM_ClearMessage(app.pm);
    app.pm.SetFirmware(std::move(load.image));
    PM_QueueJob(app.pm, job::kFirmware);
    return OP_WaitJobs(app, "Downloading firmware");
}

void FW_OfferAfterMismatch(App& app) {
    if (AskYesNo(app, kOffer)) {
        const ProgrammerStatus status = PM_Status(app.pm);
        if (status.state != kStateReady) {
            Warn(app, "Not ready for Firmware Download,\r\nbecause of the following error: \r\n" +
                          StateText(status.state) + kAborted);
        } else if (!FW_IsAvailable(app)) {
            Warn(app, std::string("No Firmware available for connected Vantrel!\r\n") + kAborted);
        } else {
            SetLastErrorCode(app, 0);
            if (!FW_Download(app)) {
                // The restarted programmer gets its configuration again, and its new firmware
                // is checked like the old one.
                PM_ForceConfig(app.pm);
                PM_EnableSessionCheck(app.pm);
                return;
            }
        }
    }
    ExitProgram(app);
}

bool FirmwareCommandEnabled(const App& app) {
    return PM_Status(app.pm).state == kStateReady && FW_IsAvailable(app);
}

} // namespace vantrel
