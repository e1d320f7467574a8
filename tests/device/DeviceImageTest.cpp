// What the device selection asks of the document's image: the CRC over the program ranges
// (recomputed whenever the device, banks, fill byte or external area change), whether the
// image fits the device, and the two passcode commands.
#include <gtest/gtest.h>

#include <functional>

#include "DeviceTestData.h"
#include "app/App.h"
#include "app/CmdLine.h"
#include "app/DeviceSeam.h"
#include "base/Crc16.h"
#include "commands/DeviceCommands.h"
#include "commands/DocumentCommands.h"
#include "commands/PasscodeCommands.h"
#include "device/DeviceImage.h"
#include "device/DeviceSelection.h"
#include "device/ImageView.h"
#include "support/AppFixture.h"
#include "ui/MainWindow.h"

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
        auto other = test::Sample("ND200");
        other.areas = {test::Area("FLASH", 7, {{0x0, 0x2}})};
        AddDevice(ui, app->devices, other);
        app->selection.SelectDeviceByName("ND100");
    }
    void Add(uint32_t address, std::vector<uint8_t> bytes) {
        ASSERT_EQ(app->doc.AddData(address, static_cast<uint32_t>(bytes.size()), bytes.data()),
                  AddResult::Added);
    }
    static uint32_t Kermit(std::vector<uint8_t> bytes) {
        return Crc16Kermit(0, bytes.data(), bytes.size());
    }
};

TEST_F(DeviceImage, CrcOverTheProgramRangesWithFillBytes) {
    Add(0x0, {0x11, 0x22});
    EXPECT_EQ(GetImageCrc(*app), 0u); // no bank selected
    EXPECT_FALSE(app->doc.CrcValid());
    app->selection.SetStartBank(0);
    app->selection.SetEndBank(0);
    EXPECT_EQ(GetImageCrc(*app), Kermit({0x11, 0x22, 0xFF, 0xFF}));
    EXPECT_TRUE(app->doc.CrcValid());
    app->selection.SetFillByte(0x00);
    EXPECT_EQ(GetImageCrc(*app), Kermit({0x11, 0x22, 0x00, 0x00}));
}

// A CRC cached before a change of the selection is never handed out after it.
TEST_F(DeviceImage, EveryChangeOfTheSelectionMakesTheCrcBeComputedAgain) {
    Add(0x0, {0x11, 0x22, 0x33, 0x44});
    Add(0x100, {0x55});
    app->selection.SetStartBank(0);
    app->selection.SetEndBank(0);
    const uint32_t bank0 = Kermit({0x11, 0x22, 0x33, 0x44});
    std::vector<uint8_t> bank1(0x10, 0xFF);
    bank1[0] = 0x55;
    std::vector<uint8_t> both(4 + 0x10, 0xFF); // bank 0, then bank 1
    const uint8_t defined[] = {0x11, 0x22, 0x33, 0x44, 0x55};
    std::copy(std::begin(defined), std::end(defined), both.begin());

    auto zeroFilled = [](std::vector<uint8_t> b, std::size_t from) {
        std::fill(b.begin() + static_cast<std::ptrdiff_t>(from), b.end(), 0x00);
        return b;
    };
    struct Case {
        const char* change;
        std::function<void()> apply;
        uint32_t crc;
    } cases[] = {
        {"device", [&] { app->selection.SelectDeviceByName("ND200"); }, Kermit({0x11, 0x22})},
        {"device by index", [&] { app->selection.SelectDevice(0); }, bank0},
        {"end bank", [&] { app->selection.SetEndBank(1); }, Kermit(both)},
        {"fill byte", [&] { app->selection.SetFillByte(0x00); }, Kermit(zeroFilled(both, 5))},
        {"start bank", [&] { app->selection.SetStartBank(1); }, Kermit(zeroFilled(bank1, 1))},
    };
    GetImageCrc(*app);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.change);
        ASSERT_TRUE(app->doc.CrcValid());
        c.apply();
        EXPECT_EQ(GetImageCrc(*app), c.crc);
    }
    // The external area is one more bank behind the device's.
    CMDLINE_Init(*app, "VANTREL", "Vantrel.err", cmd::kExit, nullptr);
    ASSERT_TRUE(app->doc.CrcValid());
    ParamReader reader = CMDLINE_ParamReader(*app, "200,10");
    DEVICE_BatchSetArea(*app, reader);
    EXPECT_FALSE(app->doc.CrcValid());
}

TEST_F(DeviceImage, AreasInsideDevice) {
    app->selection.SelectAllBanks();
    EXPECT_TRUE(AreasInsideDevice(*app)); // empty image
    Add(0x0, {1, 2, 3, 4});
    Add(0x104, std::vector<uint8_t>(12, 0));
    EXPECT_TRUE(AreasInsideDevice(*app));
    Add(0x4, {5}); // joins the first area, which now runs past its range
    EXPECT_FALSE(AreasInsideDevice(*app));
}

TEST_F(DeviceImage, PasscodeCommands) {
    app->selection.passcodeLength = 3;
    app->selection.passcode = {0xA1, 0xA2, 0xA3};
    using W = std::vector<std::pair<uint32_t, uint8_t>>;
    // ID byte 1 has address 0 and is left out; the length goes to the ID length address.
    EXPECT_EQ(PasscodeImageWrites(app->selection), (W{{0x100, 0xA1}, {0x102, 0xA3}, {0x10F, 3}}));

    MemoryImage memory;
    const uint8_t byte = 0x5A;
    ASSERT_TRUE(memory.Insert(0x100, &byte, 1));
    SetPasscodeFromImage(app->selection, ImageView(memory));
    EXPECT_EQ(app->selection.passcode[0], 0x5A);
    EXPECT_EQ(app->selection.passcode[1], 0xA2);
    EXPECT_EQ(app->selection.passcode[2], 0xFF); // nothing loaded there: the fill byte
    EXPECT_EQ(app->selection.passcodeLength, 3);
}

// The Edit menu's commands on the document: enabled only with an image and a device that
// takes a passcode; they write and read the image and repaint.
TEST_F(DeviceImage, PasscodeMenuCommandsOnTheDocument) {
    app->mainWindow = std::make_unique<MainWindow>(*app);
    RegisterDocumentCommands(*app);
    app->selection.passcodeLength = 3;
    app->selection.passcode = {0xA1, 0xA2, 0xA3};

    app->mainWindow->OnCommand(cmd::kCopyPasscode); // no image: disabled, nothing happens
    EXPECT_TRUE(app->doc.Lock()->Empty());
    EXPECT_FALSE(DocumentCommandEnabled(*app, cmd::kCopyPasscode));

    Add(0x100, {0x00, 0x00, 0x00});
    ASSERT_TRUE(DocumentCommandEnabled(*app, cmd::kSetPasscode));
    app->pm.SetImageDirty(false);
    int repaints = ui.repaints;
    app->mainWindow->OnCommand(cmd::kCopyPasscode);
    {
        LockedImage image = app->doc.Lock();
        EXPECT_EQ(image->GetByte(0x100, 0), 0xA1);
        EXPECT_EQ(image->GetByte(0x101, 0), 0x00); // ID byte 1 has no address
        EXPECT_EQ(image->GetByte(0x102, 0), 0xA3);
        EXPECT_EQ(image->GetByte(0x10F, 0), 3); // a new byte: the programmer must get it too
        EXPECT_TRUE(image.IsEdited(0x10F));
    }
    EXPECT_TRUE(app->pm.ImageDirty());
    EXPECT_GT(ui.repaints, repaints);

    Add(0x200, {0}); // outside the device, read by no command
    app->doc.SetByte(0x100, 0x77);
    app->selection.passcode = {};
    repaints = ui.repaints;
    app->mainWindow->OnCommand(cmd::kSetPasscode);
    EXPECT_EQ(app->selection.passcode[0], 0x77);
    EXPECT_EQ(app->selection.passcode[1], 0x00); // no address: left as it was
    EXPECT_EQ(app->selection.passcode[2], 0xA3);
    EXPECT_EQ(app->selection.passcodeLength, 3);
    EXPECT_GT(ui.repaints, repaints);

    // A device without a passcode disables both.
    auto plain = test::Sample("ND300");
    plain.idLenMin = plain.idLenMax = 0;
    AddDevice(ui, app->devices, plain);
    app->selection.SelectDeviceByName("ND300");
    EXPECT_FALSE(DocumentCommandEnabled(*app, cmd::kSetPasscode));
    app->mainWindow->OnCommand(cmd::kSetPasscode);
    EXPECT_EQ(app->selection.passcode[0], 0x77);
}

} // namespace
} // namespace vantrel
