// The programmer link end to end: the program's own start-up, link thread, frames and protocol
// engine over pseudo-terminals, with vantrel-sim as the programmer. AUTO mode keeps the one
// port that answers; a 64 KiB download arrives byte-exact through a line that loses and
// changes bytes; the status bar's data rates move while it runs.
#include <gtest/gtest.h>

#include <random>

#include "app/LinkControl.h"
#include "base/CommandIds.h"
#include "ops/Operations.h"
#include "support/SimFixtures.h"

namespace vantrel {
namespace {

using Bytes = std::vector<uint8_t>;

using LinkWithSim = test::AppWithSim;

TEST_F(LinkWithSim, AutoKeepsThePortThatAnswersAndClosesTheOthers) {
    test::PtyPair silent1, silent3;
    test::SimProcess sim({"--serial", "4711"});
    const std::string simPath = sim.Path();
    ASSERT_FALSE(simPath.empty());
    WriteSettings(1, {silent1.SlavePath(), simPath, silent3.SlavePath()});
    Start();
    // AUTO: the settings and the command line only ever name one port, so the test asks for
    // all of them itself.
    LINK_Stop(*app);
    app->options.comPort = 0;
    ASSERT_EQ(LINK_Start(*app), std::nullopt);
    ASSERT_TRUE(WaitFor([&] { return Ready(); }, 10000));
    EXPECT_EQ(LINK_View(*app).activePort, 1);
    app->mainWindow->OnTimer();
    const std::string pane = ui.statusTexts[2].back();
    EXPECT_EQ(pane.rfind("COM2, Datarate[bytes/sec] ", 0), 0u) << pane;
    EXPECT_EQ(app->cmdline.serialNumber, 4711);
    // A 5.10 programmer with a session and its setup block takes files of its own.
    using Items = std::vector<std::pair<int, int>>;
    EXPECT_EQ(ui.otherMenuItems, (Items{{cmd::kDownload, cmd::kDevice}}));
    EXPECT_TRUE(ui.Messages().empty()) << ui.Messages().front();

    // Before the answer, the poll went out on the silent ports too.
    Bytes heard(64);
    ASSERT_GT(read(silent1.Master(), heard.data(), heard.size()), 7);
    EXPECT_EQ(heard[0], 0x68);

    app.reset(); // shutdown: the link stops, the log gets its last lines
    const std::string log = test::ReadFile(dir / "Vantrel.LOG");
    EXPECT_NE(log.find(" COM1 closed "), std::string::npos);
    EXPECT_NE(log.find(" COM3 closed "), std::string::npos);
    EXPECT_EQ(log.find(" COM2 closed "), std::string::npos);
    EXPECT_NE(log.find(" All COMPORTS closed "), std::string::npos);
}

TEST_F(LinkWithSim, DownloadArrivesWholeThroughAFaultyLine) {
    const std::filesystem::path dump = dir / "buffer.mot";
    // 1 % of the programmer's bytes lost and 1 % changed: every lost acknowledge and every
    // broken reply costs a repeated request. The PC's bytes suffer less: a write frame is 253
    // bytes long and goes out at most four times.
    test::SimProcess sim({"--drop", "0.0002", "--corrupt", "0.0002", "--reply-drop", "0.01",
                          "--reply-corrupt", "0.01", "--seed", "11", "--dump-buffer",
                          dump.string()});
    const std::string simPath = sim.Path();
    ASSERT_FALSE(simPath.empty());
    WriteSettings(1, {simPath});
    Start();
    ASSERT_TRUE(WaitFor([&] { return Ready(); }, 10000));

    Bytes program(64 * 1024);
    std::mt19937 random(3);
    for (uint8_t& b : program)
        b = static_cast<uint8_t>(random());
    app->doc.AddData(0xC0000, static_cast<uint32_t>(program.size()), program.data());

    PM_QueueJob(app->pm, 4);
    uint32_t fastestSend = 0, fastestReceive = 0;
    ASSERT_TRUE(WaitFor(
        [&] {
            const LinkView view = LINK_View(*app);
            fastestSend = std::max(fastestSend, view.transmitRate);
            fastestReceive = std::max(fastestReceive, view.receiveRate);
            return PM_JobCount(app->pm) == 0;
        },
        120000));
    EXPECT_EQ(PM_GetMessage(app->pm), std::nullopt);
    EXPECT_FALSE(app->pm.ImageDirty());
    EXPECT_GT(fastestSend, 1000u);
    EXPECT_GT(fastestReceive, 0u);

    app.reset();
    sim.Stop();
    const std::filesystem::path binary = dir / "buffer.bin";
    ASSERT_EQ(test::RunProcess({"/usr/bin/objcopy", "-I", "srec", "-O", "binary", dump.string(),
                                binary.string()},
                               dir.Path())
                  .exitCode,
              0);
    const std::string got = test::ReadFile(binary);
    ASSERT_EQ(got.size(), program.size());
    EXPECT_TRUE(std::equal(program.begin(), program.end(), got.begin(),
                           [](uint8_t a, char b) { return a == static_cast<uint8_t>(b); }));
}

// An image the programmer holds already (same session, nothing changed) is not sent again:
// programming queues only the program job. A cancelled wait sends the cancel job and says
// nothing.
TEST_F(LinkWithSim, ProgramSendsTheImageOnlyWhenTheProgrammerNeedsIt) {
    test::SimProcess sim({"--op-time", "300"});
    const std::string simPath = sim.Path();
    ASSERT_FALSE(simPath.empty());
    WriteSettings(1, {simPath});
    Start();
    ASSERT_TRUE(WaitFor([&] { return Ready(); }, 10000));
    const Bytes program(4096, 0x5A);
    app->doc.AddData(0xC0000, static_cast<uint32_t>(program.size()), program.data());
    using Texts = std::vector<std::string>;

    auto shown = [&](const char* caption) {
        return std::find(ui.progressCaptions.begin(), ui.progressCaptions.end(), caption) !=
               ui.progressCaptions.end();
    };
    RunOperation(*app, Operation::Program);
    EXPECT_TRUE(shown("Filling") && shown("Downloading") &&
                shown("Calculating CRC of Vantrel memory"));
    EXPECT_TRUE(shown("Clearing target")); // EnableAC is on
    ui.progressCaptions.clear();
    RunOperation(*app, Operation::Verify);
    EXPECT_EQ(ui.progressCaptions.front(), "Verifying");
    EXPECT_FALSE(shown("Filling") || shown("Downloading"));
    EXPECT_EQ(ui.operations,
              (Texts{"start program", "end program 0", "start verify", "end verify 0"}));
    EXPECT_EQ(ui.Messages(),
              (Texts{"All bytes programmed O.K. !", "All loaded bytes verified O.K. !"}));

    ui.cancelProgress = true;
    RunOperation(*app, Operation::BlankCheck);
    EXPECT_EQ(ui.operations.back(), "end blank check 7"); // "Canceled", and no error shown
    EXPECT_EQ(ui.Messages().size(), 2u);
    EXPECT_TRUE(WaitFor([&] { return PM_JobCount(app->pm) == 0; }, 2000)); // job 13 went out
}

// The programmer's copy differs from the image (its CRC): 55, and the next operation sends the
// image again instead of programming what the programmer holds.
TEST_F(LinkWithSim, CrcMismatchSendsTheImageAgainNextTime) {
    test::SimProcess sim({"--bad-crc", "1", "--op-time", "50"});
    const std::string simPath = sim.Path();
    ASSERT_FALSE(simPath.empty());
    WriteSettings(1, {simPath});
    Start();
    ASSERT_TRUE(WaitFor([&] { return Ready(); }, 10000));
    const Bytes program(1024, 0x3C);
    app->doc.AddData(0xC0000, static_cast<uint32_t>(program.size()), program.data());

    RunOperation(*app, Operation::ProgramVerify);
    EXPECT_EQ(ui.operations.back(), "end program and verify 55");
    EXPECT_EQ(ui.Messages().back(), "CRC check in programmer failed");
    EXPECT_TRUE(PM_NeedsDownload(app->pm));
    ui.progressCaptions.clear();
    RunOperation(*app, Operation::ProgramVerify);
    EXPECT_EQ(ui.operations.back(), "end program and verify 0");
    EXPECT_NE(std::find(ui.progressCaptions.begin(), ui.progressCaptions.end(), "Downloading"),
              ui.progressCaptions.end());
}

// "VANTREL lost Setup" (63) as an operation's result: the window has the setup block written
// back, and the link does it at its next idle poll.
TEST_F(LinkWithSim, LostSetupIsWrittenBack) {
    test::SimProcess sim({"--fail-op", "4=63", "--op-time", "50"});
    const std::string simPath = sim.Path();
    ASSERT_FALSE(simPath.empty());
    WriteSettings(1, {simPath});
    Start();
    ASSERT_TRUE(WaitFor([&] { return Ready(); }, 10000));
    RunOperation(*app, Operation::BlankCheck);
    EXPECT_EQ(ui.Messages().back(), "VANTREL lost Setup");
    EXPECT_TRUE(app->pm.Read([](const LinkShared& s) { return s.setupWritePending; }));
    EXPECT_TRUE(WaitFor(
        [&] { return !app->pm.Read([](const LinkShared& s) { return s.setupWritePending; }); },
        3000));
}

} // namespace
} // namespace vantrel
