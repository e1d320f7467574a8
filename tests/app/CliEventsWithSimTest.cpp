// vantrel-cli --json against the emulator: stdout is nothing but events, one JSON object a
// line, from the run start to the run end; the human texts go to stderr.
#include <gtest/gtest.h>

#include <map>
#include <nlohmann/json.hpp>
#include <set>
#include <sstream>

#include "support/SimFixtures.h"

namespace vantrel {
namespace {

using nlohmann::json;

constexpr const char* kFarewellLine = "Thank you for using KORVID tools\n";

class CliEventsWithSim : public test::CliWithSim {
  protected:
    // 4 KiB: at the real line rate (--pace) its download takes long enough to be seen under way.
    void WriteSmallProgram() {
        test::GenerateProgram(dir.Path(), "small.mot", "0xC0000", "0xC1000");
    }
    // Every line of stdout as an event; a line that is no JSON object fails the test.
    static std::vector<json> Events(const std::string& out) {
        std::vector<json> events;
        std::istringstream lines(out);
        std::string line;
        while (std::getline(lines, line)) {
            json event = json::parse(line, nullptr, false);
            EXPECT_TRUE(event.is_object()) << "not an event: " << line;
            if (event.is_object()) events.push_back(event);
        }
        return events;
    }
    static std::vector<json> OfKind(const std::vector<json>& events, const std::string& kind) {
        std::vector<json> found;
        for (const json& e : events)
            if (e.value("event", "") == kind) found.push_back(e);
        return found;
    }
};

TEST_F(CliEventsWithSim, ProgramAndVerify) {
    StartSim({});
    auto r = Run({"--json", "-clearDE", "program.mot", "-programverify"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const auto events = Events(r.out);
    ASSERT_GE(events.size(), 4u) << r.out;
    EXPECT_EQ(events.front()["event"], "runStart");
    EXPECT_EQ(events.front()["port"], "COM1");
    EXPECT_EQ(events.front()["portPath"], simPath);
    EXPECT_EQ(events.front()["device"], test::kSampleDevice);
    EXPECT_EQ(events.front()["version"].get<std::string>().rfind("Vantrel V", 0), 0u);
    EXPECT_EQ(events.back(), json({{"event", "runEnd"}, {"exitCode", 0}}));

    const auto starts = OfKind(events, "operationStart");
    ASSERT_EQ(starts.size(), 1u);
    EXPECT_EQ(starts[0]["name"], "program and verify");
    const auto ends = OfKind(events, "operationEnd");
    ASSERT_EQ(ends.size(), 1u);
    EXPECT_EQ(ends[0]["result"], 0);
    EXPECT_EQ(ends[0]["text"], "All bytes programmed and verified O.K. !");
    ASSERT_TRUE(ends[0].contains("imageCrc"));
    EXPECT_EQ(ends[0]["imageCrc"], ends[0]["programmerCrc"]);
    EXPECT_TRUE(OfKind(events, "error").empty());

    // Each caption's first progress event comes, and none is out of range.
    std::set<std::string> captions;
    for (const json& p : OfKind(events, "progress")) {
        captions.insert(p["caption"].get<std::string>());
        EXPECT_GE(p["percent"], 0);
        EXPECT_LE(p["percent"], 100);
        EXPECT_LE(p["bytesDone"], p["bytesTotal"]);
    }
    for (const char* caption : {"Downloading", "Clearing target", "Programming"})
        EXPECT_TRUE(captions.count(caption)) << caption;

    // The human texts: the time of the operation as the event gives it, the farewell.
    const std::string time = "Time for last action (sec:ms) " +
                             std::to_string(ends[0]["elapsedMs"].get<uint32_t>() / 1000) + ":";
    EXPECT_NE(r.err.find(time), std::string::npos) << r.err;
    EXPECT_NE(r.err.find(kFarewellLine), std::string::npos);
}

TEST_F(CliEventsWithSim, FailingVerifyReportsItsError) {
    StartSim({"--fail-verify", "0xC0010"});
    auto r = Run({"--json", "-clearDE", "program.mot", "-programverify"});
    EXPECT_EQ(r.exitCode, 5) << r.err;
    const auto events = Events(r.out);
    ASSERT_FALSE(events.empty());
    EXPECT_EQ(events.front()["event"], "runStart");
    EXPECT_EQ(events.back(), json({{"event", "runEnd"}, {"exitCode", 5}}));
    const auto errors = OfKind(events, "error");
    ASSERT_EQ(errors.size(), 1u) << r.out;
    EXPECT_EQ(errors[0]["code"], 3);
    EXPECT_EQ(
        errors[0]["text"].get<std::string>().rfind("Verification failed !\r\nAddr 0xC0010", 0), 0u);
    EXPECT_TRUE(OfKind(events, "message").empty()) << "the error's box is no second event";
    const auto ends = OfKind(events, "operationEnd");
    ASSERT_EQ(ends.size(), 1u);
    EXPECT_EQ(ends[0]["result"], 3);
    EXPECT_EQ(ends[0]["text"], errors[0]["text"]);
}

TEST_F(CliEventsWithSim, TransferProgressAtTheLineRate) {
    WriteSmallProgram();
    StartSim({"--pace"});
    auto r = Run({"--json", "-clearDE", "small.mot", "-program"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    bool underWay = false;
    for (const json& p : OfKind(Events(r.out), "progress"))
        if (p["caption"] == "Downloading" && p["bytesTotal"] == 0x1000 && p["percent"] > 0) {
            EXPECT_EQ(p["bytesDone"], p["percent"].get<int>() * 0x1000 / 100);
            underWay = true;
        }
    EXPECT_TRUE(underWay) << r.out;
    EXPECT_NE(r.err.find(" of 4096 bytes"), std::string::npos) << r.err;
}

TEST_F(CliEventsWithSim, WithoutJsonStdoutHoldsOnlyTheFarewell) {
    StartSim({});
    auto r = Run({"-clearDE", "program.mot", "-programverify"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, kFarewellLine);
    // stderr is no terminal here: no line is redrawn, and each caption gets at most one line
    // per 10 %.
    EXPECT_EQ(r.err.find('\r'), std::string::npos) << r.err;
    std::map<std::string, int> linesOf;
    std::istringstream lines(r.err);
    std::string line;
    while (std::getline(lines, line))
        if (auto bar = line.find(" ["); bar != std::string::npos) ++linesOf[line.substr(0, bar)];
    EXPECT_FALSE(linesOf.empty()) << r.err;
    for (const auto& [caption, count] : linesOf)
        EXPECT_LE(count, 11) << caption;
    EXPECT_NE(r.err.find("Time for last action (sec:ms) "), std::string::npos) << r.err;
}

TEST_F(CliEventsWithSim, OnATerminalTheLineIsRedrawnInPlace) {
    WriteSmallProgram();
    StartSim({"--pace"});
    // script(1) gives the program a pseudo-terminal and copies what it writes there.
    auto r = test::RunProcess({"/usr/bin/script", "-q", "-e", "-c",
                               cli.string() + " -clearDE small.mot -program", "/dev/null"},
                              dir.Path());
    ASSERT_EQ(r.exitCode, 0) << r.out;
    EXPECT_NE(r.out.find("\r\x1b[KDownloading [--------------------]   0 %"), std::string::npos)
        << r.out;
    EXPECT_NE(r.out.find(" of 4096 bytes"), std::string::npos) << r.out;
    std::size_t redraws = 0;
    for (std::size_t at = r.out.find("\r\x1b[K"); at != std::string::npos;
         at = r.out.find("\r\x1b[K", at + 1))
        ++redraws;
    EXPECT_GE(redraws, 3u) << r.out;
    // The time stands on a line of its own after the progress line.
    const std::size_t time = r.out.find("Time for last action (sec:ms) ");
    ASSERT_NE(time, std::string::npos) << r.out;
    ASSERT_GT(time, 0u);
    EXPECT_EQ(r.out[time - 1], '\n') << r.out;
}

TEST_F(CliEventsWithSim, StartUpErrorsFollowTheRunStart) {
    // No emulator needed: the run ends with the command-line error.
    auto r = Run({"--json", "-nosuchoption"});
    EXPECT_NE(r.exitCode, 0);
    const auto events = Events(r.out);
    ASSERT_GE(events.size(), 3u) << r.out;
    EXPECT_EQ(events.front()["event"], "runStart");
    EXPECT_EQ(events.back()["event"], "runEnd");
    EXPECT_EQ(events.back()["exitCode"], r.exitCode);
    // The command line's complaint is a message box of its own, not an error of the error path.
    const auto messages = OfKind(events, "message");
    ASSERT_FALSE(messages.empty()) << r.out;
    EXPECT_EQ(messages[0]["caption"], "Error");
    EXPECT_NE(messages[0]["text"].get<std::string>().find("nosuchoption"), std::string::npos);
    // The help box that follows goes to stderr with the farewell.
    EXPECT_NE(r.err.find("Valid command line options:"), std::string::npos);
    EXPECT_NE(r.err.find(kFarewellLine), std::string::npos);
}

} // namespace
} // namespace vantrel
