// What the device selection asks of the image: the CRC over the program ranges, whether the
// image fits the device, and the two passcode commands.
#include <gtest/gtest.h>

#include "DeviceTestData.h"
#include "app/App.h"
#include "device/DeviceImage.h"
#include "device/DeviceSelection.h"
#include "device/ImageView.h"
#include "support/AppFixture.h"

namespace vantrel {
namespace {

class DeviceImage : public test::AppFixture {
  protected:
    void SetUp() override {
        auto d = test::Sample("ND100");
        d.areas = {test::Area("FLASH", 7, {{0x0, 0x4}, {0x100, 0x10}})};
        d.idAddresses = {0x100, 0, 0x102};
        d.idLenAdr = 0x10F;
        AddDevice(ui, app->devices, d);
        SelectDeviceByName(*app, "ND100");
    }
};

TEST_F(DeviceImage, CrcOverTheProgramRangesWithFillBytes) {
    const uint8_t bytes[] = {0x11, 0x22};
    std::vector<ImageBytes> runs{{0x0, bytes}};
    ImageView image(runs);
    EXPECT_EQ(DeviceImageCrc(*app, image), 0u); // no bank selected
    EXPECT_FALSE(ImageCrcComputable(*app));
    SetStartBank(*app, 0);
    SetEndBank(*app, 0);
    const uint8_t expected[] = {0x11, 0x22, 0xFF, 0xFF};
    EXPECT_EQ(DeviceImageCrc(*app, image), Crc16Kermit(0, expected));
    SetFillByte(*app, 0x00);
    const uint8_t zeroFilled[] = {0x11, 0x22, 0x00, 0x00};
    EXPECT_EQ(DeviceImageCrc(*app, image), Crc16Kermit(0, zeroFilled));
}

TEST_F(DeviceImage, AreasInsideDevice) {
    SelectAllBanks(*app);
    const uint8_t bytes[16] = {};
    std::vector<ImageBytes> inside{{0x0, std::span(bytes, 4)}, {0x104, std::span(bytes, 12)}};
    std::vector<ImageBytes> across{{0x0, std::span(bytes, 5)}};
    EXPECT_TRUE(AreasInsideDevice(*app, ImageView(inside)));
    EXPECT_FALSE(AreasInsideDevice(*app, ImageView(across)));
    EXPECT_TRUE(AreasInsideDevice(*app, ImageView()));
}

TEST_F(DeviceImage, PasscodeCommands) {
    app->selection.passcodeLength = 3;
    app->selection.passcode = {0xA1, 0xA2, 0xA3};
    using W = std::vector<std::pair<uint32_t, uint8_t>>;
    // ID byte 1 has address 0 and is left out; the length goes to the ID length address.
    EXPECT_EQ(PasscodeImageWrites(*app), (W{{0x100, 0xA1}, {0x102, 0xA3}, {0x10F, 3}}));

    const uint8_t bytes[] = {0x5A};
    std::vector<ImageBytes> runs{{0x100, bytes}};
    SetPasscodeFromImage(*app, ImageView(runs));
    EXPECT_EQ(app->selection.passcode[0], 0x5A);
    EXPECT_EQ(app->selection.passcode[1], 0xA2);
    EXPECT_EQ(app->selection.passcode[2], 0xFF); // nothing loaded there: the fill byte
    EXPECT_EQ(app->selection.passcodeLength, 3);
}

} // namespace
} // namespace vantrel
