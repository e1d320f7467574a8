// The firmware update end to end: the program's own start-up and link against vantrel-sim
// with an old firmware. The link reports the mismatch (214), the main window offers the update,
// the sample image for the emulator's hardware goes out, the emulator restarts with its new
// firmware, and the new session checks the firmware again. The updates run in-process on a
// real clock with scripted answers, since an unattended run (vantrel-cli, the last case) never
// replaces the firmware.
#include <gtest/gtest.h>

#include "support/SimFixtures.h"

namespace vantrel {
namespace {

constexpr const char* kOffer = "Firmware mismatch !!!\r\nYou have to download new firmware to "
                               "continue\r\nDownload firmware now ?";
constexpr const char* kConfirmStart = "Firmware download requires a stable power supply\r\n";

class FirmwareWithSim : public test::AppWithSim {
  protected:
    // The sample device and firmware images, and the emulator as COM1.
    void Start(const std::string& simPath) {
        WriteSettings(1, {simPath});
        std::filesystem::copy(test::BinDir() / "Firmware", dir / "Firmware",
                              std::filesystem::copy_options::recursive);
        AppWithSim::Start();
    }
    int Offers() const {
        int n = 0;
        for (const auto& box : ui.boxes)
            n += box.text == kOffer;
        return n;
    }
    bool SessionWith(uint32_t firmware) {
        return app->pm.Read([firmware](const LinkShared& s) {
            return s.sessionValid && s.status.firmwareVersion == firmware;
        });
    }
};

TEST_F(FirmwareWithSim, MismatchOfferUpdatesAndTheNewFirmwareIsChecked) {
    // Only the end marker at 0xBFF0 can end this download in time.
    test::SimProcess sim({"--firmware", "19900", "--new-firmware", "20000", "--restart-ms", "500",
                          "--firmware-quiet", "60000"});
    const std::string simPath = sim.Path();
    ASSERT_FALSE(simPath.empty());
    ui.answers = {MsgAnswer::Yes, MsgAnswer::Yes};
    Start(simPath);

    // The offer runs the whole download inside the report of 214.
    ASSERT_TRUE(WaitFor([&] { return Offers() == 1 && PM_JobCount(app->pm) == 0; }, 20000));
    ASSERT_GE(ui.boxes.size(), 2u);
    EXPECT_EQ(ui.boxes[1].text.rfind(kConfirmStart, 0), 0u);
    EXPECT_EQ(PM_GetMessage(app->pm), std::nullopt);
    // The programmer comes back with its new firmware and is accepted: no second offer.
    ASSERT_TRUE(WaitFor([&] { return SessionWith(20000); }, 20000));
    WaitFor([] { return false; }, 500); // time for a report that should not come
    EXPECT_EQ(Offers(), 1);
    EXPECT_EQ(ui.boxes.size(), 2u) << ui.boxes.back().text;
    EXPECT_FALSE(ui.quit.has_value());
    EXPECT_TRUE(app->pm.Read([](const LinkShared& s) { return s.checkSession; }));
}

TEST_F(FirmwareWithSim, StillIncompatibleAfterTheUpdateIsReportedAgain) {
    test::SimProcess sim({"--firmware", "19900", "--new-firmware", "20100", "--restart-ms", "500"});
    const std::string simPath = sim.Path();
    ASSERT_FALSE(simPath.empty());
    // Update, then decline the second offer: the program ends.
    ui.answers = {MsgAnswer::Yes, MsgAnswer::Yes, MsgAnswer::No};
    Start(simPath);

    ASSERT_TRUE(WaitFor([&] { return Offers() == 2; }, 30000));
    EXPECT_TRUE(SessionWith(20100));
    EXPECT_EQ(ui.quit, 0);
}

// vantrel-cli answers every question with its default: the offer is declined, nothing is sent
// and the run ends with 214.
TEST_F(FirmwareWithSim, UnattendedRunNeverReplacesTheFirmware) {
    test::SimProcess sim({"--firmware", "19900"});
    const std::string simPath = sim.Path();
    ASSERT_FALSE(simPath.empty());
    test::InstallSampleDevice(dir.Path());
    std::filesystem::copy(test::BinDir() / "Firmware", dir / "Firmware",
                          std::filesystem::copy_options::recursive);
    test::MapComPort(dir.Path(), 1, simPath);
    const std::filesystem::path cli = test::Install("vantrel-cli", dir.Path());

    const test::ProcessResult run = test::RunProcess({cli.string(), "-checkblank"}, dir.Path());
    EXPECT_EQ(run.exitCode, 214);
    const std::string shown = run.out + run.err;
    EXPECT_NE(shown.find("Download firmware now ?"), std::string::npos) << shown;
    EXPECT_EQ(shown.find(kConfirmStart), std::string::npos) << shown;
}

} // namespace
} // namespace vantrel
