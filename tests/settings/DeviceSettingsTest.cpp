// The settings file applied to the program's real device selection (over the sample device
// database), saved from it, and what the device batch commands change carried from one start
// to the next.
#include <gtest/gtest.h>

#include "app/Batch.h"
#include "app/DeviceSeam.h"
#include "app/SettingsApply.h"
#include "app/Startup.h"
#include "commands/DeviceCommands.h"
#include "device/DeviceSelection.h"
#include "settings/SettingsFixture.h"
#include "support/Process.h"

namespace vantrel {
namespace {

// NR16C62A: banks 0..7 at C0000 (64K), D0000 (64K), E0000 (64K), F0000 (32K), F8000, FA000,
// FC000, FE000 (8K each); passcode of exactly 7 bytes; one protected block.
class DeviceSettings : public test::SettingsFixture {
  protected:
    DeviceSettings() { test::InstallSampleDevice(dir.Path()); }

    // The database as start-up reads it, without the rest of start-up.
    void Prepare(App& a) { DEVICE_LoadDatabase(a); }
    // A fresh program in the same installation: start-up, then what `between` does, then
    // shutdown (which saves the settings). Returns the exit code.
    int32_t StartAndEnd(const std::function<void()>& between = {}) {
        app = std::make_unique<App>(ui, clock);
        app->programDirectory = dir.Path().string() + "/";
        const char* argv[] = {"vantrel"};
        EXPECT_TRUE(InitInstance(*app, 1, argv));
        if (between) between();
        return ExitInstance(*app);
    }
    void Batch(int command, const std::string& param) {
        ParamReader reader = CMDLINE_ParamReader(*app, param);
        DispatchBatchCommand(*app, command, reader);
    }
    bool IniHas(const std::string& line) const {
        return ReadIni().find("\r\n" + line + "\r\n") != std::string::npos;
    }
};

TEST_F(DeviceSettings, LoadAppliesEveryDeviceKeyAndSaveWritesThemBack) {
    WriteIni("[Settings]\r\nDevice=\"NR16C62A\"\r\nSBank = 1\r\nEBank = 3\r\nInterface = 2\r\n"
             "Speed = 3\r\nFillByte = 0\r\nXDataStart = 2097152\r\nXDataLen = 4096\r\n"
             "CpuPasswordLen = 7\r\nCpuPassword[1] = 17\r\nCpuPassword[7] = 119\r\n"
             "ProtectedBlockSel[0] = 1\r\n");
    Prepare(*app);
    EXPECT_FALSE(LoadSettings(*app)) << testing::PrintToString(Messages());
    const DeviceSelection& s = app->selection;
    ASSERT_NE(app->selection.SelectedDevice(), nullptr);
    EXPECT_EQ(app->selection.SelectedDevice()->device, "NR16C62A");
    EXPECT_EQ(s.startBank, 1);
    EXPECT_EQ(s.endBank, 3);
    EXPECT_EQ(s.programRanges, (ProgramRanges{{0xD0000, 0x28000}})); // banks 1..3 joined
    EXPECT_EQ(s.interface, 2);
    EXPECT_EQ(s.speed, 3);
    EXPECT_EQ(s.fillByte, 0);
    EXPECT_EQ(s.additional, (BankRange{0x200000, 0x1000}));
    EXPECT_EQ(s.passcodeLength, 7);
    EXPECT_EQ(s.passcode[0], 17);
    EXPECT_EQ(s.passcode[6], 119);
    EXPECT_TRUE(s.protectedFlags[0]);
    EXPECT_EQ(ImageFillByte(*app), 0x00);

    SaveSettings(*app);
    for (const char* line :
         {"Device=\"NR16C62A\"", "SBank = 1", "EBank = 3", "Interface = 2", "Speed = 3",
          "FillByte = 0", "XDataStart = 2097152", "XDataLen = 4096", "CpuPasswordLen = 7",
          "CpuPassword[1] = 17", "CpuPassword[7] = 119", "BankSel[0] = 0", "BankSel[1] = 1",
          "BankSel[3] = 1", "BankSel[4] = 0", "ProtectedBlockSel[0] = 1"})
        EXPECT_TRUE(IniHas(line)) << line << "\n" << ReadIni();
}

TEST_F(DeviceSettings, ChangesFromTheFileMakeTheImageCrcBeComputedAgain) {
    WriteIni("[Settings]\r\nDevice=\"NR16C62A\"\r\nSBank = 7\r\nEBank = 7\r\n");
    Prepare(*app);
    ASSERT_FALSE(LoadSettings(*app));
    GetImageCrc(*app);
    ASSERT_TRUE(app->doc.CrcValid());
    app->selection.SetExternalArea(0x200000, 0x100);
    EXPECT_FALSE(app->doc.CrcValid());
    GetImageCrc(*app);
    app->selection.SetBankFlag(6, true);
    EXPECT_FALSE(app->doc.CrcValid());
    GetImageCrc(*app);
    app->selection.RebuildProgramRanges();
    EXPECT_FALSE(app->doc.CrcValid());
}

// A device that is not in the database is reported and fails the load (start-up then reports
// 227). Its name is saved as it was read, so that the next start reports it again and a
// database that comes back restores the set-up; an empty name stays empty.
TEST_F(DeviceSettings, AnUnknownDeviceFailsTheLoadAndIsSavedUnderItsName) {
    const std::vector<std::string> unknown{
        "The devicename 'NR16C62a' was unknown.\r\nPlease check your configuration!\r\n"};
    WriteIni("[Settings]\r\nDevice=\"NR16C62a\"\r\n");
    for (int start = 0; start < 2; ++start) {
        SCOPED_TRACE(start);
        ui.boxes.clear();
        app = std::make_unique<App>(ui, clock);
        app->programDirectory = dir.Path().string() + "/";
        Prepare(*app);
        EXPECT_TRUE(LoadSettings(*app));
        EXPECT_EQ(Messages(), unknown);
        SaveSettings(*app);
        EXPECT_TRUE(IniHas("Device=\"NR16C62a\"")) << ReadIni();
    }

    WriteIni("[Settings]\r\nDevice=\"\"\r\n");
    ui.boxes.clear();
    app = std::make_unique<App>(ui, clock);
    app->programDirectory = dir.Path().string() + "/";
    Prepare(*app);
    EXPECT_TRUE(LoadSettings(*app)); // no device named: no message, but still invalid
    EXPECT_TRUE(ui.boxes.empty());
    SaveSettings(*app);
    EXPECT_TRUE(IniHas("Device=\"\"")) << ReadIni();
}

TEST_F(DeviceSettings, BatchCommandsAreSavedAtShutdownAndReadAtTheNextStart) {
    EXPECT_EQ(StartAndEnd([&] {
                  Batch(cmd::kSelBanks, "2,4");
                  Batch(cmd::kSetFill, "5A");
                  Batch(cmd::kSetArea, "200000,1000");
                  Batch(cmd::kPassword, "7,11,22,33,44,55,66,77");
              }),
              0);
    for (const char* line : {"SBank = 2", "EBank = 4", "FillByte = 90", "XDataStart = 2097152",
                             "XDataLen = 4096", "CpuPasswordLen = 7", "CpuPassword[1] = 17",
                             "CpuPassword[7] = 119", "DEVICE_BankSelectMode = 0"})
        EXPECT_TRUE(IniHas(line)) << line << "\n" << ReadIni();

    // The next start reads them (and saves them again at its end).
    EXPECT_EQ(StartAndEnd([&] {
                  const DeviceSelection& s = app->selection;
                  EXPECT_EQ(s.startBank, 2);
                  EXPECT_EQ(s.endBank, 4);
                  EXPECT_EQ(s.programRanges, (ProgramRanges{{0xE0000, 0x1A000}}));
                  EXPECT_EQ(s.fillByte, 0x5A);
                  EXPECT_EQ(s.additional, (BankRange{0x200000, 0x1000}));
                  EXPECT_EQ(s.passcodeLength, 7);
                  EXPECT_EQ(s.passcode[6], 0x77);
                  Batch(cmd::kSelMultiple, "0,5,7");
              }),
              0);
    EXPECT_TRUE(IniHas("DEVICE_BankSelectMode = 1"));
    EXPECT_TRUE(IniHas("BankSel[5] = 1"));
    EXPECT_TRUE(IniHas("BankSel[2] = 0"));

    // Individual banks: the flags apply, not the start and end bank.
    EXPECT_EQ(StartAndEnd([&] {
                  EXPECT_TRUE(app->selection.bankSelectMode);
                  EXPECT_EQ(
                      app->selection.programRanges,
                      (ProgramRanges{{0xC0000, 0x10000}, {0xFA000, 0x2000}, {0xFE000, 0x2000}}));
              }),
              0);
}

} // namespace
} // namespace vantrel
