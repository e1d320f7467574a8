// The recent-file list: newest first, each file once, at most ten, and its menu texts.
#include <gtest/gtest.h>

#include "ui/RecentFiles.h"

namespace vantrel {
namespace {

using List = std::vector<std::string>;

TEST(RecentFiles, NewestFirstEachOnceAtMostTen) {
    struct Case {
        const char* name;
        List before;
        const char* added;
        List after;
    };
    List ten = {"/0", "/1", "/2", "/3", "/4", "/5", "/6", "/7", "/8", "/9"};
    const Case cases[] = {
        {"into an empty list", {}, "/a", {"/a"}},
        {"on top", {"/a", "/b"}, "/c", {"/c", "/a", "/b"}},
        {"moved up, not doubled", {"/a", "/b", "/c"}, "/c", {"/c", "/a", "/b"}},
        {"the oldest drops out",
         ten,
         "/x",
         {"/x", "/0", "/1", "/2", "/3", "/4", "/5", "/6", "/7", "/8"}},
        {"a listed one keeps all ten",
         ten,
         "/9",
         {"/9", "/0", "/1", "/2", "/3", "/4", "/5", "/6", "/7", "/8"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(WithRecentFile(c.before, c.added), c.after);
    }
    EXPECT_EQ(WithoutRecentFile({"/a", "/b"}, "/a"), (List{"/b"}));
}

TEST(RecentFiles, MenuTexts) {
    EXPECT_EQ(RecentFileMenuText(0, "/home/u/prog.mot"), "&1 /home/u/prog.mot");
    EXPECT_EQ(RecentFileMenuText(1, "/a&b.hex"), "&2 /a&&b.hex");
    EXPECT_EQ(RecentFileMenuText(9, "/x"), "1&0 /x");
}

} // namespace
} // namespace vantrel
