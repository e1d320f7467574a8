#include "app/Startup.h"

#include "app/App.h"
#include "app/Batch.h"
#include "app/LinkControl.h"
#include "app/SettingsApply.h"
#include "commands/DeviceCommands.h"
#include "commands/DocumentCommands.h"
#include "commands/RegisterCommands.h"
#include "platform/ProgramDirectory.h"
#include "ui/DeviceMenu.h"
#include "ui/MainWindow.h"

namespace vantrel {

bool InitInstance(App& app, int argc, const char* const* argv, const StartupOptions& options,
                  const std::function<void()>& registerFrontEndCommands) {
    // A front end or a test may have given the installation directory already.
    if (app.programDirectory.empty()) app.programDirectory = ProgramDirectory();
    CMDLINE_Init(app, "VANTREL", "Vantrel.err", cmd::kExit,
                 [&app](int command, bool needsProgrammer, ParamReader& param) {
                     RunBatchCommand(app, command, needsProgrammer, param);
                 });
    app.cmdline.consolePacing = options.consolePacing;
    app.mainWindow = std::make_unique<MainWindow>(app);
    RegisterCommands(app);
    if (registerFrontEndCommands) registerFrontEndCommands();
    DEVICE_LoadDatabase(app);

    CMDLINE_ParseArguments(app, argc, argv);
    if (options.exitAfterBatch && !CMDLINE_IsExitRequested(app)) {
        if (app.cmdline.count < kBatchQueueSize)
            CMDLINE_ParseOption(app, "exit");
        else
            app.cmdline.exitRequested = true; // a full queue ends with its last command
    }

    // Every key is read first, then applied to the device selection and the options.
    bool settingsCorrected = ApplySettings(app, ReadSettings(app.settings));

    LOG_Open(app.log, app.clock, app.options.logEnable);

    // The console opens the ports only when its batch needs the programmer: a run that only
    // converts files neither complains about a missing programmer nor holds a port that
    // another run is using.
    if (!options.consolePacing || BatchNeedsProgrammer(app)) LINK_Start(app);

    // The console waits for the link only when a queued command needs the programmer.
    bool waitForLink = !options.consolePacing || BatchNeedsProgrammer(app);
    if (waitForLink && WaitLinkReady(app)) UpdateDeviceMenu(app);

    if (settingsCorrected) APP_ReportError(app, 227);
    return true;
}

int32_t ExitCodeFor(int32_t error, bool detailedError, int lastBatchCommand) {
    if (error == 0) return 0;
    if (detailedError) return error;
    switch (lastBatchCommand) {
    case cmd::kCheckBlank:
        return 2;
    case cmd::kClearAll:
    case cmd::kClearChip:
    case cmd::kClear:
        return 4;
    case cmd::kVerify:
        return 3;
    case cmd::kProgram:
        return 6;
    case cmd::kProgramVerify:
        return 5;
    case cmd::kReadBack:
        return 7;
    case cmd::kSaveAs:
    case cmd::kMerge:
    case cmd::kOpenFile:
        return 10;
    case cmd::kStart:
        return 8;
    default:
        break;
    }
    switch (error) {
    case 40:
    case 44:
    case 73:
    case 81:
    case 209:
        return 9; // communication with the target or programmer timed out or broke
    case 210:
        return 10;
    default:
        return error;
    }
}

int32_t ExitInstance(App& app) {
    LINK_Stop(app);
    app.mainQueue.Drain(); // reports of other threads still on their way
    WriteSettings(app.settings, SettingsToSave(app));
    int32_t error = CMDLINE_GetErrorLevel(app);
    if (error == 0) error = GetLastErrorCode(app);
    return ExitCodeFor(error, app.options.detailedError, app.cmdline.lastBatchCommand);
}

} // namespace vantrel
