// vantrel-cli as a user runs it: a scratch installation with a device set up, its exit code,
// its output and the error file it leaves in the working directory.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>

#include "app/CmdLine.h"
#include "support/Process.h"
#include "support/PtyPair.h"
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

// A port with nothing on the other end: the programmer does not answer.
TEST_F(Cli, AbsentProgrammerTimesOut) {
    test::PtyPair line;
    test::MapComPort(dir.Path(), 1, line.SlavePath());
    EXPECT_EQ(Run({"-checkblank", "-exit"}).exitCode, 9);
    EXPECT_EQ(Run({"-setDE", "-checkblank"}).exitCode, 209);
}

// Another program holds the port: the run says which device is in use and sends nothing.
TEST_F(Cli, PortInUseIsNamed) {
    test::PtyPair line;
    test::MapComPort(dir.Path(), 1, line.SlavePath());
    const int holder = open(line.SlavePath().c_str(), O_RDWR | O_NOCTTY);
    ASSERT_GE(holder, 0);
    ASSERT_EQ(flock(holder, LOCK_EX | LOCK_NB), 0);
    auto r = Run({"-setDE", "-checkblank"});
    close(holder);
    EXPECT_EQ(r.exitCode, 218);
    EXPECT_NE(ErrorFile().find("None of the selected com ports is available !\r\nCan not open "
                               "com-port: " +
                               line.SlavePath() + " is in use by another program."),
              std::string::npos)
        << ErrorFile();
    pollfd p{line.Master(), POLLIN, 0};
    EXPECT_EQ(poll(&p, 1, 0), 0); // not a byte was sent
}

// No device at all behind the COM number: 218 at start, and the batch does not run.
TEST_F(Cli, MissingPortIsReportedAndStopsTheBatch) {
    auto r = Run({"-setDE", "-checkblank"});
    EXPECT_EQ(r.exitCode, 218);
    EXPECT_NE(ErrorFile().find(" --- Error: 218\r\nNone of the selected com ports is available !"),
              std::string::npos)
        << ErrorFile();
    EXPECT_EQ(ErrorFile().find("Timeout"), std::string::npos) << ErrorFile();
    // A run that needs no programmer opens no port and says nothing about one.
    std::filesystem::remove(dir / "Vantrel.err");
    EXPECT_EQ(Run({"-setDE", "-exit"}).exitCode, 0);
    EXPECT_FALSE(std::filesystem::exists(dir / "Vantrel.err"));
}

TEST_F(Cli, InterruptedRunEndsThroughShutdownWithAFailureCode) {
    test::PtyPair line;
    test::MapComPort(dir.Path(), 1, line.SlavePath());
    auto r = test::RunProcess({cli.string(), "-checkblank"}, dir.Path(), 60, 500, SIGTERM);
    EXPECT_EQ(r.exitCode, 128 + SIGTERM);
    EXPECT_NE(r.err.find("Stopped by signal"), std::string::npos) << r.err;
    EXPECT_NE(r.out.find("Thank you for using KORVID tools"), std::string::npos);
}

// What goes to the error file shows on stderr too, each text once: the parameter readers'
// complaints as "[Error] text", the others as the message box they are.
TEST_F(Cli, EveryErrorFileTextShowsOnStderrOnce) {
    struct Case {
        std::vector<std::string> args;
        int exitCode;
        const char* text; // in the error file
        bool reader;      // a parameter reader's text: shown as "[Error] text"
    };
    const Case cases[] = {
        {{"-passwordzz"}, 1, "CMDLINE_GetHexValue: Not a hex value", true},
        {{"-password3,11,,33"}, 1, "Not a hex value", true},
        {{"-saveas"}, 10, "CMDLINE_GetString: Missing string", true},
        {{"-h"}, 1, "\"h\" is not a valid command !", false},
        {{"-com0"}, 211, "Invalid COM port setting", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args[0]);
        std::filesystem::remove(dir / "Vantrel.err");
        auto r = Run(c.args);
        EXPECT_EQ(r.exitCode, c.exitCode);
        EXPECT_NE(ErrorFile().find(c.text), std::string::npos) << ErrorFile();
        std::string shown = c.reader ? std::string("[Error] ") + c.text : c.text;
        auto first = r.err.find(shown);
        ASSERT_NE(first, std::string::npos) << r.err;
        EXPECT_EQ(r.err.find(c.text, first + shown.size()), std::string::npos) << r.err;
    }
}

// A program file path whose first folder begins with an option name is opened, not run.
TEST_F(Cli, AbsolutePathOpensTheFile) {
    auto r = Run({"/programs/blink.hex"});
    EXPECT_EQ(r.exitCode, 10);
    EXPECT_NE(r.err.find("File not found: /programs/blink.hex"), std::string::npos) << r.err;
}

// A reader that went away (stdout or stderr a pipe whose read end is closed) changes nothing:
// exit code, error file and settings are as with a working console.
TEST_F(Cli, ClosedConsoleStreamChangesNothing) {
    struct Case {
        const char* name;
        std::vector<std::string> args;
        int fd;
        int exitCode;
        std::string lastEntry; // the error file's last entry and its closing line end
    };
    const Case cases[] = {
        {"timeout, stdout closed",
         {"-setDE", "-checkblank"},
         1,
         209,
         "No response from Vantrel (Timeout)\r\n"},
        {"help box, stdout closed", {"-h"}, 1, 1, "\"h\" is not a valid command !\r\n"},
        {"message, stderr closed", {"-h"}, 2, 1, "\"h\" is not a valid command !\r\n"},
    };
    test::PtyPair line;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        test::InstallSampleDevice(dir.Path());
        test::MapComPort(dir.Path(), 1, line.SlavePath());
        std::filesystem::remove(dir / "Vantrel.err");
        std::vector<std::string> args = c.args;
        args.insert(args.begin(), cli.string());
        auto r = test::RunProcessWithClosedPipe(args, dir.Path(), c.fd);
        EXPECT_EQ(r.exitCode, c.exitCode);
        std::string err = ErrorFile();
        EXPECT_TRUE(err.ends_with(c.lastEntry)) << err;
        std::string settings = test::ReadFile(dir / "vantrel.ini");
        EXPECT_NE(settings.find("\r\nComPort = "), std::string::npos) << settings; // saved
    }
}

// A stop request also ends a call that blocks: here the open of a FIFO that nobody writes.
TEST_F(Cli, StopRequestEndsABlockedOpen) {
    ASSERT_EQ(mkfifo((dir / "pipe.hex").c_str(), 0600), 0);
    auto r = test::RunProcess({cli.string(), "pipe.hex"}, dir.Path(), 15, 1500, SIGTERM);
    EXPECT_EQ(r.exitCode, 128 + SIGTERM);
    EXPECT_NE(r.err.find("Stopped by signal"), std::string::npos) << r.err;
    EXPECT_NE(r.out.find("Thank you for using KORVID tools"), std::string::npos);
}

} // namespace
} // namespace vantrel
