// The question before unsaved changes are lost, and opening a file by name (recent files,
// dropped files): every answer, and what each leaves in the document and on disk.
#include <gtest/gtest.h>

#include "commands/DocumentFiles.h"
#include "image/ImageFixture.h"

namespace vantrel {
namespace {

using test::ReadFile;
using test::WriteFile;

constexpr const char* kFirst = "S1061000010203E3\r\n";
constexpr const char* kSecond = "S1052000AABB75\r\n";

class DocumentFiles : public test::ImageFixture {
  protected:
    // first.mot open and then changed (relocated by 0x10).
    void SetUp() override {
        app->doc.ForgetModified();
        WriteFile(dir / "first.mot", kFirst);
        WriteFile(dir / "second.mot", kSecond);
        ASSERT_TRUE(OpenFileByName(*app, (dir / "first.mot").string()));
        app->doc.Relocate(0x10);
        ASSERT_TRUE(app->doc.IsModified());
        ui.boxes.clear();
    }
    uint64_t FirstAddress() { return app->doc.Lock()->StartAddress(); }
};

TEST_F(DocumentFiles, OpeningAnotherFileAsksAboutChanges) {
    struct Case {
        const char* name;
        MsgAnswer answer;
        bool opened;         // second.mot replaced the image
        bool firstRewritten; // first.mot now holds the relocated image
    };
    const Case cases[] = {
        {"Yes saves, then opens", MsgAnswer::Yes, true, true},
        {"No opens without saving", MsgAnswer::No, true, false},
        {"Cancel keeps the changed image", MsgAnswer::Cancel, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SetUp();
        ui.answers = {c.answer};
        EXPECT_EQ(OpenFileByName(*app, "\"" + (dir / "second.mot").string() + "\" ignored"),
                  c.opened);
        ASSERT_EQ(ui.boxes.size(), 1u);
        EXPECT_EQ(ui.boxes[0].text, "Save changes to " + (dir / "first.mot").string() + "?");
        EXPECT_EQ(ui.boxes[0].buttons, MsgButtons::YesNoCancel);
        EXPECT_EQ(FirstAddress(), c.opened ? 0x2000u : 0x1010u);
        EXPECT_EQ(ReadFile(dir / "first.mot") != kFirst, c.firstRewritten);
        EXPECT_EQ(app->doc.path, (dir / (c.opened ? "second.mot" : "first.mot")).string());
        EXPECT_EQ(GetLastErrorCode(*app), 0); // a Cancel is no error
    }
}

TEST_F(DocumentFiles, NoQuestionWithoutChanges) {
    app->doc.SetModifiedFlag(false);
    EXPECT_TRUE(SaveModified(*app));
    EXPECT_TRUE(OpenFileByName(*app, (dir / "second.mot").string()));
    EXPECT_TRUE(ui.boxes.empty());
    EXPECT_EQ(ui.recentFiles.back(), (dir / "second.mot").string());
}

// A save that does not happen (Save As cancelled for a document without a file) keeps the
// changes and the caller stops.
TEST_F(DocumentFiles, FailedSaveStopsTheCaller) {
    app->doc.path.clear();
    ui.answers = {MsgAnswer::Yes};
    ui.fileDialogReplies = {{false, "", 0}};
    EXPECT_FALSE(SaveModified(*app));
    EXPECT_EQ(ui.boxes[0].text, "Save changes to Untitled?");
    EXPECT_TRUE(app->doc.IsModified());
}

TEST_F(DocumentFiles, MissingFileSetsErrorLevel210) {
    app->doc.SetModifiedFlag(false);
    EXPECT_FALSE(OpenFileByName(*app, (dir / "missing.mot").string()));
    EXPECT_EQ(GetLastErrorCode(*app), 210);
}

// The menu's Open asks too, after the file was chosen.
TEST_F(DocumentFiles, MenuOpenAsksAfterTheDialog) {
    ui.fileDialogReplies = {{true, (dir / "second.mot").string(), 0}};
    ui.answers = {MsgAnswer::Cancel};
    app->mainWindow->OnCommand(cmd::kOpenFile);
    ASSERT_EQ(ui.fileDialogs.size(), 1u);
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_EQ(FirstAddress(), 0x1010u);
}

// Exit asks too: Cancel keeps the program running, No ends it without saving.
TEST_F(DocumentFiles, ExitAsksAboutChanges) {
    ui.answers = {MsgAnswer::Cancel};
    app->mainWindow->OnCommand(cmd::kExit);
    EXPECT_FALSE(ui.quit.has_value());
    ui.answers = {MsgAnswer::No};
    app->mainWindow->OnCommand(cmd::kExit);
    EXPECT_EQ(ui.quit, 0);
    EXPECT_EQ(ui.boxes.size(), 2u);
    EXPECT_EQ(ReadFile(dir / "first.mot"), kFirst);
}

} // namespace
} // namespace vantrel
