// vantrel-cli as a user runs it: a scratch installation with a device set up, its exit code,
// its output and the error file it leaves in the working directory.
#include <gtest/gtest.h>

#include <csignal>

#include "app/CmdLine.h"
#include "support/Process.h"
#include "support/TempDir.h"

namespace vantrel {
namespace {

struct Cli : ::testing::Test {
    test::TempDir dir;
    std::filesystem::path cli = test::Install("vantrel-cli", dir.Path());
    Cli() { test::InstallSampleDevice(dir.Path()); }

    test::ProcessResult Run(std::vector<std::string> args) {
        args.insert(args.begin(), cli.string());
        return test::RunProcess(args, dir.Path());
    }
    std::string ErrorFile() { return test::ReadFile(dir / "Vantrel.err"); }
};

TEST_F(Cli, InvalidOptionShowsHelpAndEndsWithOne) {
    auto r = Run({"-h"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.out, CMDLINE_HelpText() + "Thank you for using KORVID tools\n");
    EXPECT_NE(r.err.find("\"h\" is not a valid command !"), std::string::npos) << r.err;
    std::string err = ErrorFile();
    EXPECT_EQ(err.rfind("* Program start: ", 0), 0u) << err;
    EXPECT_NE(err.find(" --- Error:   1\r\n\"h\" is not a valid command !"), std::string::npos)
        << err;
}

TEST_F(Cli, ParameterErrorsOfAtOnceOptionsEndWith211) {
    auto r = Run({"-com0"});
    EXPECT_EQ(r.exitCode, 211);
    EXPECT_NE(ErrorFile().find(" --- Error: 211\r\nExpected a value >= 1\r\nParameter error\r\n"
                               "Invalid COM port setting\r\n -com"),
              std::string::npos)
        << ErrorFile();
    EXPECT_EQ(Run({"-index10"}).exitCode, 211);
}

TEST_F(Cli, SuccessfulBatchEndsWithZeroAndNoErrorFile) {
    auto r = Run({"-setDE", "-clearDE", "-exit"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.err, "");
    EXPECT_FALSE(std::filesystem::exists(dir / "Vantrel.err"));
}

TEST_F(Cli, AbsentProgrammerTimesOut) {
    EXPECT_EQ(Run({"-checkblank", "-exit"}).exitCode, 9);
    EXPECT_EQ(Run({"-setDE", "-checkblank"}).exitCode, 209);
}

TEST_F(Cli, InterruptedRunEndsThroughShutdownWithAFailureCode) {
    auto r = test::RunProcess({cli.string(), "-checkblank"}, dir.Path(), 60, 500, SIGTERM);
    EXPECT_EQ(r.exitCode, 128 + SIGTERM);
    EXPECT_NE(r.err.find("Stopped by signal"), std::string::npos) << r.err;
    EXPECT_NE(r.out.find("Thank you for using KORVID tools"), std::string::npos);
}

// A program file path whose first folder begins with an option name is opened, not run.
TEST_F(Cli, AbsolutePathOpensTheFile) {
    auto r = Run({"/programs/blink.hex"});
    EXPECT_EQ(r.exitCode, 10);
    EXPECT_NE(r.err.find("File not found: /programs/blink.hex"), std::string::npos) << r.err;
}

} // namespace
} // namespace vantrel
