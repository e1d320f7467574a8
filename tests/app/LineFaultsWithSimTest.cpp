// A 64 KiB program and verify by vantrel-cli over a line that loses, changes or doubles bytes,
// or falls silent in the middle of the download. A run may fail, but it must say so: an exit
// code of 0 means the program stands in the emulator's target. bench/line_faults.sh runs many
// more of these and counts.
#include <gtest/gtest.h>

#include "support/SimFixtures.h"

namespace vantrel {
namespace {

using LineFaultsWithSim = test::CliWithSim;

std::string Binary(const std::filesystem::path& dir, const std::string& name) {
    test::RunProcess({"/usr/bin/objcopy", "-I", "srec", "-O", "binary", name, name + ".bin"}, dir);
    return test::ReadFile(dir / (name + ".bin"));
}

TEST_F(LineFaultsWithSim, SuccessMeansTheProgramIsInTheTarget) {
    struct Case {
        const char* name;
        std::vector<std::string> sim;
    };
    const Case cases[] = {
        {"3 % changed both ways", {"--corrupt", "0.03"}},
        {"3 % of the answers changed", {"--reply-corrupt", "0.03"}},
        {"3 % of the answers lost", {"--reply-drop", "0.03"}},
        // Doubled acknowledges arrive while the next request waits for its own.
        {"3 % of the answers doubled", {"--reply-duplicate", "0.03"}},
        // Deaf for 2 s from the 137th of the 274 write frames on.
        {"2 s silence in the download", {"--silence-after", "137", "--silence-ms", "2000"}},
    };
    const std::string program = Binary(dir.Path(), "program.mot");
    ASSERT_EQ(program.size(), 0x10000u);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove(dir / "target.mot");
        std::filesystem::remove(dir / "Vantrel.err");
        std::vector<std::string> options = c.sim;
        options.insert(options.end(), {"--dump-target", (dir / "target.mot").string()});
        StartSim(options);
        const auto r = Run({"-clearDE", "program.mot", "-programverify"});
        sim->Stop();
        EXPECT_NE(r.exitCode, -1) << "killed: the run did not end";
        if (r.exitCode == 0) {
            EXPECT_TRUE(Binary(dir.Path(), "target.mot").substr(0, program.size()) == program);
        } else {
            EXPECT_FALSE(ErrorFile().empty());
        }
        sim.reset();
    }
}

} // namespace
} // namespace vantrel
