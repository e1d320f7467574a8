// The device-dependent items of the Target menu follow the selected device.
#include <gtest/gtest.h>

#include "app/App.h"
#include "device/DeviceTestData.h"
#include "support/AppFixture.h"
#include "support/StatusRef.h"
#include "ui/DeviceMenu.h"

namespace vantrel {
namespace {

class DeviceMenu : public test::AppFixture {};

TEST_F(DeviceMenu, FollowsTheSelectedDevice) {
    ui.targetMenu = {
        {32773, "&Blank Check", ""}, {32776, "&Clear\tF6", ""}, {32779, "&Program", ""}};
    auto both = test::Sample("BOTH");
    both.enableClearAll = 1;
    both.enableClearChip = 1;
    AddDevice(ui, app->devices, both);
    AddDevice(ui, app->devices, test::Sample("NONE"));
    auto labels = [&] {
        std::vector<std::string> l;
        for (const auto& item : ui.targetMenu)
            l.push_back(item.label);
        return l;
    };
    app->selection.SelectDeviceByName("BOTH");
    UpdateDeviceMenu(*app);
    UpdateDeviceMenu(*app); // nothing more the second time
    EXPECT_EQ(labels(), (std::vector<std::string>{"&Blank Check", "Clear All", "Clear Chip",
                                                  "&Clear\tF6", "&Program"}));
    EXPECT_EQ(ui.targetMenu[1].statusTip, "Program all zeroes, then clear chip");
    EXPECT_EQ(ui.targetMenu[2].statusTip, "Clear entire chip, regardless of selected range");
    app->selection.SelectDeviceByName("NONE");
    UpdateDeviceMenu(*app);
    EXPECT_EQ(labels(), (std::vector<std::string>{"&Blank Check", "&Clear\tF6", "&Program"}));

    // Programmers that clear the readout protection name the command after it.
    test::StatusRef {
        app->pm
        } -> hardwareVersion = 421;
    test::StatusRef {
        app->pm
        } -> hardwareVariant = 4;
    app->selection.SelectDeviceByName("BOTH");
    UpdateDeviceMenu(*app);
    EXPECT_EQ(ui.targetMenu[1].label, "Clear Readout protection");

    // Without a Target menu nothing happens.
    test::FakeUi bare;
    App other(bare, clock);
    UpdateDeviceMenu(other);
    EXPECT_TRUE(bare.targetMenu.empty());
}

} // namespace
} // namespace vantrel
