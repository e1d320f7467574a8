// The Filling & Misc. options dialog: what it opens with, how its fill byte edit is read and
// what OK stores.
#include <gtest/gtest.h>

#include "dialogs/FillingDialog.h"
#include "support/AppFixture.h"

namespace vantrel {
namespace {

TEST(FillByteText, IsReadAsUpperCaseHexAfterBlanks) {
    struct Case {
        const char* text;
        std::optional<int32_t> value;
        const char* message;
    };
    const Case cases[] = {
        {"", std::nullopt, "Expecting a value"},
        {"  ", std::nullopt, "Expecting a value"},
        {"G1", std::nullopt, "Not a Hex value !"},
        {"1G", std::nullopt, "Not a Hex value !"},
        {"0f", std::nullopt, "Not a Hex value !"}, // the edit never holds lower case
        {"0F", 0x0F, nullptr},
        {" A", 0x0A, nullptr},
        {"FF", 0xFF, nullptr},
        {"00", 0x00, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const FillByteReading r = ReadFillByteText(c.text);
        EXPECT_EQ(r.value, c.value);
        EXPECT_STREQ(r.message ? r.message : "", c.message ? c.message : "");
    }
}

using FillingDialogTest = test::AppFixture;

TEST_F(FillingDialogTest, OpensWithTheOptionsAndTheFillByte) {
    app->options.enableAC = true;
    app->options.clearOnDemand = true;
    app->options.clearReadoutProtection = false;
    app->options.enableVBP = false;
    app->options.detailedError = true;
    app->options.enableIdCheck = false;
    app->selection.fillByte = 0x1AB; // the edit shows the low 8 bits
    FillingDialog dialog(*app);
    EXPECT_EQ(dialog.FillText(), "AB");
    const bool expected[] = {true, true, false, false, true, false};
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(dialog.Checked(i), expected[i]) << i;
    EXPECT_EQ(dialog.Focus(), 1);
}

TEST_F(FillingDialogTest, TypingForcesUpperCaseAndTwoCharacters) {
    FillingDialog dialog(*app);
    dialog.SetFillText("0f");
    EXPECT_EQ(dialog.FillText(), "0F");
    dialog.SetFillText("abc");
    EXPECT_EQ(dialog.FillText(), "AB");
}

TEST_F(FillingDialogTest, ClearOnDemandFollowsAutomaticClearButKeepsItsState) {
    app->options.enableAC = true;
    app->options.clearOnDemand = true;
    FillingDialog dialog(*app);
    EXPECT_TRUE(dialog.ClearOnDemandEnabled());
    dialog.SetChecked(0, false);
    EXPECT_FALSE(dialog.ClearOnDemandEnabled());
    EXPECT_TRUE(dialog.Checked(1));
}

TEST_F(FillingDialogTest, BadFillByteIsReportedAndNothingIsStored) {
    app->options.enableAC = false;
    app->selection.fillByte = 0x12;
    FillingDialog dialog(*app);
    dialog.SetChecked(0, true);
    dialog.SetFillText("G1");
    EXPECT_FALSE(dialog.Ok());
    EXPECT_EQ(ui.Messages(), std::vector<std::string>{"Not a Hex value !"});
    EXPECT_EQ(dialog.Focus(), kFillingEditId);
    EXPECT_FALSE(app->options.enableAC);
    EXPECT_EQ(app->selection.fillByte, 0x12);
    EXPECT_EQ(app->lastErrorCode, 0); // code 0: a message only
}

TEST_F(FillingDialogTest, OkStoresTheBoxesInOrderAndTheFillByte) {
    FillingDialog dialog(*app);
    const bool chosen[] = {true, false, true, true, false, true};
    for (int i = 0; i < 6; ++i)
        dialog.SetChecked(i, chosen[i]);
    dialog.SetFillText("5a");
    ASSERT_TRUE(dialog.Ok());
    const ProgramOptions& o = app->options;
    EXPECT_EQ((std::array{o.enableAC, o.clearOnDemand, o.clearReadoutProtection, o.enableVBP,
                          o.detailedError, o.enableIdCheck}),
              (std::array{true, false, true, true, false, true}));
    EXPECT_EQ(app->selection.fillByte, 0x5A);
    EXPECT_TRUE(ui.Messages().empty());
}

} // namespace
} // namespace vantrel
