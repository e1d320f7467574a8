// COM numbers mapped to device paths in section [Ports].
#include <gtest/gtest.h>

#include "settings/PortsSection.h"
#include "settings/SettingsFixture.h"

namespace vantrel {
namespace {

class Ports : public test::SettingsFixture {};

TEST_F(Ports, MapsComNumbersToDevicePaths) {
    WriteIni("[Settings]\r\nCOM1=\"/dev/wrong\"\r\n[Ports]\r\nCOM3=\"/dev/ttyUSB0\"\r\n"
             "COM20 = \"/tmp/pty 7\"\r\nCOM4=/dev/ttyS1\r\nCOM5=\"\"\r\n");
    EXPECT_EQ(PortDevicePath(app->settings, 3), "/dev/ttyUSB0");
    EXPECT_EQ(PortDevicePath(app->settings, 20), "/tmp/pty 7");
    EXPECT_EQ(PortDevicePath(app->settings, 1), std::nullopt); // only section [Ports] counts
    EXPECT_EQ(PortDevicePath(app->settings, 0), std::nullopt);
    EXPECT_EQ(PortDevicePath(app->settings, 21), std::nullopt);
    EXPECT_TRUE(ui.boxes.empty());

    for (int com : {4, 5}) {
        ui.boxes.clear();
        EXPECT_EQ(PortDevicePath(app->settings, com), std::nullopt);
        std::string key = "COM" + std::to_string(com);
        ASSERT_EQ(ui.boxes.size(), 1u);
        EXPECT_EQ(ui.boxes[0].text,
                  "Settings file [" + IniPath().string() + "], section [Ports]:\r\n" + key +
                      " needs a device path in double quotes, as in " + key + "=\"/dev/ttyUSB0\"");
    }
}

} // namespace
} // namespace vantrel
