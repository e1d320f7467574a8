// The target configuration byte for byte: a plain serial device with protected addresses, banks
// out of address order and chip specifics; a TOSHIBA device with its passcode group; no device;
// and the 250-byte limit.
#include <gtest/gtest.h>

#include "../device/DeviceTestData.h"
#include "base/Reporter.h"
#include "device/DeviceCodes.h"
#include "device/DeviceSelection.h"
#include "device/DeviceTable.h"
#include "link/TargetConfig.h"
#include "settings/ProgramOptions.h"

namespace vantrel {
namespace {

class SilentReporter : public Reporter {
  public:
    void Report(int32_t, const char*) override {}
};

class TargetConfig : public ::testing::Test {
  protected:
    void Use(DeviceRecord record) {
        table.index[record.device] = static_cast<int>(table.records.size());
        table.records.push_back(std::move(record));
        selection.SelectDevice(0);
    }
    std::vector<uint8_t> Build(uint32_t session = 0) {
        std::string reason;
        auto bytes = BuildTargetConfig(selection, options, session, reason);
        EXPECT_TRUE(bytes.has_value()) << reason;
        EXPECT_EQ(reason, "");
        return bytes.value_or(std::vector<uint8_t>{});
    }

    DeviceTable table;
    SilentReporter reporter;
    DeviceSelection selection{table, reporter};
    ProgramOptions options;
};

TEST_F(TargetConfig, SerialDeviceWithOffsetProtectedAddressesAndChipSpecifics) {
    DeviceRecord d = test::Sample(); // banks: 0 DATA 0xF000, 1..3 flash 0x1000, 0x2000, 0x8000
    d.flashOffset = 0x10000;
    d.algoP = 5;
    d.vpp = 50;
    d.bootSelect = 3;
    d.constIdData = {0xA1, 0xA2};
    d.chipSpecifics = {0xC1, 0xC2, 0xC3};
    d.protectedBlocks = {test::Block("P0", {0x1200, 0x1100}), test::Block("P1", {0x8000}),
                         test::Block("P2", {0x2000})};
    Use(d);
    selection.interface = 1;
    selection.speed = 2;
    selection.bankFlags[0] = selection.bankFlags[1] = selection.bankFlags[3] = true;
    selection.protectedFlags[0] = selection.protectedFlags[1] = true;
    selection.passcodeLength = 2;
    selection.passcode[0] = 0x11;
    selection.passcode[1] = 0x22;
    selection.fillByte = 0x1A5;
    options.enableAC = true;
    options.enableVBP = false;
    options.clearOnDemand = true;

    const std::vector<uint8_t> expected = {
        0x00, 0x10, 0x01, 0x00,       // lowest start + offset
        0xFF, 0xF7, 0x01, 0x00,       // highest end + offset
        0x21,                         // speed 2, interface 1
        0x00, 130,  5,    50,         // SIFType, AlgoS, AlgoP, Vpp
        0x05,                         // EnableAC, ClearOnDemand
        4,    0xA1, 0xA2, 0x11, 0x22, // ID bytes, then passcode
        0x00,                         //
        0x78, 0x56, 0x34, 0x12,       // session field
        0xA5, 3,                      // fill byte, BootSelect
        3,                            // protected, ascending
        0x00, 0x11, 0x01, 0x00, 0x00, 0x12, 0x01, 0x00, 0x00, 0x80, 0x01, 0x00,
        3,                                                    // banks, ascending by start
        0x07, 0x00, 0x10, 0x01, 0x00, 0x00, 0x10, 0x00, 0x00, // flash 0x1000
        0x07, 0x00, 0x80, 0x01, 0x00, 0x00, 0x40, 0x00, 0x00, // flash 0x8000
        0x12, 0x00, 0xF0, 0x01, 0x00, 0x00, 0x08, 0x00, 0x00, // data (kind 1, order 2) 0xF000
        130,                                                  // algorithm again
        3,    0xC1, 0xC2, 0xC3,                               // chip specifics
        0x00};
    EXPECT_EQ(Build(0x12345678), expected);
}

TEST_F(TargetConfig, ToshibaDeviceSendsItsPasscodeGroup) {
    DeviceRecord d = test::Sample("NT8");
    d.algoS = kAlgoT8;
    d.idRangeFirst = 0x3F00;
    d.idRangeLast = 0x3FFF;
    Use(d);
    selection.interface = 1;
    for (int bank = 0; bank < 4; ++bank)
        selection.bankFlags[static_cast<std::size_t>(bank)] = true;
    selection.passcodeLength = 0;
    selection.toshibaIdLengthAddress = 0x3F10;
    selection.toshibaIdAddress = 0x5000; // outside the ID range: its first address is sent

    const std::vector<uint8_t> expected = {
        0x00, 0x10, 0x00, 0x00, 0xFF, 0xF7, 0x00, 0x00,       // banks 0x1000..0xF7FF
        0x01, 0x00, 139,  0x00, 0x00,                         // interface 1, T8
        0x82,                                                 // EnableVBP, all banks selected
        0,    0x00, 0x00, 0x00, 0x00, 0x00,                   // no ID bytes, no session
        0xFF, 0x00, 0,                                        // fill byte, BootSelect, protected
        4,                                                    //
        0x07, 0x00, 0x10, 0x00, 0x00, 0x00, 0x10, 0x00, 0x00, //
        0x07, 0x00, 0x20, 0x00, 0x00, 0x00, 0x10, 0x00, 0x00, //
        0x07, 0x00, 0x80, 0x00, 0x00, 0x00, 0x40, 0x00, 0x00, //
        0x12, 0x00, 0xF0, 0x00, 0x00, 0x00, 0x08, 0x00, 0x00, //
        139,                                                  // algorithm again
        0x10, 0x3F, 0x00, 0x00,                               // passcode-length address
        0x00, 0x3F, 0x00, 0x00,                               // passcode-data address
        0x00, 0xA0, 0x00, 0x00,                               // 0x6000 * 255 mod 65536
        0x01,                                                 // EnablePasscode
        0x00};
    EXPECT_EQ(Build(), expected);
}

TEST_F(TargetConfig, WithoutADeviceTheBankGroupIsAbsent) {
    const std::vector<uint8_t> expected = {0,    0, 0, 0, 0, 0, 0, 0,    0x00, 0, 0, 0, 0,
                                           0x02, 0, 0, 1, 0, 0, 0, 0xFF, 0,    0, 0, 0};
    EXPECT_EQ(Build(1), expected);
}

TEST_F(TargetConfig, LongerThan250BytesIsRefused) {
    // 40 protected addresses fill 160 bytes; the chip specifics bring the total to the limit.
    DeviceRecord d = test::Sample();
    std::vector<uint32_t> addresses;
    for (uint32_t a = 0; a < 40; ++a)
        addresses.push_back(0x1000 + a);
    for (std::size_t b = 0; b < 3; ++b)
        d.protectedBlocks.push_back(test::Block(
            "P", std::vector<uint32_t>(
                     addresses.begin() + static_cast<std::ptrdiff_t>(16 * b),
                     addresses.begin() +
                         static_cast<std::ptrdiff_t>(std::min<std::size_t>(40, 16 * (b + 1))))));
    Use(d);
    selection.SelectAllBanks();
    selection.protectedFlags[0] = selection.protectedFlags[1] = selection.protectedFlags[2] = true;
    const std::size_t base = Build().size();
    ASSERT_LT(base, kMaxTargetConfigSize - 1);
    const std::size_t fitting = kMaxTargetConfigSize - base - 1; // one count byte, then the bytes

    table.records[0].chipSpecifics.assign(fitting, 0xEE);
    EXPECT_EQ(Build().size(), kMaxTargetConfigSize);

    table.records[0].chipSpecifics.assign(fitting + 1, 0xEE);
    std::string reason;
    EXPECT_EQ(BuildTargetConfig(selection, options, 0, reason), std::nullopt);
    EXPECT_EQ(reason,
              "The target configuration would be 251 bytes long, the programmer takes at most "
              "250: select fewer banks or protected blocks.");
}

} // namespace
} // namespace vantrel
