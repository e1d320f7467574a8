// The device list CSV file: field extraction, every column's conversion, the export's exact
// text and messages, and a device that goes out and comes back.
#include <gtest/gtest.h>

#include <cstring>

#include "DeviceTestData.h"
#include "app/App.h"
#include "device/DeviceCsv.h"
#include "device/DeviceSelection.h"
#include "support/AppFixture.h"

namespace vantrel {
namespace {

const char* kHeader = "\"Manufacturer\";\"Name\";\"Group\";\"Package\";\"RAM\";\"Device\";\"Bank\";"
                      "\"ProgArea\";\"Par\";\"Ser\";\"BootSel\";\"BootWarn\";\"SIF\";\"AlgoS\";"
                      "\"AlgoP\";\"VCC\";\"Vpp\";\"DispBLVer\";\"EnClrChip\";\"EnClrAll\";"
                      "\"IDLenMin\";\"IDLenMax\";\"IDLenAdr\";\"aIDAdr\";\"IDRange\";"
                      "\"aConstIDData\";\"ProtectedBytes\";\"IDCheckFunction\";\"FlashOffset\";"
                      "\"ChipSpecifics\";\"SpeedSettings\"\r\n";

DeviceTable Read(const std::string& rows) {
    test::FakeUi ui;
    DeviceTable table;
    std::string text = std::string(kHeader) + rows;
    ReadDeviceCsvText(ui, table, text.c_str());
    EXPECT_TRUE(ui.boxes.empty());
    return table;
}

TEST(DeviceCsv, FieldsWithQuotesSeparatorsAndShortRows) {
    auto table = Read("\"Ma;ker\";\"Say \"\"hi\"\"\";G;  P  ;\"2048\";\"D1\";\r\n"
                      "M;N;G;P;1;D2;;;W;rw;1;1;s60;st7x;p20;\"3300\";\r\n"
                      "M;N;G;P;1;D3\n"
                      "M;N;G;P;1;D4;;;;;;;;;;;;;;;;;;;;;;;;;;;;;;;;;;;;;;extra;\r\n"
                      "  ;;;\r\n");
    ASSERT_EQ(DeviceCount(table), 4); // the row without a device name is no device
    const auto& a = table.records[0];
    EXPECT_EQ(a.manufacturer, "Ma;ker");
    EXPECT_EQ(a.name, "Say \"hi\"");
    EXPECT_EQ(a.package, "P");
    EXPECT_EQ(a.ram, 2048u);
    EXPECT_EQ(a.device, "D1");
    ASSERT_EQ(a.areas.size(), 1u); // every listed device has its flash area, even an empty one
    EXPECT_EQ(a.areas[0].name, "FLASH");
    EXPECT_EQ(a.areas[0].rangeCount, 0);
    EXPECT_EQ(a.fromDeviceFile, 0);
    EXPECT_EQ(a.version, 0u);
    EXPECT_TRUE(a.hwRanges.empty());
    const auto& b = table.records[1];
    EXPECT_EQ(b.parallelSupport, 2);
    EXPECT_EQ(b.serialSupport, 3);
    EXPECT_EQ(b.bootSelect, 1);
    EXPECT_EQ(b.sifType, 0);
    EXPECT_EQ(b.algoS, 137);
    EXPECT_EQ(b.algoP, 1);
    EXPECT_EQ(b.vMin, 33);
    EXPECT_EQ(b.vMax, 33);
    // A short row ending in a bare LF does not take fields from the next row.
    EXPECT_EQ(table.records[2].device, "D3");
    EXPECT_EQ(table.records[3].device, "D4");
}

TEST(DeviceCsv, ColumnConversions) {
    auto table = Read(
        "M;N;G;P;-5;D;\"1000,800; 2000 , 300000;  ; 3000;tail\";"
        "\"EE, 2, 1, F000, 800; BOOT, 0, 3, 0, 100, 100, 100; BAD, x, 1; LATE, 1, 1, 5, 5\";"
        "RW;R;0;0;S60;S60;P60;\"2700 - 5500\";12000;1;1;1;1;20;FF9F;\"1, 2, zz, 4\";"
        "\"100, 1FF\";\"AA, 1BB, \";\"Cal, 8000, 8001; ID, FFDF; Big, 1,2,3,4,5,6,7,8,9,A,B,C,D,"
        "E,F,10,11; After, 5\";CheckST7;40000;\"1,2\";\"Fast,  Medium , Slow\";\r\n");
    ASSERT_EQ(DeviceCount(table), 1);
    const auto& d = table.records[0];
    EXPECT_EQ(d.ram, 0u);
    ASSERT_EQ(d.areas.size(), 3u);
    EXPECT_EQ(d.areas[0].name, "BOOT"); // order 0 first; the malformed area ends the column
    EXPECT_EQ(d.areas[0].kind, 3);
    EXPECT_EQ(d.areas[0].rangeCount, 2);
    EXPECT_EQ(d.areas[1].name, "EE");
    const auto& flash = d.areas[2];
    ASSERT_EQ(flash.rangeCount, 3);
    EXPECT_EQ(flash.ranges[1], (BankRange{0x2000, 0x100000})); // size held to 1 MB
    EXPECT_EQ(flash.ranges[2], (BankRange{0x3000, 1}));        // no size: the lower bound
    EXPECT_EQ(d.vpp, 120);
    EXPECT_EQ(d.idLenMax, 15); // held to what a passcode can be
    EXPECT_EQ(d.idLenAdr, 0xFF9Fu);
    ASSERT_EQ(d.idAddresses.size(), 15u); // IDLenMax entries, the missing ones 0
    EXPECT_EQ(d.idAddresses[2], 0u);
    EXPECT_EQ(d.idAddresses[3], 4u);
    EXPECT_EQ(d.idAddresses[4], 0u);
    EXPECT_EQ(d.idRangeLast, 0x1FFu);
    EXPECT_EQ(d.constIdData, (std::vector<uint8_t>{0xAA, 0xFF, 0}));
    ASSERT_EQ(d.protectedBlocks.size(), 2u); // the 17-address block ends the column
    EXPECT_EQ(d.protectedBlocks[0].name, "Cal");
    EXPECT_EQ(d.protectedBlocks[0].count, 2);
    EXPECT_EQ(d.protectedBlocks[1].addresses[0], 0xFFDFu);
    EXPECT_EQ(d.idCheck, IdCheck::ST7);
    EXPECT_EQ(d.flashOffset, 0x40000u);
    EXPECT_EQ(d.speedSettings, (std::vector<std::string>{"Fast", "Medium ", "Slow"}));
}

class CsvExport : public test::AppFixture {};

TEST_F(CsvExport, RowTextAndRoundTrip) {
    auto d = test::Sample();
    d.bootSelect = 1;
    d.parallelSupport = 2;
    d.algoP = 134;
    d.vpp = 50;
    d.idLenAdr = 0xFFDB;
    d.idRangeFirst = 0x1000;
    d.idRangeLast = 0x1FFF;
    d.constIdData = {0x3C, 0x7E};
    d.chipSpecifics = {1, 0x20};
    d.idCheck = IdCheck::M7906;
    d.flashOffset = 0x40000;
    d.enableClearAll = 1;
    d.protectedBlocks = {test::Block("Cal", {0x8000, 0x8001}), test::Block("ID", {0xFFDF})};
    d.speedSettings = {"Fast", std::string(70, 's')};
    d.hwRanges = {{100, 400}, {0, 0}};
    d.rom = 0x4000;
    d.version = 3;
    AddDevice(ui, app->devices, d);
    app->selection.additional = {0x100000, 0x400};

    std::string text = BuildDeviceCsv(app->devices, app->selection.additional);
    EXPECT_EQ(text.substr(0, std::strlen(kHeader)), kHeader);
    EXPECT_EQ(text.substr(std::strlen(kHeader)),
              "\"Nordane\";\"ND 100\";\"ND\";\"QFP64\";\"2048\";\"ND100\";"
              "\"1000,1000; 2000,1000; 8000,4000; 100000,400; \";\"DATA, 2, 1, F000, 800\";"
              "\"W\";\"RW\";\"1\";\"0\";\"S60\";\"S60\";\"P62N\";\"2700 - 5500\";\"5000\";\"0\";"
              "\"0\";\"1\";\"1\";\"7\";\"FFDB\";\"FFDF, FFE3, FFEB, FFEF, FFF3, FFF7, FFFB\";"
              "\"1000, 1FFF\";\"3C, 7E\";\"Cal, 8000, 8001; ID, FFDF; \";\"CheckM7906\";"
              "\"40000\";\"1, 20\";\"Fast, " +
                  std::string(63, 's') + "\";\r\n");

    auto back = Read(text.substr(std::strlen(kHeader)));
    ASSERT_EQ(DeviceCount(back), 1);
    const auto& r = back.records[0];
    for (auto field : {&DeviceRecord::manufacturer, &DeviceRecord::name, &DeviceRecord::group,
                       &DeviceRecord::package, &DeviceRecord::device})
        EXPECT_EQ(r.*field, d.*field);
    EXPECT_EQ(r.ram, d.ram);
    EXPECT_EQ(r.sifType, d.sifType);
    EXPECT_EQ(r.algoS, d.algoS);
    EXPECT_EQ(r.algoP, d.algoP);
    EXPECT_EQ(r.parallelSupport, 2);
    EXPECT_EQ(r.serialSupport, 3);
    EXPECT_EQ(r.bootSelect, 1);
    EXPECT_EQ(r.vMin, d.vMin);
    EXPECT_EQ(r.vMax, d.vMax);
    EXPECT_EQ(r.vpp, d.vpp);
    EXPECT_EQ(r.idLenMin, d.idLenMin);
    EXPECT_EQ(r.idLenMax, d.idLenMax);
    EXPECT_EQ(r.idLenAdr, d.idLenAdr);
    EXPECT_EQ(r.idAddresses, d.idAddresses);
    EXPECT_EQ(r.idRangeFirst, d.idRangeFirst);
    EXPECT_EQ(r.idRangeLast, d.idRangeLast);
    EXPECT_EQ(r.constIdData, d.constIdData);
    EXPECT_EQ(r.chipSpecifics, d.chipSpecifics);
    EXPECT_EQ(r.idCheck, d.idCheck);
    EXPECT_EQ(r.flashOffset, d.flashOffset);
    EXPECT_EQ(r.enableClearAll, 1);
    ASSERT_EQ(r.protectedBlocks.size(), 2u);
    EXPECT_EQ(r.protectedBlocks[0].name, "Cal");
    EXPECT_EQ(r.protectedBlocks[0].count, 2);
    EXPECT_EQ(r.protectedBlocks[0].addresses[1], 0x8001u);
    EXPECT_EQ(r.speedSettings, (std::vector<std::string>{"Fast", std::string(63, 's')}));
    // Lost on the way: hardware ranges, ROM, version; the additional range is one more bank.
    EXPECT_TRUE(r.hwRanges.empty());
    EXPECT_EQ(r.rom, 0u);
    EXPECT_EQ(r.version, 0u);
    ASSERT_EQ(r.areas.size(), 2u);
    EXPECT_EQ(r.areas[0].name, "DATA");
    EXPECT_EQ(r.areas[1].rangeCount, 4);
    EXPECT_EQ(r.areas[1].ranges[3], (BankRange{0x100000, 0x400}));
}

TEST_F(CsvExport, WritesTheFileAndReports) {
    AddDevice(ui, app->devices, test::Sample());
    auto path = (dir / "list.csv").string();
    ExportDeviceCsv(ui, app->devices, app->selection.additional, path);
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_EQ(ui.boxes[0].text, "The CSV file was saved as: \n" + path);
    EXPECT_EQ(ui.boxes[0].caption, "CSV export");
    EXPECT_EQ(ui.boxes[0].icon, MsgIcon::Information);
    EXPECT_EQ(test::ReadFile(path), BuildDeviceCsv(app->devices, app->selection.additional));

    ExportDeviceCsv(ui, app->devices, app->selection.additional,
                    (dir / "missing" / "list.csv").string());
    ASSERT_EQ(ui.boxes.size(), 2u);
    EXPECT_EQ(ui.boxes[1].text, "The CSV file could not be saved !");
    EXPECT_EQ(ui.boxes[1].icon, MsgIcon::Error);
}

} // namespace
} // namespace vantrel
