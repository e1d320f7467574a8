// The calibration dialogs: when the command may open one, which one, and the jobs each button
// queues with the controls it enables.
#include <gtest/gtest.h>

#include "dialogs/CalibrationDialog.h"
#include "support/AppFixture.h"

namespace vantrel {
namespace {

std::vector<int> Jobs(const App& app) {
    return app.pm.Read([](const LinkShared& s) {
        std::vector<int> codes;
        for (const QueuedJob& j : s.jobs)
            codes.push_back(static_cast<int>(j.code));
        return codes;
    });
}

TEST(Calibration, NeedsAReadyProgrammerOfHardware410OrLater) {
    struct Case {
        uint8_t state;
        uint16_t hardware;
        bool enabled;
        bool multiplier;
    };
    const Case cases[] = {
        {0, 409, false, false}, {0, 410, true, false},    {0, 589, true, false},
        {0, 590, true, true},   {0, 594, true, true},     {0, 595, true, false},
        {1, 510, false, false}, {200, 510, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << int(c.state) << " " << c.hardware);
        ProgrammerStatus status;
        status.state = c.state;
        status.hardwareVersion = c.hardware;
        EXPECT_EQ(CalibrationEnabled(status), c.enabled);
        EXPECT_EQ(CalibratesVppMultiplier(c.hardware), c.multiplier);
    }
}

class CalibrationDialogTest : public test::AppFixture {
  protected:
    void Hardware(uint16_t version) {
        ProgrammerStatus status;
        status.state = kStateReady;
        status.hardwareVersion = version;
        app->pm.SetStatus(status);
    }
};

TEST_F(CalibrationDialogTest, TwoPointsThenTheDialogCloses) {
    Hardware(510);
    CalibrationDialog dialog(*app);
    EXPECT_FALSE(dialog.Multiplier());
    EXPECT_TRUE(dialog.StartEnabled());
    EXPECT_FALSE(dialog.UpDownEnabled());
    EXPECT_FALSE(dialog.SaveEnabled());
    EXPECT_EQ(dialog.Voltage(), "12.0V");
    EXPECT_EQ(dialog.Step(), 0);

    dialog.Start();
    EXPECT_FALSE(dialog.StartEnabled());
    EXPECT_TRUE(dialog.UpDownEnabled());
    EXPECT_TRUE(dialog.SaveEnabled());
    EXPECT_EQ(dialog.Focus(), kCalibrationUpId);
    dialog.Up();
    dialog.Down();
    EXPECT_FALSE(dialog.Save());
    EXPECT_EQ(dialog.Voltage(), "5.0V");
    EXPECT_EQ(dialog.Step(), 1);
    EXPECT_TRUE(dialog.Save());
    EXPECT_EQ(Jobs(*app), (std::vector<int>{18, 22, 23, 21, 19, 21, 20}));
}

TEST_F(CalibrationDialogTest, CancelEndsTheCalibration) {
    Hardware(510);
    CalibrationDialog dialog(*app);
    dialog.Start();
    dialog.Cancel();
    EXPECT_EQ(Jobs(*app), (std::vector<int>{18, 20}));
}

TEST_F(CalibrationDialogTest, MultiplierHasOnePoint) {
    Hardware(592);
    CalibrationDialog dialog(*app);
    EXPECT_TRUE(dialog.Multiplier());
    dialog.Start();
    EXPECT_FALSE(dialog.StartEnabled());
    EXPECT_TRUE(dialog.SaveEnabled());
    EXPECT_TRUE(dialog.Save());
    EXPECT_EQ(Jobs(*app), (std::vector<int>{18, 21, 20}));
}

TEST_F(CalibrationDialogTest, RefreshShowsTheValuesAndKeepsOneThatReadsZero) {
    Hardware(510);
    CalibrationDialog dialog(*app);
    ProgrammerStatus status = PM_Status(app->pm);
    status.calibration1 = 812;
    status.calibration2 = 3001;
    app->pm.SetStatus(status);
    dialog.Refresh();
    EXPECT_EQ(dialog.Value0(), "812");
    EXPECT_EQ(dialog.Value1(), "3001");
    status.calibration1 = 0;
    status.calibration2 = 65535;
    app->pm.SetStatus(status);
    dialog.Refresh();
    EXPECT_EQ(dialog.Value0(), "812");
    EXPECT_EQ(dialog.Value1(), "65535");
}

} // namespace
} // namespace vantrel
