#include <gtest/gtest.h>

#include "platform/ProgramDirectory.h"

namespace vantrel {
namespace {

TEST(ProgramDirectory, CutAfterTheLastSlashWithinTheBuffer) {
    EXPECT_EQ(ProgramDirectoryFromPath("/opt/vantrel/bin/vantrel"), "/opt/vantrel/bin/");
    EXPECT_EQ(ProgramDirectoryFromPath("vantrel"), "");
    // A path longer than the buffer is cut inside it: the directory is then a wrong one.
    std::string deep = "/" + std::string(260, 'd') + "/sub/vantrel";
    EXPECT_EQ(ProgramDirectoryFromPath(deep), "/");
    std::string exact = "/" + std::string(240, 'd') + "/vantrel-cli"; // 254 characters
    EXPECT_EQ(ProgramDirectoryFromPath(exact), "/" + std::string(240, 'd') + "/");
}

TEST(ProgramDirectory, OfThisProcessEndsWithSlash) {
    std::string dir = ProgramDirectory();
    ASSERT_FALSE(dir.empty());
    EXPECT_EQ(dir.back(), '/');
}

} // namespace
} // namespace vantrel
