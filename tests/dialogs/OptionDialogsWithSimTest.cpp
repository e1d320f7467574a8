// The option dialogs that talk to the programmer, against vantrel-sim: a calibration through
// 12.0V and 5.0V with the values the programmer measures, "Save setup" arriving in the
// programmer's setup block, and the Communication dialog moving the link to another port.
#include <gtest/gtest.h>

#include "app/LinkControl.h"
#include "app/SettingsApply.h"
#include "dialogs/CalibrationDialog.h"
#include "dialogs/CommunicationDialog.h"
#include "dialogs/SetupDialog.h"
#include "support/SimFixtures.h"

namespace vantrel {
namespace {

using OptionDialogsWithSim = test::AppWithSim;

bool Idle(const App& app) {
    return app.pm.Read([](const LinkShared& s) { return s.jobs.empty() && !s.busy; });
}

TEST_F(OptionDialogsWithSim, CalibrationRunsThroughBothPoints) {
    // The calibration steps only set and measure the voltage: the programmer is done at once.
    test::SimProcess sim({"--hardware", "510", "--op-time", "20=0", "--op-time", "21=0",
                          "--op-time", "22=0", "--op-time", "23=0", "--op-time", "24=0",
                          "--op-time", "25=0"});
    const std::string simPath = sim.Path(); // the emulator tells it once
    ASSERT_FALSE(simPath.empty());
    WriteSettings(1, {simPath});
    Start();
    ASSERT_TRUE(WaitFor([&] { return Ready(); }, 10000));
    ASSERT_TRUE(CalibrationEnabled(PM_Status(app->pm)));

    CalibrationDialog dialog(*app);
    dialog.Start();
    // Each step the programmer runs is measured: the values of the status follow the step.
    auto shows = [&](const char* value0, const char* value1) {
        return WaitFor(
            [&] {
                dialog.Refresh();
                return Idle(*app) && dialog.Value0() == value0 && dialog.Value1() == value1;
            },
            10000);
    };
    EXPECT_TRUE(shows("1020", "2020")); // start: operation 20
    dialog.Up();
    EXPECT_TRUE(shows("1023", "2023"));
    EXPECT_FALSE(dialog.Save());
    EXPECT_EQ(dialog.Voltage(), "5.0V");
    EXPECT_TRUE(shows("1021", "2021")); // the next point follows the save
    dialog.Down();
    EXPECT_TRUE(shows("1024", "2024"));
    EXPECT_TRUE(dialog.Save());
    EXPECT_TRUE(shows("1022", "2022")); // the end comes last
    EXPECT_TRUE(ui.Messages().empty()) << ui.Messages().front();
}

TEST_F(OptionDialogsWithSim, SaveSetupReachesTheProgrammer) {
    test::SimProcess sim({"--serial", "4711"});
    const std::string simPath = sim.Path(); // the emulator tells it once
    ASSERT_FALSE(simPath.empty());
    WriteSettings(1, {simPath});
    Start();
    ASSERT_TRUE(WaitFor([&] { return Ready(); }, 10000));
    {
        SetupDialog dialog(*app);
        EXPECT_EQ(dialog.SerialNumber(), "4711");
        dialog.SetDefaults();
        dialog.powerDown = 2;
        dialog.resetActive = "150";
        ASSERT_TRUE(dialog.Save());
    }
    ASSERT_TRUE(WaitFor(
        [&] { return app->pm.Read([](const LinkShared& s) { return !s.setupWritePending; }); },
        10000));
    // Read the block back from the programmer.
    app->pm.Update([](LinkShared& s) { s.setupBlockValid = false; });
    ASSERT_TRUE(WaitFor([&] { return Ready(); }, 10000));
    const SetupRecord r = ReadSetupRecord(app->pm.Setup());
    EXPECT_EQ(r.powerDownMode, 2);
    EXPECT_EQ(r.resetActiveMs, 150);
    EXPECT_EQ(r.resetInactiveMs, 500);
    EXPECT_EQ(r.serialNumber, 4711u);
}

TEST_F(OptionDialogsWithSim, CommunicationMovesTheLinkToTheChosenPort) {
    test::PtyPair silent;
    test::SimProcess sim(std::vector<std::string>{});
    const std::string simPath = sim.Path();
    ASSERT_FALSE(simPath.empty());
    WriteSettings(1, {silent.SlavePath(), simPath});
    Start();
    EXPECT_FALSE(WaitFor([&] { return Ready(); }, 300));
    CommunicationDialog dialog(*app);
    EXPECT_EQ(dialog.Items()[2], "COM2  " + simPath);
    dialog.Select(2);
    dialog.Ok();
    ASSERT_TRUE(WaitFor([&] { return Ready(); }, 10000));
    EXPECT_EQ(LINK_View(*app).activePort, 1);
    EXPECT_EQ(ReadSettings(app->settings).options.comPort, 2); // saved at once
}

} // namespace
} // namespace vantrel
