#pragma once
// Runs the program as its front ends do, on a scripted Ui and a fake clock: start-up with the
// arguments, then one timer tick every 50 ms until the program quits or the batch ends (with
// console pacing: the console front end's loop), then the shutdown. Returns the exit code.
#include <functional>
#include <string>
#include <vector>

#include "app/Startup.h"
#include "support/FakeClock.h"
#include "support/FakeUi.h"

namespace vantrel {
struct App;
}

namespace vantrel::test {

// `beforeTicks` runs after start-up, before the first tick. At most `maxTicks` ticks (steps).
int32_t RunBatch(App& app, FakeUi& ui, FakeClock& clock, std::vector<std::string> args,
                 StartupOptions options = {}, const std::function<void()>& beforeTicks = {},
                 int maxTicks = 10000);

} // namespace vantrel::test
