#pragma once
// An application context on a scripted Ui and a fake clock, in a temporary working directory
// (the error file and the protocol log are written there), which is also its program directory
// (so the settings file "vantrel.ini" is written there too).
#include <gtest/gtest.h>

#include "app/App.h"
#include "support/FakeClock.h"
#include "support/FakeUi.h"
#include "support/TempDir.h"

namespace vantrel::test {

class AppFixture : public ::testing::Test {
  protected:
    TempDir dir{true};
    FakeUi ui;
    FakeClock clock;
    std::unique_ptr<App> app = [this] {
        auto a = std::make_unique<App>(ui, clock);
        a->programDirectory = dir.Path().string() + "/";
        return a;
    }();

    // Ends the run as the process would: the error file and the log get their last lines.
    void EndRun() { app.reset(); }
};

} // namespace vantrel::test
