// Device description files: the keyword lines, the value syntax with every message and line
// number, the order of memory areas, the capacities, the final checks and the directory scan.
#include <gtest/gtest.h>

#include "device/DeviceFile.h"
#include "support/FakeUi.h"
#include "support/TempDir.h"

namespace vantrel {
namespace {

// A complete device of eight lines; tests add lines behind it (line 9 on).
const std::string kBase = "Manufacturer = \"Nordane\"\r\n"
                          "Device = \"ND100\"\r\n"
                          "Bank = 1000, 800\r\n"
                          "aHWRange = 100, 400\r\n"
                          "AlgoS = S60\r\n"
                          "SIFType = S60\r\n"
                          "VCC = 2700 - 5500\r\n"
                          "Vpp = VCC\r\n";

DeviceFileResult Parse(const std::string& text) {
    return ParseDeviceText(text.c_str(), "/x/A.dev");
}

DeviceRecord Accepted(const std::string& text) {
    auto result = Parse(text);
    EXPECT_TRUE(result.record) << result.caption << ": " << result.message;
    return result.record ? *result.record : DeviceRecord{};
}

std::string Repeat(const std::string& item, int n, const char* separator = ", ") {
    std::string text;
    for (int i = 0; i < n; ++i)
        text += (i ? separator : "") + item;
    return text;
}

TEST(DeviceFile, LineErrorsGiveTheirMessageAndLineNumber) {
    struct Case {
        std::string line; // added as line 9
        std::string message;
    };
    const Case cases[] = {
        {"Bank = 0x100, 100", "Expected ',', got 'x'"},
        {"Bank = 100, 0", "Expected a value >= 1"},
        {"VCC = 1800 - 5000", "Expected a value >= 2000"},
        {"VCC = 2000 5000", "Expected '-', got '5'"},
        {"Vpp = 1000", "Unexpected identifier : Expecting VCC or nc"},
        {"Vpp = vcc", "Unexpected identifier : Expecting VCC or nc"},
        {"algos = S60", "Unknown identifier: algos"},
        {"# a remark", "Unknown identifier: "},
        {"1 = 2", "Unknown identifier: "},
        {"AlgoS = S61", "AlgoS: Unsupported serial algorithm"},
        {"AlgoS = s60", "AlgoS: Unsupported serial algorithm"},
        {"SIFType = \"SDA 79\"", "SIFType: Unsupported interface"},
        {"AlgoP = P99", "AlgoP: Unsupported parallel algorithm"},
        {"ProtectedBytes = \"Option\", 10000", "Expecting a number"},
        {"ProtectedBytes = \"Cal\" " + Repeat("100", 17), "Too many bytes in protected block"},
        {"IDCheckFunction = \"CheckST7\"", "IDCheckFunction: Unknown function defined"},
        {"IDCheckFunction = CheckST7Y", "IDCheckFunction: Unknown function defined"},
        {"Name = \"unterminated", ""}, // a text failure carries no words
        {"Name = \"" + std::string(256, 'n') + "\"", ""},
        {"aConstIDData = " + Repeat("AA", 31), "aConstIDData: Too much Parameter, limited to 30."},
        {"ChipSpecifics = " + Repeat("1", 31), "ChipSpecifics: Too much Parameter, limited to 30."},
        {"aConstIDData = 100", "aConstIDData = 100" /* clamped, not refused: see below */},
        {"SpeedSettings \"Fast\"", "SpeedSettings: Wrong syntax, expected '='"},
        {"SpeedSettings = \"Fast\", Slow", "SpeedSettings: Wrong parameter, expected a string."},
        {"Manufacturer \"Nordane\"", "Expected '=', got '\"'"},
        {"Version = -3", "Expected a value >= 1"}, // no negative numbers where none fit
        {"IDLenMax = -1", "Expected a value >= 0"},
        {"ProgArea = \"EE\", -1, 0, 100, 10", "Expected a value >= 0"},
        {"ProgArea = \"EE\", 1, 0", "Expected ',', got '\r'"},
        // Capacities of our own: refused on the line, nothing written past them.
        {"aIDAdr = " + Repeat("FF90", 21), "aIDAdr: Too many addresses, limited to 20."},
        {"Bank = " + Repeat("2000, 10", 24), "Bank: Too many ranges, limited to 24."},
        {"ProgArea = \"EE\", 1, 0, " + Repeat("10, 1", 25),
         "ProgArea: Too many ranges, limited to 24."},
        {"aHWRange = " + Repeat("1, 2", 9), "aHWRange: Too many ranges, limited to 9."},
    };
    for (const auto& c : cases) {
        if (c.line == "aConstIDData = 100") continue;
        SCOPED_TRACE(c.line);
        auto result = Parse(kBase + c.line + "\r\n");
        ASSERT_FALSE(result.record);
        EXPECT_EQ(result.message, c.message);
        EXPECT_EQ(result.caption, "Error reading device file /x/A.dev, Line 9");
    }
}

TEST(DeviceFile, ByteListsAcceptThirtyBytesOverAllLines) {
    auto record =
        Accepted(kBase + "aConstIDData = " + Repeat("1", 29) + "\r\naConstIDData = 1E\r\n" +
                 "ChipSpecifics = " + Repeat("2", 30) + "\r\n");
    EXPECT_EQ(record.constIdData.size(), 30u);
    EXPECT_EQ(record.constIdData.back(), 0x1E);
    EXPECT_EQ(record.chipSpecifics.size(), 30u);

    auto result = Parse(kBase + "aConstIDData = " + Repeat("1", 30) + "\r\naConstIDData = 2\r\n");
    EXPECT_EQ(result.message, "aConstIDData: Too much Parameter, limited to 30.");
    EXPECT_EQ(result.caption, "Error reading device file /x/A.dev, Line 10");
    // A byte value above FF is held to FF, as every bound above the maximum is.
    EXPECT_EQ(Accepted(kBase + "aConstIDData = 100\r\n").constIdData, std::vector<uint8_t>{0xFF});
}

TEST(DeviceFile, EmptyLinesAreNotCountedCommentsAre) {
    auto result = Parse("// a remark\r\n\r\n\r\nName/ not a keyword\n\n// again\nBogus = 1\n");
    EXPECT_EQ(result.message, "Unknown identifier: Bogus");
    EXPECT_EQ(result.caption, "Error reading device file /x/A.dev, Line 4");
}

TEST(DeviceFile, ValuesAndTheirConversions) {
    auto r = Accepted("Version = 12\n"
                      "Manufacturer = \"Nordane\"\n"
                      "Name = \"ND 100 A\"\n"
                      "Group = \"ND1\"\n"
                      "Package = \"QFP64\"\n"
                      "RAM = 800\nROM=1000\nEEPROM = 200\nOTP = 40\nRAMsize anything at all\n"
                      "Device = \"ND100\"\n"
                      "Bank = 1000, 200000\n"
                      "ParallelSupport = 3\nSerialSupport = 1\nBootSelect = 1\nBootWarning = 1\n"
                      "SIFType = \"S60\"\nAlgoS = \"S60\"\nAlgoP = P62N\n"
                      "VCC = 2700 - 7000\nVpp = 12000\n"
                      "aHWRange = 100, 400, 500, 2000\n"
                      "DisplayBLVersion = 1\nIDLenMin = 1\nIDLenMax = 7\nIDLenAdr = FFDB\n"
                      "aIDAdr = FFDF, FFE3\naIDAdr = FFEB\n"
                      "IDRange = 1000, 1FFF\n"
                      "aConstIDData = 3C, 7e\n"
                      "IDCheckFunction = CheckM7906\n"
                      "EnableClearAll = 1\nEnableClearChip = 1\n"
                      "ProtectedBytes = \"Calibration\" 8000, 8001 trailing words\n"
                      "ProtectedBytes = \"ID\"\tFFDF\n"
                      "FlashOffset = 40000\n"
                      "ChipSpecifics = 1, 2, 3\n"
                      "SpeedSettings = \"Fast\", \"Slow\"\n"
                      "SpeedSettings = \"Very slow\"");
    EXPECT_EQ(r.version, 12u);
    EXPECT_EQ(r.fromDeviceFile, 1);
    EXPECT_EQ(r.name, "ND 100 A");
    EXPECT_EQ(r.group, "ND1");
    EXPECT_EQ(r.package, "QFP64");
    EXPECT_EQ(r.ram, 0x800u);
    EXPECT_EQ(r.rom, 0x1000u);
    ASSERT_EQ(r.areas.size(), 1u);
    EXPECT_EQ(r.areas[0].ranges[0], (BankRange{0x1000, 0x100000})); // sizes held to 1 MB
    EXPECT_EQ(r.parallelSupport, 3);
    EXPECT_EQ(r.serialSupport, 1);
    EXPECT_EQ(r.bootSelect, 1);
    EXPECT_EQ(r.bootWarning, 1);
    EXPECT_EQ(r.sifType, 0);
    EXPECT_EQ(r.algoS, 130);
    EXPECT_EQ(r.algoP, 134);
    EXPECT_EQ(r.vMin, 27);
    EXPECT_EQ(r.vMax, 60); // 7000 mV is held to 6000
    EXPECT_EQ(r.vpp, 120);
    EXPECT_EQ(r.hwRanges, (std::vector<HwRange>{{100, 400}, {500, 1000}, {0, 0}}));
    EXPECT_EQ(r.idLenMin, 1);
    EXPECT_EQ(r.idLenMax, 7);
    EXPECT_EQ(r.idLenAdr, 0xFFDBu);
    EXPECT_EQ(r.idAddresses, (std::vector<uint32_t>{0xFFDF, 0xFFE3, 0xFFEB}));
    EXPECT_EQ(r.idRangeFirst, 0x1000u);
    EXPECT_EQ(r.idRangeLast, 0x1FFFu);
    EXPECT_EQ(r.constIdData, (std::vector<uint8_t>{0x3C, 0x7E}));
    EXPECT_EQ(r.idCheck, IdCheck::M7906);
    EXPECT_EQ(r.enableClearAll, 1);
    EXPECT_EQ(r.enableClearChip, 1);
    ASSERT_EQ(r.protectedBlocks.size(), 2u);
    EXPECT_EQ(r.protectedBlocks[0].name, "Calibration");
    EXPECT_EQ(r.protectedBlocks[0].count, 2);
    EXPECT_EQ(r.protectedBlocks[0].addresses[1], 0x8001u);
    EXPECT_EQ(r.protectedBlocks[1].addresses[0], 0xFFDFu);
    EXPECT_EQ(r.flashOffset, 0x40000u);
    EXPECT_EQ(r.chipSpecifics, (std::vector<uint8_t>{1, 2, 3}));
    EXPECT_EQ(r.speedSettings, (std::vector<std::string>{"Fast", "Slow", "Very slow"}));
}

TEST(DeviceFile, EnumerationNamesWithAndWithoutQuotesAndVppWords) {
    for (const char* line : {"AlgoS = ST7X", "AlgoS = \"ST7X\"", "AlgoS=ST7X  // remark"}) {
        auto r = Accepted(kBase + line + "\n");
        EXPECT_EQ(r.algoS, 137) << line;
    }
    EXPECT_EQ(Accepted(kBase + "Vpp = nc\n").vpp, 0);
    EXPECT_EQ(Accepted(kBase + "Vpp = 5000\nVpp = VCC\n").vpp, 0);
    EXPECT_EQ(Accepted(kBase + "Vpp = 5000\n").vpp, 50);
}

TEST(DeviceFile, AreasAreSortedByOrderAndBankLinesShareOneFlashArea) {
    auto r = Accepted(kBase + "ProgArea = \"DATA\", 9, 1, 40000, 400\n"
                              "Bank = 2000, 1000, 3000, 1000\n"
                              "ProgArea = \"BOOT\", 2, 0, 0, 100\n"
                              "ProgArea = \"USER\", 7, 3, 50000, 10, 60000, 10\n"
                              "ProgArea = \"INFO\", 2, 0, 100, 40\n");
    // order 2 (file order), the Bank area right behind the first order-7 area, further order-7
    // areas behind it, then order 9.
    std::vector<std::pair<std::string, int>> seen;
    for (const auto& a : r.areas)
        seen.push_back({a.name, a.rangeCount});
    EXPECT_EQ(seen, (std::vector<std::pair<std::string, int>>{
                        {"BOOT", 1}, {"INFO", 1}, {"FLASH", 3}, {"USER", 2}, {"DATA", 1}}));
    const auto& flash = r.areas[2];
    EXPECT_EQ(flash.order, 7);
    EXPECT_EQ(flash.kind, 0);
    EXPECT_EQ(flash.ranges[0], (BankRange{0x1000, 0x800}));
    EXPECT_EQ(flash.ranges[2], (BankRange{0x3000, 0x1000}));
    EXPECT_EQ(r.areas[3].kind, 3);

    // A ProgArea of order 7 written before the first Bank line: the Bank area goes behind it.
    auto s = Accepted("ProgArea = \"USER\", 7, 0, 50000, 10\n" + kBase);
    EXPECT_EQ(s.areas[0].name, "USER");
    EXPECT_EQ(s.areas[1].name, "FLASH");
}

TEST(DeviceFile, FinalChecksInTheirOrder) {
    struct Case {
        std::string text;
        std::string missing;
    };
    auto without = [](const std::string& prefix) {
        std::string text;
        std::size_t from = 0;
        while (from < kBase.size()) {
            std::size_t end = kBase.find('\n', from) + 1;
            std::string line = kBase.substr(from, end - from);
            if (line.rfind(prefix, 0) != 0) text += line;
            from = end;
        }
        return text;
    };
    const Case cases[] = {
        {"", "Device not specified"},
        {"// only a comment\r\n", "Device not specified"},
        {without("Manufacturer"), "Manufacturer not specified"},
        {without("Bank"), "No Memory bank or programable area specified"},
        {without("aHWRange"), "aHWRange not specified"},
        {without("aHWRange") + "aHWRange = 0, 400\n", "aHWRange not specified"},
        {without("AlgoS"), "Algorithm (AlgoS or AlgoP) not specified"},
        {without("SIFType"), "AlgoS and SIFType not specified"},
        {without("AlgoS") + "AlgoP = P20\n", "AlgoS and SIFType not specified"},
        {without("VCC"), "VMin invalid or missing"},
        {without("Vpp"), "Vpp not specified"},
        {kBase + "SerialSupport = 0\n", "Either parallel or serial support has to be enabled!"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.missing);
        auto result = Parse(c.text);
        ASSERT_FALSE(result.record);
        EXPECT_EQ(result.message, "Missing parameter: " + c.missing);
        EXPECT_EQ(result.caption, "Error reading device file /x/A.dev");
    }
    // A parallel-only device needs neither AlgoS nor SIFType.
    std::string parallel = without("AlgoS");
    parallel.erase(parallel.find("SIFType"), std::string("SIFType = S60\r\n").size());
    auto r = Accepted(parallel + "AlgoP = P20\nParallelSupport = 1\nSerialSupport = 0\n");
    EXPECT_EQ(r.algoS, 0);
    EXPECT_EQ(r.parallelSupport, 1);
}

TEST(DeviceFile, MessageBoxesAndReplacementInPlace) {
    test::FakeUi ui;
    DeviceTable table;
    EXPECT_TRUE(ParseDeviceFile(ui, table, kBase.c_str(), "/d/one.dev"));
    std::string other = "Manufacturer = \"Kestrel\"\nDevice = \"K2\"\nBank = 0, 100\n"
                        "aHWRange = 1, 2\nAlgoP = P20\nParallelSupport = 1\nVCC = 3000 - 3600\n"
                        "Vpp = nc\n";
    EXPECT_TRUE(ParseDeviceFile(ui, table, other.c_str(), "/d/two.dev"));
    std::string replacement = kBase + "Name = \"second\"\n";
    EXPECT_TRUE(ParseDeviceFile(ui, table, replacement.c_str(), "/d/three.dev"));
    ASSERT_EQ(DeviceCount(table), 2);
    EXPECT_EQ(table.records[0].name, "second");
    EXPECT_EQ(table.records[1].device, "K2");
    EXPECT_TRUE(ui.boxes.empty());

    EXPECT_FALSE(ParseDeviceFile(ui, table, "Name = \"open\n", "/d/bad.dev"));
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_EQ(ui.boxes[0].text, "");
    EXPECT_EQ(ui.boxes[0].caption, "Error reading device file /d/bad.dev, Line 1");
    EXPECT_EQ(ui.boxes[0].buttons, MsgButtons::Ok);
    EXPECT_EQ(DeviceCount(table), 2);
}

TEST(DeviceFile, DirectoryScanMatchesDevWithoutRegardToCase) {
    test::TempDir dir;
    auto device = dir / "Device";
    std::filesystem::create_directory(device);
    std::filesystem::create_directory(device / "folder.dev");
    test::WriteFile(device / "a.dev", kBase);
    std::string upper = kBase;
    upper.replace(upper.find("ND100"), 5, "ND200");
    test::WriteFile(device / "B.DEV", upper);
    test::WriteFile(device / "notes.txt", "Bogus");
    test::WriteFile(device / "broken.Dev", "Device = \"X\"\n0\n");
    test::FakeUi ui;
    DeviceTable table;
    EXPECT_FALSE(LoadDeviceFilesFrom(ui, table, device.string() + "/"));
    EXPECT_EQ(DeviceCount(table), 2);
    EXPECT_GE(FindDevice(table, "ND100"), 0);
    EXPECT_GE(FindDevice(table, "ND200"), 0);
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_EQ(ui.boxes[0].caption,
              "Error reading device file " + (device / "broken.Dev").string() + ", Line 2");

    test::TempDir empty;
    auto message = LoadDeviceFilesFrom(ui, table, empty.Path().string() + "/Device/");
    EXPECT_EQ(message,
              "Can not find device file in directory " + empty.Path().string() + "/Device/");
}

TEST(DeviceFile, OnlyTheFirst32767BytesAreRead) {
    test::TempDir dir;
    // The text is cut inside the long comment: the line that would make it fail is never seen.
    std::string text = kBase + "// " + std::string(40000, 'x') + "\nBogus = 1\n";
    test::WriteFile(dir / "long.dev", text);
    test::FakeUi ui;
    DeviceTable table;
    LoadDeviceFilesFrom(ui, table, dir.Path().string() + "/");
    EXPECT_TRUE(ui.boxes.empty());
    EXPECT_EQ(DeviceCount(table), 1);
}

} // namespace
} // namespace vantrel
