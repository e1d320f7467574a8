// The command-line options of the device selection, run as batch mode runs them, with their
// messages and error levels.
#include <gtest/gtest.h>

#include "app/App.h"
#include "app/Batch.h"
#include "app/CmdLine.h"
#include "app/DeviceSeam.h"
#include "commands/DeviceCommands.h"
#include "commands/RegisterCommands.h"
#include "device/DeviceTestData.h"
#include "support/AppFixture.h"
#include "support/StatusRef.h"

namespace vantrel {
namespace {

class Commands : public test::AppFixture {
  protected:
    void SetUp() override {
        CMDLINE_Init(*app, "VANTREL", "Vantrel.err", cmd::kExit, nullptr);
        RegisterCommands(*app);
        auto d = test::Sample("ND100"); // banks 0..3, passcode 1..7
        AddDevice(ui, app->devices, d);
        app->selection.SelectDeviceByName("ND100");
    }
    // Runs one batch command with its parameter; returns the messages it showed.
    std::vector<std::string> Run(int command, const std::string& param) {
        ui.boxes.clear();
        ParamReader reader = CMDLINE_ParamReader(*app, param);
        DispatchBatchCommand(*app, command, reader);
        std::vector<std::string> texts;
        for (const auto& b : ui.boxes)
            texts.push_back(b.text);
        return texts;
    }
    using Texts = std::vector<std::string>;
};

TEST_F(Commands, Password) {
    EXPECT_EQ(Run(cmd::kPassword, "3,11,22,33"), Texts{});
    EXPECT_EQ(app->selection.passcodeLength, 3);
    EXPECT_EQ(app->selection.passcode[2], 0x33);
    EXPECT_EQ(Run(cmd::kPassword, "10,1"),
              Texts{"Invalid passcode length,\r\nA maximun of 15 is allowed"});
    EXPECT_EQ(app->lastErrorCode, 211);
    EXPECT_EQ(Run(cmd::kPassword, "2"), Texts{"Separator has to be ,"});
    EXPECT_EQ(Run(cmd::kPassword, "2,1"), Texts{"Separator has to be ,"});
    EXPECT_EQ(Run(cmd::kPassword, "2,1,"), Texts{}); // stopped by the reader's own report
    EXPECT_EQ(app->cmdline.lastErrorText, "CMDLINE_GetHexValue: Missing value");
    EXPECT_EQ(
        Run(cmd::kPassword, "8,1,2,3,4,5,6,7,108"),
        Texts{"Invalid passcode length: 8,\r\nMinimum length is 1,\r\nMaximum lenght is 7 !"});
    EXPECT_EQ(app->selection.passcodeLength, 3); // unchanged by the refusals
}

TEST_F(Commands, SelBanks) {
    EXPECT_EQ(Run(cmd::kSelBanks, "1,2"), Texts{});
    EXPECT_EQ(app->selection.startBank, 1);
    EXPECT_EQ(app->selection.endBank, 2);
    EXPECT_EQ(app->selection.programRanges, (ProgramRanges{{0x1000, 0x2000}}));
    EXPECT_EQ(Run(cmd::kSelBanks, "10,12"),
              Texts{"-selbanks needs 2 parameter separated by comma"});
    EXPECT_EQ(app->cmdline.lastErrorText, "CMDLINE_GetString: String to long");
    EXPECT_EQ(app->lastErrorCode, 212);
    EXPECT_EQ(Run(cmd::kSelBanks, "1;2"), Texts{"-selbanks needs 2 parameter separated by comma"});
    EXPECT_EQ(Run(cmd::kSelBanks, "1,x"), Texts{"-selbanks needs 2 parameter separated by comma"});
    EXPECT_EQ(Run(cmd::kSelBanks, "1,12"),
              Texts{"Endbank was invalid!\r\nPlease check Device options!"});
    EXPECT_EQ(app->selection.endBank, 3);
}

TEST_F(Commands, SelBanksTooLongNamesTheReader) {
    Run(cmd::kSelBanks, "10,12");
    std::string err = test::ReadFile(dir / "Vantrel.err");
    EXPECT_NE(err.find("CMDLINE_GetString: String to long"), std::string::npos) << err;
}

TEST_F(Commands, SelMultiple) {
    EXPECT_EQ(Run(cmd::kSelMultiple, "0, 3"), Texts{});
    EXPECT_TRUE(app->selection.bankSelectMode);
    EXPECT_EQ(app->selection.programRanges, (ProgramRanges{{0x8000, 0x4000}, {0xF000, 0x800}}));
    const char* tooMany = "Error during execution of\r\n-selmultiple\r\nToo many banks set or\n\r"
                          "last bank number too large!";
    EXPECT_EQ(Run(cmd::kSelMultiple, "0,2,2,1,1"), Texts{tooMany}); // repeats count again
    EXPECT_EQ(Run(cmd::kSelMultiple, "4"), Texts{tooMany});
    EXPECT_EQ(
        Run(cmd::kSelMultiple, "0,x"),
        Texts{"Expecting a number\r\nParameter error\r\nduring execution of\r\n -selmultiple"});
    EXPECT_EQ(
        Run(cmd::kSelMultiple, "-1"),
        Texts{"Expected a value >= 0\r\nParameter error\r\nduring execution of\r\n -selmultiple"});
    EXPECT_EQ(app->selection.programRanges, (ProgramRanges{{0x8000, 0x4000}, {0xF000, 0x800}}));
}

TEST_F(Commands, SetFillSetAreaAndAsync) {
    EXPECT_EQ(Run(cmd::kSetFill, "A5"), Texts{});
    EXPECT_EQ(app->selection.fillByte, 0xA5);
    EXPECT_EQ(Run(cmd::kSetFill, "200"),
              Texts{"Fillbyte invalid!\r\nPlease check your configuration!"});
    EXPECT_EQ(Run(cmd::kSetFill, "zz"), Texts{"-setFILL needs 1 Hex parameter "});

    app->selection.SelectAllBanks();
    GetImageCrc(*app);
    ASSERT_TRUE(app->doc.CrcValid());
    EXPECT_EQ(Run(cmd::kSetArea, "100000,400"), Texts{});
    EXPECT_EQ(app->selection.additional, (BankRange{0x100000, 0x400}));
    EXPECT_FALSE(app->doc.CrcValid()); // the external area changed
    EXPECT_EQ(Run(cmd::kSetArea, "100000"), Texts{"Separator has to be ,"});

    // S60 device: asynchronous only on hardware 600 or later offering the S60A algorithm.
    test::StatusRef status{app->pm};
    status->hardwareVersion = 600;
    status->supportedAlgorithms = {130};
    Run(cmd::kSetIfASync, "");
    EXPECT_EQ(app->selection.interface, 1);
    status->supportedAlgorithms = {130, 144};
    Run(cmd::kSetIfASync, "");
    EXPECT_EQ(app->selection.interface, 2);
    status->hardwareVersion = 599;
    Run(cmd::kSetIfASync, "");
    EXPECT_EQ(app->selection.interface, 1);
}

TEST_F(Commands, SelDeviceAtOnce) {
    auto d = test::Sample("NR8C");
    AddDevice(ui, app->devices, d);
    app->cmdline.parsing = true;
    CMDLINE_ParseOption(*app, "seldeviceNR8c"); // names are matched exactly
    EXPECT_FALSE(app->overrides.deviceChosen);
    ui.boxes.clear();
    EXPECT_EQ(CMDLINE_ParseOption(*app, "seldeviceNR8C"), 1);
    EXPECT_EQ(app->selection.selected, 1);
    EXPECT_TRUE(app->overrides.deviceChosen);
    EXPECT_EQ(app->cmdline.count, 0u);
    ui.boxes.clear();
    CMDLINE_ParseOption(*app, "seldeviceXYZ");
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_EQ(ui.boxes[0].text,
              "The devicename 'XYZ' was unknown.\r\nPlease check your configuration!\r\n");
    EXPECT_EQ(app->selection.selected, 0);
}

} // namespace
} // namespace vantrel
