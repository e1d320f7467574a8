// Opening the files that must be regular files: nothing else is opened for good, and no open
// blocks (a regression would hang on the FIFO; the alarm ends the test program instead).
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <functional>

#include "platform/RegularFile.h"
#include "support/TempDir.h"

namespace vantrel {
namespace {

TEST(OpenRegularFile, OnlyRegularFilesAreOpenedAndNothingBlocks) {
    test::TempDir dir;
    struct Case {
        const char* name;
        std::function<std::string()> make; // the path to open
        int flags;
        bool opened;
        const char* kind;
        int error;
    } cases[] = {
        {"regular file to read",
         [&] {
             test::WriteFile(dir / "a", "x");
             return (dir / "a").string();
         },
         O_RDONLY, true, nullptr, 0},
        {"new file to write", [&] { return (dir / "new").string(); }, O_WRONLY | O_CREAT | O_TRUNC,
         true, nullptr, 0},
        {"missing file to read", [&] { return (dir / "missing").string(); }, O_RDONLY, false,
         nullptr, ENOENT},
        {"FIFO to read",
         [&] {
             mkfifo((dir / "fifo-r").c_str(), 0644);
             return (dir / "fifo-r").string();
         },
         O_RDONLY, false, "a FIFO", 0},
        {"FIFO to write",
         [&] {
             mkfifo((dir / "fifo-w").c_str(), 0644);
             return (dir / "fifo-w").string();
         },
         O_WRONLY | O_CREAT | O_TRUNC, false, "a FIFO", 0},
        {"directory", [&] { return dir.Path().string(); }, O_RDONLY, false, "a directory", 0},
        {"device", [] { return std::string("/dev/null"); }, O_WRONLY | O_CREAT | O_TRUNC, false,
         "a device", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::string path = c.make();
        alarm(20);
        RegularFileOpen file = OpenRegularFile(path, c.flags);
        alarm(0);
        EXPECT_EQ(file.fd >= 0, c.opened);
        EXPECT_STREQ(file.kind, c.kind);
        EXPECT_EQ(file.error, c.error);
        if (file.fd >= 0) {
            EXPECT_EQ(fcntl(file.fd, F_GETFL) & O_NONBLOCK, 0); // cleared for the reads and writes
            close(file.fd);
        }
    }
    EXPECT_EQ(NotRegularText("a FIFO"), "It is a FIFO, not a regular file!");
}

} // namespace
} // namespace vantrel
