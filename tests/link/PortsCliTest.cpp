// vantrel-cli --ports over a fake device tree: the settings file beside the program is read,
// its [Ports] entries shown, and nothing is started, written or changed.
#include <gtest/gtest.h>

#include <sstream>
#include <vector>

#include "FakeDeviceTree.h"
#include "support/Process.h"

namespace vantrel {
namespace {

struct PortsCli : ::testing::Test {
    test::TempDir dir;
    test::FakeDeviceTree tree;
    std::filesystem::path cli = test::Install("vantrel-cli", dir.Path());
    std::string settings = "[Ports]\r\nCOM4=\"/dev/ttyS0\"\r\nCOM2=\"" +
                           std::string(test::FakeDeviceTree::kById) + "\"\r\n[Settings]\r\n";

    PortsCli() { test::WriteFile(dir / "vantrel.ini", settings); }

    test::ProcessResult Run(std::vector<std::string> args) {
        args.insert(args.begin(),
                    {"/usr/bin/env", "VANTREL_DEVICE_ROOT=" + tree.Root(), cli.string()});
        return test::RunProcess(args, dir.Path());
    }
};

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

TEST_F(PortsCli, ListsEveryComNumberInAnAlignedTable) {
    auto r = Run({"--ports"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.err, "");
    std::vector<std::string> lines = Lines(r.out);
    ASSERT_EQ(lines.size(), 22u) << r.out;
    EXPECT_EQ(lines[0], "Settings file: " + (dir / "vantrel.ini").string());
    // Row n + 1 is COMn; each column starts where its heading does.
    const std::string& heading = lines[1];
    struct Row {
        int com;
        std::vector<std::pair<const char*, std::string>> cells; // heading, cell text
    };
    const Row rows[] = {
        {1,
         {{"Device", "/dev/ttyUSB2"},
          {"Source", "USB list"},
          {"USB id", "10c4:ea60"},
          {"Serial", "-"},
          {"Product", "Dual?UART"},
          {"State", "ok"}}},
        {2,
         {{"Device", std::string(test::FakeDeviceTree::kById) + " -> /dev/ttyUSB10"},
          {"Source", "[Ports]"},
          {"USB id", "0403:6001"},
          {"Serial", "A1B2"},
          {"Product", "Vantrel 4"},
          {"State", "ok"}}},
        {3,
         {{"Device", "/dev/ttyACM0"},
          {"Source", "USB list"},
          {"USB id", "1fc9:0083"},
          {"Serial", "NX9"},
          {"Product", "Vantrel 5 NXT"},
          {"State", "ok"}}},
        {4, {{"Device", "/dev/ttyS0"}, {"Source", "[Ports]"}, {"USB id", "-"}, {"State", "ok"}}},
        {5, {{"Device", "-"}, {"Source", "not mapped"}}},
        {20, {{"Device", "-"}, {"Source", "not mapped"}}},
    };
    for (const Row& row : rows) {
        const std::string& line = lines[static_cast<std::size_t>(row.com) + 1];
        SCOPED_TRACE(line);
        EXPECT_EQ(line.rfind("COM" + std::to_string(row.com) + " ", 0), 0u);
        for (const auto& [column, text] : row.cells) {
            std::size_t at = heading.find(column);
            ASSERT_NE(at, std::string::npos) << column;
            EXPECT_EQ(line.substr(at, text.size() + 1),
                      text + (line.size() > at + text.size() ? " " : ""))
                << column;
        }
    }
}

TEST_F(PortsCli, StartsNothingAndChangesNothing) {
    struct Case {
        std::vector<std::string> args;
        int exitCode;
    };
    const Case cases[] = {{{"--ports"}, 0}, {{"-setDE", "--ports"}, 1}, {{"--ports", "-exit"}, 1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args.back());
        auto r = Run(c.args);
        EXPECT_EQ(r.exitCode, c.exitCode) << r.err;
        EXPECT_EQ(r.err, c.exitCode == 0 ? "" : "[VANTREL] --ports takes no other arguments\n");
        EXPECT_EQ(test::ReadFile(dir / "vantrel.ini"), settings);
        EXPECT_FALSE(std::filesystem::exists(dir / "Vantrel.err"));
        EXPECT_FALSE(std::filesystem::exists(dir / "Vantrel.LOG"));
        EXPECT_EQ(r.out.find("Thank you"), std::string::npos); // no start-up, no shutdown
    }
}

} // namespace
} // namespace vantrel
