// The firmware update without a link: the main window's answer to error 214 in each of its
// outcomes that end the program, when the menu command is enabled and that it sends nothing
// unconfirmed. The update itself runs against the emulator (tests/app/FirmwareWithSimTest.cpp).
#include <gtest/gtest.h>

#include <fstream>

#include "app/App.h"
#include "base/CommandIds.h"
#include "commands/RegisterCommands.h"
#include "image/RecordText.h"
#include "ops/Firmware.h"
#include "support/AppFixture.h"
#include "support/StatusRef.h"
#include "ui/MainWindow.h"

namespace vantrel {
namespace {

constexpr const char* kOffer = "Firmware mismatch !!!\r\nYou have to download new firmware to "
                               "continue\r\nDownload firmware now ?";
constexpr const char* kConfirmStart = "Firmware download requires a stable power supply\r\n";
constexpr const char* kNoImage =
    "No Firmware available for connected Vantrel!\r\n\r\nProgram will be aborted !!!";

class Firmware : public test::AppFixture {
  protected:
    Firmware() { app->mainWindow = std::make_unique<MainWindow>(*app); }
    // A ready 5.10 programmer of variant 1 with firmware `version`.
    void Programmer(uint8_t state, uint32_t version) {
        status->state = state;
        status->hardwareVersion = 510;
        status->hardwareVariant = 1;
        status->firmwareVersion = version;
    }
    void WriteImage(const std::string& name, const std::string& text) {
        std::filesystem::create_directories(dir / "Firmware");
        std::ofstream(dir / "Firmware" / name, std::ios::binary) << text;
    }
    test::StatusRef status{app->pm};
};

TEST_F(Firmware, OfferThatEndsTheProgram) {
    const std::string image = test::SRec(1, 0x4000, {1, 2, 3}) + "\r\n";
    struct Case {
        const char* name;
        uint8_t state;
        uint32_t version;
        std::string file; // FW510.mot; empty: none
        std::vector<MsgAnswer> answers;
        std::vector<std::string> messages; // after the offer; the confirmation by its start
    };
    const Case cases[] = {
        {"declined", 0, 19900, image, {MsgAnswer::No}, {}},
        {"not ready",
         3,
         19900,
         image,
         {MsgAnswer::Yes},
         {"Not ready for Firmware Download,\r\nbecause of the following error: \r\nWriting\r\n"
          "Program will be aborted !!!"}},
        {"no communication",
         200,
         19900,
         image,
         {MsgAnswer::Yes},
         {"Not ready for Firmware Download,\r\nbecause of the following error: \r\nNo "
          "communication\r\nProgram will be aborted !!!"}},
        {"no image for this hardware", 0, 19900, "", {MsgAnswer::Yes}, {kNoImage}},
        {"firmware too old for an update", 0, 15999, image, {MsgAnswer::Yes}, {kNoImage}},
        {"download declined", 0, 19900, image, {MsgAnswer::Yes, MsgAnswer::No}, {kConfirmStart}},
        {"broken image",
         0,
         20100,
         "S10500000102F0\r\n",
         {MsgAnswer::Yes},
         {"Error in line 1: Checksum error !"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove_all(dir / "Firmware");
        if (!c.file.empty()) WriteImage("FW510.mot", c.file);
        Programmer(c.state, c.version);
        ui.boxes.clear();
        ui.quit.reset();
        ui.answers.assign(c.answers.begin(), c.answers.end());

        APP_ReportError(*app, 214);

        ASSERT_GE(ui.boxes.size(), 1u);
        EXPECT_EQ(ui.boxes[0].text, kOffer);
        ASSERT_EQ(ui.boxes.size(), c.messages.size() + 1);
        for (std::size_t i = 0; i < c.messages.size(); ++i) {
            EXPECT_EQ(ui.boxes[i + 1].text.substr(0, c.messages[i].size()), c.messages[i]);
            EXPECT_EQ(ui.boxes[i + 1].icon, MsgIcon::Warning);
        }
        EXPECT_EQ(ui.quit, 0);
        EXPECT_EQ(PM_JobCount(app->pm), 0);
    }
}

TEST_F(Firmware, MenuCommandNeedsAReadyProgrammerAndAnImage) {
    struct Case {
        const char* name;
        uint8_t state;
        uint32_t version;
        uint8_t variant;
        const char* file; // in Firmware/
        bool enabled;
    };
    const Case cases[] = {
        {"ready with its image", 0, 19900, 1, "FW510.mot", true},
        {"variant 0 takes the 5.70 image", 0, 19900, 0, "FW570.mot", true},
        {"variant 1 does not", 0, 19900, 1, "FW570.mot", false},
        {"busy", 3, 19900, 1, "FW510.mot", false},
        {"no communication", 200, 19900, 1, "FW510.mot", false},
        {"firmware below 16000", 0, 15999, 1, "FW510.mot", false},
        {"firmware 16000", 0, 16000, 1, "FW510.mot", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove_all(dir / "Firmware");
        WriteImage(c.file, "S104000001FA\r\n");
        Programmer(c.state, c.version);
        status->hardwareVariant = c.variant;
        EXPECT_EQ(FirmwareCommandEnabled(*app), c.enabled);
    }
}

// From the menu nothing goes out before the question is answered Yes, and a bad image is shown.
TEST_F(Firmware, MenuCommandSendsNothingUnlessConfirmed) {
    struct Case {
        const char* name;
        std::string file;
        std::vector<std::string> messages;
    };
    const Case cases[] = {
        {"declined", test::SRec(1, 0x4000, {1, 2, 3}) + "\r\n", {kConfirmStart}},
        {"image too long for a 5.10",
         test::SRec(3, 0x4000, {1}) + "\r\n" + test::SRec(3, 0x4000 + 0xBFF0, {2}) + "\r\n",
         {"Firmware file has illegal size"}},
    };
    RegisterCommands(*app);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WriteImage("FW510.mot", c.file);
        Programmer(0, 20000);
        ui.boxes.clear();
        ui.answers = {MsgAnswer::No};
        ASSERT_TRUE(app->commands.Run(cmd::kDownloadFirmware));
        ASSERT_EQ(ui.Messages().size(), c.messages.size());
        for (std::size_t i = 0; i < c.messages.size(); ++i)
            EXPECT_EQ(ui.boxes[i].text.substr(0, c.messages[i].size()), c.messages[i]);
        EXPECT_EQ(PM_JobCount(app->pm), 0);
        EXPECT_EQ(app->operationsRunning, 0);
        EXPECT_FALSE(ui.quit.has_value());
    }
}

} // namespace
} // namespace vantrel
