// The device selection: every setter with its accepted values, its replacement and its message,
// the program ranges with their join rule and queries, the effective codes and the ID values.
#include <gtest/gtest.h>

#include <functional>

#include "DeviceTestData.h"
#include "app/App.h"
#include "base/Reporter.h"
#include "device/DeviceSelection.h"
#include "device/ImageView.h"
#include "image/MemoryImage.h"
#include "support/AppFixture.h"

namespace vantrel {
namespace {

class Selection : public test::AppFixture {
  protected:
    void SetUp() override {
        AddDevice(ui, app->devices, test::Sample("ND100"));
        auto r8c = test::Sample("NR8C");
        r8c.sifType = 11;
        r8c.algoS = 143;
        AddDevice(ui, app->devices, r8c);
    }
    std::vector<std::string> Messages() {
        std::vector<std::string> texts;
        for (const auto& b : ui.boxes)
            texts.push_back(b.text);
        return texts;
    }
};

TEST_F(Selection, SelectByNameIsExactAndAppliesThePasscodeLengthRule) {
    app->selection.passcodeLength = 9; // the device allows 1..7
    EXPECT_EQ(app->selection.SelectDeviceByName("NR8C"), 0);
    EXPECT_EQ(app->selection.selected, 1);
    EXPECT_TRUE(app->selection.deviceKnown);
    EXPECT_EQ(app->selection.passcodeLength, 1);

    EXPECT_EQ(app->selection.SelectDeviceByName("nr8c"), 1);
    EXPECT_EQ(app->selection.selected, 0);
    EXPECT_FALSE(app->selection.deviceKnown);
    EXPECT_EQ(Messages(), std::vector<std::string>{"The devicename 'nr8c' was unknown.\r\nPlease "
                                                   "check your configuration!\r\n"});
    EXPECT_EQ(app->lastErrorCode, 211);

    ui.boxes.clear();
    EXPECT_EQ(app->selection.SelectDeviceByName("NR8C"), 0);
    EXPECT_EQ(app->selection.SelectDeviceByName(""), 1); // device 0, no message
    EXPECT_EQ(app->selection.selected, 0);
    EXPECT_TRUE(ui.boxes.empty());
}

TEST_F(Selection, SettersAcceptOrReplaceWithTheirMessage) {
    struct Case {
        const char* device;
        int (DeviceSelection::*setter)(int32_t);
        int32_t value;
        int32_t DeviceSelection::*field;
        int32_t stored;
        const char* message; // nullptr: accepted
    };
    const char* kSpeed = "Speed was invalid!\r\nPlease check your configuration!";
    const Case cases[] = {
        {"ND100", &DeviceSelection::SetInterface, 14, &DeviceSelection::interface, 14, nullptr},
        {"ND100", &DeviceSelection::SetInterface, 15, &DeviceSelection::interface, 0,
         "Interface was invalid!\r\nPlease check your configuration!"},
        {"ND100", &DeviceSelection::SetInterface, -1, &DeviceSelection::interface, 0,
         "Interface was invalid!\r\nPlease check your configuration!"},
        {"ND100", &DeviceSelection::SetSpeed, 3, &DeviceSelection::speed, 3, nullptr},
        {"ND100", &DeviceSelection::SetSpeed, 5, &DeviceSelection::speed, 0, kSpeed},
        {"NR8C", &DeviceSelection::SetSpeed, 6, &DeviceSelection::speed, 6, nullptr},
        {"NR8C", &DeviceSelection::SetSpeed, 7, &DeviceSelection::speed, 0, kSpeed},
        {"NR8C", &DeviceSelection::SetSpeed, -1, &DeviceSelection::speed, 0, kSpeed},
        {"ND100", &DeviceSelection::SetFillByte, 0x1FF, &DeviceSelection::fillByte, 0x1FF, nullptr},
        {"ND100", &DeviceSelection::SetFillByte, 0x10000, &DeviceSelection::fillByte, 0x10000,
         nullptr},
        {"ND100", &DeviceSelection::SetFillByte, 0x200, &DeviceSelection::fillByte, 0x1FF,
         "Fillbyte invalid!\r\nPlease check your configuration!"},
        {"ND100", &DeviceSelection::SetStartBank, 3, &DeviceSelection::startBank, 3, nullptr},
        {"ND100", &DeviceSelection::SetStartBank, 4, &DeviceSelection::startBank, 0,
         "Startbank was invalid!\r\nPlease check Device options!"},
        {"ND100", &DeviceSelection::SetEndBank, 3, &DeviceSelection::endBank, 3, nullptr},
        {"ND100", &DeviceSelection::SetEndBank, 4, &DeviceSelection::endBank, 3,
         "Endbank was invalid!\r\nPlease check Device options!"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.device) + " " + std::to_string(c.value));
        ui.boxes.clear();
        DeviceSelection fresh(app->devices, app->reporter); // each case from the start state
        fresh.SelectDeviceByName(c.device);
        EXPECT_EQ((fresh.*c.setter)(c.value), c.message ? 1 : 0);
        EXPECT_EQ(fresh.*c.field, c.stored);
        EXPECT_EQ(Messages(),
                  c.message ? std::vector<std::string>{c.message} : std::vector<std::string>{});
    }
    // An end bank below the start bank becomes the last bank.
    app->selection.SetStartBank(2);
    EXPECT_EQ(app->selection.SetEndBank(1), 1);
    EXPECT_EQ(app->selection.endBank, 3);
}

TEST_F(Selection, BankSettersWithAnEmptyTableChangeNothing) {
    ClearDeviceTable(app->devices);
    app->selection.startBank = 5;
    EXPECT_EQ(app->selection.SetStartBank(0), 1);
    EXPECT_EQ(app->selection.SetEndBank(0), 1);
    EXPECT_EQ(app->selection.startBank, 5);
    EXPECT_TRUE(ui.boxes.empty());
    EXPECT_EQ(app->selection.EffectiveAlgoS(), 0);
    EXPECT_EQ(app->selection.BankTotal(), 0);
}

TEST_F(Selection, BankFlagsAndProgramRanges) {
    app->selection.SelectDeviceByName(
        "ND100"); // banks: F000+800 (order 2), 1000+1000, 2000+1000, 8000+4000
    app->selection.SelectAllBanks();
    EXPECT_EQ(app->selection.programRanges,
              (ProgramRanges{{0x1000, 0x2000}, {0x8000, 0x4000}, {0xF000, 0x800}}));
    EXPECT_EQ(app->selection.SelectedBankCount(), 4);
    EXPECT_EQ(app->selection.SelectedBanksLowestStart(), 0x1000u);
    EXPECT_EQ(app->selection.SelectedBanksHighestEnd(), 0xF7FFu);
    EXPECT_EQ(app->selection.SelectedBanksSize(), 0x6800u);

    app->selection.SetStartBank(2);
    EXPECT_EQ(app->selection.programRanges, (ProgramRanges{{0x2000, 0x1000}, {0x8000, 0x4000}}));
    app->selection.SetEndBank(2);
    EXPECT_EQ(app->selection.programRanges, (ProgramRanges{{0x2000, 0x1000}}));
    EXPECT_FALSE(app->selection.bankFlags[1]);
    EXPECT_FALSE(app->selection.bankFlags[3]);

    // Individual bank mode: start and end bank leave the flags alone.
    app->selection.bankSelectMode = true;
    app->selection.bankFlags = {};
    app->selection.bankFlags[0] = app->selection.bankFlags[3] = true;
    app->selection.SetStartBank(1);
    EXPECT_EQ(app->selection.programRanges, (ProgramRanges{{0x8000, 0x4000}, {0xF000, 0x800}}));

    // The additional range is one more bank of order 7, but no program range.
    app->selection.additional = {0x100000, 0x100};
    EXPECT_EQ(app->selection.BankTotal(), 5);
    EXPECT_EQ(app->selection.SelectionBankOrder(4), 7);
    app->selection.bankFlags[4] = true;
    app->selection.RebuildProgramRanges();
    EXPECT_EQ(app->selection.programRanges.size(), 2u);
    EXPECT_EQ(app->selection.SelectedBanksSize(), 0x4900u);
}

// The selection needs only the table and the reporting seam; it tells its owner of every
// change that touches the image CRC (device, banks, fill byte, external area), and of no other.
TEST(SelectionAlone, ReportsThroughTheSeamAndCallsTheHookOnEveryChange) {
    struct Recorder : Reporter {
        std::vector<std::pair<int32_t, std::string>> reports;
        using Reporter::Report;
        void Report(int32_t code, const char* text) override {
            reports.emplace_back(code, text ? text : "");
        }
    } reporter;
    test::FakeUi ui;
    DeviceTable table;
    AddDevice(ui, table, test::Sample("ND100"));
    AddDevice(ui, table, test::Sample("ND200"));
    DeviceSelection s(table, reporter);
    int changes = 0;
    s.SetChangeHook([&changes] { ++changes; });

    struct Case {
        const char* name;
        std::function<void()> change;
        bool marksStale;
    } cases[] = {
        {"device by name", [&] { s.SelectDeviceByName("ND200"); }, true},
        {"unknown device", [&] { s.SelectDeviceByName("ND300"); }, true},
        {"device by index", [&] { s.SelectDevice(1); }, true},
        {"start bank", [&] { s.SetStartBank(1); }, true},
        {"end bank", [&] { s.SetEndBank(2); }, true},
        {"all banks", [&] { s.SelectAllBanks(); }, true},
        {"bank flag", [&] { s.SetBankFlag(3, false); }, true},
        {"program ranges", [&] { s.RebuildProgramRanges(); }, true},
        {"fill byte", [&] { s.SetFillByte(0x00); }, true},
        {"invalid fill byte", [&] { s.SetFillByte(0x200); }, true},
        {"external area", [&] { s.SetExternalArea(0x100000, 0x100); }, true},
        {"interface", [&] { s.SetInterface(2); }, false},
        {"speed", [&] { s.SetSpeed(1); }, false},
        {"index outside the table", [&] { s.SelectDevice(2); }, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        changes = 0;
        c.change();
        EXPECT_EQ(changes > 0, c.marksStale);
    }
    using Reports = std::vector<std::pair<int32_t, std::string>>;
    EXPECT_EQ(reporter.reports,
              (Reports{{211, "The devicename 'ND300' was unknown.\r\nPlease check your "
                             "configuration!\r\n"},
                       {211, "Fillbyte invalid!\r\nPlease check your configuration!"}}));
}

TEST(ProgramRangesRules, InsertAndJoin) {
    struct Case {
        std::vector<BankRange> inserted;
        ProgramRanges expected;
    };
    const Case cases[] = {
        {{{0x1000, 0x1000}, {0x2000, 0x1000}}, {{0x1000, 0x2000}}},
        {{{0x2000, 0x1000}, {0x1000, 0x1000}}, {{0x1000, 0x2000}}},
        {{{0x1000, 0x100}, {0x3000, 0x100}, {0x1100, 0x1F00}}, {{0x1000, 0x2100}}},
        {{{0x3000, 0x100}, {0x1000, 0x100}, {0x2000, 0x100}},
         {{0x1000, 0x100}, {0x2000, 0x100}, {0x3000, 0x100}}},
        {{{0xFFFFFF00, 0x100}, {0, 0x100}}, {{0, 0x100}, {0xFFFFFF00, 0x100}}},
    };
    for (const auto& c : cases) {
        ProgramRanges ranges;
        for (const auto& r : c.inserted)
            InsertProgramRange(ranges, r.start, r.size);
        EXPECT_EQ(ranges, c.expected);
    }
}

TEST(ProgramRangesRules, Queries) {
    ProgramRanges ranges{{0x1000, 0x100}, {0x2000, 0x100}};
    EXPECT_TRUE(InProgramRanges(ranges, 0x1000, 0x100));
    EXPECT_FALSE(InProgramRanges(ranges, 0x10FF, 2));
    EXPECT_FALSE(InProgramRanges(ranges, 0x1100, 1));
    EXPECT_EQ(ProgramRangesSize(ranges), 0x200u);
    EXPECT_EQ(ProgramRangesOffset(ranges, 0x2010), 0x110u);
    EXPECT_EQ(ProgramRangesOffset(ranges, 0x1800), 0u);
    EXPECT_EQ(NextProgramAddress(ranges, 0x1100), 0x2000u);
    EXPECT_EQ(NextProgramAddress(ranges, 0x1050), 0x1050u);
    EXPECT_EQ(NextProgramAddress(ranges, 0x2100), std::nullopt);
    // offset / (total / 100): 0x100 / 5, and 0x1FF / 5 held to 100.
    EXPECT_EQ(ProgramProgressPercent(ranges, 0x2000), 51);
    EXPECT_EQ(ProgramProgressPercent(ranges, 0x20FF), 100);
    EXPECT_EQ(ProgramProgressPercent(ProgramRanges{{0, 99}}, 50), 0);
}

TEST_F(Selection, ProtectedBytesOfTheSelectedBlocks) {
    auto d = test::Sample("PB");
    d.protectedBlocks = {test::Block("a", {0x30, 0x10}), test::Block("b", {0x50}),
                         test::Block("c", {0x20, 0x05})};
    AddDevice(ui, app->devices, d);
    app->selection.SelectDeviceByName("PB");
    app->selection.protectedFlags[0] = app->selection.protectedFlags[2] = true;
    EXPECT_EQ(app->selection.SelectedProtectedCount(), 4);
    EXPECT_EQ(app->selection.SelectedProtectedAddress(2), 0x20u);
    std::vector<uint32_t> sorted;
    for (int i = 0; i < 5; ++i)
        sorted.push_back(app->selection.SortedProtectedAddress(i));
    EXPECT_EQ(sorted, (std::vector<uint32_t>{0x05, 0x10, 0x20, 0x30, 0}));
}

TEST_F(Selection, EffectiveCodesFollowTheInterface) {
    app->selection.SelectDeviceByName("ND100"); // S60 / S60
    const std::tuple<int, int, int> cases[] = {
        {0, 130, 0}, {1, 130, 0}, {2, 144, 12}, {3, 147, 14}, {4, 0, 0}};
    for (auto [interface, algo, sif] : cases) {
        app->selection.interface = interface;
        EXPECT_EQ(app->selection.EffectiveAlgoS(), algo) << interface;
        EXPECT_EQ(app->selection.EffectiveSIFType(), sif) << interface;
    }
    app->selection.SelectDeviceByName("NR8C");
    app->selection.interface = 2;
    EXPECT_EQ(app->selection.EffectiveAlgoS(), 143);
    EXPECT_EQ(app->selection.EffectiveSIFType(), 11);
}

TEST_F(Selection, IdValuesAndToshibaAddresses) {
    auto t = test::Sample("T91");
    t.algoS = 140;
    t.idRangeFirst = 0x1000;
    t.idRangeLast = 0x1FFF;
    t.constIdData = {0xAA, 0xBB};
    t.areas = {test::Area("FLASH", 7, {{0x0, 0x10000}})};
    AddDevice(ui, app->devices, t);
    app->selection.SelectDeviceByName("T91");
    app->selection.toshibaIdAddress = 0x2000; // above the range: reset to its first address
    EXPECT_EQ(app->selection.IdByteAddress(3), 0x1003u);
    EXPECT_EQ(app->selection.toshibaIdAddress, 0x1000u);
    app->selection.toshibaIdLengthAddress = 0x1800;
    EXPECT_EQ(app->selection.IdLengthAddress(), 0x1800u);
    app->selection.passcodeLength = 2;
    app->selection.passcode = {1, 2, 3};
    EXPECT_EQ(app->selection.IdData(), (std::vector<uint8_t>{0xAA, 0xBB, 1, 2}));
    EXPECT_EQ(app->selection.BlankSum(), static_cast<uint16_t>((0x10000u * 255u) % 65536u));

    app->selection.SelectDeviceByName("ND100");
    EXPECT_EQ(app->selection.IdByteAddress(6), 0xFFFBu);
    EXPECT_EQ(app->selection.IdByteAddress(7), 0u);
    EXPECT_EQ(app->selection.BlankSum(), 0);
    ImageView empty;
    EXPECT_EQ(app->selection.IdLengthValue(empty), 7); // no IDLenAdr: IDLenMax
}

TEST(ImageViewOfTheImage, HoldsBytesOnlyWhereTheImageDoes) {
    MemoryImage memory;
    const uint8_t a[] = {0x11, 0x22};
    const uint8_t b[] = {0x33};
    ASSERT_TRUE(memory.Insert(0x0, a, 2));
    ASSERT_TRUE(memory.Insert(0x10, b, 1));
    ImageView image(memory);
    EXPECT_EQ(image.At(0x1), 0x22);
    EXPECT_EQ(image.At(0x10), 0x33);
    EXPECT_EQ(image.At(0x2), std::nullopt);  // in the gap
    EXPECT_EQ(image.At(0x11), std::nullopt); // behind the last area
    EXPECT_EQ(image.ByteOr(2, 0x5A), 0x5A);
    EXPECT_EQ(ImageView().At(0), std::nullopt);
}

} // namespace
} // namespace vantrel
