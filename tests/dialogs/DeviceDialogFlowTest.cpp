// Opening and closing the device properties dialog: no devices, OK and Cancel with the
// supported-device question, and the Select Device dialog it opens. Also the value formats both
// dialogs use.
#include <gtest/gtest.h>

#include "DeviceDialogFixture.h"
#include "device/DeviceTable.h"
#include "dialogs/DeviceDialogFlow.h"
#include "dialogs/DeviceValueText.h"

namespace vantrel {
namespace {

TEST(DeviceValueText, SizesAndVoltages) {
    struct Size {
        uint32_t bytes;
        const char* text;
    } sizes[] = {{0, ""},
                 {0x8000, "32 KB"},
                 {1000, "1000 Bytes"},
                 {1024, "1 KB"},
                 {0x4000400, "1 KB"}, // 65537 KB: the count is kept to 16 bits
                 {1025, "1025 Bytes"}};
    for (const Size& s : sizes)
        EXPECT_EQ(DeviceSizeText(s.bytes), s.text) << s.bytes;
    struct Voltage {
        uint8_t tenths;
        const char* text;
    } voltages[] = {{0, ""}, {33, "3.3V"}, {50, "5V"}, {120, "12V"}, {5, "0.5V"}, {255, "25.5V"}};
    for (const Voltage& v : voltages)
        EXPECT_EQ(DeviceVoltageText(v.tenths), v.text) << int{v.tenths};
    DeviceRecord device;
    device.vMin = 27;
    device.vMax = 55;
    EXPECT_EQ(DeviceSupplyText(device), "2.7V - 5.5V");
    device.vMax = 27;
    EXPECT_EQ(DeviceSupplyText(device), "2.7V");
}

class DeviceDialogFlow : public test::DeviceDialogFixture {
  protected:
    void SetUp() override {
        SetStatus(test::NewProgrammer());
        Add(test::Sample("ND100"));
        DeviceRecord unsupported = test::OneBank("OLD");
        unsupported.algoS = 135;
        Add(unsupported);
        Selection().SelectDeviceByName("ND100");
        Selection().SelectAllBanks();
        Selection().SetInterface(1);
        app->pm.SetImageDirty(false);
    }
    // Opens the dialog; `act` plays the user.
    void Open(const std::function<void(DevicePropertiesSession&)>& act) {
        OpenDeviceProperties(
            *app, state, [this] { ++commits; }, act);
    }
    DeviceDialogState state;
    int commits = 0;
};

TEST_F(DeviceDialogFlow, WithoutDevicesError232InsteadOfTheDialog) {
    ClearDeviceTable(app->devices);
    bool shown = false;
    Open([&](DevicePropertiesSession&) { shown = true; });
    EXPECT_FALSE(shown);
    EXPECT_EQ(GetLastErrorCode(*app), 232);
    ASSERT_EQ(ui.boxes.size(), 1u);
}

TEST_F(DeviceDialogFlow, OpensOneDialogAtATime) {
    int shown = 0;
    Open([&](DevicePropertiesSession& session) {
        ++shown;
        Open([&](DevicePropertiesSession&) { ++shown; }); // a device error meanwhile
        session.Cancel();
    });
    EXPECT_EQ(shown, 1);
    EXPECT_FALSE(state.showing);
    Open([&](DevicePropertiesSession&) { ++shown; });
    EXPECT_EQ(shown, 2);
}

TEST_F(DeviceDialogFlow, OkCommitsAndTheProgrammerNeedsTheImageAgain) {
    Open([&](DevicePropertiesSession& session) {
        session.Model().ChooseIndividualBanks(true);
        session.Model().ToggleBank(0);
        EXPECT_EQ(session.Ok(), DeviceDialogClose::Close);
    });
    EXPECT_TRUE(Selection().bankSelectMode);
    EXPECT_FALSE(Selection().bankFlags[0]);
    EXPECT_EQ(commits, 1);
    EXPECT_TRUE(app->pm.ImageDirty());
    EXPECT_TRUE(ui.boxes.empty());
}

TEST_F(DeviceDialogFlow, CancelCommitsNothing) {
    Open([&](DevicePropertiesSession& session) {
        session.Model().ChooseIndividualBanks(true);
        session.Model().DeviceChosen(1);
        EXPECT_EQ(session.Cancel(), DeviceDialogClose::Close);
    });
    EXPECT_EQ(Selection().selected, 0);
    EXPECT_FALSE(Selection().bankSelectMode);
    EXPECT_EQ(commits, 0);
    EXPECT_FALSE(app->pm.ImageDirty());
}

// An unsupported device on closing: Yes returns to the dialog, No ends the program.
TEST_F(DeviceDialogFlow, AnUnsupportedDeviceAsksToTryAgain) {
    struct Case {
        const char* name;
        bool ok;
        MsgAnswer answer;
        DeviceDialogClose close;
    } cases[] = {
        {"OK, yes", true, MsgAnswer::Yes, DeviceDialogClose::Stay},
        {"OK, no", true, MsgAnswer::No, DeviceDialogClose::Quit},
        {"Cancel, yes", false, MsgAnswer::Yes, DeviceDialogClose::Stay},
        {"Cancel, no", false, MsgAnswer::No, DeviceDialogClose::Quit},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Selection().SelectDeviceByName(c.ok ? "ND100" : "OLD");
        ui.boxes.clear();
        ui.quit.reset();
        ui.answers = {c.answer};
        Open([&](DevicePropertiesSession& session) {
            if (c.ok) session.Model().DeviceChosen(1);
            EXPECT_EQ(c.ok ? session.Ok() : session.Cancel(), c.close);
        });
        ASSERT_EQ(ui.boxes.size(), 1u);
        EXPECT_EQ(ui.boxes[0].text, kUnsupportedDeviceQuestion);
        EXPECT_EQ(ui.boxes[0].caption, "VANTREL");
        EXPECT_EQ(ui.boxes[0].buttons, MsgButtons::YesNo);
        EXPECT_EQ(ui.boxes[0].icon, MsgIcon::Question);
        EXPECT_EQ(ui.quit, c.answer == MsgAnswer::No ? std::optional<int>(0) : std::nullopt);
        EXPECT_EQ(Selection().selected, 1); // OK committed the unsupported device
    }
}

TEST_F(DeviceDialogFlow, SelectDeviceOpensOnTheWorkingDevice) {
    Add(test::Sample("ND200"));
    Open([&](DevicePropertiesSession& session) {
        session.Model().DeviceChosen(2);
        session.SelectDevice([](SelectDeviceModel& list) -> std::optional<int> {
            EXPECT_EQ(list.Rows(), (std::vector<int>{0, 2})); // OLD is not supported
            EXPECT_EQ(list.SelectedRow(), 1);
            list.HeaderClicked(kDeviceColumnDevice);
            return std::nullopt; // Cancel
        });
        EXPECT_EQ(session.Model().Copy().device, 2);
        session.SelectDevice([this](SelectDeviceModel& list) -> std::optional<int> {
            list.SelectRow(0);
            return list.Accept(ui);
        });
        EXPECT_EQ(session.Model().Copy().device, 0);
        session.Cancel();
    });
    EXPECT_EQ(state.sortKey, 0x03u); // the list's sort lasts beyond the dialog
}

} // namespace
} // namespace vantrel
