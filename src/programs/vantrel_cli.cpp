// vantrel-cli: the program without windows, for scripts and production lines. Same start-up,
// options, batch engine, settings, log and error files and exit codes as the windowed program;
// it always ends when its batch ends.
#include <signal.h>

#include <atomic>
#include <csignal>
#include <cstdio>
#include <cstdlib>

#include "app/App.h"
#include "app/Batch.h"
#include "app/Startup.h"
#include "platform/SteadyClock.h"
#include "ui/console/ConsoleUi.h"

namespace {

// Ctrl-C or a stop request ends the run through the normal shutdown (settings saved, files
// closed) with 128 + the signal number, never with a success code.
std::atomic<int> stopSignal{0};

void OnStopSignal(int signal) {
    stopSignal = signal;
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
    int32_t code = 0;
    {
        App app(ui, clock);
        StartupOptions options{.exitAfterBatch = true, .consolePacing = true};
        if (InitInstance(app, argc, argv, options))
            RunBatchWithoutWindow(app, [&] { return ui.QuitPosted() || stopSignal != 0; });
        code = ExitInstance(app);
        if (stopSignal != 0) {
            std::fprintf(stderr, "[VANTREL] Stopped by signal %d\n", stopSignal.load());
            code = 128 + stopSignal;
        }
        std::printf("%s\n", kFarewell);
        std::fflush(stdout);
    }
    return code;
}
