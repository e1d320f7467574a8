// The device properties dialog's model: the working copy, what each control shows for a
// device and a programmer, every reaction, and what OK commits.
#include <gtest/gtest.h>

#include "DeviceDialogFixture.h"
#include "device/DeviceTable.h"
#include "dialogs/DevicePropertiesModel.h"

namespace vantrel {
namespace {

std::vector<std::string> Texts(const DialogCombo& combo) {
    std::vector<std::string> texts;
    for (const auto& item : combo.items)
        texts.push_back(item.text);
    return texts;
}

std::vector<int> Datas(const DialogCombo& combo) {
    std::vector<int> data;
    for (const auto& item : combo.items)
        data.push_back(item.data);
    return data;
}

int CurrentData(const DialogCombo& combo) {
    return combo.current < 0 ? -1 : combo.items[static_cast<std::size_t>(combo.current)].data;
}

std::vector<std::string> Lines(const CheckList& list) {
    std::vector<std::string> texts;
    for (const auto& line : list.lines)
        texts.push_back(line.text);
    return texts;
}

std::vector<bool> Checks(const CheckList& list) {
    std::vector<bool> checks;
    for (const auto& line : list.lines)
        checks.push_back(line.checked);
    return checks;
}

// The item of `combo` whose data is `data`.
int Item(const DialogCombo& combo, int data) {
    for (std::size_t i = 0; i < combo.items.size(); ++i)
        if (combo.items[i].data == data) return static_cast<int>(i);
    ADD_FAILURE() << "no item with data " << data;
    return -1;
}

class DeviceProperties : public test::DeviceDialogFixture {
  protected:
    void SetUp() override {
        SetStatus(test::NewProgrammer());
        Add(test::Sample("ND100")); // banks: DATA F000, FLASH 1000, 2000, 8000
        Add(test::OneBank("ONE"));
        Selection().SelectDeviceByName("ND100");
        Selection().SelectAllBanks();
        Selection().SetInterface(1);
    }
    DevicePropertiesModel Open() {
        return DevicePropertiesModel(app->devices, PM_Status(app->pm), Selection());
    }
};

TEST_F(DeviceProperties, DeviceDataFieldsUseTheSizeAndVoltageFormats) {
    DevicePropertiesModel model = Open();
    EXPECT_EQ(model.DeviceData(),
              (std::array<std::string, kDeviceFieldCount>{"ND 100", "Nordane", "ND", "", "2 KB",
                                                          "24 KB", "2.7V - 5.5V", "QFP64"}));
    model.DeviceChosen(1);
    EXPECT_EQ(model.DeviceData()[kFieldVpp], "12V");
    EXPECT_EQ(model.DeviceData()[kFieldRam], "1000 Bytes");
    EXPECT_EQ(model.DeviceData()[kFieldFlash], "32 KB");
    EXPECT_EQ(model.DeviceData()[kFieldVcc], "5V"); // minimum and maximum equal: one voltage
}

TEST_F(DeviceProperties, WithoutAValidDeviceEverythingIsEmpty) {
    Selection().selected = 7; // beyond the table
    DevicePropertiesModel model = Open();
    EXPECT_EQ(model.Copy().device, -1);
    for (const auto& text : model.DeviceData())
        EXPECT_EQ(text, "");
    EXPECT_TRUE(model.StartBanks().items.empty());
    EXPECT_TRUE(model.Interfaces().items.empty());
    EXPECT_TRUE(model.Banks().lines.empty());
    EXPECT_EQ(model.Height(), DevicePropertiesModel::kHeightWithout);
}

TEST_F(DeviceProperties, BankCombosAndListShowEveryBankOfTheDevice) {
    DevicePropertiesModel model = Open();
    EXPECT_EQ(Texts(model.StartBanks()),
              (std::vector<std::string>{"Bank  0: 0xF000", "Bank  1: 0x1000", "Bank  2: 0x2000",
                                        "Bank  3: 0x8000"}));
    EXPECT_EQ(Texts(model.EndBanks()),
              (std::vector<std::string>{"Bank  0: 0xF7FF", "Bank  1: 0x1FFF", "Bank  2: 0x2FFF",
                                        "Bank  3: 0xBFFF"}));
    EXPECT_EQ(Datas(model.EndBanks()), (std::vector<int>{0, 1, 2, 3}));
    EXPECT_EQ(CurrentData(model.StartBanks()), 0);
    EXPECT_EQ(CurrentData(model.EndBanks()), 3);
    EXPECT_EQ(
        Lines(model.Banks()),
        (std::vector<std::string>{"[ 0] DATA: 0xF000 - 0xF7FF", "[ 1] FLASH: 0x1000 - 0x1FFF",
                                  "[ 2] FLASH: 0x2000 - 0x2FFF", "[ 3] FLASH: 0x8000 - 0xBFFF"}));
    EXPECT_EQ(Checks(model.Banks()), (std::vector<bool>{true, true, true, true}));
}

// Which bank controls are enabled: the combos in start / end mode for more than one bank, the
// list in individual mode.
TEST_F(DeviceProperties, BankControlsFollowTheModeAndTheBankCount) {
    struct Case {
        const char* device;
        bool individual;
        bool combos;
        bool list;
        std::size_t lines;
    } cases[] = {
        {"ND100", false, true, false, 4},
        {"ND100", true, false, true, 4},
        {"ONE", false, false, false, 1},
        {"ONE", true, false, true, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.device) + (c.individual ? " individual" : " start/end"));
        Selection().SelectDeviceByName(c.device);
        Selection().bankSelectMode = c.individual;
        DevicePropertiesModel model = Open();
        EXPECT_EQ(model.StartBanks().enabled, c.combos);
        EXPECT_EQ(model.EndBanks().enabled, c.combos);
        EXPECT_EQ(model.Banks().enabled, c.list);
        EXPECT_EQ(model.Banks().lines.size(), c.lines);
    }
}

TEST_F(DeviceProperties, OpeningBringsTheBanksIntoTheDevice) {
    struct Case {
        int start, end;
        int wantStart, wantEnd;
    } cases[] = {
        {1, 2, 1, 2},  // inside: kept
        {1, 9, 1, 3},  // end beyond the device: its last bank
        {3, 1, 1, 1},  // start above the end: the end bank
        {2, -1, 2, 3}, // end unset: the last bank
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.start) + ".." + std::to_string(c.end));
        Selection().startBank = c.start;
        Selection().endBank = c.end;
        DevicePropertiesModel model = Open();
        EXPECT_EQ(model.Copy().startBank, c.wantStart);
        EXPECT_EQ(model.Copy().endBank, c.wantEnd);
        EXPECT_EQ(CurrentData(model.StartBanks()), c.wantStart);
        EXPECT_EQ(CurrentData(model.EndBanks()), c.wantEnd);
    }
}

TEST_F(DeviceProperties, ChoosingABankMovesTheOtherAndFlagsExactlyTheRange) {
    DevicePropertiesModel model = Open();
    model.ChooseEndBank(Item(model.EndBanks(), 1));
    model.ChooseStartBank(Item(model.StartBanks(), 2)); // above the end: the end follows
    EXPECT_EQ(model.Copy().startBank, 2);
    EXPECT_EQ(model.Copy().endBank, 2);
    EXPECT_EQ(Checks(model.Banks()), (std::vector<bool>{false, false, true, false}));
    model.ChooseEndBank(Item(model.EndBanks(), 0)); // below the start: the start follows
    EXPECT_EQ(model.Copy().startBank, 0);
    EXPECT_EQ(model.Copy().endBank, 0);
    EXPECT_EQ(Checks(model.Banks()), (std::vector<bool>{true, false, false, false}));
    EXPECT_FALSE(model.Copy().bankFlags[2]);
}

TEST_F(DeviceProperties, TheBankListSetsStartAndEndToTheFlaggedBanks) {
    Selection().bankSelectMode = true;
    DevicePropertiesModel model = Open();
    model.ToggleBank(0);
    model.ToggleBank(3);
    EXPECT_EQ(model.Copy().startBank, 1);
    EXPECT_EQ(model.Copy().endBank, 2);
    EXPECT_EQ(CurrentData(model.StartBanks()), 1);
    model.ToggleBank(1);
    model.ToggleBank(2);
    // Every flag cleared: no start and no end bank until one is flagged again.
    EXPECT_EQ(model.Copy().startBank, -1);
    EXPECT_EQ(model.Copy().endBank, -1);
    EXPECT_EQ(model.StartBanks().current, -1);
    EXPECT_EQ(model.EndBanks().current, -1);
    model.ToggleBank(3);
    EXPECT_EQ(model.Copy().startBank, 3);
    EXPECT_EQ(model.Copy().endBank, 3);
    EXPECT_EQ(Checks(model.Banks()), (std::vector<bool>{false, false, false, true}));
}

TEST_F(DeviceProperties, TheBankListIgnoresClicksWhileDisabled) {
    DevicePropertiesModel model = Open(); // start / end mode
    model.ToggleBank(1);
    EXPECT_TRUE(model.Copy().bankFlags[1]);
    model.ChooseIndividualBanks(true);
    EXPECT_TRUE(model.Banks().enabled);
    EXPECT_FALSE(model.StartBanks().enabled);
    model.ToggleBank(1);
    EXPECT_FALSE(model.Copy().bankFlags[1]);
    model.ToggleBank(9); // no such line
    model.ChooseIndividualBanks(false);
    EXPECT_TRUE(model.StartBanks().enabled);
}

// The interface combo by the device's capabilities and the programmer's lists.
TEST_F(DeviceProperties, InterfacesFollowTheDeviceAndTheProgrammer) {
    struct Case {
        const char* name;
        uint8_t parallel, serial, algoS, sif;
        uint16_t hardware;
        bool listsS60A;
        int interface;
        std::vector<std::string> items;
        int wantInterface;
        bool enabled;
    } cases[] = {
        {"socket and serial",
         3,
         3,
         130,
         0,
         510,
         true,
         0,
         {"Parallel (In Socket)", "Serial (In Target)"},
         0,
         true},
        {"socket only", 3, 0, 130, 0, 510, true, 2, {"Parallel (In Socket)"}, 0, false},
        {"S60A on a programmer with S60A",
         0,
         3,
         144,
         12,
         510,
         true,
         1,
         {"Serial (asynchronous)"},
         2,
         false},
        {"S60A without S60A", 0, 3, 144, 12, 510, false, 1, {}, 1, false},
        {"S60 on a fast programmer",
         0,
         3,
         130,
         0,
         600,
         true,
         2,
         {"Serial, synchronous", "Serial, asynchronous"},
         2,
         true},
        {"S60 on a fast programmer without S60A",
         0,
         3,
         130,
         0,
         600,
         false,
         2,
         {"Serial (In Target)"},
         1,
         false},
        {"S60 keeps synchronous", 0, 3, 130, 0, 510, true, 1, {"Serial (In Target)"}, 1, false},
        {"S60 below 1", 0, 3, 130, 0, 510, true, 0, {"Serial (In Target)"}, 1, false},
        {"S60 algorithm on another interface",
         0,
         3,
         130,
         5,
         600,
         true,
         2,
         {"Serial (In Target)"},
         1,
         false},
        {"R8C", 0, 3, 143, 11, 510, true, 2, {"Serial (In Target)"}, 1, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DeviceRecord r = test::Sample("IF");
        r.parallelSupport = c.parallel;
        r.serialSupport = c.serial;
        r.algoS = c.algoS;
        r.sifType = c.sif;
        int index = Add(r);
        ProgrammerStatus status = test::NewProgrammer(c.hardware);
        if (!c.listsS60A) status.supportedAlgorithms = {130, 143};
        SetStatus(status);
        Selection().SelectDevice(index);
        Selection().interface = c.interface;
        DevicePropertiesModel model = Open();
        EXPECT_EQ(Texts(model.Interfaces()), c.items);
        EXPECT_EQ(model.Copy().interface, c.wantInterface);
        EXPECT_EQ(model.Interfaces().enabled, c.enabled);
        EXPECT_EQ(model.Interfaces().current >= 0, !c.items.empty());
    }
}

TEST_F(DeviceProperties, ChoosingAnInterfaceOrSpeedTakesTheItemsData) {
    DeviceRecord r = test::Sample("FAST");
    r.speedSettings = {"Fast", "Medium", "Slow"};
    Selection().SelectDevice(Add(r));
    SetStatus(test::NewProgrammer(600));
    DevicePropertiesModel model = Open();
    model.ChooseInterface(Item(model.Interfaces(), 2));
    model.ChooseSpeed(Item(model.Speeds(), 2));
    EXPECT_EQ(model.Copy().interface, 2);
    EXPECT_EQ(model.Copy().speed, 2);
    model.ChooseSpeed(7); // no such item
    EXPECT_EQ(model.Copy().speed, 2);
}

TEST_F(DeviceProperties, SpeedsAreTheDevicesOwnOrFastAndSlow) {
    DeviceRecord r8c = test::Sample("R8C");
    r8c.sifType = 11;
    r8c.algoS = 143;
    int r8cIndex = Add(r8c);
    struct Case {
        const char* name;
        const char* device;
        uint16_t hardware;
        int speed;
        std::vector<std::string> items;
        int wantSpeed;
    } cases[] = {
        {"own names", "ND100", 510, 1, {"Fast", "Slow"}, 1},
        {"no names", "ONE", 510, 1, {"Fast", "Slow"}, 1},
        {"speed not offered", "ND100", 510, 3, {"Fast", "Slow"}, 0},
        {"R8C on a fast programmer",
         "R8C",
         600,
         5,
         {"500000 Baud", "250000 Baud", "125000 Baud", "55555 Baud", "38400 Baud", "19200 Baud",
          "9600 Baud"},
         5},
    };
    ASSERT_GE(r8cIndex, 0);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SetStatus(test::NewProgrammer(c.hardware));
        Selection().SelectDeviceByName(c.device);
        Selection().speed = c.speed;
        DevicePropertiesModel model = Open();
        EXPECT_EQ(Texts(model.Speeds()), c.items);
        EXPECT_EQ(model.Copy().speed, c.wantSpeed);
        EXPECT_EQ(CurrentData(model.Speeds()), c.wantSpeed);
    }
}

TEST_F(DeviceProperties, ProtectedAreasMakeTheDialogTaller) {
    Selection().SelectDeviceByName("ONE");
    Selection().protectedFlags[1] = true;
    DevicePropertiesModel model = Open();
    EXPECT_TRUE(model.ShowsProtectedAreas());
    EXPECT_EQ(model.Height(), 400);
    EXPECT_EQ(model.ButtonsY(), 340);
    EXPECT_EQ(
        Lines(model.ProtectedAreas()),
        (std::vector<std::string>{"RC calibration: 2 Bytes @ FFDE FFDF", "Key: 1 Bytes @ 1000"}));
    EXPECT_EQ(Checks(model.ProtectedAreas()), (std::vector<bool>{false, true}));
    model.ToggleProtectedArea(0);
    model.ToggleProtectedArea(1);
    EXPECT_EQ(Checks(model.ProtectedAreas()), (std::vector<bool>{true, false}));
    model.DeviceChosen(FindDevice(app->devices, "ND100"));
    EXPECT_FALSE(model.ShowsProtectedAreas());
    EXPECT_EQ(model.Height(), 340);
    EXPECT_EQ(model.ButtonsY(), 280);
}

TEST_F(DeviceProperties, AProtectedAreaLineNeverGrowsBeyondItsBuffer) {
    DeviceRecord r = test::OneBank("LONG");
    r.protectedBlocks = {test::Block(std::string(190, 'n'), {0x1000, 0x1001, 0x1002})};
    Selection().SelectDevice(Add(r));
    DevicePropertiesModel model = Open();
    ASSERT_EQ(model.ProtectedAreas().lines.size(), 1u);
    EXPECT_EQ(model.ProtectedAreas().lines[0].text.size(), 199u);
}

TEST_F(DeviceProperties, AChosenDeviceGetsAllItsBanks) {
    Selection().startBank = 0;
    Selection().endBank = 1;
    DevicePropertiesModel model = Open();
    model.DeviceChosen(FindDevice(app->devices, "ONE"));
    EXPECT_EQ(model.Copy().device, 1);
    EXPECT_EQ(model.Copy().startBank, 0);
    EXPECT_EQ(model.Copy().endBank, 0);
    EXPECT_EQ(Checks(model.Banks()), (std::vector<bool>{true}));
    EXPECT_FALSE(model.Copy().bankFlags[1]);
    EXPECT_EQ(model.DeviceData()[kFieldName], "ONE");
    model.DeviceChosen(99); // not in the table: nothing changes
    EXPECT_EQ(model.Copy().device, 1);
}

TEST_F(DeviceProperties, NothingReachesTheSelectionBeforeCommit) {
    DevicePropertiesModel model = Open();
    model.ChooseStartBank(Item(model.StartBanks(), 2));
    model.DeviceChosen(1);
    EXPECT_EQ(Selection().selected, 0);
    EXPECT_EQ(Selection().startBank, 0);
    EXPECT_TRUE(Selection().bankFlags[0]);
}

TEST_F(DeviceProperties, CommitInStartEndModeDerivesTheFlagsFromTheBanks) {
    Selection().passcodeLength = 9; // the device allows 1..7
    DevicePropertiesModel model = Open();
    model.ChooseIndividualBanks(true);
    model.ToggleBank(0); // flags of the individual list: not what start / end mode commits
    model.ChooseIndividualBanks(false);
    model.ChooseStartBank(Item(model.StartBanks(), 1));
    model.ChooseEndBank(Item(model.EndBanks(), 2));
    model.ChooseSpeed(1);
    model.Commit(Selection());
    EXPECT_FALSE(Selection().bankSelectMode);
    EXPECT_EQ(Selection().startBank, 1);
    EXPECT_EQ(Selection().endBank, 2);
    EXPECT_EQ(Selection().bankFlags[0], false);
    EXPECT_EQ(Selection().bankFlags[1], true);
    EXPECT_EQ(Selection().bankFlags[2], true);
    EXPECT_EQ(Selection().bankFlags[3], false);
    ASSERT_EQ(Selection().programRanges.size(), 1u); // 0x1000 and 0x2000 joined
    EXPECT_EQ(Selection().programRanges[0].start, 0x1000u);
    EXPECT_EQ(Selection().programRanges[0].size, 0x2000u);
    EXPECT_EQ(Selection().speed, 1);
    EXPECT_EQ(Selection().passcodeLength, 1);
    EXPECT_TRUE(ui.boxes.empty());
}

TEST_F(DeviceProperties, CommitInIndividualModeTakesTheFlags) {
    Selection().bankSelectMode = true;
    DevicePropertiesModel model = Open();
    model.ToggleBank(1);
    model.ToggleBank(2);
    model.ToggleProtectedArea(0); // ND100 has no protected block: no line to toggle
    model.Commit(Selection());
    EXPECT_TRUE(Selection().bankSelectMode);
    EXPECT_EQ(Selection().bankFlags[0], true);
    EXPECT_EQ(Selection().bankFlags[1], false);
    EXPECT_EQ(Selection().bankFlags[2], false);
    EXPECT_EQ(Selection().bankFlags[3], true);
    EXPECT_FALSE(Selection().protectedFlags[0]);
    EXPECT_EQ(Selection().programRanges.size(), 2u);
}

TEST_F(DeviceProperties, CommitSelectsTheChosenDeviceAndReportsWhatTheSettersRefuse) {
    DeviceRecord r = test::Sample("MANY");
    r.speedSettings = {"1", "2", "3", "4", "5", "6"};
    int index = Add(r);
    DevicePropertiesModel model = Open();
    model.DeviceChosen(index);
    model.ChooseSpeed(5); // offered by the device, but the selection takes 0..3 only
    model.Commit(Selection());
    EXPECT_EQ(Selection().selected, index);
    EXPECT_EQ(Selection().speed, 0);
    EXPECT_EQ(ui.Messages(),
              (std::vector<std::string>{"Speed was invalid!\r\nPlease check your configuration!"}));
}

} // namespace
} // namespace vantrel
