// vantrel-cli with a FIFO where it keeps its settings, its error file or its protocol log: the
// run ends (a regression that blocks in an open is killed by the time limit and fails), the
// user is told which file it is, and the FIFO is left as it is.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "support/Process.h"
#include "support/TempDir.h"

namespace vantrel {
namespace {

namespace fs = std::filesystem;

TEST(CliFifo, AFifoInPlaceOfAFileIsNamedAndLeftAlone) {
    struct Case {
        const char* name;
        const char* fifo;     // in the installation ("install/...") or the
        bool inInstall;       // working directory
        std::string settings; // the settings file, unless it is the FIFO
        std::string arg;
        std::vector<std::string> messages; // after "Could not open file [path]\n" and so on
    } cases[] = {
        {"settings file",
         "vantrel.ini",
         true,
         "",
         {"-exit"},
         {"It is a FIFO, not a regular file!", "It could not be read at start-up"}},
        {"error file", "Vantrel.err", false, "", "-h", {"It is a FIFO, not a regular file!"}},
        {"protocol log",
         "Vantrel.LOG",
         false,
         "LOG_Enable = 1\r\n",
         {"-exit"},
         {"It is a FIFO, not a regular file!"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        test::TempDir install;
        test::TempDir work;
        fs::path cli = test::Install("vantrel-cli", install.Path());
        test::InstallSampleDevice(install.Path());
        if (!c.settings.empty())
            test::WriteFile(install / "vantrel.ini",
                            test::ReadFile(install / "vantrel.ini") + c.settings);
        fs::path fifo = (c.inInstall ? install.Path() : work.Path()) / c.fifo;
        fs::remove(fifo);
        ASSERT_EQ(mkfifo(fifo.c_str(), 0644), 0);

        auto r = test::RunProcess({cli.string(), c.arg}, work.Path(), 20);
        EXPECT_NE(r.exitCode, -1) << "the run did not end";
        std::string named = "Could not open file [" + fifo.string() + "]\n";
        EXPECT_NE(r.err.find(named + c.messages[0]), std::string::npos) << r.err;
        for (const auto& message : c.messages)
            EXPECT_NE(r.err.find(message), std::string::npos) << message << "\n" << r.err;
        EXPECT_TRUE(fs::is_fifo(fifo));
    }
}

} // namespace
} // namespace vantrel
