// Whole programming runs as a user starts them: vantrel-cli in a scratch installation, the
// emulator on a pseudo-terminal mapped to COM1, and the exit code, the error file and the
// bytes that ended up in the emulator or in the file read back.
#include <gtest/gtest.h>

#include "support/Process.h"
#include "support/PtyPair.h"
#include "support/SimProcess.h"
#include "support/TempDir.h"

namespace vantrel {
namespace {

class OperationsWithSim : public ::testing::Test {
  protected:
    OperationsWithSim() {
        test::InstallSampleDevice(dir.Path());
        // 64 KiB over the sample device's first bank (0xC0000, its default selection).
        test::RunProcess({"/usr/bin/srec_cat", "-generate", "0xC0000", "0xD0000", "-repeat-string",
                          "Vantrel programs", "-o", "program.mot"},
                         dir.Path());
        test::RunProcess({"/usr/bin/srec_cat", "-generate", "0xC0000", "0xC0100", "-constant",
                          "0xA5", "-o", "other.mot"},
                         dir.Path());
    }
    // Starts the emulator with `options` and maps it to COM1.
    void StartSim(const std::vector<std::string>& options) {
        sim = std::make_unique<test::SimProcess>(options);
        const std::string path = sim->Path();
        ASSERT_FALSE(path.empty());
        test::MapComPort(dir.Path(), 1, path);
    }
    test::ProcessResult Run(std::vector<std::string> args) {
        args.insert(args.begin(), cli.string());
        return test::RunProcess(args, dir.Path());
    }
    std::string ErrorFile() { return test::ReadFile(dir / "Vantrel.err"); }

    test::TempDir dir;
    std::filesystem::path cli = test::Install("vantrel-cli", dir.Path());
    std::unique_ptr<test::SimProcess> sim;
};

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

} // namespace
} // namespace vantrel
