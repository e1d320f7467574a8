// The Setup dialog: the setup record in the block, what the dialog opens with, its defaults,
// the number checks with their messages, and Save, which changes the block and asks for the
// write in one step.
#include <gtest/gtest.h>

#include "dialogs/SetupDialog.h"
#include "support/AppFixture.h"

namespace vantrel {
namespace {

TEST(SetupRecordLayout, FieldsLieInTheirBytesAndTheRestIsKept) {
    SetupBlock block{};
    for (std::size_t i = 0; i < block.size(); ++i)
        block[i] = static_cast<uint8_t>(0x80 + i);
    WriteSetupRecord({1, 2, 1, 1, 0x1234, 0x0456, 123456789}, block);
    const SetupBlock expectedHead{1, 2, 1, 1, 0x34, 0x12, 0x56, 0x04};
    for (std::size_t i = 0; i < 8; ++i)
        EXPECT_EQ(block[i], expectedHead[i]) << i;
    EXPECT_EQ(block[16] | block[17] << 8 | block[18] << 16 | block[19] << 24, 123456789);
    for (std::size_t i : {8u, 15u, 20u, 63u, 127u})
        EXPECT_EQ(block[i], 0x80 + i) << i;
    const SetupRecord back = ReadSetupRecord(block);
    EXPECT_EQ(back.resetActiveMs, 0x1234);
    EXPECT_EQ(back.resetInactiveMs, 0x0456);
    EXPECT_EQ(back.serialNumber, 123456789u);
    EXPECT_EQ(back.powerDownMode, 2);
}

TEST(SetupNumbers, AreIntegersWithinTheirRange) {
    struct Case {
        const char* text;
        std::optional<int64_t> value;
        const char* message;
    };
    const Case cases[] = {
        {"20", 20, ""},
        {" 2000 ", 2000, ""},
        {"+1", 1, ""},
        {"", std::nullopt, "Please enter an integer."},
        {"12a", std::nullopt, "Please enter an integer."},
        {"1.5", std::nullopt, "Please enter an integer."},
        {"-", std::nullopt, "Please enter an integer."},
        {"99999999999999999999", std::nullopt, "Please enter an integer."},
        {"0", std::nullopt, "Please enter an integer between 1 and 2000."},
        {"2001", std::nullopt, "Please enter an integer between 1 and 2000."},
        {"-5", std::nullopt, "Please enter an integer between 1 and 2000."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const SetupNumber n = ReadSetupNumber(c.text, 1, 2000);
        EXPECT_EQ(n.value, c.value);
        EXPECT_EQ(n.message, c.message);
    }
}

class SetupDialogTest : public test::AppFixture {
  protected:
    // The programmer's block as the link read it.
    void Read(const SetupRecord& record, bool valid = true) {
        app->pm.Update([&](LinkShared& s) {
            s.setupBlock.fill(0xEE);
            WriteSetupRecord(record, s.setupBlock);
            s.setupBlockValid = valid;
        });
    }
    bool WritePending() {
        return app->pm.Read([](const LinkShared& s) { return s.setupWritePending; });
    }
};

TEST_F(SetupDialogTest, OpensWithTheProgrammersRecord) {
    Read({1, 2, 1, 1, 35, 700, 4711});
    SetupDialog dialog(*app);
    EXPECT_EQ(dialog.powerUp, 1);
    EXPECT_EQ(dialog.powerDown, 2);
    EXPECT_EQ(dialog.resetMode, 1);
    EXPECT_EQ(dialog.resetOutput, 1);
    EXPECT_EQ(dialog.resetActive, "35");
    EXPECT_EQ(dialog.resetInactive, "700");
    EXPECT_EQ(dialog.SerialNumber(), "4711");
}

// The serial number cannot be changed: whatever the field shows, it goes back as it was read.
TEST_F(SetupDialogTest, SerialNumberGoesBackAsRead) {
    struct Case {
        uint32_t serial;
        const char* shown;
    };
    const Case cases[] = {{4711, "4711"}, {0xFFFFFFF0u, "0"}, {1500000000, "1500000000"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.shown);
        Read({0, 0, 0, 0, 20, 500, c.serial});
        SetupDialog dialog(*app);
        EXPECT_EQ(dialog.SerialNumber(), c.shown);
        ASSERT_TRUE(dialog.Save());
        EXPECT_EQ(ReadSetupRecord(app->pm.Setup()).serialNumber, c.serial);
    }
}

TEST_F(SetupDialogTest, DefaultsKeepTheDialogAndTheProgrammerUntouched) {
    Read({1, 2, 1, 1, 35, 700, 4711});
    SetupDialog dialog(*app);
    dialog.SetDefaults();
    EXPECT_EQ((std::array{dialog.powerUp, dialog.powerDown, dialog.resetMode, dialog.resetOutput}),
              (std::array{0, 0, 0, 0}));
    EXPECT_EQ(dialog.resetActive, "20");
    EXPECT_EQ(dialog.resetInactive, "500");
    EXPECT_FALSE(WritePending());
}

TEST_F(SetupDialogTest, BadNumberKeepsTheDialogWithTheFocusOnIt) {
    Read({0, 0, 0, 0, 20, 500, 4711});
    SetupDialog dialog(*app);
    dialog.resetInactive = "0";
    EXPECT_FALSE(dialog.Save());
    EXPECT_EQ(ui.Messages(),
              std::vector<std::string>{"Please enter an integer between 1 and 2000."});
    EXPECT_EQ(dialog.Focus(), kSetupResetInactiveId);
    EXPECT_FALSE(WritePending());
    dialog.resetInactive = "500";
    dialog.resetActive = "x";
    EXPECT_FALSE(dialog.Save());
    EXPECT_EQ(ui.Messages().back(), "Please enter an integer.");
    EXPECT_EQ(dialog.Focus(), kSetupResetActiveId);
}

TEST_F(SetupDialogTest, SaveChangesTheBlockAndAsksForTheWrite) {
    Read({0, 0, 0, 0, 20, 500, 4711});
    SetupDialog dialog(*app);
    dialog.powerUp = 1;
    dialog.powerDown = 1;
    dialog.resetMode = 1;
    dialog.resetOutput = 1;
    dialog.resetActive = "100";
    dialog.resetInactive = "2000";
    ASSERT_TRUE(dialog.Save());
    EXPECT_TRUE(WritePending());
    const SetupBlock block = app->pm.Setup();
    const SetupRecord r = ReadSetupRecord(block);
    EXPECT_EQ((std::array{r.powerUpMode, r.powerDownMode, r.resetMode, r.resetOutputMode}),
              (std::array<uint8_t, 4>{1, 1, 1, 1}));
    EXPECT_EQ(r.resetActiveMs, 100);
    EXPECT_EQ(r.resetInactiveMs, 2000);
    EXPECT_EQ(r.serialNumber, 4711u);
    EXPECT_EQ(block[8], 0xEE); // the programmer's own bytes go back as they came
}

TEST_F(SetupDialogTest, UnknownModeIsWrittenBackAsRead) {
    Read({7, 9, 0, 5, 20, 500, 1});
    SetupDialog dialog(*app);
    EXPECT_EQ(dialog.powerUp, -1);
    EXPECT_EQ(dialog.powerDown, -1);
    EXPECT_EQ(dialog.resetOutput, -1);
    ASSERT_TRUE(dialog.Save());
    const SetupRecord r = ReadSetupRecord(app->pm.Setup());
    EXPECT_EQ(r.powerUpMode, 7);
    EXPECT_EQ(r.powerDownMode, 9);
    EXPECT_EQ(r.resetOutputMode, 5);
}

// A block that was never read would overwrite the programmer's own bytes with zeros.
TEST_F(SetupDialogTest, NothingIsWrittenBeforeTheBlockWasRead) {
    Read({0, 0, 0, 0, 20, 500, 0}, false);
    SetupDialog dialog(*app);
    EXPECT_FALSE(dialog.Save());
    EXPECT_FALSE(WritePending());
    EXPECT_EQ(ui.Messages().size(), 1u);
}

TEST_F(SetupDialogTest, AfterwardsTheImageChecksumIsStale) {
    const AddressRange range{0, 0xFF};
    app->doc.GetImageCrc(std::span(&range, 1), 0xFF);
    ASSERT_TRUE(app->doc.CrcValid());
    AfterSetupDialog(*app);
    EXPECT_FALSE(app->doc.CrcValid());
}

} // namespace
} // namespace vantrel
