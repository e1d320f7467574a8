// Reading and writing single keys through the file on disk, and the file's messages.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <functional>

#include "settings/Ini.h"
#include "settings/SettingsFixture.h"
#include "settings/SettingsText.h"

namespace vantrel {
namespace {

using test::SettingsFixture;
using ::testing::ElementsAre;

std::vector<std::string> FilesIn(const std::filesystem::path& dir) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

class Ini : public SettingsFixture {};

TEST_F(Ini, ReadIntValuesAndTheirMessages) {
    WriteIni("[Settings]\r\nA=3\r\nB \t=\t +12\r\nC = -5\r\nD = x\r\nE 3\r\nF = 99999999999\r\n"
             "G = 2147483647\r\nH = -2147483648\r\nI = 2147483648\r\n");
    struct Case {
        const char* key;
        int32_t expected;
        const char* message; // "" for none
    } cases[] = {
        {"A", 3, ""},
        {"B", 12, ""},
        {"C", -5, ""}, // the bounds are checked before the sign
        {"D", 77, "Expecting a number"},
        {"E", 77, "Expected '=', got '3'"},
        {"G", INT32_MAX, ""},
        {"H", INT32_MIN, ""}, // what an address of 0x80000000 is written as
        {"I", 77, "Expected a value >= 0"},
        {"Missing", 77, ""},
    };
    for (const auto& c : cases) {
        ui.boxes.clear();
        EXPECT_EQ(INI_ReadInt(app->settings, "Settings", c.key, 77), c.expected) << c.key;
        std::string shown = ui.boxes.empty() ? "" : ui.boxes[0].text;
        // The reader's text names the key and the file that hold the value.
        std::string expected = *c.message == '\0' ? ""
                                                  : std::string(c.message) + "\r\nin key " + c.key +
                                                        " of " + IniPath().string();
        EXPECT_EQ(shown, expected) << c.key;
    }
    EXPECT_EQ(INI_ReadInt(app->settings, "Other", "A", 77), 77);
    EXPECT_EQ(INI_ReadInt(app->settings, nullptr, "A", 77), 77);
}

TEST_F(Ini, AMalformedValueInADeepFolderKeepsTheFileNameInTheMessage) {
    std::filesystem::path deep = dir / std::string(100, 'd') / std::string(100, 'e');
    std::filesystem::create_directories(deep);
    test::WriteFile(deep / "vantrel.ini", "[Settings]\r\nEnableVBP = x\r\n");
    app->programDirectory = deep.string() + "/";
    EXPECT_EQ(INI_ReadInt(app->settings, "Settings", "EnableVBP", 1), 1);
    ASSERT_EQ(ui.boxes.size(), 1u);
    const std::string& text = ui.boxes[0].text;
    EXPECT_LE(text.size(), kMessageSize - 1);
    EXPECT_EQ(text.rfind("Expecting a number\r\nin key EnableVBP of ...", 0), 0u) << text;
    EXPECT_EQ(text.substr(text.size() - 16), "eeee/vantrel.ini") << text;
}

TEST_F(Ini, ReadStringFillsTheBufferOnlyOnSuccess) {
    WriteIni("[Settings]\r\nDevice=\"R5F100LE\"\r\nBare=R5F\r\nOpen=\"R5F\r\n");
    char buffer[9] = "unused!";
    EXPECT_EQ(INI_ReadString(app->settings, "Settings", "Device", buffer, sizeof buffer), 0);
    EXPECT_STREQ(buffer, "R5F100LE"); // eight characters fill a buffer of nine

    char small[8] = "keep";
    EXPECT_EQ(INI_ReadString(app->settings, "Settings", "Device", small, sizeof small), 1);
    EXPECT_STREQ(small, "keep");
    EXPECT_EQ(INI_ReadString(app->settings, "Settings", "Bare", small, sizeof small), 1);
    EXPECT_EQ(INI_ReadString(app->settings, "Settings", "Open", small, sizeof small), 1);
    EXPECT_STREQ(small, "keep");
    // Each malformed value is named with its key and file.
    auto message = [&](const char* key) {
        return "Expecting a text in double quotes\r\nin key " + std::string(key) + " of " +
               IniPath().string();
    };
    EXPECT_THAT(Messages(), ElementsAre(message("Device"), message("Bare"), message("Open")));

    ui.boxes.clear();
    EXPECT_EQ(INI_ReadString(app->settings, "Settings", "Missing", small, sizeof small), 1);
    EXPECT_EQ(INI_ReadString(app->settings, "Settings", "Device", nullptr, 8), 1);
    EXPECT_EQ(INI_ReadString(app->settings, "Settings", "Device", small, 0), 1);
    EXPECT_STREQ(small, "keep");
    EXPECT_TRUE(ui.boxes.empty());
}

TEST_F(Ini, EveryWriteRewritesTheWholeFileAndLeavesNothingBeside) {
    WriteIni("[Ports]\r\nCOM3=\"/dev/ttyUSB0\"\r\n");
    INI_WriteInt(app->settings, "Settings", "ComPort", 3);
    EXPECT_EQ(ReadIni(), "[Ports]\r\nCOM3=\"/dev/ttyUSB0\"\r\n[Settings]\r\nComPort = 3\r\n");
    INI_WriteString(app->settings, "Settings", "Device", "R5F100LE");
    EXPECT_EQ(ReadIni(), "[Ports]\r\nCOM3=\"/dev/ttyUSB0\"\r\n[Settings]\r\n"
                         "Device=\"R5F100LE\"\r\nComPort = 3\r\n");
    EXPECT_THAT(FilesIn(dir.Path()), ElementsAre("vantrel.ini"));
    EXPECT_TRUE(ui.boxes.empty());
}

TEST_F(Ini, TheFileIsReadOnceAndNeverAgain) {
    WriteIni("[Settings]\r\nA = 1\r\n");
    EXPECT_EQ(INI_ReadInt(app->settings, "Settings", "A", 0), 1);
    WriteIni("[Settings]\r\nA = 2\r\nB = 2\r\n");
    EXPECT_EQ(INI_ReadInt(app->settings, "Settings", "A", 0), 1);
    INI_WriteInt(app->settings, "Settings", "C", 3);
    EXPECT_EQ(ReadIni(), "[Settings]\r\nC = 3\r\nA = 1\r\n");
}

TEST_F(Ini, IndexCountsOnlyBeforeTheFirstOperation) {
    INI_SetIndex(app->settings, 3);
    INI_WriteInt(app->settings, "Settings", "A", 1);
    INI_SetIndex(app->settings, 5);
    INI_WriteInt(app->settings, "Settings", "A", 2);
    EXPECT_EQ(INI_SettingsPath(app->settings), (dir / "vantrel3.ini").string());
    EXPECT_THAT(FilesIn(dir.Path()), ElementsAre("vantrel3.ini"));
}

TEST_F(Ini, ReadOnlyFileIsNotReplacedButTheChangeStaysInMemory) {
    WriteIni("[Settings]\r\nA = 1\r\n");
    chmod(IniPath().c_str(), 0444);
    INI_WriteInt(app->settings, "Settings", "A", 2);
    EXPECT_THAT(Messages(), ElementsAre("Could not save file [" + IniPath().string() +
                                        "]\nFile has read only attribute!"));
    EXPECT_EQ(ReadIni(), "[Settings]\r\nA = 1\r\n");
    EXPECT_EQ(INI_ReadInt(app->settings, "Settings", "A", 0), 2);
}

// A rewrite over each kind of file that may stand under the settings file's name. Root passes
// every permission check, so the test tells the writer that no file can be made in the folder.
TEST_F(Ini, RewritesOverEachKindOfFile) {
    namespace fs = std::filesystem;
    const std::string old = "[Settings]\r\nA = 1\r\n";
    const std::string now = "[Settings]\r\nA = 2\r\n";
    auto statOf = [](const fs::path& p) {
        struct stat st {};
        ::stat(p.c_str(), &st);
        return st;
    };
    struct Case {
        const char* name;
        std::function<void(const fs::path&)> make; // lays down "vantrel.ini"
        bool folderWritable;
        std::string message;             // "" for none
        std::vector<std::string> nowNew; // files holding the new text afterwards
        std::function<void(const fs::path&)> check;
    } cases[] = {
        {"missing file", [](const fs::path&) {}, true, "", {}, nullptr},
        {"plain file keeps its mode and owner",
         [&](const fs::path& d) {
             test::WriteFile(d / "vantrel.ini", old);
             ::chmod((d / "vantrel.ini").c_str(), 0640);
             if (::geteuid() == 0) (void)::chown((d / "vantrel.ini").c_str(), 65534, 65534);
         },
         true,
         "",
         {"vantrel.ini"},
         [&](const fs::path& d) {
             EXPECT_EQ(statOf(d / "vantrel.ini").st_mode & 07777, 0640u);
             if (::geteuid() == 0) {
                 EXPECT_EQ(statOf(d / "vantrel.ini").st_uid, 65534u);
             }
         }},
        {"symbolic link stays a link",
         [&](const fs::path& d) {
             test::WriteFile(d / "real.ini", old);
             fs::create_symlink("real.ini", d / "vantrel.ini");
         },
         true,
         "",
         {"real.ini"},
         [](const fs::path& d) { EXPECT_TRUE(fs::is_symlink(d / "vantrel.ini")); }},
        {"read-only file is left alone",
         [&](const fs::path& d) {
             test::WriteFile(d / "vantrel.ini", old);
             ::chmod((d / "vantrel.ini").c_str(), 0444);
         },
         true,
         "File has read only attribute!",
         {},
         [&](const fs::path& d) { EXPECT_EQ(test::ReadFile(d / "vantrel.ini"), old); }},
        {"writable file in a folder where no file can be made is written in place",
         [&](const fs::path& d) { test::WriteFile(d / "vantrel.ini", old); },
         false,
         "",
         {"vantrel.ini"},
         nullptr},
        {"hard link is written in place",
         [&](const fs::path& d) {
             test::WriteFile(d / "vantrel.ini", old);
             fs::create_hard_link(d / "vantrel.ini", d / "other.ini");
         },
         true,
         "",
         {"vantrel.ini", "other.ini"},
         [&](const fs::path& d) { EXPECT_EQ(statOf(d / "vantrel.ini").st_nlink, 2u); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        test::TempDir install;
        c.make(install.Path());
        ino_t before = statOf(install / "vantrel.ini").st_ino;
        test::FakeUi fresh;
        App other(fresh, clock);
        other.programDirectory = install.Path().string() + "/";
        bool writable = c.folderWritable;
        other.fileWriteChecks.canCreateIn = [writable](const std::string&) { return writable; };
        INI_WriteInt(other.settings, "Settings", "A", 2);
        std::string path = (install / "vantrel.ini").string();
        if (c.message.empty()) {
            EXPECT_TRUE(fresh.boxes.empty()) << fresh.boxes[0].text;
        } else {
            EXPECT_THAT(fresh.Messages(),
                        ElementsAre("Could not save file [" + path + "]\n" + c.message));
        }
        for (const auto& name : c.nowNew)
            EXPECT_EQ(test::ReadFile(install / name), now) << name;
        if (!c.folderWritable) {
            EXPECT_EQ(statOf(install / "vantrel.ini").st_ino, before);
        }
        if (c.check) c.check(install.Path());
        if (c.message.empty()) {
            std::vector<std::string> names = FilesIn(install.Path());
            EXPECT_TRUE(std::none_of(names.begin(), names.end(), [](const std::string& n) {
                return n.find(".tmp") != std::string::npos;
            }));
        }
    }
}

// The per-user folder of a new user is made with every missing parent before the first write,
// also when it went away while the program ran.
TEST_F(Ini, TheSettingsFolderIsMadeBeforeTheWrite) {
    test::TempDir home;
    std::filesystem::path config = home / "new/nested/config";
    test::ScopedEnv xdg("XDG_CONFIG_HOME", config.string());
    app->programDirectory = (dir / "gone/").string(); // no file can be made there
    std::string path = (config / "KORVID/vantrel.ini").string();
    EXPECT_EQ(INI_SettingsPath(app->settings), path);
    std::filesystem::remove_all(home / "new");
    INI_WriteInt(app->settings, "Settings", "A", 1);
    EXPECT_TRUE(ui.boxes.empty()) << ui.boxes[0].text;
    EXPECT_EQ(test::ReadFile(path), "[Settings]\r\nA = 1\r\n");
    mode_t mask = ::umask(0);
    ::umask(mask);
    struct stat st {};
    ::stat((home / "new").c_str(), &st);
    EXPECT_EQ(st.st_mode & 0777, 0777 & ~mask); // the user's default permissions
}

TEST_F(Ini, MissingDirectoryIsPathNotFound) {
    // The per-user folder cannot be made below a plain file, and the program directory does
    // not exist: the path leads nowhere.
    test::WriteFile(dir / "file", "");
    test::ScopedEnv xdg("XDG_CONFIG_HOME", (dir / "file").string());
    app->programDirectory = (dir / "gone/").string();
    std::string path = (dir / "file/KORVID/vantrel.ini").string();
    EXPECT_EQ(INI_ReadInt(app->settings, "Settings", "A", 4), 4); // nothing to read: no message
    INI_WriteInt(app->settings, "Settings", "A", 1);
    EXPECT_THAT(Messages(), ElementsAre("Could not save file [" + path + "]\nPath not found!"));
    EXPECT_EQ(INI_ReadInt(app->settings, "Settings", "A", 4), 1);
}

TEST_F(Ini, AFileThatCannotBeReadIsKeptAsItIs) {
    struct Case {
        const char* name;
        std::function<void(const std::filesystem::path&)> make;
        std::string openMessage;
    } cases[] = {
        {"directory", [](const auto& p) { std::filesystem::create_directory(p); },
         "It is a directory, not a regular file!"},
        {"too large",
         [](const auto& p) {
             test::WriteFile(p, "[Settings]\r\nA = 1\r\n" + std::string(kSettingsTextMax, ';'));
         },
         "The settings file is larger than 29999 bytes!"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        test::TempDir install;
        std::string path = (install / "vantrel.ini").string();
        c.make(path);
        std::string before = std::filesystem::is_regular_file(path) ? test::ReadFile(path) : "";
        test::FakeUi fresh;
        App other(fresh, clock);
        other.programDirectory = install.Path().string() + "/";

        EXPECT_EQ(INI_ReadInt(other.settings, "Settings", "A", 7), 7);
        INI_WriteInt(other.settings, "Settings", "A", 2);
        INI_WriteInt(other.settings, "Settings", "B", 3);
        ASSERT_EQ(fresh.boxes.size(), 2u);
        EXPECT_EQ(fresh.boxes[0].text, "Could not open file [" + path + "]\n" + c.openMessage);
        EXPECT_EQ(fresh.boxes[1].text,
                  "Could not save file [" + path +
                      "]\nIt could not be read at start-up and is left as it was; changes are "
                      "kept until the program ends.");
        EXPECT_EQ(INI_ReadInt(other.settings, "Settings", "B", 0), 3);
        if (!before.empty()) {
            EXPECT_EQ(test::ReadFile(path), before);
        }
    }
}

TEST_F(Ini, GrowthPastTheLimitIsRefusedAndTheFileStays) {
    const std::string head = "[Settings]\r\nA = 1\r\n";
    std::string text = head + std::string(kSettingsTextMax - head.size() - 12, ';') + "\r\n";
    WriteIni(text);
    INI_WriteInt(app->settings, "Settings", "B", 1); // "B = 1\r\n" still fits
    std::string fits = ReadIni();
    EXPECT_EQ(fits.size(), text.size() + 7);
    INI_WriteString(app->settings, "Settings", "Device", "R5F100LE");
    EXPECT_THAT(Messages(), ElementsAre("Could not save file [" + IniPath().string() +
                                        "]\nThe settings would grow larger than 29999 bytes; "
                                        "the change was not made!"));
    EXPECT_EQ(ReadIni(), fits);
    char device[16] = "none";
    EXPECT_EQ(INI_ReadString(app->settings, "Settings", "Device", device, sizeof device), 1);
}

// A Ui whose message box does another failing settings write, as a timer could while a
// message box pumps messages.
class ReenteringUi : public test::FakeUi {
  public:
    App* app = nullptr;
    MsgAnswer MessageBox(const std::string& text, const std::string& caption, MsgButtons buttons,
                         MsgIcon icon, MsgAnswer answer) override {
        if (app && boxes.empty()) INI_WriteInt(app->settings, "Settings", "Again", 1);
        return FakeUi::MessageBox(text, caption, buttons, icon, answer);
    }
};

TEST_F(Ini, AMessageRaisedWhileAnotherIsShownIsDropped) {
    WriteIni("[Settings]\r\n");
    chmod(IniPath().c_str(), 0444);
    ReenteringUi reentering;
    App other(reentering, clock);
    other.programDirectory = dir.Path().string() + "/";
    reentering.app = &other;
    INI_WriteInt(other.settings, "Settings", "First", 1);
    ASSERT_EQ(reentering.boxes.size(), 1u);
    reentering.app = nullptr;
    INI_WriteInt(other.settings, "Settings", "Third", 1); // shown again once the first box is gone
    EXPECT_EQ(reentering.boxes.size(), 2u);
    EXPECT_EQ(INI_ReadInt(other.settings, "Settings", "Again", 0), 1);
}

} // namespace
} // namespace vantrel
