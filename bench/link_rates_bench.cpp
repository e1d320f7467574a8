// A 64 KiB download and a 64 KiB read back over the serial link, timed: the program's own
// start-up and link thread against a programmer (vantrel-sim --pace) on the terminal that the
// program directory's settings map to COM1. Prints bytes per second and the share of the
// protocol's limit at 115200 baud with 11 bits a character:
//   download: 240 data bytes per 253-byte write frame, plus its acknowledge: 9934 B/s;
//   read back: 128 data bytes per 157 bytes on the line (request and reply): 8537 B/s.
// Then a 64 KiB program and verify, and the same again with the image unchanged (nothing to
// download), against the emulator's operation time (the script starts it with --op-time).
//   link_rates_bench <program directory> <the emulator's operation time in ms>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "app/App.h"
#include "app/LinkControl.h"
#include "app/Startup.h"
#include "ops/Operations.h"
#include "platform/SteadyClock.h"
#include "ui/console/ConsoleUi.h"

namespace {

using namespace vantrel;
using WallClock = std::chrono::steady_clock;

template <class F> bool WaitFor(App& app, F done, int seconds) {
    const auto end = WallClock::now() + std::chrono::seconds(seconds);
    while (WallClock::now() < end) {
        APP_PumpMessages(app);
        if (done()) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return false;
}

// Runs one job to its end; the seconds it took, or a negative value when it failed.
double TimeJob(App& app, uint32_t job) {
    const auto start = WallClock::now();
    PM_QueueJob(app.pm, job);
    if (!WaitFor(
            app, [&] { return PM_JobCount(app.pm) == 0; }, 120))
        return -1;
    if (auto message = PM_GetMessage(app.pm)) {
        std::fprintf(stderr, "job %u: %s\n", job, message->c_str());
        return -1;
    }
    return std::chrono::duration<double>(WallClock::now() - start).count();
}

void Report(const char* what, std::size_t bytes, double seconds, double limit) {
    const double rate = bytes / seconds;
    std::printf("%-10s %6zu bytes in %6.2f s: %6.0f B/s, %5.1f %% of the limit %4.0f B/s\n", what,
                bytes, seconds, rate, 100.0 * rate / limit, limit);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: link_rates_bench <program directory> <operation ms>\n");
        return 2;
    }
    const double operationSeconds = std::atoi(argv[2]) / 1000.0;
    ConsoleUi ui;
    SteadyClock clock;
    App app(ui, clock);
    app.programDirectory = std::string(argv[1]) + "/";
    LINK_UseSystemPorts(app);
    const char* args[] = {"vantrel"};
    if (!InitInstance(app, 1, args, StartupOptions{})) return 1;
    if (!WaitFor(
            app, [&] { return app.pm.SetupBlockValid(); }, 10)) {
        std::fprintf(stderr, "the programmer did not answer\n");
        return 1;
    }

    constexpr std::size_t kSize = 64 * 1024;
    std::vector<uint8_t> program(kSize);
    std::mt19937 random(1);
    for (uint8_t& b : program)
        b = static_cast<uint8_t>(random());
    app.doc.AddData(0xC0000, kSize, program.data()); // the sample device's first bank

    const double download = TimeJob(app, 4);
    app.doc.ClearImage();
    const double readBack = TimeJob(app, 6);
    int code = 0;
    if (download > 0)
        Report("download", kSize, download, 115200.0 / 11 * 240 / 253);
    else
        code = 1;
    if (readBack > 0 && app.doc.Lock()->TotalBytes() == kSize)
        Report("read back", kSize, readBack, 115200.0 / 11 * 128 / 157);
    else
        code = 1;

    // Program and verify: fill, download, CRC, then the operation itself; the three operations
    // of the emulator take their time each.
    app.doc.ClearImage();
    app.doc.AddData(0xC0000, kSize, program.data());
    app.doc.SetModifiedFlag(true); // as a load does: the programmer must get the image again
    const double limit = kSize / (115200.0 / 11 * 240 / 253);
    auto timed = [&] {
        const auto start = WallClock::now();
        RunOperation(app, Operation::ProgramVerify);
        return std::chrono::duration<double>(WallClock::now() - start).count();
    };
    const uint32_t errors = app.errorCount;
    const double first = timed();
    const double again = timed();
    if (app.errorCount != errors) code = 1;
    std::printf("program and verify: %6.2f s; download at the limit + 3 operations: %6.2f s "
                "(%+.1f %%)\n",
                first, limit + 3 * operationSeconds,
                100.0 * (first / (limit + 3 * operationSeconds) - 1));
    std::printf("the same again:     %6.2f s; the operation alone: %6.2f s (%+.2f s)\n", again,
                operationSeconds, again - operationSeconds);
    ExitInstance(app);
    return code;
}
