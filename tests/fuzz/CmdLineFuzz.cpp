// The command line with arbitrary arguments (one per input line), then the batch it queued,
// run to its end on a fake clock, in an installation with the sample device database whose
// settings name a sample device (so that batches run past start-up's device check).
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "app/App.h"
#include "app/Startup.h"
#include "support/FakeClock.h"
#include "support/FakeUi.h"
#include "support/RunBatch.h"
#include "support/TempDir.h"
#include "ui/MainWindow.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace vantrel;
    std::vector<std::string> args;
    std::string current;
    for (size_t i = 0; i < size; ++i) {
        char c = static_cast<char>(data[i]);
        if (c == '\n') {
            args.push_back(current);
            current.clear();
        } else if (c != '\0') {
            current += c;
        }
    }
    if (!current.empty()) args.push_back(current);

    static test::TempDir scratch(true); // the error file and any written file land here
    static const bool installed = [] {
        std::filesystem::copy(VANTREL_SAMPLE_DEVICES, scratch / "Device",
                              std::filesystem::copy_options::recursive);
        return true;
    }();
    (void)installed;
    // Every input starts from the same settings.
    test::WriteFile(scratch / "vantrel.ini", "[Settings]\r\nDevice=\"NR16C62A\"\r\n");
    test::FakeUi ui;
    test::FakeClock clock;
    App app(ui, clock);
    app.programDirectory = scratch.Path().string() + "/"; // the settings files land there too
    test::RunBatch(app, ui, clock, std::move(args), {.exitAfterBatch = true}, {}, 2000);
    return 0;
}
