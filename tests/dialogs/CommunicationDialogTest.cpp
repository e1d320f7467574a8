// The Communication parameters dialog: the port list as this machine maps it, and OK, which
// takes the port and saves the settings at once.
#include <gtest/gtest.h>

#include <filesystem>

#include "app/SettingsApply.h"
#include "dialogs/CommunicationDialog.h"
#include "support/AppFixture.h"
#include "support/TempDir.h"

namespace vantrel {
namespace {

TEST(ComPortItems, ShowEachNumberWithItsDevice) {
    test::TempDir root;
    std::filesystem::create_directories(root.Path() / "dev/serial/by-id");
    test::WriteFile(root.Path() / "dev/ttyUSB0", "");
    std::filesystem::create_symlink("../../ttyUSB0", root.Path() / "dev/serial/by-id/vantrel");
    ComPortMap ports;
    for (int i = 0; i < kMaxComPort; ++i)
        ports[static_cast<std::size_t>(i)].comNumber = i + 1;
    ports[0] = {1, "/dev/ttyUSB0", PortSource::UsbList};
    ports[2] = {3, "/dev/serial/by-id/vantrel", PortSource::Settings};
    ports[19] = {20, "/dev/pts/7", PortSource::Settings};
    const std::vector<std::string> items = ComPortItems(ports, root.Path().string());
    ASSERT_EQ(items.size(), 21u);
    struct Row {
        std::size_t index;
        const char* text;
    };
    const Row rows[] = {
        {0, "AUTO (every mapped port)"}, {1, "COM1  /dev/ttyUSB0"},
        {2, "COM2  not mapped"},         {3, "COM3  /dev/serial/by-id/vantrel -> /dev/ttyUSB0"},
        {19, "COM19  not mapped"},       {20, "COM20  /dev/pts/7"},
    };
    for (const Row& r : rows)
        EXPECT_EQ(items[r.index], r.text) << r.index;
}

class CommunicationDialogTest : public test::AppFixture {
  protected:
    // No device tree: only the [Ports] entries map ports.
    CommunicationDialogTest() { app->deviceRoot = (dir / "no-device-tree").string(); }
};

TEST_F(CommunicationDialogTest, SelectsThePortInUse) {
    for (int port : {0, 1, 7, 20}) {
        app->options.comPort = port;
        EXPECT_EQ(CommunicationDialog(*app).Selected(), port);
    }
}

TEST_F(CommunicationDialogTest, OkTakesThePortAndSavesTheSettings) {
    app->options.comPort = 1;
    CommunicationDialog dialog(*app);
    dialog.Select(5);
    dialog.Ok();
    EXPECT_EQ(app->options.comPort, 5);
    EXPECT_EQ(ReadSettings(app->settings).options.comPort, 5);
    EXPECT_NE(test::ReadFile(dir / "vantrel.ini").find("ComPort"), std::string::npos);
}

} // namespace
} // namespace vantrel
