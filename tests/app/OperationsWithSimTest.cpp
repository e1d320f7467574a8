// Whole programming runs as a user starts them: vantrel-cli in a scratch installation, the
// emulator on a pseudo-terminal mapped to COM1, and the exit code, the error file and the
// bytes that ended up in the emulator or in the file read back.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <thread>

#include "support/SimFixtures.h"

namespace vantrel {
namespace {

class OperationsWithSim : public test::CliWithSim {
  protected:
    OperationsWithSim() {
        test::RunProcess({"/usr/bin/srec_cat", "-generate", "0xC0000", "0xC0100", "-constant",
                          "0xA5", "-o", "other.mot"},
                         dir.Path());
    }
};

// True once a process holds the lock on the terminal: looked up in /proc/locks, so that the
// look itself never takes the lock from the program under test.
bool HeldByAnother(const std::string& path) {
    struct stat st {};
    if (stat(path.c_str(), &st) != 0) return false;
    const std::string inode = ":" + std::to_string(st.st_ino) + " ";
    return test::ReadFile("/proc/locks").find(inode) != std::string::npos;
}

TEST_F(OperationsWithSim, ExitCodesOfWholeRuns) {
    struct Case {
        const char* name;
        std::vector<std::string> sim;
        std::vector<std::string> args;
        int exitCode;
        std::string errorText;             // in the error file
        std::vector<std::string> before{}; // a successful run first, on the same emulator
    };
    const Case cases[] = {
        {"program and verify", {}, {"program.mot", "-programverify"}, 0, ""},
        {"verify fails",
         {"--fail-verify", "0xC0010"},
         {"program.mot", "-programverify"},
         5,
         "Verification failed !\r\nAddr 0xC0010: 0x"},
        {"verify of an erased target, detailed",
         {},
         {"-setDE", "program.mot", "-verify"},
         3,
         "Verification failed !\r\nAddr 0xC0000: 0xFF (expected 0x56)"},
        {"verify of an erased target", {}, {"program.mot", "-verify"}, 3, ""},
        {"blank check fails",
         {"--fail-blank", "0xC0004"},
         {"-checkblank"},
         2,
         "Blank check failed !\r\nAddr 0xC0004: 0x00 (expected 0xFF)"},
        {"blank", {}, {"-checkblank"}, 0, ""},
        {"unreadable target",
         {"--unreadable"},
         {"-readback"},
         7,
         "Target does not support reading !"},
        {"target supply too high", {"--vtarget", "6000"}, {"-setDE", "-checkblank"}, 223, ""},
        {"target supply too low", {"--vtarget", "2000"}, {"-checkblank"}, 2, ""},
        {"file missing", {}, {"/no/such/file.hex", "-programverify"}, 10, "File not found"},
        // Programming only clears bits: other data over programmed bytes, without the clear.
        {"program over programmed bytes",
         {},
         {"other.mot", "-clearACBP", "-program"},
         6,
         "Programming failed at Addr: 0xC0000",
         {"program.mot", "-programverify"}},
        {"clear fails", {"--fail-op", "1=1"}, {"-clear"}, 4, "Erase failed"},
        {"start application fails", {"--fail-op", "12=5"}, {"-start"}, 8, ""},
        {"start application fails, detailed", {"--fail-op", "12=5"}, {"-setDE", "-start"}, 208, ""},
        {"the programmer falls silent",
         {"--silence-after", "20", "--silence-ms", "60000"},
         {"program.mot", "-programverify"},
         5,
         "Communication timed out !"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        StartSim(c.sim);
        if (!c.before.empty()) {
            std::vector<std::string> first = c.before;
            first.insert(first.begin(), "-clearDE");
            ASSERT_EQ(Run(first).exitCode, 0);
        }
        std::filesystem::remove(dir / "Vantrel.err");
        std::vector<std::string> args = c.args;
        // The option is saved with the settings: each run says which way it wants it.
        if (args.front() != "-setDE") args.insert(args.begin(), "-clearDE");
        auto r = Run(args);
        EXPECT_EQ(r.exitCode, c.exitCode) << r.err;
        if (c.exitCode == 0) {
            EXPECT_FALSE(std::filesystem::exists(dir / "Vantrel.err"));
        }
        if (!c.errorText.empty()) {
            EXPECT_NE(ErrorFile().find(c.errorText), std::string::npos) << ErrorFile();
        }
        sim.reset();
    }
}

TEST_F(OperationsWithSim, ReadBackGivesWhatTheTargetHolds) {
    const std::filesystem::path target = dir / "target.mot";
    StartSim({"--dump-target", target.string()});
    ASSERT_EQ(Run({"program.mot", "-programverify"}).exitCode, 0);
    auto r = Run({"-readback", "-saveas", "back.mot"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    sim->Stop();
    auto binary = [&](const std::string& name) {
        test::RunProcess({"/usr/bin/objcopy", "-I", "srec", "-O", "binary", name, name + ".bin"},
                         dir.Path());
        return test::ReadFile(dir / (name + ".bin"));
    };
    const std::string back = binary("back.mot");
    EXPECT_EQ(back.size(), 0x10000u);
    EXPECT_TRUE(back == binary("program.mot"));
    EXPECT_TRUE(back == binary("target.mot").substr(0, back.size()));
}

// Two runs at once on one COM number: one programs, the other is told at once that the port is
// in use (it has ended while the first still holds the port); the programmer sees one session
// only.
TEST_F(OperationsWithSim, SecondRunOnTheSamePortIsToldItIsInUse) {
    StartSim({"--op-time", "3000"});
    test::ProcessResult first, second;
    std::thread one([&] { first = Run({"-clearDE", "-checkblank"}); });
    for (int i = 0; i < 1000 && !HeldByAnother(simPath); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    second = Run({"-clearDE", "-checkblank"});
    const bool firstStillRunning = HeldByAnother(simPath);
    one.join();
    EXPECT_TRUE(firstStillRunning) << "the second run waited for the first";
    EXPECT_EQ(first.exitCode, 0) << first.err;
    EXPECT_EQ(second.exitCode, 218) << second.err; // no port: the batch does not run
    EXPECT_NE(second.err.find("is in use by another program."), std::string::npos) << second.err;
    EXPECT_NE(sim->Stop().find(" 1 sessions started"), std::string::npos);
}

} // namespace
} // namespace vantrel
