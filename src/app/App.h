#pragma once
// The application context: one instance of every module's state, the seams it runs on, and
// the main window logic. A test creates it afresh with a scripted Ui and a fake clock.
#include <functional>
#include <memory>
#include <string>
#include <thread>

#include "app/AppReporter.h"
#include "app/CmdLine.h"
#include "app/CommandTable.h"
#include "app/MainWindowBase.h"
#include "base/LogFile.h"
#include "base/MainThreadQueue.h"
#include "device/DeviceSelection.h"
#include "device/DeviceTable.h"
#include "image/HexDoc.h"
#include "link/ProtocolManager.h"
#include "platform/Clock.h"
#include "platform/SafeFileWriter.h"
#include "platform/SerialPort.h"
#include "platform/Ui.h"
#include "settings/ProgramOptions.h"
#include "settings/SettingsFile.h"

namespace vantrel {

// Which device-dependent items of the Target menu are in it now (ui/DeviceMenu keeps them).
struct DeviceMenuState {
    bool clearAllInMenu = false;
    bool clearChipInMenu = false;
};

struct LinkRuntime; // the serial link and the protocol engine (app/LinkControl.cpp)

struct App {
    App(Ui& ui, Clock& clock);
    ~App();
    App(const App&) = delete;
    App& operator=(const App&) = delete;

    Ui& ui;
    Clock& clock;
    // The thread that made the App runs the windows, the batch and every message box; reports
    // from any other thread are queued for it.
    const std::thread::id mainThread = std::this_thread::get_id();
    MainThreadQueue mainQueue;
    AppReporter reporter{*this}; // the reporting seam of the layers below
    CommandTable commands;

    std::string programDirectory; // with a trailing '/'
    CmdLineState cmdline;
    ProtocolLog log;
    ProtocolManager pm;
    ProgramOptions options;
    StartupOverrides overrides;
    // The memory image and its file state; a change the programmer must get marks the link's
    // image dirty.
    CHEXDoc doc{[this] { pm.MarkImageDirty(); }};
    DeviceTable devices; // every known device
    // The chosen device, banks, passcode, program ranges; its changes mark the image CRC stale.
    DeviceSelection selection{devices, reporter};
    DeviceMenuState deviceMenu; // which device-dependent Target menu items are in the menu
    // How saves of program files and of the settings find out whether a new file can be made
    // beside the old one (a test may answer for the system).
    SafeWriteChecks fileWriteChecks;
    SettingsFile settings{programDirectory, reporter, ui, fileWriteChecks};

    int32_t lastErrorCode = 0;
    uint32_t errorCount = 0;   // errors with a code reported so far
    std::string lastErrorText; // the text of the last of them
    // The last comparison of the image's CRC with the programmer's (a download's end).
    struct CrcComparison {
        bool made = false;
        uint16_t image = 0;
        uint16_t programmer = 0;
    } lastCrcComparison;
    int operationsRunning = 0;   // target operations in progress (a batch entry waits for them)
    uint32_t operationStart = 0; // when the last target operation started (ms)

    std::unique_ptr<MainWindowBase> mainWindow; // null until start-up creates it

    // How the link opens a serial port: set by the programs (a terminal device) and by the
    // tests that want a link (a pseudo-terminal or an in-memory port). Without it there is no
    // link, so a test never opens a device by accident.
    std::function<std::unique_ptr<SerialPort>()> makeSerialPort;
    // Where /dev and /sys are looked up ("/"; a test may point it at a fake tree).
    std::string deviceRoot = "/";
    // The programmer link from LINK_Start on; last, so that its thread ends before anything it
    // uses.
    std::unique_ptr<LinkRuntime> link;
};

// The error path of the whole program: records the code, feeds the error file while batch
// mode runs, and has the main window show the text (the code's standard text when `text` is
// null). Code 0 means no code. Called on any other thread than the main one, it queues the
// whole report for the main thread and returns at once: no thread but the main one ever waits
// for a message box or touches the windows.
void APP_ReportError(App& app, int32_t code, const char* text = nullptr);
inline void APP_ReportError(App& app, int32_t code, const std::string& text) {
    APP_ReportError(app, code, text.c_str());
}

// Runs what other threads queued for the main thread, then lets the windows process their
// events: what a wait on the main thread calls instead of the Ui's PumpMessages.
void APP_PumpMessages(App& app);

// Records the last error code and makes it the batch error level.
void SetLastErrorCode(App& app, int32_t code);
int32_t GetLastErrorCode(const App& app);

} // namespace vantrel
