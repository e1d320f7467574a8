// Reading every key into plain values, applying them to the device selection and the options
// through the checking setters, and writing them again.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "app/SettingsApply.h"
#include "app/Startup.h"
#include "device/DeviceCodes.h"
#include "device/DeviceTestData.h"
#include "settings/Ini.h"
#include "settings/SettingsFixture.h"
#include "settings/SettingsLoadSave.h"
#include "settings/SettingsText.h"
#include "support/Process.h"

namespace vantrel {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

// Eight flash banks of 4K from 0x10000, four speeds, a passcode of 1 to 7 bytes and the ID
// range 0x1000..0x2FFF.
DeviceRecord EightBanks(const std::string& name) {
    auto d = test::Sample(name);
    std::vector<BankRange> banks;
    for (uint32_t i = 0; i < 8; ++i)
        banks.push_back({0x10000 + i * 0x1000, 0x1000});
    d.areas = {test::Area("FLASH", 7, banks)};
    d.speedSettings = {"1", "2", "3", "4"};
    d.idRangeFirst = 0x1000;
    d.idRangeLast = 0x2FFF;
    return d;
}

void AddDevices(App& a) {
    for (const char* name : {"R5F100LE", "ST72F324"})
        AddDevice(a.ui, a.devices, EightBanks(name));
}

class LoadSave : public test::SettingsFixture {
  protected:
    LoadSave() { AddDevices(*app); }
    // Another program in a fresh installation whose settings file holds `text`.
    std::unique_ptr<App> Fresh(test::TempDir& install, test::FakeUi& freshUi,
                               const std::string& text) {
        test::WriteFile(install / "vantrel.ini", text);
        auto other = std::make_unique<App>(freshUi, clock);
        other->programDirectory = install.Path().string() + "/";
        AddDevices(*other);
        return other;
    }
    const DeviceSelection& Selection() const { return app->selection; }
};

TEST_F(LoadSave, WithoutAFileEveryKeyTakesItsDefault) {
    StoredSettings stored = ReadSettings(app->settings);
    ASSERT_TRUE(stored.selection);
    const StoredSelection& s = *stored.selection;
    EXPECT_EQ(s.passcodeLength, 0);
    EXPECT_FALSE(s.bankSelectMode);
    EXPECT_EQ(s.externalStart, 0u);
    EXPECT_EQ(s.externalLength, 0u);
    EXPECT_EQ(s.device, "");
    EXPECT_EQ(s.startBank, 0);
    EXPECT_EQ(s.endBank, 0);
    EXPECT_EQ(s.interfaceIndex, 1);
    EXPECT_EQ(s.speed, 0);
    EXPECT_EQ(s.fillByte, 255);

    EXPECT_TRUE(LoadSettings(*app)); // no device name: the device is invalid
    EXPECT_EQ(Selection().interface, 1);
    EXPECT_EQ(Selection().speed, 0);
    EXPECT_EQ(Selection().fillByte, 255);
    const ProgramOptions& o = app->options;
    EXPECT_EQ(o.comPort, 1);
    EXPECT_EQ(o.baudRate, 115200);
    EXPECT_FALSE(o.logEnable);
    EXPECT_TRUE(o.enableAC);
    EXPECT_TRUE(o.enableVBP);
    EXPECT_FALSE(o.clearOnDemand);
    EXPECT_TRUE(o.clearReadoutProtection);
    EXPECT_TRUE(o.enableIdCheck);
    EXPECT_TRUE(o.enablePasscode);
    EXPECT_FALSE(o.passcodeHex);
    EXPECT_FALSE(o.detailedError);
    EXPECT_THAT(ui.boxes, IsEmpty());
    EXPECT_FALSE(std::filesystem::exists(IniPath())); // loading writes nothing
}

TEST_F(LoadSave, AFileIsReadAndApplied) {
    WriteIni("[Settings]\r\nComPort = 7\r\nLOG_Enable = 1\r\nDevice=\"ST72F324\"\r\n"
             "SBank = 2\r\nEBank = 5\r\nInterface = 2\r\nSpeed = 3\r\nFillByte = 0\r\n"
             "EnableAC = 0\r\nEnableVBP = 0\r\nClearOnDemand = 1\r\n"
             "ClearReadoutProtection = 0\r\nXDataStart = -16\r\nXDataLen = 256\r\n"
             "CpuPasswordLen = 259\r\nCpuPassword[1] = 427\r\nCpuPassword[15] = 18\r\n"
             "EnableIdCheckFunction = 5\r\nEnablePasscode = 0\r\nPasscodeHex = 1\r\n"
             "PasscodeLen = 4096\r\nPasscodeData = 4100\r\nBankSel[0] = 1\r\n"
             "BankSel[63] = 258\r\nProtectedBlockSel[15] = 1\r\nDetailedError = 1\r\n");
    StoredSettings stored = ReadSettings(app->settings);
    ASSERT_TRUE(stored.selection);
    const StoredSelection& read = *stored.selection;
    EXPECT_EQ(read.device, "ST72F324");
    EXPECT_EQ(read.passcodeLength, 3); // low 8 bits of 259
    EXPECT_FALSE(read.bankSelectMode);
    EXPECT_EQ(read.bankFlags[0], 1);
    EXPECT_EQ(read.bankFlags[63], 2); // low 8 bits of 258
    EXPECT_EQ(read.protectedFlags[15], 1);

    EXPECT_FALSE(LoadSettings(*app));
    const DeviceSelection& s = Selection();
    ASSERT_NE(s.SelectedDevice(), nullptr);
    EXPECT_EQ(s.SelectedDevice()->device, "ST72F324");
    EXPECT_EQ(s.startBank, 2);
    EXPECT_EQ(s.endBank, 5);
    EXPECT_EQ(s.interface, 2);
    EXPECT_EQ(s.speed, 3);
    EXPECT_EQ(s.fillByte, 0);
    EXPECT_EQ(s.passcodeLength, 3);
    EXPECT_EQ(s.passcode[0], 0xAB); // low 8 bits of 427
    EXPECT_EQ(s.passcode[14], 18);
    EXPECT_EQ(s.additional.start, 0xFFFFFFF0u);
    EXPECT_EQ(s.additional.size, 256u);
    EXPECT_EQ(s.toshibaIdLengthAddress, 4096u);
    EXPECT_EQ(s.toshibaIdAddress, 4100u);
    EXPECT_TRUE(s.protectedFlags[15]);
    const ProgramOptions& o = app->options;
    EXPECT_EQ(o.comPort, 7);
    EXPECT_TRUE(o.logEnable);
    EXPECT_FALSE(o.enableAC);
    EXPECT_FALSE(o.enableVBP);
    EXPECT_TRUE(o.clearOnDemand);
    EXPECT_FALSE(o.clearReadoutProtection);
    EXPECT_TRUE(o.enableIdCheck);
    EXPECT_FALSE(o.enablePasscode);
    EXPECT_TRUE(o.passcodeHex);
    EXPECT_TRUE(o.detailedError);
    EXPECT_THAT(ui.boxes, IsEmpty());
}

// All keys are read before anything is applied; the checking setters then report in their
// order, and the COM port comes last.
TEST_F(LoadSave, TheCheckingSettersReportInTheirOrder) {
    WriteIni("[Settings]\r\nComPort = 25\r\nDevice=\"NoSuch\"\r\nSBank = 9\r\nEBank = 9\r\n"
             "Interface = 15\r\nSpeed = 9\r\nFillByte = 512\r\n");
    EXPECT_TRUE(LoadSettings(*app));
    EXPECT_THAT(Messages(),
                ElementsAre("The devicename 'NoSuch' was unknown.\r\nPlease check your "
                            "configuration!\r\n",
                            "Startbank was invalid!\r\nPlease check Device options!",
                            "Endbank was invalid!\r\nPlease check Device options!",
                            "Interface was invalid!\r\nPlease check your configuration!",
                            "Speed was invalid!\r\nPlease check your configuration!",
                            "Fillbyte invalid!\r\nPlease check your configuration!",
                            "ComPort setting in setup file out of range, corrected"));
}

// The passcode length, the bank select mode, the bank flags and the external area are in place
// before the device and the banks are checked: the passcode length rule sees the length read,
// and the external area counts as one more bank.
TEST_F(LoadSave, ThePlainDeviceValuesComeBeforeTheCheckedOnes) {
    WriteIni("[Settings]\r\nDevice=\"ST72F324\"\r\nCpuPasswordLen = 9\r\n"
             "XDataStart = 1048576\r\nXDataLen = 16\r\nSBank = 8\r\nEBank = 8\r\n");
    EXPECT_FALSE(LoadSettings(*app)) << testing::PrintToString(Messages());
    EXPECT_EQ(Selection().passcodeLength, 1); // 9 is beyond the device's 7: its minimum
    EXPECT_EQ(Selection().startBank, 8);
    EXPECT_EQ(Selection().endBank, 8);
    EXPECT_THAT(ui.boxes, IsEmpty());
}

TEST_F(LoadSave, ComPortCorrections) {
    struct Case {
        const char* line;
        int commandLine; // -com, -1 for none
        int expected;
        bool reported;
    } cases[] = {
        {"ComPort=3", -1, 3, false},   {"ComPort   =   20", -1, 20, false},
        {"comport = 3", -1, 1, false}, {"ComPort = 0", -1, 1, false},
        {"ComPort = 25", -1, 1, true}, {"ComPort = -1", -1, 1, true},
        {"ComPort = 25", 5, 5, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        test::TempDir install;
        test::WriteFile(install / "vantrel.ini", std::string("[Settings]\r\n") + c.line + "\r\n");
        test::FakeUi fresh;
        App other(fresh, clock);
        other.programDirectory = install.Path().string() + "/";
        other.overrides.comPort = c.commandLine;
        if (c.commandLine > 0) other.options.comPort = c.commandLine;
        LoadSettings(other);
        EXPECT_EQ(other.options.comPort, c.expected);
        if (c.reported) {
            ASSERT_EQ(fresh.boxes.size(), 1u);
            EXPECT_EQ(fresh.boxes[0].text, "ComPort setting in setup file out of range, corrected");
            EXPECT_EQ(CMDLINE_GetErrorLevel(other), 211);
        } else {
            EXPECT_THAT(fresh.boxes, IsEmpty());
            EXPECT_EQ(CMDLINE_GetErrorLevel(other), 0);
        }
    }
}

TEST_F(LoadSave, TheCommandLineWinsOverTheFile) {
    WriteIni("[Settings]\r\nDevice=\"ST72F324\"\r\nSBank = 2\r\nInterface = 2\r\nSpeed = 1\r\n");
    app->selection.SelectDeviceByName("R5F100LE"); // as -seldevice does
    app->overrides.deviceChosen = true;
    app->overrides.interfaceIndex = 1;
    app->overrides.speedIndex = 6;
    EXPECT_FALSE(LoadSettings(*app));
    const DeviceSelection& s = Selection();
    EXPECT_EQ(s.SelectedDevice()->device, "R5F100LE");
    EXPECT_EQ(s.startBank, 0); // all banks of the device chosen
    EXPECT_EQ(s.endBank, 7);
    EXPECT_EQ(s.interface, 1);
    EXPECT_EQ(s.speed, 3); // 6 held to the device's four speeds
    EXPECT_EQ(s.fillByte, 255);
}

TEST_F(LoadSave, ASpeedFromTheCommandLineIsHeldToTheDevicesSpeeds) {
    struct Case {
        int asked, speeds, expected;
    } cases[] = {{2, 4, 2}, {4, 4, 3}, {6, 7, 6}, {0, 0, 0}, {1, 0, 1}, {5, 0, 1}, {-1, 0, 3}};
    WriteIni("[Settings]\r\nSpeed = 3\r\n");
    for (const auto& c : cases) {
        // The file names no device: the table's first one is selected.
        ClearDeviceTable(app->devices);
        auto d = EightBanks("SPEEDS");
        d.speedSettings.assign(static_cast<std::size_t>(c.speeds), "S");
        if (c.speeds > 4) d.sifType = kSifR8C; // the device takes the seven speeds
        AddDevice(ui, app->devices, d);
        app->overrides.speedIndex = c.asked;
        LoadSettings(*app);
        EXPECT_EQ(Selection().speed, c.expected) << c.asked << " of " << c.speeds;
    }
}

TEST_F(LoadSave, BanksFromTheFileOnlyInStartAndEndMode) {
    WriteIni("[Settings]\r\nDevice=\"ST72F324\"\r\nDEVICE_BankSelectMode = 1\r\nSBank = 2\r\n"
             "BankSel[3] = 1\r\n");
    EXPECT_FALSE(LoadSettings(*app));
    EXPECT_TRUE(Selection().bankSelectMode);
    EXPECT_EQ(Selection().startBank, 0);
    EXPECT_EQ(Selection().programRanges, (ProgramRanges{{0x13000, 0x1000}}));
    // A device chosen on the command line without banks keeps its bank choice.
    auto none = EightBanks("NOBANKS");
    none.areas.clear();
    AddDevice(ui, app->devices, none);
    app->selection.SelectDeviceByName("NOBANKS");
    app->selection.endBank = 5;
    app->overrides.deviceChosen = true;
    ui.boxes.clear();
    LoadSettings(*app);
    EXPECT_EQ(Selection().endBank, 5);
    EXPECT_THAT(ui.boxes, IsEmpty()); // selecting all of no banks would report the start bank
}

TEST_F(LoadSave, AnyReplacedDeviceValueMakesTheLoadFail) {
    for (const char* line :
         {"SBank = 9", "EBank = 9", "Interface = 15", "Speed = 9", "FillByte = 512"}) {
        SCOPED_TRACE(line);
        test::TempDir install;
        test::FakeUi freshUi;
        auto other =
            Fresh(install, freshUi, std::string("[Settings]\r\nDevice=\"ST72F324\"\r\n") + line);
        EXPECT_TRUE(LoadSettings(*other));
        EXPECT_EQ(freshUi.boxes.size(), 1u);
    }
    WriteIni("[Settings]\r\nDevice=\"ST72F324\"\r\n");
    EXPECT_FALSE(LoadSettings(*app));
}

// The save order; the file holds the keys in the reverse order.
std::vector<std::string> SaveOrder() {
    std::vector<std::string> keys = {"ComPort",
                                     "LOG_Enable",
                                     "Device",
                                     "SBank",
                                     "EBank",
                                     "Interface",
                                     "Speed",
                                     "FillByte",
                                     "EnableVBP",
                                     "ClearOnDemand",
                                     "ClearReadoutProtection",
                                     "EnableAC",
                                     "XDataStart",
                                     "XDataLen",
                                     "DetailedError",
                                     "EnableIdCheckFunction",
                                     "EnablePasscode",
                                     "PasscodeHex",
                                     "PasscodeLen",
                                     "PasscodeData",
                                     "Version",
                                     "CpuPasswordLen"};
    for (int n = 1; n <= 15; ++n)
        keys.push_back("CpuPassword[" + std::to_string(n) + "]");
    for (int n = 0; n < 64; ++n)
        keys.push_back("BankSel[" + std::to_string(n) + "]");
    for (int n = 0; n < 16; ++n)
        keys.push_back("ProtectedBlockSel[" + std::to_string(n) + "]");
    keys.push_back("DEVICE_BankSelectMode");
    return keys;
}

std::vector<std::string> KeysInFile(const std::string& text) {
    std::vector<std::string> keys;
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = text.find("\r\n", pos);
        EXPECT_NE(end, std::string::npos) << "every line ends with CR LF";
        if (end == std::string::npos) break;
        std::string line = text.substr(pos, end - pos);
        if (line[0] != '[') keys.push_back(line.substr(0, line.find_first_of(" =")));
        pos = end + 2;
    }
    return keys;
}

TEST_F(LoadSave, AFullSaveWritesEveryKeyInReverseOrderAndReadsBackTheSame) {
    WriteIni("[Ports]\r\nCOM2=\"/dev/ttyUSB1\"\r\n[Settings]\r\nHandWritten = 1\r\n");
    StoredSettings stored;
    stored.options.comPort = 12;
    stored.options.logEnable = true;
    stored.options.detailedError = true;
    stored.options.enableAC = false;
    stored.options.passcodeHex = true;
    StoredSelection& selection = stored.selection.emplace();
    selection.device = "R5F100LE";
    selection.startBank = 1;
    selection.endBank = 6;
    selection.interfaceIndex = 2;
    selection.speed = 3;
    selection.fillByte = 0x1FF;
    selection.externalStart = 0x80000000u;
    selection.externalLength = 0x100;
    selection.passcodeCountAddress = 0x2000;
    selection.passcodeCompareAddress = 0x2004;
    selection.passcodeLength = 7;
    selection.passcode[6] = 0xEE;
    selection.bankFlags[63] = 1;
    selection.protectedFlags[3] = 1;
    selection.bankSelectMode = true;
    WriteSettings(app->settings, stored);

    std::string text = ReadIni();
    auto expected = SaveOrder();
    std::reverse(expected.begin(), expected.end());
    expected.push_back("HandWritten");
    auto keys = KeysInFile(text);
    ASSERT_GE(keys.size(), 2u);
    EXPECT_EQ(keys[0], "COM2"); // the other section stays in front
    EXPECT_EQ(std::vector<std::string>(keys.begin() + 1, keys.end()), expected);
    EXPECT_NE(text.find("[Settings]\r\nDEVICE_BankSelectMode = 1\r\n"), std::string::npos);
    EXPECT_NE(text.find("\r\nDevice=\"R5F100LE\"\r\n"), std::string::npos);
    EXPECT_NE(text.find("\r\nVersion = 20024\r\n"), std::string::npos);
    EXPECT_NE(text.find("\r\nXDataStart = -2147483648\r\n"), std::string::npos);

    // A second program reads the same values back and applies them.
    test::FakeUi otherUi;
    App other(otherUi, clock);
    other.programDirectory = app->programDirectory;
    AddDevices(other);
    StoredSettings read = ReadSettings(other.settings);
    ASSERT_TRUE(read.selection);
    const StoredSelection& back = *read.selection;
    EXPECT_FALSE(ApplySettings(other, read));
    EXPECT_EQ(back.device, "R5F100LE");
    EXPECT_EQ(back.interfaceIndex, 2);
    EXPECT_EQ(back.speed, 3);
    EXPECT_EQ(back.fillByte, 0x1FF);
    EXPECT_EQ(back.externalStart, 0x80000000u);
    EXPECT_EQ(back.externalLength, 0x100u);
    EXPECT_EQ(back.passcodeCountAddress, 0x2000u);
    EXPECT_EQ(back.passcodeCompareAddress, 0x2004u);
    EXPECT_EQ(back.passcodeLength, 7);
    EXPECT_EQ(back.passcode, selection.passcode);
    EXPECT_EQ(back.bankFlags, selection.bankFlags);
    EXPECT_EQ(back.protectedFlags, selection.protectedFlags);
    EXPECT_TRUE(back.bankSelectMode);
    EXPECT_EQ(other.options.comPort, 12);
    EXPECT_TRUE(other.options.logEnable);
    EXPECT_TRUE(other.options.detailedError);
    EXPECT_FALSE(other.options.enableAC);
    EXPECT_TRUE(other.options.passcodeHex);
    EXPECT_THAT(otherUi.boxes, IsEmpty());
}

// What a save takes from the selection: a device that was not found is saved under the name
// asked for, and the passcode addresses are held to the device's ID range (kept as read while
// no device is selected).
TEST_F(LoadSave, TheSelectionAsSaved) {
    WriteIni("[Settings]\r\nDevice=\"NoSuch\"\r\n");
    LoadSettings(*app);
    app->selection.toshibaIdAddress = 0x5000;       // above the range: its first address
    app->selection.toshibaIdLengthAddress = 0x2FFF; // inside
    StoredSettings saved = SettingsToSave(*app);
    ASSERT_TRUE(saved.selection);
    EXPECT_EQ(saved.selection->device, "NoSuch");
    EXPECT_EQ(saved.selection->passcodeCompareAddress, 0x1000u);
    EXPECT_EQ(saved.selection->passcodeCountAddress, 0x2FFFu);

    app->selection.SelectDeviceByName("R5F100LE");
    EXPECT_EQ(SettingsToSave(*app).selection->device, "R5F100LE");

    ClearDeviceTable(app->devices);
    app->selection.toshibaIdAddress = 0x5000;
    EXPECT_EQ(SettingsToSave(*app).selection->passcodeCompareAddress, 0x5000u);
}

// A full save puts every key into the text and rewrites the file once; a failure is shown
// once per save, not once per key.
TEST_F(LoadSave, AFullSaveRewritesTheFileOnceAndShowsAFailureOnce) {
    const std::string head = "[Settings]\r\nComPort = 4\r\n";
    struct Case {
        const char* name;
        std::string text;
        bool readOnly;
        std::string message; // after "Could not save file [path]\n"; "" for none
        int rewrites;
    } cases[] = {
        {"writable file", head, false, "", 1},
        {"file near the size limit",
         head + std::string(kSettingsTextMax - head.size() - 200, ';') + "\r\n", false,
         "The settings would grow larger than 29999 bytes; the change was not made!", 1},
        {"read-only file", head, true, "File has read only attribute!", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        test::TempDir install;
        std::string path = (install / "vantrel.ini").string();
        test::WriteFile(path, c.text);
        if (c.readOnly) chmod(path.c_str(), 0444);
        test::FakeUi fresh;
        App other(fresh, clock);
        other.programDirectory = install.Path().string() + "/";
        int rewrites = 0; // each rewrite of the existing file asks once
        other.fileWriteChecks.canCreateIn = [&rewrites](const std::string&) {
            ++rewrites;
            return true;
        };
        other.options.comPort = 7;
        SaveSettings(other);
        if (c.message.empty()) {
            EXPECT_THAT(fresh.boxes, IsEmpty());
        } else {
            EXPECT_THAT(fresh.Messages(),
                        ElementsAre("Could not save file [" + path + "]\n" + c.message));
        }
        EXPECT_EQ(rewrites, c.rewrites);
        // The keys are in the text either way; those that fit are in the file when it could be
        // written.
        EXPECT_EQ(INI_ReadInt(other.settings, "Settings", "ComPort", 0), 7);
        bool inFile = test::ReadFile(path).find("ComPort = 7\r\n") != std::string::npos;
        EXPECT_EQ(inFile, !c.readOnly);
        // A single write outside a full save rewrites the file at once.
        INI_WriteInt(other.settings, "Settings", "ComPort", 8);
        EXPECT_EQ(rewrites, c.rewrites + (c.readOnly ? 0 : 1));
    }
}

TEST_F(LoadSave, AWriteWithoutTheDeviceKeysLeavesThemAsTheyAre) {
    WriteIni("[Settings]\r\nDevice=\"ST72F324\"\r\nBankSel[2] = 1\r\nComPort = 4\r\n");
    StoredSettings stored = ReadSettings(app->settings);
    EXPECT_EQ(stored.options.comPort, 4);
    stored.selection.reset();
    EXPECT_FALSE(ApplySettings(*app, stored)); // no device value applied: none invalid
    stored.options.comPort = 5;
    WriteSettings(app->settings, stored);
    std::string text = ReadIni();
    EXPECT_NE(text.find("\r\nComPort = 5\r\n"), std::string::npos);
    EXPECT_NE(text.find("\r\nDevice=\"ST72F324\"\r\nBankSel[2] = 1\r\n"), std::string::npos);
    EXPECT_EQ(text.find("CpuPassword"), std::string::npos);
}

// Start-up and shutdown as the program runs them.
class StartupSettings : public test::SettingsFixture {
  protected:
    int32_t Run(std::vector<std::string> args) {
        args.insert(args.begin(), "vantrel");
        std::vector<const char*> argv;
        for (auto& a : args)
            argv.push_back(a.c_str());
        EXPECT_TRUE(InitInstance(*app, static_cast<int>(argv.size()), argv.data()));
        return ExitInstance(*app);
    }
    // The sample device database beside the program, and no settings file yet.
    void InstallDevices() {
        test::InstallSampleDevice(dir.Path());
        std::filesystem::remove(IniPath());
    }
    const std::string kDevice = std::string("Device=\"") + test::kSampleDevice + "\"\r\n";
};

TEST_F(StartupSettings, AnUnknownDeviceGives227AfterStartUp) {
    WriteIni("[Settings]\r\nDevice=\"NoSuchChip\"\r\n");
    // With no programmer ready, the main window answers 227 with 228, which ends the run.
    // This installation has no Device folder, which is said first; then the name is reported.
    EXPECT_EQ(Run({}), 228);
    ASSERT_EQ(ui.boxes.size(), 4u);
    EXPECT_EQ(ui.boxes[0].text.rfind("Can not find device file in directory ", 0), 0u);
    EXPECT_EQ(ui.boxes[1].text,
              "The devicename 'NoSuchChip' was unknown.\r\nPlease check your configuration!\r\n");
    EXPECT_EQ(ui.boxes[2].text, "Invalid default program settings found.\r\nPlease setup device.");
}

TEST_F(StartupSettings, ComPortOutOfRangeEndsWith211) {
    InstallDevices();
    WriteIni("[Settings]\r\n" + kDevice + "ComPort = 25\r\n");
    EXPECT_EQ(Run({}), 211);
    EXPECT_EQ(app->options.comPort, 1);
    EXPECT_NE(ReadIni().find("\r\nComPort = 1\r\n"), std::string::npos); // saved corrected
}

TEST_F(StartupSettings, IndexAndComFromTheCommandLine) {
    InstallDevices();
    test::WriteFile(dir / "vantrel3.ini", "[Settings]\r\n" + kDevice +
                                              "ComPort = 4\r\n"
                                              "LOG_Enable = 1\r\n");
    EXPECT_EQ(Run({"-index3", "-com9"}), 0);
    EXPECT_TRUE(app->options.logEnable); // read before the protocol log was opened
    EXPECT_TRUE(std::filesystem::exists(dir / "Vantrel.LOG"));
    EXPECT_FALSE(std::filesystem::exists(IniPath()));
    std::string text = test::ReadFile(dir / "vantrel3.ini");
    EXPECT_EQ(text.rfind("[Settings]\r\nDEVICE_BankSelectMode = 0\r\n", 0), 0u);
    EXPECT_NE(text.find("\r\nComPort = 9\r\n"), std::string::npos);
}

} // namespace
} // namespace vantrel
