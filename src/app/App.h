#pragma once
// The application context: one instance of every module's state, the seams it runs on, and
// the main window logic. A test creates it afresh with a scripted Ui and a fake clock.
#include <memory>
#include <string>

#include "app/AppReporter.h"
#include "app/CmdLine.h"
#include "base/LogFile.h"
#include "device/DeviceSelection.h"
#include "device/DeviceTable.h"
#include "image/HexDoc.h"
#include "link/ProtocolManager.h"
#include "platform/Clock.h"
#include "platform/SafeFileWriter.h"
#include "platform/Ui.h"
#include "settings/ProgramOptions.h"
#include "settings/SettingsFile.h"
#include "ui/DeviceMenu.h"

namespace vantrel {

class MainWindow;

struct App {
    App(Ui& ui, Clock& clock);
    ~App();
    App(const App&) = delete;
    App& operator=(const App&) = delete;

    Ui& ui;
    Clock& clock;
    AppReporter reporter{*this};

    std::string programDirectory; // with a trailing '/'
    CmdLineState cmdline;
    ProtocolLog log;
    ProtocolManager pm;
    ProgramOptions options;
    StartupOverrides overrides;
    CHEXDoc doc{*this};  // the memory image and its file state
    DeviceTable devices; // every known device
    // The chosen device, banks, passcode, program ranges; its changes mark the image CRC stale.
    DeviceSelection selection{devices, reporter};
    DeviceMenuState deviceMenu; // which device-dependent Target menu items are in the menu
    // How saves of program files and of the settings find out whether a new file can be made
    // beside the old one (a test may answer for the system).
    SafeWriteChecks fileWriteChecks;
    SettingsFile settings{programDirectory, reporter, ui, fileWriteChecks};

    int32_t lastErrorCode = 0;
    int operationsRunning = 0; // target operations in progress (a batch entry waits for them)
    bool documentModified = false;

    std::unique_ptr<MainWindow> mainWindow; // null until start-up creates it
};

// The error path of the whole program: records the code, feeds the error file while batch
// mode runs, and has the main window show the text (the code's standard text when `text` is
// null). Code 0 means no code.
void APP_ReportError(App& app, int32_t code, const char* text = nullptr);
inline void APP_ReportError(App& app, int32_t code, const std::string& text) {
    APP_ReportError(app, code, text.c_str());
}

// Records the last error code and makes it the batch error level.
void SetLastErrorCode(App& app, int32_t code);
int32_t GetLastErrorCode(const App& app);

} // namespace vantrel
