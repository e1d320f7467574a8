// The device table and the per-device values: replacement in place, the 2000-slot limit, the
// code names, bank numbering over the areas, flash size and the offered speeds.
#include <gtest/gtest.h>

#include "DeviceTestData.h"
#include "device/DeviceCodes.h"
#include "device/DeviceTable.h"
#include "support/FakeUi.h"

namespace vantrel {
namespace {

TEST(DeviceTable, ReplacesADeviceOfTheSameNameInItsSlot) {
    test::FakeUi ui;
    DeviceTable table;
    EXPECT_EQ(AddDevice(ui, table, test::Sample("A")), 0);
    EXPECT_EQ(AddDevice(ui, table, test::Sample("B")), 1);
    auto replacement = test::Sample("A");
    replacement.name = "new";
    EXPECT_EQ(AddDevice(ui, table, replacement), 0);
    EXPECT_EQ(DeviceCount(table), 2);
    EXPECT_EQ(GetDevice(table, 0)->name, "new");
    EXPECT_EQ(FindDevice(table, "B"), 1);
    EXPECT_EQ(FindDevice(table, "b"), -1); // exact names only
    EXPECT_EQ(GetDevice(table, 2), nullptr);
    ClearDeviceTable(table);
    EXPECT_EQ(DeviceCount(table), 0);
    EXPECT_EQ(FindDevice(table, "A"), -1);
}

TEST(DeviceTable, HoldsExactly2000Devices) {
    test::FakeUi ui;
    DeviceTable table;
    for (int i = 0; i < 2000; ++i)
        ASSERT_GE(AddDevice(ui, table, test::Sample(std::to_string(i))), 0);
    EXPECT_TRUE(ui.boxes.empty());
    EXPECT_EQ(AddDevice(ui, table, test::Sample("one more")), -1);
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_EQ(ui.boxes[0].text, "Vantrel");
    EXPECT_EQ(ui.boxes[0].caption, "Too many devices");
    EXPECT_EQ(DeviceCount(table), 2000);
    // A replacement still works in a full table.
    EXPECT_EQ(AddDevice(ui, table, test::Sample("7")), 7);
}

TEST(DeviceTable, CodeNames) {
    EXPECT_STREQ(AlgoPName(134), "P62N");
    EXPECT_STREQ(AlgoSName(134), "Wrong value");
    EXPECT_STREQ(SIFTypeName(8), "Wrong value");
    EXPECT_STREQ(SIFTypeName(13), "SDAQZ");
    EXPECT_STREQ(AlgoSName(146), "SDAQZ");
    EXPECT_EQ(AlgoSByName("ST7X"), 137);
    EXPECT_EQ(AlgoSByName("st7x"), std::nullopt);
    EXPECT_EQ(AlgoSFromCsv("st7x"), 137);
    EXPECT_EQ(AlgoSFromCsv("nonsense"), 0);
    EXPECT_EQ(SIFTypeFromCsv("sda79"), 4);
    EXPECT_EQ(AlgoPFromCsv("p62n"), 134);
    EXPECT_STREQ(IdCheckName(IdCheck::TLCS870), "CheckTLCS870");
    EXPECT_STREQ(IdCheckName(IdCheck::None), "");
    EXPECT_STREQ(InterfaceName(2), "Serial (Asynchronous)");
    EXPECT_STREQ(InterfaceName(3), "");
    EXPECT_STREQ(InterfaceName(4), "???");
    EXPECT_STREQ(BaudRateName(3), "55555 Baud");
    // Every code has one name and the name gives the code back.
    for (int code = 0; code < 256; ++code) {
        auto c = static_cast<uint8_t>(code);
        if (std::string(AlgoSName(c)) != "Wrong value") {
            EXPECT_EQ(AlgoSByName(AlgoSName(c)), c);
        }
        if (std::string(SIFTypeName(c)) != "Wrong value") {
            EXPECT_EQ(SIFTypeByName(SIFTypeName(c)), c);
        }
    }
}

TEST(DeviceTable, BanksAreNumberedOverTheAreasInListOrder) {
    auto d = test::Sample(); // DATA (order 2, one range), then FLASH with three
    EXPECT_EQ(BankCount(d), 4);
    EXPECT_EQ(GetBank(d, 0), (BankRange{0xF000, 0x800}));
    EXPECT_EQ(BankOrder(d, 0), 2);
    EXPECT_EQ(GetBank(d, 3), (BankRange{0x8000, 0x4000}));
    EXPECT_EQ(BankOrder(d, 3), 7);
    EXPECT_EQ(GetBank(d, 4), (BankRange{}));
    EXPECT_EQ(BankOrder(d, -1), -1);
    EXPECT_EQ(FlashSize(d), 0x6000u);
    // Flash size counts the areas of order 7 whatever their names.
    d.areas.push_back(test::Area("OTHER", 7, {{0x20000, 0x100}}));
    d.areas[0].name = "FLASH";
    EXPECT_EQ(FlashSize(d), 0x6100u);
    d.protectedBlocks = {test::Block("a", {1, 2}), test::Block("b", {3})};
    EXPECT_EQ(ProtectedByteCount(d), 3);
}

TEST(DeviceTable, SpeedsOfferedDependOnTheR8CInterfaceAndTheHardware) {
    auto d = test::Sample();
    EXPECT_EQ(SpeedSettingCount(d, 700), 2);
    EXPECT_EQ(SpeedSettingName(d, 700, 1), "Slow");
    EXPECT_EQ(SpeedSettingName(d, 700, 2), "");
    d.sifType = 11;
    EXPECT_EQ(SpeedSettingCount(d, 599), 2);
    EXPECT_EQ(SpeedSettingCount(d, 600), 7);
    EXPECT_EQ(SpeedSettingName(d, 600, 0), "500000 Baud");
    EXPECT_EQ(SpeedSettingName(d, 600, 6), "9600 Baud");
}

} // namespace
} // namespace vantrel
