// locator: finds the Vantrel 5 NXT programmers on the local network. Without options it shows
// its dialog; with --console it prints each round's list to stdout, for scripts and tests.
#include <CLI/CLI.hpp>
#include <atomic>
#include <csignal>

#include "locator/ConsoleRounds.h"

#ifdef VANTREL_LOCATOR_DIALOG
#include <QApplication>

#include "locator/DiscoverThread.h"
#include "locator/qt/LocatorDialog.h"
#endif

namespace {

std::atomic<bool> stopRequested{false};

void RequestStop(int) {
    stopRequested.store(true);
}

#ifdef VANTREL_LOCATOR_DIALOG
int RunDialog(int argc, char** argv) {
    using namespace vantrel::locator;
    QApplication qapp(argc, argv);
    LocatorDialog dialog;
    {
        // Stopped and joined before the dialog goes away, so no round is posted to a dialog
        // that no longer exists.
        DiscoverThread worker([&dialog](const DiscoveryTable& table) { dialog.PostRound(table); });
        dialog.show();
        dialog.raise();
        dialog.activateWindow();
        dialog.exec();
        worker.RequestStop();
    }
    return 0;
}
#endif

} // namespace

int main(int argc, char** argv) {
    CLI::App app{"locator: finds Vantrel 5 NXT programmers on the local network"};
    bool console = false;
    unsigned rounds = 0;
    app.add_flag("--console", console, "print the located programmers to stdout, no dialog");
    app.add_option("--rounds", rounds,
                   "with --console: end after this many rounds (default: "
                   "run until interrupted)")
        ->check(CLI::Range(1u, 1000000u));
    app.allow_extras(); // the dialog passes the rest to Qt (-platform and the like)
    CLI11_PARSE(app, argc, argv);

    if (!console) {
#ifdef VANTREL_LOCATOR_DIALOG
        if (rounds != 0) {
            std::fputs("locator: --rounds needs --console\n", stderr);
            return 1;
        }
        return RunDialog(argc, argv);
#else
        std::fputs("locator: built without the dialog; use --console\n", stderr);
        return 1;
#endif
    }
    std::signal(SIGINT, RequestStop);
    std::signal(SIGTERM, RequestStop);
    return vantrel::locator::RunConsoleRounds(rounds, stopRequested);
}
