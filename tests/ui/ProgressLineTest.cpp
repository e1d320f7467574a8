// The texts of the console's progress line and how often a log and the event stream hear of
// an operation's progress.
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "ui/console/JsonEvents.h"
#include "ui/console/ProgressLine.h"

namespace vantrel {
namespace {

TEST(ProgressLine, Texts) {
    struct Case {
        const char* name;
        ProgressSample sample;
        std::string line;
    };
    const Case cases[] = {
        {"start of a transfer",
         {"Downloading", 0, 65536, 0},
         "Downloading [--------------------]   0 %  0 of 65536 bytes"},
        {"transfer under way",
         {"Downloading", 40, 65536, 2000},
         "Downloading [########------------]  40 %  26214 of 65536 bytes  12.8 KiB/s  0:03 left"},
        {"slow transfer in bytes a second",
         {"Reading chip", 50, 1000, 2000},
         "Reading chip [##########----------]  50 %  500 of 1000 bytes  250 B/s  0:02 left"},
        {"fast transfer in MiB a second",
         {"Downloading", 100, 4194304, 2000},
         "Downloading [####################] 100 %  4194304 of 4194304 bytes  2.0 MiB/s"},
        {"operation of the programmer: no bytes",
         {"Programming", 25, 0, 15000},
         "Programming [#####---------------]  25 %  0:45 left"},
        {"minutes left",
         {"Verifying", 10, 0, 30000},
         "Verifying [##------------------]  10 %  4:30 left"},
        {"percentage above 100 held",
         {"Filling", 130, 0, 500},
         "Filling [####################] 100 %"},
        {"negative percentage held",
         {"Filling", -5, 0, 500},
         "Filling [--------------------]   0 %"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(ProgressLineText(c.sample), c.line);
    }
}

TEST(ProgressLine, TimeLeftAndElapsed) {
    EXPECT_EQ(TimeLeftMs(0, 5000), std::nullopt);
    EXPECT_EQ(TimeLeftMs(20, 5000), 20000u);
    EXPECT_EQ(TimeLeftMs(100, 5000), 0u);
    // A long operation does not overflow the estimate.
    EXPECT_EQ(TimeLeftMs(1, 4000000000u), 0xFFFFFFFFu) << "held, not wrapped";
    EXPECT_EQ(ElapsedTimeText(0), "Time for last action (sec:ms) 0:000");
    EXPECT_EQ(ElapsedTimeText(61042), "Time for last action (sec:ms) 61:042");
    EXPECT_EQ(RateText(1000, 0), "");
}

TEST(ProgressLine, TenPercentStepsForALog) {
    // The percentages one caption goes through, and which of them a log shows.
    struct Case {
        const char* name;
        std::vector<int> percents;
        std::vector<int> shown;
    };
    const Case cases[] = {
        {"every percent", {0, 1, 5, 9, 10, 11, 19, 20, 55, 99, 100}, {0, 10, 20, 55, 99, 100}},
        {"opened late", {40, 41, 49, 50}, {40, 50}},
        {"steps skipped", {0, 35, 36, 100, 100}, {0, 35, 100}},
        {"going back is not shown again", {30, 20, 30, 40}, {30, 40}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TenPercentSteps steps;
        std::vector<int> shown;
        for (int p : c.percents)
            if (steps.Due(p)) shown.push_back(p);
        EXPECT_EQ(shown, c.shown);
    }
    TenPercentSteps steps;
    EXPECT_TRUE(steps.Due(50));
    steps.Restart();
    EXPECT_TRUE(steps.Due(0)) << "a new caption starts again";
}

TEST(ProgressLine, EventPacingAtMostTenASecond) {
    struct Step {
        int percent;
        uint32_t ms;
    };
    struct Case {
        const char* name;
        std::vector<Step> steps;
        std::vector<int> sent;
    };
    const Case cases[] = {
        {"first always, then 100 ms apart",
         {{0, 1000}, {1, 1020}, {2, 1099}, {3, 1100}, {4, 1150}, {5, 1250}},
         {0, 3, 5}},
        {"100 % always", {{0, 0}, {50, 10}, {100, 20}}, {0, 100}},
        {"100 % once", {{0, 0}, {100, 200}, {100, 400}}, {0, 100}},
        {"unchanged percentage not repeated", {{7, 0}, {7, 500}, {8, 600}}, {7, 8}},
        {"clock wraps", {{0, 0xFFFFFFF0u}, {10, 0x60}}, {0, 10}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EventPacing pacing;
        std::vector<int> sent;
        for (const Step& s : c.steps)
            if (pacing.Due(s.percent, s.ms)) sent.push_back(s.percent);
        EXPECT_EQ(sent, c.sent);
    }
}

TEST(JsonEvents, Latin1BecomesUtf8) {
    EXPECT_EQ(Latin1ToUtf8("abc"), "abc");
    EXPECT_EQ(Latin1ToUtf8("\xE4\xFF\x80"), "\xC3\xA4\xC3\xBF\xC2\x80");
    // Every byte of a program text gives a line that parses back to the same characters.
    std::string all;
    for (int c = 1; c < 256; ++c)
        all += static_cast<char>(c);
    const auto event = nlohmann::json::parse(JsonError(211, all, 1));
    EXPECT_EQ(event["text"].get<std::string>(), Latin1ToUtf8(all));
    EXPECT_EQ(event["kind"], "error");
    EXPECT_EQ(nlohmann::json::parse(JsonError(0, "x", 2))["kind"], "notice");
}

TEST(JsonEvents, OperationEnd) {
    OperationEvent end;
    end.kind = OperationEvent::Kind::End;
    end.name = "verify";
    end.result = 3;
    end.text = "Verification failed !";
    end.elapsedMs = 1042;
    auto event = nlohmann::json::parse(JsonOperation(end));
    EXPECT_EQ(event["event"], "operationEnd");
    EXPECT_EQ(event["result"], 3);
    EXPECT_EQ(event["elapsedMs"], 1042);
    EXPECT_FALSE(event.contains("imageCrc")) << "no CRC without a comparison";
    end.crcCompared = true;
    end.imageCrc = 0xBEEF;
    end.programmerCrc = 0x1234;
    event = nlohmann::json::parse(JsonOperation(end));
    EXPECT_EQ(event["imageCrc"], 0xBEEF);
    EXPECT_EQ(event["programmerCrc"], 0x1234);
    EXPECT_EQ(nlohmann::json::parse(JsonProgress("Downloading", 50, 1001))["bytesDone"], 500);
}

} // namespace
} // namespace vantrel
