// The general passcode dialog: the counts the device allows, which byte combos are shown and
// usable, and what OK stores; and which passcode dialog the command opens.
#include <gtest/gtest.h>

#include "OptionDialogFixture.h"
#include "dialogs/PasscodeDialog.h"

namespace vantrel {
namespace {

using PasscodeDialogTest = test::OptionDialogFixture;

TEST(PasscodeByteCombos, OfferEveryByteInLowerCaseHex) {
    const auto& items = PasscodeByteItems();
    ASSERT_EQ(items.size(), 256u);
    EXPECT_EQ(items[0], "0");
    EXPECT_EQ(items[0x0a], "a");
    EXPECT_EQ(items[0x10], "10");
    EXPECT_EQ(items[0xff], "ff");
    const int ids[] = {1040, 1041, 1042, 1043, 1044, 1045, 1046, 1055,
                       1056, 1057, 1058, 1059, 1060, 1061, 1062};
    for (int n = 0; n < kMaxPasscode; ++n)
        EXPECT_EQ(PasscodeByteComboId(n), ids[n]) << n;
}

TEST_F(PasscodeDialogTest, CountsRunFromTheDeviceMinimumToItsMaximum) {
    SelectDevice({.idLenMin = 3, .idLenMax = 9});
    app->selection.passcodeLength = 5;
    PasscodeDialog dialog(*app);
    EXPECT_EQ(dialog.CountItems(), (std::vector<std::string>{"3", "4", "5", "6", "7", "8", "9"}));
    EXPECT_EQ(dialog.CountIndex(), 2);
    EXPECT_TRUE(dialog.CountEnabled());
    for (int n = 0; n < kMaxPasscode; ++n) {
        EXPECT_EQ(dialog.ByteShown(n), n < 9) << n;
        EXPECT_EQ(dialog.ByteEnabled(n), n < 5) << n;
    }
    dialog.SelectCount(6);
    EXPECT_TRUE(dialog.ByteEnabled(8));
    EXPECT_FALSE(dialog.ByteEnabled(9));
}

TEST_F(PasscodeDialogTest, OneAllowedCountDisablesTheCountCombo) {
    SelectDevice({.idLenMin = 7, .idLenMax = 7});
    PasscodeDialog dialog(*app);
    EXPECT_EQ(dialog.CountItems(), std::vector<std::string>{"7"});
    EXPECT_FALSE(dialog.CountEnabled());
}

TEST_F(PasscodeDialogTest, OkStoresTheCountAndItsBytes) {
    SelectDevice({.idLenMin = 1, .idLenMax = 7});
    app->selection.passcode = {1, 2, 3, 4, 5, 6, 7};
    app->selection.passcodeLength = 7;
    PasscodeDialog dialog(*app);
    EXPECT_EQ(dialog.Byte(6), 7);
    dialog.SelectCount(2); // 3 bytes
    dialog.SetByte(0, 0xAA);
    dialog.SetByte(2, 0xCC);
    dialog.SetByte(3, 0xDD); // not among the first three
    dialog.Ok();
    EXPECT_EQ(app->selection.passcodeLength, 3);
    EXPECT_EQ(app->selection.passcode[0], 0xAA);
    EXPECT_EQ(app->selection.passcode[1], 2);
    EXPECT_EQ(app->selection.passcode[2], 0xCC);
    EXPECT_EQ(app->selection.passcode[3], 4);
}

TEST_F(PasscodeDialogTest, ADeviceClaimingMoreThanFifteenBytesGetsFifteen) {
    SelectDevice({.idLenMin = 1, .idLenMax = 40});
    PasscodeDialog dialog(*app);
    EXPECT_EQ(dialog.CountItems().back(), "15");
    dialog.SelectCount(99);
    dialog.Ok();
    EXPECT_EQ(app->selection.passcodeLength, 15);
}

TEST_F(PasscodeDialogTest, CommandNeedsIdBytesAndPicksTheDialogByAlgorithm) {
    struct Case {
        const char* name;
        test::PasscodeDevice device;
        bool enabled;
        bool toshiba;
    };
    const Case cases[] = {
        {"no ID bytes", {.idLenMin = 0, .idLenMax = 0}, false, false},
        {"general", {.idLenMin = 1, .idLenMax = 7, .algoS = 12}, true, false},
        {"T8", {.idLenMin = 1, .idLenMax = 7, .algoS = 139}, true, true},
        {"T91", {.idLenMin = 1, .idLenMax = 7, .algoS = 140}, true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ClearDeviceTable(app->devices);
        SelectDevice(c.device);
        EXPECT_EQ(PasscodeDialogEnabled(*app), c.enabled);
        EXPECT_EQ(UsesToshibaPasscodeDialog(*app), c.toshiba);
    }
}

} // namespace
} // namespace vantrel
