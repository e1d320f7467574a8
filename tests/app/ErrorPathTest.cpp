// The error path from a thread other than the main one (the link thread reports session and
// firmware errors): the report is queued, the reporting thread goes on at once, and the main
// thread shows it and counts it exactly as if it had found the error itself.
#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <regex>
#include <thread>

#include "app/App.h"
#include "support/FakeClock.h"
#include "support/FakeUi.h"
#include "support/Process.h"
#include "support/RunBatch.h"
#include "support/TempDir.h"

namespace vantrel {
namespace {

struct Outcome {
    int32_t exitCode = -1;
    std::string errorFile; // without its time stamps
    std::vector<std::string> messages;
};

// A batch whose first entry reports error 216, from the main thread or from a second thread,
// and whose second entry must then not run.
Outcome RunWithReport(bool fromSecondThread) {
    test::TempDir dir(true);
    test::InstallSampleDevice(dir.Path());
    test::FakeUi ui;
    test::FakeClock clock;
    Outcome outcome;
    {
        App app(ui, clock);
        app.programDirectory = dir.Path().string() + "/";
        auto report = [&app] { APP_ReportError(app, 216, "Session check failed"); };
        auto install = [&] {
            app.commands.Set(cmd::kDelRange, [&](ParamReader*) {
                if (!fromSecondThread) return report();
                std::size_t shownBefore = ui.boxes.size();
                auto done = std::async(std::launch::async, report);
                // The reporter does not wait for the main thread (which is right here).
                ASSERT_EQ(done.wait_for(std::chrono::seconds(5)), std::future_status::ready);
                EXPECT_EQ(ui.boxes.size(), shownBefore); // nothing shown off the main thread
            });
        };
        outcome.exitCode = test::RunBatch(app, ui, clock, {"-delrange0-1", "-saveasout.mot"},
                                          {.exitAfterBatch = true, .consolePacing = true}, install);
    }
    for (const auto& box : ui.boxes) {
        EXPECT_EQ(box.thread, std::this_thread::get_id()) << box.text;
        outcome.messages.push_back(box.text);
    }
    outcome.errorFile = std::regex_replace(test::ReadFile(dir / "Vantrel.err"),
                                           std::regex("[0-9]+:[0-9]+:[0-9]+"), "T");
    EXPECT_FALSE(std::filesystem::exists(dir / "out.mot")); // the batch stopped
    return outcome;
}

TEST(ErrorPath, AReportFromAnotherThreadIsShownAndCountedOnTheMainThread) {
    Outcome main = RunWithReport(false);
    Outcome other = RunWithReport(true);
    EXPECT_EQ(main.exitCode, 216);
    EXPECT_EQ(other.exitCode, main.exitCode);
    EXPECT_EQ(other.messages, main.messages);
    EXPECT_EQ(other.errorFile, main.errorFile);
    EXPECT_NE(main.errorFile.find("Error: 216\r\nSession check failed"), std::string::npos)
        << main.errorFile;
}

} // namespace
} // namespace vantrel
