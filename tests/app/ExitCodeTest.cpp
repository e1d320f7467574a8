#include <gtest/gtest.h>

#include "app/CmdLine.h"
#include "app/Startup.h"

namespace vantrel {
namespace {

TEST(ExitCode, MapsTheLastBatchCommandThenTheErrorCode) {
    struct Case {
        int32_t error;
        bool detailed;
        int lastCommand;
        int32_t expected;
    };
    const Case cases[] = {
        {0, false, cmd::kProgram, 0},
        {0, true, 0, 0},
        {2, false, 0, 2}, // interactive program failure: 2 is not mapped
        {2, true, 0, 2},
        {2, false, cmd::kProgram, 6},
        {2, true, cmd::kProgram, 2},
        {4, false, cmd::kCheckBlank, 2},
        {1, false, cmd::kClearAll, 4},
        {1, false, cmd::kClearChip, 4},
        {1, false, cmd::kClear, 4},
        {3, false, cmd::kVerify, 3},
        {3, false, cmd::kProgramVerify, 5},
        {207, false, cmd::kReadBack, 7},
        {219, false, cmd::kSaveAs, 10},
        {231, false, cmd::kMerge, 10},
        {221, false, cmd::kOpenFile, 10},
        {208, false, cmd::kStart, 8},
        {209, false, cmd::kSetDE, 9},
        {209, true, cmd::kSetDE, 209},
        {40, false, 0, 9},
        {44, false, 0, 9},
        {73, false, 0, 9},
        {81, false, 0, 9},
        {210, false, 0, 10},
        {211, false, 0, 211},
        {227, false, cmd::kSetFill, 227},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ExitCodeFor(c.error, c.detailed, c.lastCommand), c.expected)
            << c.error << " " << c.detailed << " " << c.lastCommand;
}

} // namespace
} // namespace vantrel
