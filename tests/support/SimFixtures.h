#pragma once
// The two ways the tests meet the emulator (vantrel-sim, on a pseudo-terminal mapped to COM1):
//   CliWithSim  vantrel-cli as a process in a scratch installation with the sample device;
//   AppWithSim  the windowed program's start-up in the test's own process, on a real clock,
//               its link on the terminals that [Ports] names (no device tree of this machine).
#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "app/App.h"
#include "app/Startup.h"
#include "platform/SteadyClock.h"
#include "platform/TermiosSerialPort.h"
#include "support/FakeUi.h"
#include "support/Process.h"
#include "support/PtyPair.h"
#include "support/SimProcess.h"
#include "support/TempDir.h"

namespace vantrel::test {

// An S-record file of `name` in `dir` over [first, last), filled with a repeated text.
inline void GenerateProgram(const std::filesystem::path& dir, const std::string& name,
                            const std::string& first, const std::string& last) {
    RunProcess({"/usr/bin/srec_cat", "-generate", first, last, "-repeat-string", "Vantrel programs",
                "-o", name},
               dir);
}

class CliWithSim : public ::testing::Test {
  protected:
    // program.mot: 64 KiB over the sample device's first bank (0xC0000, its default selection).
    CliWithSim() {
        InstallSampleDevice(dir.Path());
        GenerateProgram(dir.Path(), "program.mot", "0xC0000", "0xD0000");
    }
    // Starts the emulator with `options` and maps it to COM1.
    void StartSim(const std::vector<std::string>& options) {
        sim = std::make_unique<SimProcess>(options);
        simPath = sim->Path();
        ASSERT_FALSE(simPath.empty());
        MapComPort(dir.Path(), 1, simPath);
    }
    ProcessResult Run(std::vector<std::string> args) {
        args.insert(args.begin(), cli.string());
        return RunProcess(args, dir.Path());
    }
    std::string ErrorFile() { return ReadFile(dir / "Vantrel.err"); }

    TempDir dir;
    std::filesystem::path cli = Install("vantrel-cli", dir.Path());
    std::unique_ptr<SimProcess> sim;
    std::string simPath;
};

class AppWithSim : public ::testing::Test {
  protected:
    ~AppWithSim() override { app.reset(); }

    // The settings: the sample device, the COM port, the protocol log on, and [Ports].
    void WriteSettings(int comPort, const std::vector<std::string>& ports) {
        InstallSampleDevice(dir.Path());
        std::ofstream ini(dir / "vantrel.ini", std::ios::binary | std::ios::trunc);
        ini << "[Settings]\r\nDevice=\"" << kSampleDevice << "\"\r\nComPort=" << comPort
            << "\r\nLOG_Enable=1\r\n[Ports]\r\n";
        for (std::size_t i = 0; i < ports.size(); ++i)
            ini << "COM" << i + 1 << "=\"" << ports[i] << "\"\r\n";
    }
    // The windowed program's start-up.
    void Start() {
        app = std::make_unique<App>(ui, clock);
        app->programDirectory = dir.Path().string() + "/";
        app->makeSerialPort = [] { return std::make_unique<TermiosSerialPort>(); };
        app->deviceRoot = (dir / "no-device-tree").string();
        const char* argv[] = {"vantrel"};
        ASSERT_TRUE(InitInstance(*app, 1, argv, StartupOptions{}));
    }
    // Pumps the main thread's queue (where the link's reports are shown) until `done` or the
    // time is up.
    template <class F> bool WaitFor(F done, int ms) {
        const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
        while (std::chrono::steady_clock::now() < end) {
            APP_PumpMessages(*app);
            if (done()) return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        return done();
    }
    // A session, and the programmer's setup block read.
    bool Ready() {
        return app->pm.Read(
            [](const LinkShared& s) { return s.sessionValid && s.setupBlockValid; });
    }

    TempDir dir{true};
    FakeUi ui;
    SteadyClock clock;
    std::unique_ptr<App> app;
};

} // namespace vantrel::test
