#include <gtest/gtest.h>

#include <cstring>

#include "base/Codes.h"
#include "base/UtilSnprintf.h"

namespace vantrel {
namespace {

TEST(UtilSnprintf, Conversions) {
    struct Case {
        const char* format;
        std::initializer_list<FmtArg> args;
        const char* expected;
    };
    const std::string two = "two"; // outlives the table: arguments point into it
    const Case cases[] = {
        {"%d", {-42}, "-42"},
        {"%.4d", {7}, "0007"},
        {"%.4d", {-7}, "-0007"},
        {"%u", {-1}, "4294967295"},
        {"%x|%X", {0xabc, 0xabc}, "ABC|ABC"},
        {"%.2X", {5}, "05"},
        {"%p", {0x1234}, "00001234"},
        {"%s and %s", {"one", two}, "one and two"},
        {"%ld", {12}, "12"},
        {"a%qb%dc", {1, 2}, "ab2c"}, // unknown conversion eats its argument
        {"%4d", {3}, "d"},           // no width: '4' is an unknown conversion
        {"%d.%.2d", {2, 0}, "2.00"},
        {"no args %d", {}, "no args 0"},
    };
    for (const auto& c : cases) {
        char buffer[64];
        int n = UTIL_snprintf(buffer, sizeof buffer, c.format, c.args);
        EXPECT_STREQ(buffer, c.expected) << c.format;
        EXPECT_EQ(n, static_cast<int>(std::strlen(c.expected))) << c.format;
    }
}

TEST(UtilSnprintf, CutsToBufferSize) {
    char buffer[6] = "xxxxx";
    EXPECT_EQ(UTIL_snprintf(buffer, sizeof buffer, "%s", {"abcdefgh"}), 5);
    EXPECT_STREQ(buffer, "abcde");
    EXPECT_EQ(UTIL_snprintf(buffer, 1, "abc"), 0);
    EXPECT_STREQ(buffer, "");
    EXPECT_EQ(UTIL_snprintf(buffer, 0, "abc"), 0);
}

TEST(ErrorText, FormatsFailingAddressAndBytes) {
    ProgrammerStatus s;
    s.state = 0;
    s.currentAddress = 0x1234;
    s.readByte = 0xFF;
    s.expectedByte = 0x00;
    EXPECT_EQ(ErrorText(2, s), "Programming failed at Addr: 0x1234");
    EXPECT_EQ(ErrorText(3, s), "Verification failed !\r\nAddr 0x1234: 0xFF (expected 0x00)");
    EXPECT_EQ(ErrorText(4, s), "Blank check failed !\r\nAddr 0x1234: 0xFF (expected 0x00)");
}

TEST(ErrorText, TablesAndDefaults) {
    ProgrammerStatus ready;
    ready.state = 0;
    ProgrammerStatus silent; // state 200
    struct Case {
        int32_t code;
        const char* expected;
    };
    const Case cases[] = {
        {0, ""},
        {1, "Erase failed"},
        {33, "Vantrel supply out of specification."},
        {52, "Adress line failure (short to GND ?]"},
        {53, "Unknown error !"},
        {65, "SD-card was removed !"},
        {90, "Could not connect to target. No reply from bootloader."},
        {95, "Wrong checksum after RamCode download."},
        {209, "No response from Vantrel (Timeout)"},
        {211, "Unknown error !"},
        {217, "Vantrel refuses connection\r\nDid you select a chip which is not supported "
              "?\r\nResetting connection"},
        {230, "Vantrel defect !!! \r\nTarget interface does not work."},
        {232, "No devices defined.\r\nPlease check whether the device file is present.\r\n\r\n"
              "Program will be closed!"},
        {233, "Unknown error !"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ErrorText(c.code, ready), c.expected) << c.code;
    EXPECT_EQ(ErrorText(-1, silent), "Breakdown of communication between Vantrel and PC");
    EXPECT_EQ(ErrorText(-1, ready), "Unknown error !");
}

TEST(ResultText, ShortFormsAndDefaults) {
    ProgrammerStatus s;
    EXPECT_EQ(ResultText(s), "Breakdown of communication between Vantrel and PC"); // state 200
    s.state = 0;
    const std::pair<uint8_t, const char*> cases[] = {
        {0, "O.K."},
        {1, "Erase failed"},
        {2, "Write failed"},
        {3, "Verify failed"},
        {4, "Blank check failed"},
        {33, "Vantrel supply out of specification"},
        {53, "Error"},
        {65, "SD-card was removed, please insert !"},
        {90, "No reply from target bootloader !"},
        {91, "Wrong reply from SBOOT !"},
        {92, "Wrong command reply from SBOOT !"},
        {96, "Error"},
        {209, "Error"},
    };
    for (auto [result, text] : cases) {
        s.result = result;
        EXPECT_EQ(ResultText(s), text) << int(result);
    }
}

TEST(StateText, KnownAndBusy) {
    EXPECT_EQ(StateText(0), "Ready");
    EXPECT_EQ(StateText(9), "Powerfailure (Check Vin)");
    EXPECT_EQ(StateText(12), "Busy");
    EXPECT_EQ(StateText(25), "Testing on board RAM (6/6)");
    EXPECT_EQ(StateText(100), "Refused (bad data format ?) !!!");
    EXPECT_EQ(StateText(200), "No communication");
    EXPECT_EQ(StateText(255), "Busy");
}

TEST(HardwareName, NamesAndEffectiveVersions) {
    struct Case {
        uint16_t version;
        uint8_t variant;
        uint32_t serial;
        const char* name;
        uint16_t effective;
    };
    const Case cases[] = {
        {100, 0, 0, "Vantrel 1", 100},
        {311, 0, 0, "Vantrel 3SR1", 311},
        {400, 0, 3500, "Vantrel 3 Rev.4", 300},
        {400, 0, 4500, "Vantrel 4", 400},
        {410, 0, 35000, "Vantrel 3 Rev.4", 300},
        {411, 0, 3999, "Vantrel 3 Rev.4a", 300},
        {411, 0, 40000, "Vantrel 4 Rev.1a", 411},
        {510, 0, 0, "Vantrel ST7", 510},
        {510, 1, 0, "Vantrel 5", 510},
        {520, 0, 0, "Vantrel 5 Rev.2", 520},
        {572, 3, 0, "Vantrel ST7", 572},
        {580, 0, 0, "Vantrel 5T", 580},
        {999, 0, 0, "Vantrel HW 9.99", 999},
        {505, 0, 0, "Vantrel HW 5.05", 505},
    };
    for (const auto& c : cases) {
        ProgrammerStatus s;
        s.hardwareVersion = c.version;
        s.hardwareVariant = c.variant;
        s.serialNumber = c.serial;
        EXPECT_EQ(HardwareName(s), c.name) << c.version << "/" << c.serial;
        EXPECT_EQ(EffectiveHardwareVersion(s), c.effective) << c.version << "/" << c.serial;
    }
}

TEST(FirmwareVersion, TextAndAcceptance) {
    EXPECT_EQ(FirmwareVersionText(20003), "2.00c");
    EXPECT_EQ(FirmwareVersionText(20000), "2.00");
    EXPECT_EQ(FirmwareVersionText(18201), "1.82a");
    EXPECT_TRUE(FirmwareAccepted(20003));
    EXPECT_FALSE(FirmwareAccepted(20103));
    EXPECT_FALSE(FirmwareAccepted(18200));
}

} // namespace
} // namespace vantrel
