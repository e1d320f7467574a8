// Many program-and-verify runs against vantrel-sim: in one process as the window runs them (the
// menu command through the main window's logic), and as a loop of vantrel-cli runs on one
// emulator. Open descriptors must stay where they were after the first run, every run must
// succeed, and the settings file must be whole after every vantrel-cli run. The figures
// (resident memory, descriptors, protocol log size) are printed; bench/long_runs.sh runs the
// same with VANTREL_LONG_RUNS=200.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <random>

#include "base/CommandIds.h"
#include "settings/SettingsText.h"
#include "support/SimFixtures.h"

namespace vantrel {
namespace {

int Runs() {
    const char* text = std::getenv("VANTREL_LONG_RUNS");
    const int runs = text ? std::atoi(text) : 0;
    return runs > 1 ? runs : 20;
}

// "VmRSS:" of /proc/<pid>/status in kB; 0 when not found.
long ResidentKb(const std::string& pid) {
    const std::string status = test::ReadFile("/proc/" + pid + "/status");
    const auto at = status.find("VmRSS:");
    return at == std::string::npos ? 0 : std::atol(status.c_str() + at + 6);
}

int OpenDescriptors(const std::string& pid) {
    int n = 0;
    for ([[maybe_unused]] const auto& entry :
         std::filesystem::directory_iterator("/proc/" + pid + "/fd"))
        ++n;
    return n;
}

long FileSize(const std::filesystem::path& path) {
    std::error_code ec;
    const auto size = std::filesystem::file_size(path, ec);
    return ec ? -1 : static_cast<long>(size);
}

struct Sample {
    long rssKb;
    int fds;
};

Sample Take(const std::string& pid) {
    return {ResidentKb(pid), OpenDescriptors(pid)};
}

void Print(const char* what, int runs, Sample first, Sample last, long logBytes) {
    std::printf("%s, %d runs: VmRSS %ld -> %ld kB, open descriptors %d -> %d, "
                "Vantrel.LOG %ld bytes\n",
                what, runs, first.rssKb, last.rssKb, first.fds, last.fds, logBytes);
    std::fflush(stdout);
}

using LongRunsWithSim = test::AppWithSim;

TEST_F(LongRunsWithSim, ProgramAndVerifyAgainAndAgainInOneProcess) {
    test::SimProcess sim({"--op-time", "20"});
    const std::string simPath = sim.Path();
    ASSERT_FALSE(simPath.empty());
    WriteSettings(1, {simPath});
    Start();
    ASSERT_TRUE(WaitFor([&] { return Ready(); }, 10000));

    std::vector<uint8_t> program(64 * 1024);
    std::mt19937 random(1);
    for (uint8_t& b : program)
        b = static_cast<uint8_t>(random());
    const int runs = Runs();
    Sample first{}, last{};
    for (int i = 0; i < runs; ++i) {
        SCOPED_TRACE("run " + std::to_string(i + 1));
        // Another image each time: every run downloads again.
        program[static_cast<std::size_t>(i) % program.size()] ^= 0x5A;
        app->doc.ClearImage();
        app->doc.AddData(0xC0000, static_cast<uint32_t>(program.size()), program.data());
        app->doc.SetModifiedFlag(true);
        ui.boxes.clear();
        ui.statusTexts.clear(); // the fake keeps every text; the window keeps none
        ui.progressCaptions.clear();
        ui.operations.clear();
        app->mainWindow->OnCommand(cmd::kProgramVerify);
        ASSERT_EQ(ui.Messages(),
                  std::vector<std::string>{"All bytes programmed and verified O.K. !"});
        (i == 0 ? first : last) = Take("self");
    }
    Print("in one process", runs, first, last, FileSize(dir / "Vantrel.LOG"));
    EXPECT_EQ(last.fds, first.fds);
}

// The emulator runs on while vantrel-cli comes and goes; vantrel-cli's own figures are those of
// a process that ends (bench/long_runs.sh prints its peak).
using CliLongRunsWithSim = test::CliWithSim;

TEST_F(CliLongRunsWithSim, ProgramAndVerifyAgainAndAgainByVantrelCli) {
    StartSim({"--op-time", "20"});
    const std::string simPid = std::to_string(sim->Pid());
    // The log is on: it is written anew by every run.
    {
        std::string text = test::ReadFile(dir / "vantrel.ini");
        const std::string section = "[Settings]\r\n";
        ASSERT_EQ(text.rfind(section, 0), 0u) << text;
        text.insert(section.size(), "LOG_Enable=1\r\n");
        std::ofstream(dir / "vantrel.ini", std::ios::binary | std::ios::trunc) << text;
    }
    const int runs = Runs();
    Sample first{}, last{};
    long logBytes = 0;
    for (int i = 0; i < runs; ++i) {
        SCOPED_TRACE("run " + std::to_string(i + 1));
        const auto r = Run({"-clearDE", "program.mot", "-programverify"});
        ASSERT_EQ(r.exitCode, 0) << r.err << ErrorFile();
        // Whole: it reads back with the device, the port and its map.
        SettingsText settings;
        ASSERT_TRUE(settings.Assign(test::ReadFile(dir / "vantrel.ini")));
        const auto device = settings.FindValue("Settings", "Device");
        ASSERT_TRUE(device.has_value()) << settings.Str();
        EXPECT_EQ(std::string(settings.At(*device)).rfind("=\"NR16C62A\"", 0), 0u);
        EXPECT_TRUE(settings.FindValue("Settings", "ComPort").has_value());
        EXPECT_TRUE(settings.FindValue("Ports", "COM1").has_value());
        EXPECT_TRUE(settings.Str().ends_with("\r\n"));
        (i == 0 ? first : last) = Take(simPid);
        logBytes = std::max(logBytes, FileSize(dir / "Vantrel.LOG"));
    }
    Print("vantrel-sim under vantrel-cli", runs, first, last, logBytes);
    EXPECT_EQ(last.fds, first.fds);
}

} // namespace
} // namespace vantrel
