// Where the settings file lives.
#include <gtest/gtest.h>

#include "settings/SettingsFixture.h"
#include "settings/SettingsPath.h"

namespace vantrel {
namespace {

using test::ScopedEnv;
using test::TempDir;

TEST(SettingsPath, BesideTheProgramWhenAFileCanBeCreatedThere) {
    TempDir install;
    std::string program = install.Path().string() + "/";
    EXPECT_EQ(SettingsPathFor(program, 0), program + "vantrel.ini");
    EXPECT_EQ(SettingsPathFor(program, 3), program + "vantrel3.ini");
    EXPECT_EQ(SettingsPathFor(program, 12345678), program + "vantrel12345678.ini");
    // The write test removed its file again.
    EXPECT_TRUE(std::filesystem::is_empty(install.Path()));
}

TEST(SettingsPath, ElseInTheUsersFolderWhichIsCreated) {
    TempDir home;
    std::string gone = (home / "no-such-dir/").string();
    struct Case {
        const char* name;
        std::optional<std::string> xdg;
        std::string expected;
    } cases[] = {
        {"XDG_CONFIG_HOME", (home / "cfg").string(), (home / "cfg/KORVID/vantrel2.ini").string()},
        {"unset", std::nullopt, (home / ".config/KORVID/vantrel2.ini").string()},
        {"empty", "", (home / ".config/KORVID/vantrel2.ini").string()},
        {"relative", "cfg", (home / ".config/KORVID/vantrel2.ini").string()},
    };
    ScopedEnv homeVar("HOME", home.Path().string());
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ScopedEnv xdg("XDG_CONFIG_HOME", c.xdg);
        EXPECT_EQ(SettingsPathFor(gone, 2), c.expected);
        EXPECT_TRUE(std::filesystem::is_directory(std::filesystem::path(c.expected).parent_path()));
        EXPECT_EQ(SettingsPathFor("", 2), c.expected); // no program directory at all
    }
    EXPECT_FALSE(std::filesystem::exists(gone));
}

} // namespace
} // namespace vantrel
