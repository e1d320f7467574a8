// The document commands as batch mode and the menu run them: file names, extensions, ranges,
// their messages and exit codes, and the dialogs through the scripted Ui.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <functional>

#include "app/DeviceSeam.h"
#include "base/Crc16.h"
#include "dialogs/AddressRangeDialog.h"
#include "dialogs/ProgramFileDialogs.h"
#include "dialogs/RelocationDialog.h"
#include "image/ImageFixture.h"

namespace vantrel {
namespace {

using test::AreaList;
using test::ReadFile;
using test::WriteFile;

constexpr const char* kProgram = "S1061000010203E3\r\n";

class DocumentCommands : public test::ImageFixture {
  protected:
    void SetUp() override { WriteFile(dir / "in.mot", kProgram); }
    bool Has(const std::string& text) const {
        for (const auto& box : ui.boxes)
            if (box.text == text) return true;
        return false;
    }
};

TEST_F(DocumentCommands, SaveAsPicksTheFormatByExtension) {
    EXPECT_EQ(RunBatch({"-openfilein.mot", "-saveasout.HEX,100-1FF"}), 0);
    EXPECT_EQ(ReadFile(dir / "out.HEX"), ":03100000010203E7\r\n:00000001FF\r\n");
    EXPECT_EQ(app->doc.path, (dir / "out.HEX").string());
    EXPECT_EQ(ui.titles.back(), (dir / "out.HEX").string());

    EXPECT_EQ(RunBatch({"-openfileout.HEX", "-saveasout.mot"}), 0);
    EXPECT_EQ(ReadFile(dir / "out.mot"), std::string(kProgram) + "S9030000FC\r\n");

    EXPECT_EQ(RunBatch({"-openfilein.mot", "-saveasout.bin,100-1FF"}), 0);
    EXPECT_EQ(ReadFile(dir / "out.bin"), std::string(256, '\xFF'));
    EXPECT_EQ(RunBatch({"-openfilein.mot", "-saveasone.bin,1001-1001"}), 0);
    EXPECT_EQ(ReadFile(dir / "one.bin"), "\x02");
    EXPECT_EQ(RunBatch({"-openfilein.mot", "-saveasall.bin"}), 0); // the image's range
    EXPECT_EQ(ReadFile(dir / "all.bin"), "\x01\x02\x03");
}

TEST_F(DocumentCommands, SaveAsRefusalsWriteNothingAndKeepAGoodFile) {
    struct Case {
        std::string option;
        int32_t exitCode;
        const char* message;
    };
    const Case cases[] = {
        {"-saveasout.c", 10, "Invalid file extension, use .MOT, .HEX or .BIN"},
        {"-saveasout.hexx", 10, "Invalid file extension, use .MOT, .HEX or .BIN"},
        {"-saveasout", 10, "Invalid file extension, use .MOT, .HEX or .BIN"},
        {"-saveasout.bin,200-100", 10, "Start address has to be <= End address !"},
        {"-saveasout.bin,100,1FF", 10, "Separator has to be -"},
        {"-saveas" + std::string(190, 'a') + ".bin", 10, "Invalid file name"},
        {"-saveasno-such-dir/out.bin", 10, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.option);
        WriteFile(dir / "out.bin", "good");
        ui.boxes.clear();
        EXPECT_EQ(RunBatch({"-openfilein.mot", c.option}), c.exitCode);
        if (c.message) {
            EXPECT_TRUE(Has(c.message)) << testing::PrintToString(Messages());
        }
        EXPECT_EQ(ReadFile(dir / "out.bin"), "good");
    }
    std::size_t files = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir.Path()))
        ++files;
    EXPECT_EQ(files, 3u); // in.mot, out.bin, Vantrel.err: no half-written files left
}

// Nothing loaded: an image that nothing was read into never replaces a file. A file that was
// loaded counts even when it held no data.
TEST_F(DocumentCommands, SaveAsWithNothingLoadedIsRefused) {
    WriteFile(dir / "empty.mot", "S9030000FC\r\n");
    struct Case {
        std::vector<std::string> args;
        int32_t exitCode;
        std::string precious; // what precious.mot holds afterwards
    } cases[] = {
        {{"-saveasprecious.mot"}, 10, "keep me"},
        {{"-setDE", "-saveasprecious.mot"}, 229, "keep me"},
        {{"-openfileempty.mot", "-saveasprecious.mot"}, 0, "S9030000FC\r\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.args));
        WriteFile(dir / "precious.mot", "keep me");
        ui.boxes.clear();
        EXPECT_EQ(RunBatch(c.args), c.exitCode);
        EXPECT_EQ(Has("Can not save,\r\nbecause no file was loaded!"), c.exitCode != 0)
            << testing::PrintToString(Messages());
        EXPECT_EQ(ReadFile(dir / "precious.mot"), c.precious);
    }
}

// Saving over each kind of file that may stand under the name: links are followed and kept,
// the file keeps its mode and owner, a read-only file is refused, and a file that cannot be
// replaced (no new file can be made in its folder, or it has other hard links) is written in
// place. Root passes every permission check, so the test tells the writer that no file can be
// made in the folder.
TEST_F(DocumentCommands, SaveAsOverEachKindOfFile) {
    namespace fs = std::filesystem;
    const std::string saved = std::string(kProgram) + "S9030000FC\r\n";
    auto inode = [](const fs::path& p) {
        struct stat st {};
        ::stat(p.c_str(), &st);
        return st;
    };
    struct Case {
        const char* name;
        std::function<void(const fs::path&)> make; // lays down "out.mot"
        bool folderWritable;
        int32_t exitCode;
        std::vector<std::string> nowSaved; // files holding the saved program afterwards
        std::function<void(const fs::path&)> check;
    } cases[] = {
        {"missing file", [](const fs::path&) {}, true, 0, {"out.mot"}, nullptr},
        {"plain file keeps its mode and owner",
         [](const fs::path& d) {
             WriteFile(d / "out.mot", "old");
             ::chmod((d / "out.mot").c_str(), 0640);
             if (::geteuid() == 0) (void)::chown((d / "out.mot").c_str(), 65534, 65534);
         },
         true,
         0,
         {"out.mot"},
         [&](const fs::path& d) {
             EXPECT_EQ(inode(d / "out.mot").st_mode & 07777, 0640u);
             if (::geteuid() == 0) {
                 EXPECT_EQ(inode(d / "out.mot").st_uid, 65534u);
             }
         }},
        {"symbolic link stays a link",
         [](const fs::path& d) {
             WriteFile(d / "target.mot", "old");
             fs::create_symlink("target.mot", d / "out.mot");
         },
         true,
         0,
         {"target.mot"},
         [](const fs::path& d) { EXPECT_TRUE(fs::is_symlink(d / "out.mot")); }},
        {"read-only file is refused",
         [](const fs::path& d) {
             WriteFile(d / "out.mot", "old");
             ::chmod((d / "out.mot").c_str(), 0444);
         },
         true,
         10,
         {},
         [&](const fs::path& d) {
             EXPECT_EQ(ReadFile(d / "out.mot"), "old");
             EXPECT_TRUE(
                 Has("Can not write " + (d / "out.mot").string() + "\r\n" + std::strerror(EACCES)))
                 << testing::PrintToString(Messages());
         }},
        {"writable file in a folder where no file can be made",
         [](const fs::path& d) { WriteFile(d / "out.mot", "old"); },
         false,
         0,
         {"out.mot"},
         nullptr},
        {"hard link",
         [](const fs::path& d) {
             WriteFile(d / "out.mot", "old");
             fs::create_hard_link(d / "out.mot", d / "other.mot");
         },
         true,
         0,
         {"out.mot", "other.mot"},
         [&](const fs::path& d) { EXPECT_EQ(inode(d / "out.mot").st_nlink, 2u); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        for (const char* name : {"out.mot", "target.mot", "other.mot"})
            fs::remove(dir / name);
        c.make(dir.Path());
        ino_t before = inode(dir / "out.mot").st_ino;
        ui.boxes.clear();
        app = std::make_unique<App>(ui, clock);
        app->programDirectory = install.Path().string() + "/";
        bool writable = c.folderWritable;
        app->fileWriteChecks.canCreateIn = [writable](const std::string&) { return writable; };
        ui.quit.reset();
        EXPECT_EQ(test::RunBatch(*app, ui, clock, {"-openfilein.mot", "-saveasout.mot"},
                                 StartupOptions{.exitAfterBatch = true}, {}, 1000),
                  c.exitCode);
        for (const auto& name : c.nowSaved)
            EXPECT_EQ(ReadFile(dir / name), saved) << name;
        if (!c.folderWritable) {
            EXPECT_EQ(inode(dir / "out.mot").st_ino, before); // written in place
        }
        if (c.check) c.check(dir.Path());
    }
}

TEST_F(DocumentCommands, OpenAndMergeOfMissingFilesAndBadFiles) {
    EXPECT_EQ(RunBatch({"-openfilemissing.hex"}), 10);
    EXPECT_TRUE(Has("File not found: missing.hex"));
    EXPECT_EQ(RunBatch({"-openfilein.mot", "-mergegone.mot"}), 10);
    EXPECT_TRUE(Has("File not found: gone.mot"));
    EXPECT_EQ(app->doc.Lock()->TotalBytes(), 3u); // unchanged

    WriteFile(dir / "bad.hex", ":03100000010203E7\r\n:0300000001\r\n");
    EXPECT_EQ(RunBatch({"-openfilein.mot", "-mergebad.hex"}), 10);
    EXPECT_TRUE(Has("Error in line 2: Expected Hex character : 0..9, A..F"));
    EXPECT_TRUE(Has("Failed to open document."));
    EXPECT_TRUE(app->doc.Lock()->Empty()); // also what was loaded before the merge

    std::filesystem::create_directory(dir / "folder");
    EXPECT_EQ(RunBatch({"-openfilefolder"}), 10); // exists but cannot be read: not a success
}

TEST_F(DocumentCommands, MergeAddsAndAsksAboutOverlaps) {
    WriteFile(dir / "more.hex", ":03200000040506CE\r\n:00000001FF\r\n");
    EXPECT_EQ(RunBatch({"-openfilein.mot", "-mergemore.hex"}), 0);
    EXPECT_EQ(Areas(), (AreaList{{0x1000, {1, 2, 3}}, {0x2000, {4, 5, 6}}}));
    EXPECT_EQ(app->doc.fileType, kFileIntelHex);
    // With -exit queued the overlap is a notice, the new data wins, and the error (231)
    // still stops the batch.
    WriteFile(dir / "over.mot", "S1041001AA40\r\n");
    EXPECT_EQ(RunBatch({"-openfilein.mot", "-mergeover.mot", "-saveasx.mot"}), 10);
    EXPECT_EQ(CMDLINE_GetErrorLevel(*app), 231) << testing::PrintToString(Messages());
    EXPECT_FALSE(std::filesystem::exists(dir / "x.mot"));
    EXPECT_EQ(Areas(), (AreaList{{0x1000, {1, 0xAA, 3}}}));
    EXPECT_TRUE(Has("File merge: Areas overlap...\r\nCheck HEX file contents !!!"));
}

TEST_F(DocumentCommands, DeleteRangeAndRelocateFromTheCommandLine) {
    EXPECT_EQ(
        RunBatch({"-openfilein.mot", "-delrange1001-1001", "-relocate-1000", "-saveasout.mot"}), 0);
    EXPECT_EQ(Areas(), (AreaList{{0, {1}}, {2, {3}}}));
    EXPECT_FALSE(app->doc.IsModified());

    EXPECT_EQ(RunBatch({"-openfilein.mot", "-delrange1002-1001"}), 211);
    EXPECT_TRUE(Has("Start address has to be <= End address !"));
    EXPECT_EQ(app->doc.Lock()->TotalBytes(), 3u);
    EXPECT_EQ(RunBatch({"-openfilein.mot", "-delrange1000,1001"}), 213);
    EXPECT_TRUE(Has("Separator has to be -"));
    EXPECT_EQ(RunBatch({"-openfilein.mot", "-delrange0-FFFFFFFF"}), 0); // the whole space
    EXPECT_TRUE(app->doc.Lock()->Empty());

    // -relocate repaints the views as the menu command does.
    int repaints = ui.repaints;
    EXPECT_EQ(RunBatch({"-openfilein.mot"}), 0);
    int openOnly = ui.repaints - repaints;
    repaints = ui.repaints;
    EXPECT_EQ(RunBatch({"-openfilein.mot", "-relocate10"}), 0);
    EXPECT_EQ(ui.repaints - repaints, openOnly + 1);

    EXPECT_EQ(RunBatch({"-relocate100"}), 229);
    EXPECT_TRUE(Has("Can not relocate,\r\nbecause no file was loaded!"));
    EXPECT_EQ(RunBatch({"-openfilein.mot", "-relocateXY"}), 212);
    EXPECT_TRUE(Has("-relocate needs 1 Hex parameter "));
}

TEST_F(DocumentCommands, MenuOpenMergeAndReloadUseTheFileDialog) {
    WriteFile(dir / "data.bin", std::string(300, '\x5A'));
    ui.fileDialogReplies = {{true, (dir / "data.bin").string(), 2}};
    app->mainWindow->OnCommand(cmd::kOpenFile);
    ASSERT_EQ(ui.fileDialogs.size(), 1u);
    EXPECT_EQ(ui.fileDialogs[0].title, "Open target program file");
    EXPECT_EQ(ui.fileDialogs[0].filterIndex, 1);
    EXPECT_EQ(Areas(), (AreaList{{0, test::Bytes(300, 0x5A)}}));
    EXPECT_TRUE(ui.recentFiles.empty()); // read as binary: not listed
    EXPECT_EQ(app->doc.fileType, kFileNone);

    ui.fileDialogReplies = {{true, (dir / "in.mot").string(), 0}};
    app->mainWindow->OnCommand(cmd::kMerge);
    EXPECT_EQ(app->doc.Lock()->TotalBytes(), 303u);
    EXPECT_EQ(ui.recentFiles, std::vector<std::string>{(dir / "in.mot").string()});

    app->doc.SetModifiedFlag(true);
    app->mainWindow->OnCommand(cmd::kReload); // reads the document's path again, alone
    EXPECT_EQ(Areas(), (AreaList{{0x1000, {1, 2, 3}}}));
    EXPECT_FALSE(app->doc.IsModified());

    ui.fileDialogReplies = {{false, "", 0}};
    app->mainWindow->OnCommand(cmd::kOpenFile); // Cancel changes nothing
    EXPECT_EQ(app->doc.Lock()->TotalBytes(), 3u);
}

TEST_F(DocumentCommands, MenuSaveAsFollowsTheChosenType) {
    ASSERT_TRUE(Load(kProgram));
    app->doc.path = (dir / "prog.old.mot").string();
    // Type picked: binary; the range dialog (no banks selected) offers the image's range.
    ui.fileDialogReplies = {{true, "", 3}};
    ui.dialogEntries = {std::vector<std::string>{"1000", "1003"}};
    app->mainWindow->OnCommand(cmd::kSaveAs);
    ASSERT_EQ(ui.fileDialogs.size(), 1u);
    EXPECT_EQ(ui.fileDialogs[0].title, "Save program file");
    EXPECT_EQ(ui.fileDialogs[0].fileName, (dir / "prog.mot").string());
    EXPECT_EQ(ui.dialogsShown.back(), (std::vector<std::string>{"1000", "1002"}));
    EXPECT_EQ(ReadFile(dir / "prog.bin"), "\x01\x02\x03\xFF");
    EXPECT_EQ(app->doc.fileType, kFileBinary);
    EXPECT_EQ(app->doc.path, (dir / "prog.bin").string());

    // C array; Cancel in its range dialog keeps the image's range and still writes.
    ui.fileDialogReplies = {{true, (dir / "my prog.c").string(), 4}};
    app->mainWindow->OnCommand(cmd::kSaveAs);
    std::string c = ReadFile(dir / "my prog.c");
    EXPECT_NE(c.find("Memory image: 0x1000 - 0x1002\r\n*/\r\n\r\nunsigned char abmyprog[0x3] = "
                     "{\r\n  0x01, 0x02, 0x03\r\n\r\n};\r\n\r\n/*** End of file ***/\r\n"),
              std::string::npos)
        << c;

    // Ctrl+S writes the path again in the current type.
    WriteFile(dir / "my prog.c", "old");
    app->mainWindow->OnCommand(cmd::kFileSave);
    EXPECT_EQ(ReadFile(dir / "my prog.c"), c);
}

// The exports take the fill byte and, for binary, the default range from the device
// selection.
TEST_F(DocumentCommands, ExportsFollowTheDeviceSelection) {
    DeviceRecord device;
    device.device = "TWO BANKS";
    MemoryArea flash;
    flash.order = kFlashOrder;
    flash.rangeCount = 2;
    flash.ranges[0] = {0x0F00, 0x100};
    flash.ranges[1] = {0x1000, 0x8};
    device.areas = {flash};
    AddDevice(ui, app->devices, device);
    ASSERT_EQ(app->selection.SelectDeviceByName("TWO BANKS"), 0);
    app->selection.SetStartBank(1);
    app->selection.SetEndBank(1);
    app->selection.SetFillByte(0x00);
    ASSERT_TRUE(Load(kProgram));
    EXPECT_EQ(ImageFillByte(*app), 0x00);
    EXPECT_EQ(ImageProgramRanges(*app).size(), 1u);
    EXPECT_TRUE(AreasInsideDevice(*app));
    // The CRC covers what the programmer gets: the additional range too, once it is selected.
    app->selection.SetExternalArea(0x2000, 0x10);
    EXPECT_EQ(ImageCrcRanges(*app).size(), 1u);
    app->selection.SetBankFlag(2, true); // the bank behind the two of the device
    using Ranges = std::vector<std::pair<uint32_t, uint32_t>>;
    Ranges crcRanges;
    for (const AddressRange& r : ImageCrcRanges(*app))
        crcRanges.emplace_back(r.first, r.last);
    EXPECT_EQ(crcRanges, (Ranges{{0x1000, 0x1007}, {0x2000, 0x200F}}));
    app->selection.SetExternalArea(0, 0);

    // Binary: the range dialog offers the selected banks; Cancel keeps that range.
    ui.fileDialogReplies = {{true, (dir / "banks.bin").string(), 3}};
    app->mainWindow->OnCommand(cmd::kSaveAs);
    EXPECT_EQ(ui.dialogsShown.back(), (std::vector<std::string>{"1000", "1007"}));
    EXPECT_EQ(ReadFile(dir / "banks.bin"), std::string("\x01\x02\x03\0\0\0\0\0", 8));
    // Both banks: from the lowest start to the highest end.
    app->selection.SetStartBank(0);
    ui.fileDialogReplies = {{true, (dir / "banks.bin").string(), 3}};
    app->mainWindow->OnCommand(cmd::kSaveAs);
    EXPECT_EQ(ui.dialogsShown.back(), (std::vector<std::string>{"F00", "1007"}));
    EXPECT_EQ(ReadFile(dir / "banks.bin").size(), 0x108u);
    // No bank selected: the image's own range, as before.
    app->selection.bankFlags = {};
    ui.fileDialogReplies = {{true, (dir / "banks.bin").string(), 3}};
    app->mainWindow->OnCommand(cmd::kSaveAs);
    EXPECT_EQ(ui.dialogsShown.back(), (std::vector<std::string>{"1000", "1002"}));

    // A batch run: the fill byte of the settings file fills the gaps.
    WriteFile(install / "vantrel.ini", ReadFile(install / "vantrel.ini") + "FillByte = 90\r\n");
    WriteFile(dir / "gap.mot", "S1041000AA41\r\nS1041003BB2D\r\n");
    EXPECT_EQ(RunBatch({"-openfilegap.mot", "-saveasgap.bin"}), 0)
        << testing::PrintToString(Messages());
    EXPECT_EQ(ReadFile(dir / "gap.bin"), "\xAA\x5A\x5A\xBB");
}

TEST_F(DocumentCommands, MenuDeleteRangeAndRelocateUseTheirDialogs) {
    ASSERT_TRUE(Load(kProgram));
    ui.dialogEntries = {std::vector<std::string>{"1001", "G"}, // refused, stays open
                        std::vector<std::string>{"1001", "1001"}};
    app->mainWindow->OnCommand(cmd::kDelRange);
    EXPECT_EQ(ui.dialogsShown.back(), (std::vector<std::string>{"0", "0"}));
    EXPECT_TRUE(Has("Not a hex value"));
    EXPECT_EQ(Areas(), (AreaList{{0x1000, {1}}, {0x1002, {3}}}));
    app->mainWindow->OnCommand(cmd::kDelRange); // no answer: Cancel; default is the last range
    EXPECT_EQ(ui.dialogsShown.back(), (std::vector<std::string>{"1001", "1001"}));

    ui.dialogEntries = {std::vector<std::string>{"-1000"}};
    int repaints = ui.repaints;
    app->mainWindow->OnCommand(cmd::kRelocate);
    EXPECT_EQ(Areas(), (AreaList{{0, {1}}, {2, {3}}}));
    EXPECT_TRUE(app->doc.IsModified());
    EXPECT_EQ(ui.repaints, repaints + 1); // the views show the moved image
}

TEST(AddressRangeDialog, FieldsAndLimits) {
    struct Case {
        const char* start;
        const char* end;
        const char* message; // null: accepted
    };
    const Case cases[] = {
        {"100", "1FF", nullptr},
        {"", "", nullptr}, // empty fields read as 0
        {"0", "1000000", nullptr},
        {"0", "1000001", "This file is too big !!! "},
        {"200", "100", "Start address has to be <= End address !"},
        {"1G", "100", "Not a hex value"},
        {"0x10", "100", "Not a hex value"},
        {"0", "100000000", "Not a hex value"}, // more than 32 bits
        {"-100", "-1", nullptr},               // counted back from the top
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.start) + " " + c.end);
        test::FakeUi ui;
        test::FakeClock clock;
        App app(ui, clock);
        AddressRange range{7, 7};
        EXPECT_EQ(AcceptAddressRange(app.reporter, c.start, c.end, range), c.message == nullptr);
        if (c.message) {
            ASSERT_EQ(ui.boxes.size(), 1u);
            EXPECT_EQ(ui.boxes[0].text, c.message);
            EXPECT_EQ(app.lastErrorCode, 211);
            EXPECT_EQ(range.first, 7u);
        }
    }
    EXPECT_EQ(ReadDialogHex("-100"), 0xFFFFFF00u);
    EXPECT_EQ(ReadDialogHex("aBc"), 0xABCu);
}

TEST(SaveDialog, NameFollowsTheChosenType) {
    EXPECT_EQ(NameForSaveFilter("prog.old.hex", 3), "prog.bin");
    EXPECT_EQ(NameForSaveFilter("/home/a.b/prog", 2), "/home/a.b/prog.hex");
    EXPECT_EQ(NameForSaveFilter("x.mot", 4), "x.c");
    EXPECT_EQ(FileTypeForSaveAsName("a.Mot"), kFileSRecord);
    EXPECT_EQ(FileTypeForSaveAsName("a.mot.c"), kFileNone);
}

TEST_F(DocumentCommands, ImageCrcOverProgramRanges) {
    ASSERT_TRUE(Load("S10500000102F7\r\n")); // 01 02 at 0
    const uint8_t check[] = {'1', '2', '3', '4', '5', '6', '7', '8', '9'};
    EXPECT_EQ(Crc16Kermit(0, check, 9), 0x2189); // the CRC-16/KERMIT check value
    const uint8_t expected[] = {1, 2, 0xFF, 0xFF};
    AddressRange ranges[] = {{0, 3}};
    EXPECT_EQ(Doc().GetImageCrc(ranges, 0xFF), Crc16Kermit(0, expected, 4));
    EXPECT_TRUE(Doc().CrcValid());
    // Ranges in their list order, each from its first address, gaps as the fill byte.
    Doc().MarkCrcStale();
    Add(0x10, {0x33});
    const uint8_t expected2[] = {0x02, 0x00, 0x00, 0x33, 0x00, 0x00};
    AddressRange ranges2[] = {{1, 2}, {0xF, 0x10}, {0x20, 0x21}};
    EXPECT_EQ(Doc().GetImageCrc(ranges2, 0x00), Crc16Kermit(0, expected2, 6));
    Doc().RemoveRange(0x10, 1);
    EXPECT_EQ(Doc().GetImageCrc(ranges, 0xFF), Crc16Kermit(0, expected, 4));
    Doc().SetByte(1, 0x22);
    EXPECT_FALSE(Doc().CrcValid());
    Doc().SetByte(1, 0x22);
    Doc().SetByte(5, 0x33); // outside any area: added
    EXPECT_EQ(Doc().Lock().EditedAddresses(), (std::vector<uint32_t>{1, 5}));
    EXPECT_EQ(GetImageCrc(*app), 0u); // no bank selected yet
    EXPECT_FALSE(Doc().CrcValid());
    EXPECT_TRUE(Doc().AreasInsideDevice(std::vector<AddressRange>{{0, 1}, {4, 8}}));
    EXPECT_FALSE(Doc().AreasInsideDevice(std::vector<AddressRange>{{0, 0}, {1, 8}}));
}

} // namespace
} // namespace vantrel
