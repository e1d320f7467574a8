#include <gtest/gtest.h>

#include "app/Batch.h"
#include "app/Startup.h"
#include "support/AppFixture.h"
#include "support/Process.h"
#include "support/RunBatch.h"
#include "support/StatusRef.h"
#include "ui/MainWindow.h"

namespace vantrel {
namespace {

class Batch : public test::AppFixture {
  protected:
    Batch() { test::InstallSampleDevice(dir.Path()); }
    // Start-up with these arguments, then timer ticks until the program quits or the batch
    // ends; returns the exit code.
    int32_t Run(std::vector<std::string> args, bool exitAfterBatch = false,
                std::function<void()> alsoBeforeTicks = {}) {
        return test::RunBatch(*app, ui, clock, std::move(args),
                              StartupOptions{.exitAfterBatch = exitAfterBatch}, [&] {
                                  BeforeTicks();
                                  if (alsoBeforeTicks) alsoBeforeTicks();
                              });
    }
    // Runs after start-up, before the first timer tick.
    virtual void BeforeTicks() {}

    void ProgrammerReady() {
        test::StatusRef {
            app->pm
            } -> state = kStateReady;
    }
    // A handler that records the commands the main window received.
    void Record(int command, int32_t failWith = 0) {
        app->commands.SetPlain(command, [this, command, failWith] {
            received.push_back(command);
            if (failWith) APP_ReportError(*app, failWith);
        });
    }
    const std::vector<std::string>& Status() { return ui.statusTexts[0]; }

    std::vector<int> received;
};

TEST_F(Batch, CommandWaitingForAnAbsentProgrammerTimesOutWith209) {
    uint32_t start = clock.now;
    EXPECT_EQ(Run({"-checkblank", "-exit"}), 9);
    EXPECT_EQ(CMDLINE_GetErrorLevel(*app), 209);
    EXPECT_EQ(app->cmdline.lastBatchCommand, 0); // never dispatched
    // 200 ms start-up poll, 4 s wait for the programmer, 1 s before ending.
    EXPECT_GE(clock.now - start, 5200u);
    EXPECT_LE(clock.now - start, 5300u);
    ASSERT_TRUE(ui.quit.has_value());
    EXPECT_EQ(*ui.quit, 209);

    // With exit requested the message is a plain notice.
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_EQ(ui.boxes[0].text, "No response from Vantrel (Timeout)");
    EXPECT_EQ(ui.boxes[0].icon, MsgIcon::None);

    EXPECT_EQ(Status().front(), "Batchmode running");
    EXPECT_EQ(Status()[1], "Batchmode running (timeout 3950)");
    EXPECT_EQ(Status().back(), "Batchmode stopped");

    EndRun();
    std::string err = test::ReadFile(dir / "Vantrel.err");
    EXPECT_EQ(err.rfind("* Program start: 2014-01-21, 11:13:00\r\n\r\n\r\n000:04:", 0), 0u) << err;
    EXPECT_NE(err.find(" --- Error: 209\r\nNo response from Vantrel (Timeout)\r\n"),
              std::string::npos)
        << err;
}

TEST_F(Batch, DetailedErrorLevelGivesTheCodeItself) {
    EXPECT_EQ(Run({"-setDE", "-checkblank", "-exit"}), 209);
    EXPECT_EQ(app->cmdline.lastBatchCommand, cmd::kSetDE);
}

class BatchWithProgrammer : public Batch {
  protected:
    void BeforeTicks() override {
        ProgrammerReady();
        Record(cmd::kCheckBlank, failCheckBlank);
        Record(cmd::kVerify);
    }
    int32_t failCheckBlank = 0;
};

TEST_F(BatchWithProgrammer, RunsEveryCommandAndEndsWithZero) {
    EXPECT_EQ(Run({"-setACBP", "-checkblank", "-verify", "-exit"}), 0);
    EXPECT_EQ(received, (std::vector<int>{cmd::kCheckBlank, cmd::kVerify}));
    EXPECT_TRUE(app->options.enableAC);
    EXPECT_EQ(app->cmdline.lastBatchCommand, cmd::kVerify);
    EXPECT_EQ(Status().back(), "Batchmode successfully completed");
    EndRun();
    EXPECT_FALSE(std::filesystem::exists(dir / "Vantrel.err"));
}

TEST_F(BatchWithProgrammer, StopsAtTheFirstErrorAndMapsTheExitCode) {
    failCheckBlank = 4;
    EXPECT_EQ(Run({"-checkblank", "-setCOD", "-exit"}), 2);
    EXPECT_FALSE(app->options.clearOnDemand); // the third command did not run
    EXPECT_EQ(*ui.quit, 4);
    EXPECT_EQ(Status().back(), "Batchmode stopped");
}

// A command nothing handles must not pass for done.
TEST_F(BatchWithProgrammer, CommandWithoutHandlerStopsTheBatchWith222) {
    failCheckBlank = 0;
    EXPECT_EQ(Run({"-start", "-setCOD", "-exit"}, false,
                  [this] { app->commands.Set(cmd::kStart, nullptr); }),
              8);
    EXPECT_FALSE(app->options.clearOnDemand);
    EXPECT_EQ(GetLastErrorCode(*app), 222);
}

TEST_F(BatchWithProgrammer, ConsoleEndsWithoutAnExplicitExit) {
    EXPECT_EQ(Run({"-checkblank"}, /*exitAfterBatch=*/true), 0);
    EXPECT_TRUE(ui.quit.has_value());
    EXPECT_TRUE(CMDLINE_IsExitRequested(*app));
}

TEST_F(Batch, EntryWaitsWhileAnOperationRunsOrJobsAreQueued) {
    CMDLINE_Init(*app, "VANTREL", "Vantrel.err", cmd::kExit,
                 [this](int command, bool needs, ParamReader& param) {
                     RunBatchCommand(*app, command, needs, param);
                 });
    app->mainWindow = std::make_unique<MainWindow>(*app);
    ASSERT_EQ(CMDLINE_ParseOption(*app, "setCOD"), 1);
    app->operationsRunning = 1;
    CMDLINE_Step(*app);
    EXPECT_FALSE(app->options.clearOnDemand);
    app->operationsRunning = 0;
    app->pm.QueueJob(1);
    CMDLINE_Step(*app);
    EXPECT_FALSE(app->options.clearOnDemand);
    app->pm.ClearJobs();
    CMDLINE_Step(*app);
    EXPECT_TRUE(app->options.clearOnDemand);
    EXPECT_FALSE(CMDLINE_IsBatchRunning(*app));
}

TEST_F(Batch, NoArgumentsNoBatchExitZero) {
    EXPECT_EQ(Run({}), 0);
    EXPECT_FALSE(CMDLINE_IsBatchRunning(*app));
    EXPECT_TRUE(ui.boxes.empty());
}

TEST_F(Batch, InvalidOptionEndsTheConsoleRunWithOne) {
    EXPECT_EQ(Run({"-h"}, /*exitAfterBatch=*/true), 1);
    EndRun();
    std::string err = test::ReadFile(dir / "Vantrel.err");
    EXPECT_NE(err.find(" --- Error:   1\r\n\"h\" is not a valid command !"), std::string::npos)
        << err;
}

TEST_F(Batch, OptionCommandsSwitchTheirFlags) {
    EXPECT_EQ(Run({"-setACBP", "-setCOD", "-setACRP", "-setDE", "-exit"}), 0);
    EXPECT_TRUE(app->options.enableAC && app->options.clearOnDemand &&
                app->options.clearReadoutProtection && app->options.detailedError);
    app = std::make_unique<App>(ui, clock);
    app->programDirectory = dir.Path().string() + "/"; // the same installation
    ui.quit.reset();
    EXPECT_EQ(Run({"-setACRP", "-clearDNVBP", "-setDNVBP", "-clearCOD", "-exit"}), 0);
    EXPECT_TRUE(app->options.clearReadoutProtection);
    EXPECT_TRUE(app->options.enableVBP); // the command-line ids switch readout protection
}

// The console runs each entry as soon as the previous one has ended and skips the waits with
// nothing to wait for; the window keeps its 50 ms ticks, the start-up link wait and the pause
// before ending after an error. Both show the same messages and status texts and end with the
// same exit code.
TEST_F(Batch, ConsolePacingSkipsTheWaitsTheWindowKeeps) {
    test::WriteFile(dir / "prog.mot", "S1061000010203E3\r\n");
    struct Case {
        const char* name;
        std::vector<std::string> args;
        bool portOpen; // a port the programmer could answer on
        int32_t exitCode;
        uint32_t windowMs, consoleMs; // how far the clock moved
    };
    const Case cases[] = {
        {"conversion",
         {"-setACBP", "-openfileprog.mot", "-saveasout.hex"},
         false,
         0,
         200 + 4 * 50,
         0},
        {"conversion, port open",
         {"-setACBP", "-openfileprog.mot", "-saveasout.hex"},
         true,
         0,
         400,
         0},
        {"error stops the batch", {"-openfilemissing.mot", "-setCOD"}, false, 10, 1300, 0},
        // A command that needs the programmer still waits its 4 s for "Ready".
        {"programmer absent", {"-checkblank"}, false, 9, 200 + 4000 + 100 + 1000, 4000},
        {"programmer absent, port open", {"-checkblank"}, true, 9, 5300, 200 + 4000},
    };
    struct Outcome {
        int32_t exitCode;
        uint32_t elapsed;
        uint64_t slept;
        std::vector<std::string> messages, status;
    };
    auto run = [&](const Case& c, bool consolePacing) {
        test::FakeUi fakeUi;
        test::FakeClock fakeClock;
        App a(fakeUi, fakeClock);
        a.programDirectory = dir.Path().string() + "/";
        a.pm.SetPortOpen(c.portOpen);
        uint32_t start = fakeClock.now;
        int32_t code =
            test::RunBatch(a, fakeUi, fakeClock, c.args,
                           StartupOptions{.exitAfterBatch = true, .consolePacing = consolePacing});
        return Outcome{code, fakeClock.now - start, fakeClock.slept, fakeUi.Messages(),
                       fakeUi.statusTexts[0]};
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Outcome window = run(c, false);
        Outcome console = run(c, true);
        EXPECT_EQ(window.exitCode, c.exitCode);
        EXPECT_EQ(console.exitCode, c.exitCode);
        EXPECT_EQ(window.elapsed, c.windowMs);
        EXPECT_EQ(console.elapsed, c.consoleMs);
        EXPECT_EQ(console.slept, console.elapsed); // the console's time passes only asleep
        EXPECT_EQ(console.messages, window.messages);
        EXPECT_EQ(console.status, window.status);
    }
}

} // namespace
} // namespace vantrel
