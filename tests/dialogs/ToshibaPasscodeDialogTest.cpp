// The TOSHIBA passcode dialog: the checks of OK with their messages, what it opens with, and
// what OK stores.
#include <gtest/gtest.h>

#include "OptionDialogFixture.h"
#include "dialogs/ToshibaPasscodeDialog.h"

namespace vantrel {
namespace {

// A device with 2 to 4 ID bytes whose ID lies in 0x100..0x1FF.
constexpr ToshibaLimits kLimits{0x100, 0x1FF, 2, 4};

TEST(ToshibaPasscodeCheck, StopsAtTheFirstFailureWithItsMessage) {
    struct Case {
        const char* name;
        ToshibaFields fields;
        const char* message; // null: accepted
    };
    const Case cases[] = {
        {"count address empty",
         {"", "100", "ab", false, false},
         "Expecting a number\nPasscode length address entry invalid"},
        {"count address below the range",
         {"FF", "100", "ab", false, false},
         "Expected a value >= 100\nPasscode length address entry invalid"},
        {"compare address not hex",
         {"100", "X1", "ab", false, false},
         "Expecting a number\nPasscode data start address \nentry invalid"},
        {"odd count in hex mode",
         {"100", "100", "12345", true, false},
         "Odd number of passcode characters \nis illegal in Hexmode !"},
        {"too short as text",
         {"100", "100", "a", false, false},
         "Passcode entry too short !\nPlease enter at least 2 characters."},
        {"too short in hex mode",
         {"100", "100", "12", true, false},
         "Passcode entry too short !\nPlease enter at least 4 characters."},
        {"too long as text",
         {"100", "100", "abcde", false, false},
         "Passcode entry too long !\nPlease enter a maximum of 4 characters."},
        {"too long in hex mode",
         {"100", "100", "0102030405", true, false},
         "Passcode entry too long !\nPlease enter a maximum of 8 characters."},
        {"not hex in hex mode",
         {"100", "100", "12G4", true, false},
         "Passcode contains invalid charcters"},
        {"text", {"100", "1F0", "ab", false, false}, nullptr},
        {"hex, either case", {" 1a0", "100", "a1B2", true, false}, nullptr},
        {"fill 0xFF skips the password", {"100", "100", "", true, true}, nullptr},
        {"the addresses are checked with fill 0xFF too",
         {"100", "", "", false, true},
         "Expecting a number\nPasscode data start address \nentry invalid"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const ToshibaCheck check = CheckToshibaFields(c.fields, kLimits);
        EXPECT_EQ(check.values.has_value(), c.message == nullptr);
        EXPECT_EQ(check.message, c.message ? c.message : "");
    }
}

TEST(ToshibaPasscodeCheck, AddressAboveTheRangeBecomesItsLast) {
    const ToshibaCheck check = CheckToshibaFields({"FFFF", "100", "ab", false, false}, kLimits);
    ASSERT_TRUE(check.values);
    EXPECT_EQ(check.values->countAddress, 0x1FFu);
}

TEST(ToshibaPasscodeCheck, HexPairsAreBytesHighNibbleFirst) {
    const ToshibaCheck check = CheckToshibaFields({"100", "104", "a1B2", true, false}, kLimits);
    ASSERT_TRUE(check.values);
    EXPECT_EQ(check.values->passcode, std::string("\xA1\xB2"));
    EXPECT_EQ(check.values->compareAddress, 0x104u);
}

using ToshibaPasscodeDialogTest = test::OptionDialogFixture;

TEST_F(ToshibaPasscodeDialogTest, OpensWithTheStoredValues) {
    SelectDevice(
        {.idLenMin = 2, .idLenMax = 4, .algoS = 139, .idRangeFirst = 0x100, .idRangeLast = 0x1FF});
    app->options.enablePasscode = false;
    app->options.passcodeHex = true;
    app->selection.toshibaIdLengthAddress = 0x1AB;
    app->selection.toshibaIdAddress = 0x300; // outside the range: its first address
    app->selection.passcode = {0x0F, 0xA0};
    app->selection.passcodeLength = 2;
    ToshibaPasscodeDialog dialog(*app);
    EXPECT_TRUE(dialog.fields.fill);
    EXPECT_FALSE(dialog.PasswordEnabled());
    EXPECT_TRUE(dialog.fields.hexMode);
    EXPECT_EQ(dialog.fields.countAddress, "1AB");
    EXPECT_EQ(dialog.fields.compareAddress, "100");
    EXPECT_EQ(dialog.fields.password, "0FA0");

    app->options.passcodeHex = false;
    app->selection.passcode = {'a', 'b', 'c'};
    app->selection.passcodeLength = 3;
    EXPECT_EQ(ToshibaPasscodeDialog(*app).fields.password, "abc");
}

TEST_F(ToshibaPasscodeDialogTest, FailureShowsTheMessageAndTheStoredValuesAgain) {
    SelectDevice(
        {.idLenMin = 2, .idLenMax = 4, .algoS = 139, .idRangeFirst = 0x100, .idRangeLast = 0x1FF});
    app->options.passcodeHex = false;
    app->selection.passcode = {'x', 'y'};
    app->selection.passcodeLength = 2;
    ToshibaPasscodeDialog dialog(*app);
    dialog.fields.hexMode = true;
    dialog.TypePassword("12345");
    EXPECT_FALSE(dialog.Ok());
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_EQ(ui.boxes[0].text, "Odd number of passcode characters \nis illegal in Hexmode !");
    EXPECT_EQ(ui.boxes[0].caption, "Error in passcode settings");
    EXPECT_EQ(ui.boxes[0].icon, MsgIcon::None);
    EXPECT_EQ(dialog.fields.password, "xy");
    EXPECT_FALSE(dialog.fields.hexMode);
    EXPECT_FALSE(app->options.passcodeHex);
}

TEST_F(ToshibaPasscodeDialogTest, OkStoresAddressesModeAndPasscode) {
    SelectDevice(
        {.idLenMin = 2, .idLenMax = 4, .algoS = 140, .idRangeFirst = 0x100, .idRangeLast = 0x1FF});
    ToshibaPasscodeDialog dialog(*app);
    dialog.TypeCountAddress("1c0");
    dialog.TypeCompareAddress("1c4");
    EXPECT_EQ(dialog.fields.countAddress, "1C0");
    dialog.fields.hexMode = true;
    dialog.TypePassword("DEADBEEF");
    ASSERT_TRUE(dialog.Ok());
    const DeviceSelection& s = app->selection;
    EXPECT_TRUE(app->options.enablePasscode);
    EXPECT_TRUE(app->options.passcodeHex);
    EXPECT_EQ(s.toshibaIdLengthAddress, 0x1C0u);
    EXPECT_EQ(s.toshibaIdAddress, 0x1C4u);
    ASSERT_EQ(s.passcodeLength, 4);
    EXPECT_EQ((std::array{s.passcode[0], s.passcode[1], s.passcode[2], s.passcode[3]}),
              (std::array<uint8_t, 4>{0xDE, 0xAD, 0xBE, 0xEF}));
}

TEST_F(ToshibaPasscodeDialogTest, FillKeepsTheStoredPassword) {
    SelectDevice(
        {.idLenMin = 2, .idLenMax = 4, .algoS = 139, .idRangeFirst = 0x100, .idRangeLast = 0x1FF});
    app->selection.passcode = {'k', 'e', 'e', 'p'};
    app->selection.passcodeLength = 4;
    ToshibaPasscodeDialog dialog(*app);
    dialog.fields.fill = true;
    dialog.TypePassword("");
    ASSERT_TRUE(dialog.Ok());
    EXPECT_FALSE(app->options.enablePasscode);
    EXPECT_EQ(app->selection.passcodeLength, 4);
    EXPECT_EQ(app->selection.passcode[0], 'k');
}

} // namespace
} // namespace vantrel
