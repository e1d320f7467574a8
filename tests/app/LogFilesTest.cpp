#include <gtest/gtest.h>

#include "app/App.h"
#include "base/LogFile.h"
#include "base/Version.h"
#include "support/AppFixture.h"

namespace vantrel {
namespace {

class LogFiles : public test::AppFixture {};

TEST_F(LogFiles, ProtocolLogHeaderTimeStampsAndEnd) {
    ProtocolLog log;
    log.Open(clock, true);
    clock.now += 12345;
    log.WriteTimeStamp();
    log.Write("  3 >>>>  ");
    log.WriteHexByte(0x0A);
    log.WriteHexByte(0xFF);
    log.Close();
    log.Write("ignored");
    std::string expected = "Vantrel Protocoll file (Vantrel, compiled " + BuildDate() + " " +
                           BuildTime() + ")\r\n\r\nTuesday, January 21, 2014 11:13:00\r\n" +
                           std::string(56, '*') + "\r\n\r\n" +
                           "\r\n012:345   3 >>>>   0A FF\r\n\r\n*** End of log ***";
    EXPECT_EQ(test::ReadFile(dir / "Vantrel.LOG"), expected);
}

TEST_F(LogFiles, ProtocolLogEndsAfter200Seconds) {
    ProtocolLog log;
    log.Open(clock, true);
    clock.now += 199999;
    log.WriteTimeStamp();
    clock.now += 1;
    log.WriteTimeStamp(); // at 200 s: closes instead
    log.Write("late");
    log.WriteTimeStamp();
    std::string text = test::ReadFile(dir / "Vantrel.LOG");
    EXPECT_NE(text.find("\r\n199:999 "), std::string::npos);
    EXPECT_EQ(text.substr(text.size() - 22), "\r\n\r\n*** End of log ***");
    EXPECT_EQ(text.find("late"), std::string::npos);
}

TEST_F(LogFiles, DisabledProtocolLogTouchesNoFile) {
    test::WriteFile(dir / "Vantrel.LOG", "old");
    ProtocolLog log;
    log.Open(clock, false);
    log.Write("x");
    log.WriteTimeStamp();
    log.Close();
    EXPECT_EQ(test::ReadFile(dir / "Vantrel.LOG"), "old");
}

TEST_F(LogFiles, ErrorFileEntriesAndSerialNumberLine) {
    test::WriteFile(dir / "Vantrel.err", "from an earlier run");
    CMDLINE_Init(*app, "VANTREL", "Vantrel.err", cmd::kExit, nullptr);
    EXPECT_EQ(test::ReadFile(dir / "Vantrel.err"), "from an earlier run"); // no error yet
    clock.now += 61234;
    CMDLINE_SetErrorLevel(*app, 211);
    CMDLINE_ReportError(*app, "first");
    CMDLINE_SetSerialNumber(*app, 40123);
    EndRun();
    EXPECT_EQ(test::ReadFile(dir / "Vantrel.err"), "* Program start: 2014-01-21, 11:13:00\r\n"
                                                   "\r\n\r\n001:01:234 --- Error: 211\r\nfirst"
                                                   "\r\n* Vantrel SN: 40123\r\n");
}

TEST_F(LogFiles, ErrorFileWithoutSerialNumberOrName) {
    CMDLINE_Init(*app, "VANTREL", "Vantrel.err", cmd::kExit, nullptr);
    CMDLINE_ReportError(*app, "one");
    CMDLINE_ReportError(*app, "two");
    EndRun();
    EXPECT_EQ(test::ReadFile(dir / "Vantrel.err"), "* Program start: 2014-01-21, 11:13:00\r\n"
                                                   "\r\n\r\n000:00:000 --- Error:   1\r\none"
                                                   "\r\n\r\n000:00:000 --- Error:   1\r\ntwo\r\n");

    app = std::make_unique<App>(ui, clock);
    std::filesystem::remove(dir / "Vantrel.err");
    CMDLINE_Init(*app, "VANTREL", "", cmd::kExit, nullptr);
    CMDLINE_ReportError(*app, "nowhere");
    EndRun();
    EXPECT_FALSE(std::filesystem::exists(dir / "Vantrel.err"));
}

} // namespace
} // namespace vantrel
