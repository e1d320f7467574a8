#include "support/RunBatch.h"

#include <gtest/gtest.h>

#include "app/App.h"
#include "app/Batch.h"
#include "ui/MainWindow.h"

namespace vantrel::test {

int32_t RunBatch(App& app, FakeUi& ui, FakeClock& clock, std::vector<std::string> args,
                 StartupOptions options, const std::function<void()>& beforeTicks, int maxTicks) {
    args.insert(args.begin(), "vantrel");
    std::vector<const char*> argv;
    for (auto& a : args)
        argv.push_back(a.c_str());
    EXPECT_TRUE(InitInstance(app, static_cast<int>(argv.size()), argv.data(), options));
    if (beforeTicks) beforeTicks();
    if (options.consolePacing) { // the console front end's own loop, on the fake clock
        int steps = 0;
        RunBatchWithoutWindow(app, [&] { return ui.quit.has_value() || steps++ >= maxTicks; });
        return ExitInstance(app);
    }
    for (int tick = 0; tick < maxTicks && !ui.quit && CMDLINE_IsBatchRunning(app); ++tick) {
        clock.now += kTimerPeriodMs;
        app.mainWindow->OnTimer();
    }
    return ExitInstance(app);
}

} // namespace vantrel::test
