// vantrel-cli and its settings file, run as a user runs it from a scratch installation. The
// settings files that are read name a sample device, as a set-up installation's do.
#include <gtest/gtest.h>

#include "support/Process.h"
#include "support/TempDir.h"

namespace vantrel {
namespace {

const std::string kDevice = std::string("Device=\"") + test::kSampleDevice + "\"\r\n";

// Whether this machine can make a private mount namespace with a read-only bind mount (a
// chmod would not stop root, who runs the tests).
bool CanBindReadOnly() {
    test::TempDir probe;
    auto r = test::RunProcess({"/usr/bin/unshare", "-m", "--propagation", "private", "/bin/sh",
                               "-c", "mount --bind -o ro \"$0\" \"$0\" && ! touch \"$0/probe\"",
                               probe.Path().string()},
                              probe.Path());
    return r.exitCode == 0;
}

struct CliSettings : ::testing::Test {
    test::TempDir install;
    test::TempDir work; // the working directory: error file and log
    std::filesystem::path cli = test::Install("vantrel-cli", install.Path());
    CliSettings() { test::InstallSampleDevice(install.Path()); }

    test::ProcessResult Run(std::vector<std::string> args) {
        args.insert(args.begin(), cli.string());
        return test::RunProcess(args, work.Path());
    }
};

TEST_F(CliSettings, IndexPicksTheNumberedFileBesideTheProgram) {
    test::WriteFile(install / "vantrel.ini", "[Settings]\r\nComPort = 25\r\n");
    test::WriteFile(install / "vantrel3.ini",
                    "[Settings]\r\nComPort = 7\r\nMine = 1\r\n" + kDevice);
    auto r = Run({"-index3", "-exit"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.err, "");
    std::string text = test::ReadFile(install / "vantrel3.ini");
    EXPECT_NE(text.find("\r\nComPort = 7\r\n"), std::string::npos) << text;
    EXPECT_NE(text.find("\r\nMine = 1\r\n"), std::string::npos) << text;
    EXPECT_EQ(text.rfind("[Settings]\r\n", 0), 0u);
    EXPECT_EQ(test::ReadFile(install / "vantrel.ini"), "[Settings]\r\nComPort = 25\r\n");
}

TEST_F(CliSettings, ComPortOutOfRangeIsReportedAndCorrected) {
    test::WriteFile(install / "vantrel.ini", "[Settings]\r\nComPort = 25\r\n" + kDevice);
    auto r = Run({"-exit"});
    EXPECT_EQ(r.exitCode, 211);
    EXPECT_NE(r.err.find("ComPort setting in setup file out of range, corrected"),
              std::string::npos)
        << r.err;
    EXPECT_NE(test::ReadFile(install / "vantrel.ini").find("\r\nComPort = 1\r\n"),
              std::string::npos);
    // -com wins over the file and is saved.
    test::WriteFile(install / "vantrel.ini", "[Settings]\r\nComPort = 25\r\n" + kDevice);
    r = Run({"-com4", "-exit"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(test::ReadFile(install / "vantrel.ini").find("\r\nComPort = 4\r\n"),
              std::string::npos);
}

// A fresh installation names no device: the first start reports 227, which stops the batch;
// once a device was chosen it is kept, with what the command line set for it.
TEST_F(CliSettings, ADeviceIsSetUpOnceAndKeptWithItsPasscode) {
    std::filesystem::remove(install / "vantrel.ini");
    test::WriteFile(work / "in.hex", ":03100000010203E7\r\n:00000001FF\r\n");
    auto r = Run({"-openfilein.hex", "-saveasout.mot"});
    EXPECT_EQ(r.exitCode, 227);
    EXPECT_NE(r.err.find("Invalid default program settings found.\r\nPlease setup device."),
              std::string::npos)
        << r.err;
    EXPECT_FALSE(std::filesystem::exists(work / "out.mot"));

    r = Run({"-seldeviceTS60A48", "-password7,A1,A2,A3,A4,A5,A6,A7", "-exit"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    // The next start reads them back and saves them again.
    r = Run({"-openfilein.hex", "-saveasout.mot"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_TRUE(std::filesystem::exists(work / "out.mot"));
    std::string text = test::ReadFile(install / "vantrel.ini");
    for (const char* line : {"Device=\"TS60A48\"", "CpuPasswordLen = 7", "CpuPassword[1] = 161",
                             "CpuPassword[7] = 167"})
        EXPECT_NE(text.find(std::string("\r\n") + line + "\r\n"), std::string::npos) << line << "\n"
                                                                                     << text;
}

// A Device folder that went missing is named in a message, and the configured device is kept
// in the settings: once the folder is back, the installation works as before.
TEST_F(CliSettings, AMissingDeviceFolderIsNamedAndTheDeviceIsKept) {
    std::filesystem::rename(install / "Device", install / "Device.away");
    auto r = Run({"-exit"});
    EXPECT_EQ(r.exitCode, 227) << r.err;
    std::string folder = (install / "Device").string() + "/";
    EXPECT_NE(r.err.find("Can not find device file in directory " + folder), std::string::npos)
        << r.err;
    EXPECT_NE(test::ReadFile(install / "vantrel.ini").find("\r\n" + kDevice), std::string::npos)
        << test::ReadFile(install / "vantrel.ini");

    std::filesystem::rename(install / "Device.away", install / "Device");
    r = Run({"-exit"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.err, "");
}

// A read-only program directory, made in a private mount namespace with a read-only bind
// mount (a chmod would not stop root, who runs the tests).
TEST_F(CliSettings, AReadOnlyProgramDirectoryMovesTheSettingsToTheUsersFolder) {
    auto probe = test::RunProcess({"/usr/bin/unshare", "-m", "--propagation", "private", "/bin/sh",
                                   "-c", "mount --bind -o ro \"$0\" \"$0\" && ! touch \"$0/probe\"",
                                   install.Path().string()},
                                  work.Path());
    if (probe.exitCode != 0)
        GTEST_SKIP() << "no private mount namespace with a read-only bind mount here: "
                     << probe.err;
    test::WriteFile(install / "vantrel.ini", "[Settings]\r\nComPort = 25\r\n");
    test::TempDir config;
    std::filesystem::create_directories(config / "KORVID");
    test::WriteFile(config / "KORVID/vantrel.ini", "[Settings]\r\n" + kDevice);
    auto r = test::RunProcess(
        {"/usr/bin/unshare", "-m", "--propagation", "private", "/bin/sh", "-c",
         "mount --bind -o ro \"$0\" \"$0\" && XDG_CONFIG_HOME=\"$1\" exec \"$2\" -com6 -exit",
         install.Path().string(), config.Path().string(), cli.string()},
        work.Path());
    EXPECT_EQ(r.exitCode, 0) << r.err; // the file beside the program was not read
    EXPECT_EQ(r.err, "");
    std::string text = test::ReadFile(config / "KORVID/vantrel.ini");
    EXPECT_EQ(text.rfind("[Settings]\r\n", 0), 0u) << text;
    EXPECT_NE(text.find("\r\nComPort = 6\r\n"), std::string::npos) << text;
    EXPECT_EQ(test::ReadFile(install / "vantrel.ini"), "[Settings]\r\nComPort = 25\r\n");
}

// The per-user folder of a new user, several levels of it missing, is made before the
// settings are first written there.
TEST_F(CliSettings, AMissingUsersFolderIsMadeWhenTheProgramDirectoryIsReadOnly) {
    if (!CanBindReadOnly()) GTEST_SKIP() << "no private mount namespace with read-only binds";
    test::TempDir config;
    auto nested = config / "new/nested";
    auto r = test::RunProcess(
        {"/usr/bin/unshare", "-m", "--propagation", "private", "/bin/sh", "-c",
         "mount --bind -o ro \"$0\" \"$0\" && XDG_CONFIG_HOME=\"$1\" exec \"$2\" -com6 -exit",
         install.Path().string(), nested.string(), cli.string()},
        work.Path());
    EXPECT_EQ(r.err.find("Path not found!"), std::string::npos) << r.err;
    std::string text = test::ReadFile(nested / "KORVID/vantrel.ini");
    EXPECT_NE(text.find("\r\nComPort = 6\r\n"), std::string::npos) << text;
}

// A folder in which no file can be made (a read-only mount) with files in it that can be
// written (each a writable mount of its own): a program file and the settings are written in
// place.
TEST_F(CliSettings, WritableFilesInAReadOnlyFolderAreWrittenInPlace) {
    if (!CanBindReadOnly()) GTEST_SKIP() << "no private mount namespace with read-only binds";
    test::TempDir config;
    std::filesystem::create_directories(config / "KORVID");
    test::WriteFile(config / "KORVID/vantrel.ini", "[Settings]\r\n" + kDevice);
    test::WriteFile(work / "in.hex", ":03100000010203E7\r\n:00000001FF\r\n");
    test::WriteFile(work / "out.mot", "old");
    // ro FOLDER FILE: the folder read-only, the file in it writable.
    const std::string script =
        "set -e\n"
        "ro() { mount --bind -o ro \"$1\" \"$1\"; mount --bind \"$1/$2\" \"$1/$2\";\n"
        "       mount -o remount,bind,rw \"$1/$2\"; }\n"
        "ro \"$0\" vantrel.ini\n"
        "ro \"$1\" out.mot\n"
        "if touch \"$1/x\" 2>/dev/null; then exit 99; fi\n"
        "mount --bind -o ro \"$2\" \"$2\"\n" // the settings do not go beside the program
        "cd \"$1\"\n"
        "XDG_CONFIG_HOME=\"$3\" exec \"$4\" -com5 -openfilein.hex -saveasout.mot\n";
    auto r = test::RunProcess({"/usr/bin/unshare", "-m", "--propagation", "private", "/bin/sh",
                               "-c", script, (config / "KORVID").string(), work.Path().string(),
                               install.Path().string(), config.Path().string(), cli.string()},
                              work.Path());
    ASSERT_NE(r.exitCode, 99) << "the folder could still be written";
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(test::ReadFile(work / "out.mot"), "S1061000010203E3\r\nS9030000FC\r\n");
    std::string text = test::ReadFile(config / "KORVID/vantrel.ini");
    EXPECT_NE(text.find("\r\nComPort = 5\r\n"), std::string::npos) << text;
}

} // namespace
} // namespace vantrel
