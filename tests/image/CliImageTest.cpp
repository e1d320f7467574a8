// vantrel-cli converting program files as a user runs it, in a scratch installation with a
// device set up.
#include <gtest/gtest.h>

#include "support/Process.h"
#include "support/TempDir.h"

namespace vantrel {
namespace {

struct CliFiles : ::testing::Test {
    test::TempDir dir;
    std::filesystem::path cli = test::Install("vantrel-cli", dir.Path());
    CliFiles() { test::InstallSampleDevice(dir.Path()); }

    test::ProcessResult Run(std::vector<std::string> args) {
        args.insert(args.begin(), cli.string());
        return test::RunProcess(args, dir.Path());
    }
};

TEST_F(CliFiles, ConvertsIntelHexToSRecords) {
    test::WriteFile(dir / "in.hex", ":020000021000EC\r\n:03000000010203F7\r\n:00000001FF\r\n");
    auto r = Run({"-openfilein.hex", "-saveasout.mot", "-exit"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(test::ReadFile(dir / "out.mot"), "S207010000010203F1\r\nS9030000FC\r\n");
    // A plain file name opens that file too.
    r = Run({"in.hex", "-saveasout.bin,FFFF-10001"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(test::ReadFile(dir / "out.bin"), "\xFF\x01\x02");
}

TEST_F(CliFiles, MissingOrBrokenInputEndsWithTen) {
    auto r = Run({"-openfilemissing.hex", "-saveasout.mot", "-exit"});
    EXPECT_EQ(r.exitCode, 10);
    EXPECT_NE(r.err.find("File not found: missing.hex"), std::string::npos) << r.err;
    EXPECT_FALSE(std::filesystem::exists(dir / "out.mot"));
    EXPECT_NE(test::ReadFile(dir / "Vantrel.err").find("File not found: missing.hex"),
              std::string::npos);

    test::WriteFile(dir / "bad.hex", ":03100000010203E7\r\n:03100000");
    r = Run({"-setDE", "-openfilebad.hex", "-saveasout.mot"});
    EXPECT_EQ(r.exitCode, 219);
    EXPECT_NE(r.err.find("Error in line 2: Expected Hex character : 0..9, A..F"), std::string::npos)
        << r.err;
}

} // namespace
} // namespace vantrel
