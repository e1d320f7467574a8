#include <gtest/gtest.h>

#include "app/App.h"
#include "app/CmdLine.h"
#include "support/AppFixture.h"

namespace vantrel {
namespace {

using test::AppFixture;

class CmdLine : public AppFixture {
  protected:
    void SetUp() override { CMDLINE_Init(*app, "VANTREL", "Vantrel.err", cmd::kExit, nullptr); }

    int Parse(std::vector<std::string> args) {
        args.insert(args.begin(), "vantrel");
        std::vector<const char*> argv;
        for (auto& a : args)
            argv.push_back(a.c_str());
        CMDLINE_ParseArguments(*app, static_cast<int>(argv.size()), argv.data());
        return static_cast<int>(app->cmdline.count);
    }
    const CmdLineOption* Queued(std::size_t i) { return app->cmdline.queue[i].option; }
};

TEST_F(CmdLine, OptionMatchingByPrefixInTableOrder) {
    struct Case {
        const char* word;
        const char* option; // nullptr: invalid
        const char* param;
    };
    const Case cases[] = {
        {"PROGRAMVERIFY", "programverify", ""},
        {"programx", "program", "x"},
        {"program", "program", ""},
        {"clearall", "clearall", ""},
        {"clearx", "clear", "x"},
        {"CLEARDNVBP", "clearDNVBP", ""},
        {"clearDE", "clearDE", ""},
        {"saveasout.hex,100-1FF", "saveas", "out.hex,100-1FF"},
        {"setIfASync", "setIfASync", ""},
        {"h", nullptr, ""},
        {"prog", nullptr, ""},
    };
    for (const auto& c : cases) {
        app = std::make_unique<App>(ui, clock);
        SetUp();
        int ok = CMDLINE_ParseOption(*app, c.word);
        if (!c.option) {
            EXPECT_EQ(ok, 0) << c.word;
            EXPECT_EQ(app->cmdline.count, 0u);
            continue;
        }
        ASSERT_EQ(ok, 1) << c.word;
        ASSERT_EQ(app->cmdline.count, 1u) << c.word;
        EXPECT_STREQ(Queued(0)->name, c.option) << c.word;
        EXPECT_EQ(app->cmdline.queue[0].param, c.param) << c.word;
    }
}

TEST_F(CmdLine, HelpBoxListsEveryOptionWithItsTabs) {
    std::string help = CMDLINE_HelpText();
    EXPECT_EQ(help.rfind("Valid command line options:\r\n\r\n", 0), 0u);
    for (const char* row :
         {"-checkblank\tChecks if target is blank\r\n",
          "-clearDE\t\tClears option 'Detailed errorlevel on return'.\r\n",
          "-com\t\t<PORT> Set COM-port of PC (PORT=1-20: Portno.)\r\n",
          "-saveas\t\t<FILE.EXT>[,FROM-TO] Save file in MOT-, HEX- or BIN-format\r\n",
          "-start\t\tStart application program (serial mode only, req. Vantrel 3 "
          "or later\r\n",
          "-password\t<LENGTHn,ID1,ID2,ID3,...,IDn> Sets the ID-bytes.\r\n",
          "-verify\t\tVerify loaded data with target\r\n-?\t\tDisplay this box\r\n"})
        EXPECT_NE(help.find(row), std::string::npos) << row;
    EXPECT_EQ(OptionTable().size(), 39u);
    std::size_t rows = 0;
    for (std::size_t p = 0; (p = help.find("\r\n-", p)) != std::string::npos; ++p)
        ++rows;
    EXPECT_EQ(rows, 39u);
}

TEST_F(CmdLine, InvalidOptionReportsThenShowsHelpAndKeepsValidOnes) {
    EXPECT_EQ(Parse({"-h", "-setDE", "/exit"}), 2);
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_EQ(ui.boxes[0].text, "\"h\" is not a valid command !");
    EXPECT_EQ(ui.boxes[0].caption, "Error");
    EXPECT_EQ(ui.boxes[0].icon, MsgIcon::Warning);
    ASSERT_EQ(ui.helpTexts.size(), 1u);
    EXPECT_EQ(ui.helpTexts[0], CMDLINE_HelpText());
    EXPECT_EQ(CMDLINE_GetErrorLevel(*app), 1);
    EXPECT_TRUE(CMDLINE_IsExitRequested(*app));
    EXPECT_TRUE(CMDLINE_IsBatchRunning(*app));
}

TEST_F(CmdLine, PlainArgumentsBecomeOpenfileCommands) {
    EXPECT_EQ(Parse({"a.hex", "/tmp/b.mot", "-exit", "/EXIT"}), 4);
    EXPECT_STREQ(Queued(0)->name, "openfile");
    EXPECT_EQ(app->cmdline.queue[0].param, "a.hex");
    EXPECT_STREQ(Queued(1)->name, "openfile"); // an absolute path is no option
    EXPECT_EQ(app->cmdline.queue[1].param, "/tmp/b.mot");
    EXPECT_STREQ(Queued(3)->name, "exit");
    EXPECT_EQ(CMDLINE_GetErrorLevel(*app), 0);
}

TEST_F(CmdLine, OptionWithoutItsParameterTakesTheNextArgument) {
    EXPECT_EQ(Parse({"-openfile", "in.hex", "-saveas", "/tmp/out.mot", "-merge", "-exit", "-setDE",
                     "x.hex", "-com", "3"}),
              6);
    EXPECT_EQ(app->cmdline.queue[0].param, "in.hex");
    EXPECT_STREQ(Queued(1)->name, "saveas");
    EXPECT_EQ(app->cmdline.queue[1].param, "/tmp/out.mot");
    EXPECT_STREQ(Queued(2)->name, "merge"); // followed by an option: stays empty
    EXPECT_EQ(app->cmdline.queue[2].param, "");
    EXPECT_STREQ(Queued(5)->name, "openfile"); // -setDE takes no parameter
    EXPECT_EQ(app->cmdline.queue[5].param, "x.hex");
    EXPECT_EQ(app->overrides.comPort, 3);
}

// "/" opens an option only when no further "/" follows: an absolute path never starts an
// operation, also not as the parameter taken after an option.
TEST_F(CmdLine, SlashArgumentIsAnOptionOnlyWithoutAFurtherSlash) {
    struct Entry {
        const char* option;
        const char* param;
    };
    struct Case {
        const char* name;
        std::vector<std::string> args;
        std::vector<Entry> queued;
        int comPort = -1; // -com override; -1: none
    };
    const Case cases[] = {
        {"path under programs", {"/programs/blink.hex"}, {{"openfile", "/programs/blink.hex"}}},
        {"path under downloads", {"/downloads/x.hex"}, {{"openfile", "/downloads/x.hex"}}},
        {"path under common", {"/common/x.hex"}, {{"openfile", "/common/x.hex"}}},
        {"option with slash", {"/com3"}, {}, 3},
        {"option word after slash",
         {"/PROGRAMVERIFY", "/exit"},
         {{"programverify", ""}, {"exit", ""}}},
        {"no option name", {"/tmp"}, {{"openfile", "/tmp"}}},
        {"path after -saveas", {"-saveas", "/common/out.hex"}, {{"saveas", "/common/out.hex"}}},
        {"path after /saveas", {"/saveas", "/programs/out.mot"}, {{"saveas", "/programs/out.mot"}}},
        {"path after -openfile",
         {"-openfile", "/downloads/a.hex"},
         {{"openfile", "/downloads/a.hex"}}},
        {"path after -com", {"-com", "/com5/x"}, {}, -1},
        {"option after -saveas", {"-saveas", "/exit"}, {{"saveas", ""}, {"exit", ""}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        app = std::make_unique<App>(ui, clock);
        SetUp();
        ASSERT_EQ(Parse(c.args), static_cast<int>(c.queued.size()));
        for (std::size_t i = 0; i < c.queued.size(); ++i) {
            EXPECT_STREQ(Queued(i)->name, c.queued[i].option);
            EXPECT_EQ(app->cmdline.queue[i].param, c.queued[i].param);
        }
        EXPECT_EQ(app->overrides.comPort, c.comPort);
    }
}

// Ports 1 to 20; a larger number is taken as 20. Anything else is refused and no port is set.
TEST_F(CmdLine, ComPortOption) {
    const std::string refused = "\r\nParameter error\r\nInvalid COM port setting\r\n -com";
    struct Case {
        const char* arg;
        int port;            // the port selected; -1: refused with 211
        const char* message; // the reader's text in front of `refused`
    };
    const Case cases[] = {
        {"-com1", 1, ""},
        {"-com20", 20, ""},
        {"-com21", 20, ""},
        {"-com0", -1, "Expected a value >= 1"},
        {"-com-5", -1, "Expected a value >= 1"},
        {"-com-1", -1, "Expected a value >= 1"},
        {"-com-2147483648", -1, "Expected a value >= 1"},
        {"-comx", -1, "Expecting a number"},
        {"-com", -1, "Expecting a number"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arg);
        app = std::make_unique<App>(ui, clock);
        SetUp();
        ui.boxes.clear();
        int comPortBefore = app->options.comPort;
        Parse({c.arg});
        EXPECT_EQ(app->overrides.comPort, c.port);
        if (c.port > 0) {
            EXPECT_EQ(app->options.comPort, c.port);
            EXPECT_EQ(CMDLINE_GetErrorLevel(*app), 0);
            EXPECT_TRUE(ui.boxes.empty());
            continue;
        }
        EXPECT_EQ(app->options.comPort, comPortBefore);
        EXPECT_EQ(CMDLINE_GetErrorLevel(*app), 211);
        ASSERT_EQ(ui.boxes.size(), 1u);
        EXPECT_EQ(ui.boxes[0].text, c.message + refused);
    }
}

// Every error file text reaches the user once: a text that a message box shows is not handed
// to the Ui a second time; the parameter readers' texts, which no box shows, are.
TEST_F(CmdLine, ErrorFileTextsWithoutABoxGoToTheUi) {
    ParamReader hex = CMDLINE_ParamReader(*app, "zz");
    CMDLINE_GetHexValue(hex);
    ParamReader text = CMDLINE_ParamReader(*app, "");
    CMDLINE_GetString(text, 10);
    EXPECT_EQ(ui.errorFileEntries, (std::vector<std::string>{"CMDLINE_GetHexValue: Not a hex value",
                                                             "CMDLINE_GetString: Missing string"}));
    EXPECT_TRUE(ui.boxes.empty());

    ui.errorFileEntries.clear();
    Parse({"-h", "-com0", "-setDE"}); // an invalid option, an at-once option's error
    APP_ReportError(*app, 213, "Separator has to be ,"); // batch running: into the error file
    EXPECT_EQ(ui.Messages(),
              (std::vector<std::string>{"\"h\" is not a valid command !",
                                        "Expected a value >= 1\r\nParameter error\r\nInvalid COM "
                                        "port setting\r\n -com",
                                        "Separator has to be ,"}));
    EXPECT_EQ(app->cmdline.lastErrorText, "Separator has to be ,");
    EXPECT_TRUE(ui.errorFileEntries.empty());
}

TEST_F(CmdLine, QueueAndParameterLimitsAreRefused) {
    std::vector<std::string> args(21, "-setDE");
    EXPECT_EQ(Parse(args), 20);
    EXPECT_EQ(CMDLINE_GetErrorLevel(*app), 229);
    ASSERT_FALSE(ui.boxes.empty());
    EXPECT_NE(ui.boxes.back().text.find("20"), std::string::npos);

    app = std::make_unique<App>(ui, clock);
    SetUp();
    EXPECT_EQ(Parse({"-openfile" + std::string(199, 'a')}), 1);
    EXPECT_EQ(Parse({"-openfile" + std::string(200, 'a')}), 1); // refused, nothing queued
    EXPECT_EQ(CMDLINE_GetErrorLevel(*app), 229);
}

TEST_F(CmdLine, AtOnceOptionsActDuringParsing) {
    EXPECT_EQ(Parse({"-com25", "-index3", "-setIfSpeedmedium", "-setIfSync"}), 0);
    EXPECT_EQ(app->overrides.comPort, 20);
    EXPECT_EQ(app->overrides.settingsIndex, 3);
    EXPECT_EQ(app->overrides.speedIndex, 1);
    EXPECT_EQ(app->overrides.interfaceIndex, 1);
    EXPECT_EQ(CMDLINE_GetErrorLevel(*app), 0);

    Parse({"-setIfSpeed38400baud"});
    EXPECT_EQ(app->overrides.speedIndex, 4);
    Parse({"-setIfSpeedwarp"});
    EXPECT_EQ(app->overrides.speedIndex, -1);
    EXPECT_TRUE(ui.boxes.empty());
}

TEST_F(CmdLine, AtOnceParameterErrors) {
    struct Case {
        const char* arg;
        const char* message;
    };
    const Case cases[] = {
        {"-com0", "Expected a value >= 1\r\nParameter error\r\nInvalid COM port setting\r\n -com"},
        {"-com", "Expecting a number\r\nParameter error\r\nInvalid COM port setting\r\n -com"},
        {"-index10", "Invalid index parameter, expecting a positiv number!"},
        {"-index9", "Invalid index parameter, expecting a positiv number!"},
        {"-index-1", "Invalid index parameter, expecting a positiv number!"},
        {"-index88888888888", "Invalid index parameter, expecting a positiv number!"},
    };
    for (const auto& c : cases) {
        app = std::make_unique<App>(ui, clock);
        SetUp();
        ui.boxes.clear();
        Parse({c.arg});
        EXPECT_EQ(CMDLINE_GetErrorLevel(*app), 211) << c.arg;
        ASSERT_EQ(ui.boxes.size(), 1u) << c.arg;
        EXPECT_EQ(ui.boxes[0].text, c.message) << c.arg;
        EXPECT_EQ(app->cmdline.lastErrorText, c.message) << c.arg; // in the error file too
    }
}

TEST_F(CmdLine, HexValueReader) {
    struct Case {
        const char* text;
        std::vector<int32_t> values; // read one after the other, a separator char between
        bool error;
        const char* rest;
        const char* report;
    };
    const Case cases[] = {
        {"100-1FF", {0x100}, false, "-1FF", ""},
        {"12,34", {0x12}, false, ",34", ""},
        {"-", {0}, false, "", ""},
        {"-10", {-16}, false, "", ""},
        {",12", {0}, true, "", "Not a hex value"},
        {"", {0}, true, "", "CMDLINE_GetHexValue: Missing value"},
        {"12G", {-1}, true, "", "CMDLINE_GetHexValue: Not a hex value"},
        {"FFFFFFFF", {-1}, false, "", ""},
        {"123456789", {0x23456789}, false, "", ""},
    };
    for (const auto& c : cases) {
        app = std::make_unique<App>(ui, clock);
        SetUp();
        ParamReader reader = CMDLINE_ParamReader(*app, c.text);
        EXPECT_EQ(CMDLINE_GetHexValue(reader), c.values[0]) << c.text;
        EXPECT_EQ(CMDLINE_HasParseError(reader), c.error) << c.text;
        if (!c.error) {
            EXPECT_EQ(reader.Rest(), c.rest) << c.text;
        }
        EXPECT_EQ(app->cmdline.lastErrorText, c.report) << c.text;
        EXPECT_EQ(CMDLINE_GetErrorLevel(*app), c.error ? 1 : 0) << c.text;
    }
}

TEST_F(CmdLine, StringReader) {
    struct Case {
        const char* text;
        std::size_t max;
        const char* value;
        bool error;
        const char* report;
    };
    const Case cases[] = {
        {"1,12", 2, "1", false, ""},
        {"10,12", 2, "10", true, "CMDLINE_GetString: String to long"},
        {"12", 2, "12", false, ""},
        {",5", 2, ",5", false, ""},
        {"", 2, "", true, "CMDLINE_GetString: Missing string"},
    };
    for (const auto& c : cases) {
        app = std::make_unique<App>(ui, clock);
        SetUp();
        ParamReader reader = CMDLINE_ParamReader(*app, c.text);
        EXPECT_EQ(CMDLINE_GetString(reader, c.max), c.value) << c.text;
        EXPECT_EQ(CMDLINE_HasParseError(reader), c.error) << c.text;
        EXPECT_EQ(app->cmdline.lastErrorText, c.report) << c.text;
    }
}

TEST_F(CmdLine, GetCharEndsWithZero) {
    ParamReader reader = CMDLINE_ParamReader(*app, "ab");
    EXPECT_EQ(CMDLINE_GetChar(reader), 'a');
    EXPECT_EQ(CMDLINE_GetChar(reader), 'b');
    EXPECT_EQ(CMDLINE_GetChar(reader), '\0');
    EXPECT_EQ(CMDLINE_GetChar(reader), '\0');
}

} // namespace
} // namespace vantrel
