// vantrel-cli: the program without windows, for scripts and production lines. Same start-up,
// options, batch engine, settings, log and error files and exit codes as the windowed program;
// it always ends when its batch ends.
#include <signal.h>

#include <atomic>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "app/App.h"
#include "app/Batch.h"
#include "app/LinkControl.h"
#include "app/Startup.h"
#include "base/Version.h"
#include "device/DeviceTable.h"
#include "link/PortMap.h"
#include "platform/ProgramDirectory.h"
#include "platform/SteadyClock.h"
#include "ui/console/ConsoleUi.h"
#include "ui/console/PortListing.h"

namespace {

// Ctrl-C or a stop request ends the run through the normal shutdown (settings saved, files
// closed) with 128 + the signal number, never with a success code.
std::atomic<int> stopSignal{0};

void OnStopSignal(int signal) {
    stopSignal = signal;
}

// --ports: which device each COM number stands for. Reads the settings file the program
// uses, and nothing else runs: no link, no log or error file, no settings written.
// VANTREL_DEVICE_ROOT puts /dev and /sys under another folder (for the tests).
int ListPorts(int argc, vantrel::ConsoleUi& ui, vantrel::Clock& clock) {
    using namespace vantrel;
    if (argc != 2) {
        std::fprintf(stderr, "[VANTREL] --ports takes no other arguments\n");
        return 1;
    }
    App app(ui, clock);
    app.programDirectory = ProgramDirectory();
    LINK_UseSystemPorts(app);
    std::fputs(PortListing(app.settings, app.deviceRoot).c_str(), stdout);
    std::fflush(stdout);
    return 0;
}

bool AskedForPorts(int argc, char** argv) {
    for (int i = 1; i < argc; ++i)
        if (std::string_view(argv[i]) == "--ports") return true;
    return false;
}

// --json: machine-readable events on stdout. Taken out of the arguments, so that the
// program's own parser never sees it; true when it was there.
bool TakeJsonOption(int& argc, char** argv) {
    bool found = false;
    int kept = 1;
    for (int i = 1; i < argc; ++i) {
        if (std::string_view(argv[i]) == "--json")
            found = true;
        else
            argv[kept++] = argv[i];
    }
    argv[kept] = nullptr;
    argc = kept;
    return found;
}

// What the run start names: the port that answered or else the configured one (none while
// all are searched), the device it stands for, and the selected device.
vantrel::RunStartInfo RunStartOf(vantrel::App& app) {
    using namespace vantrel;
    RunStartInfo info;
    info.version = VersionString();
    const int active = LINK_View(app).activePort;
    const int com = active >= 0 ? active + 1 : app.options.comPort;
    if (com > 0) {
        info.port = "COM" + std::to_string(com);
        for (const ComPortMapping& port : MapComPorts(app.settings, app.deviceRoot))
            if (port.comNumber == com && !port.path.empty()) info.portPath = port.path;
    }
    if (const DeviceRecord* device = app.selection.SelectedDevice()) info.device = device->device;
    return info;
}

} // namespace

int main(int argc, char** argv) {
    using namespace vantrel;
    // Without SA_RESTART: a call that blocks (an open waiting for the other end of a FIFO)
    // ends when the stop request comes, and the run goes on to its shutdown.
    struct sigaction stop {};
    stop.sa_handler = OnStopSignal;
    sigemptyset(&stop.sa_mask);
    sigaction(SIGINT, &stop, nullptr);
    sigaction(SIGTERM, &stop, nullptr);
    // A reader that went away (| head -1) must not end the run: console writes then fail and
    // are ignored; batch, settings, error file and exit code are as with a working stdout.
    std::signal(SIGPIPE, SIG_IGN);
    const char* verbose = std::getenv("VANTREL_VERBOSE");
    SteadyClock clock;
    ConsoleUi ui(verbose && *verbose && *verbose != '0');
    if (AskedForPorts(argc, argv)) return ListPorts(argc, ui, clock);
    if (TakeJsonOption(argc, argv)) ui.EnableEvents(stdout);
    int32_t code = 0;
    {
        App app(ui, clock);
        LINK_UseSystemPorts(app);
        StartupOptions options{.exitAfterBatch = true, .consolePacing = true};
        const bool started = InitInstance(app, argc, argv, options);
        ui.RunStart(RunStartOf(app));
        if (started) RunBatchWithoutWindow(app, [&] { return ui.QuitPosted() || stopSignal != 0; });
        code = ExitInstance(app);
        if (stopSignal != 0) {
            std::fprintf(stderr, "[VANTREL] Stopped by signal %d\n", stopSignal.load());
            code = 128 + stopSignal;
        }
        // With events, stdout carries nothing else.
        std::FILE* human = ui.EventsEnabled() ? stderr : stdout;
        std::fprintf(human, "%s\n", kFarewell);
        std::fflush(human);
        ui.RunEnd(code);
    }
    return code;
}
