// The summary view's rows, places and change detection, without widgets.
#include <gtest/gtest.h>

#include <optional>

#include "ui/SummaryView.h"

namespace vantrel {
namespace {

using Id = SummaryRowId;

// A loaded image on a ready programmer that answers well.
SummaryInputs Loaded() {
    SummaryInputs in;
    in.imageEmpty = false;
    in.firstAddress = 0xC0000;
    in.lastAddress = 0xCFFFF;
    in.byteCount = 0x10000;
    in.imageCrc = 0x1A2B;
    in.deviceName = "SAMPLE-1";
    in.bankRanges = {{0xC0000, 0xCFFFF}, {0xE0000, 0xEFFFF}};
    in.selectedInterface = 1;
    in.vMin = 27;
    in.vMax = 55;
    in.vpp = 0;
    in.status.state = kStateReady;
    in.status.hardwareVersion = 410;
    in.status.inputVoltage = 12000;
    in.status.targetVoltage = 5000;
    in.status.firmwareVersion = 20000;
    in.status.crc = 0x1A2B;
    return in;
}

std::optional<SummaryRow> Find(const std::vector<SummaryRow>& rows, Id id) {
    for (const SummaryRow& row : rows)
        if (row.id == id) return row;
    return std::nullopt;
}

std::vector<int> RowsOfColumn(const std::vector<SummaryRow>& rows, int column) {
    std::vector<int> out;
    for (const SummaryRow& row : rows)
        if (row.column == column) out.push_back(row.row);
    return out;
}

TEST(SummaryRows, EmptyDocumentShowsOnlyFileAndNoData) {
    SummaryInputs in = Loaded();
    in.imageEmpty = true;
    std::vector<SummaryRow> rows = SummaryRows(in);
    EXPECT_EQ(RowsOfColumn(rows, 0), (std::vector<int>{0, 1}));
    EXPECT_EQ(Find(rows, Id::FileHeader)->label, "File");
    EXPECT_EQ(Find(rows, Id::NoData)->value, "No data loaded");
}

// One row's text and colour for a changed snapshot; `absent` rows are not drawn at all.
struct RowCase {
    const char* name;
    void (*change)(SummaryInputs&);
    Id id;
    const char* value; // null: the row is not shown
    SummaryColour colour;
};

const RowCase kRowCases[] = {
    {"range fits", [](SummaryInputs&) {}, Id::ImageRange, "C0000 - CFFFF", SummaryColour::Green},
    {"range outside the device", [](SummaryInputs& in) { in.fitsDevice = false; }, Id::ImageRange,
     "C0000 - CFFFF", SummaryColour::Red},
    {"bytes in hex", [](SummaryInputs&) {}, Id::Bytes, "10000", SummaryColour::LeftValue},
    {"crc", [](SummaryInputs&) {}, Id::Crc, "1A2B", SummaryColour::LeftValue},
    {"external area drops the crc", [](SummaryInputs& in) { in.showCrc = false; }, Id::Crc, nullptr,
     SummaryColour::LeftValue},
    {"no ID bytes for a device without", [](SummaryInputs&) {}, Id::IdBytes, nullptr,
     SummaryColour::LeftValue},
    {"ID length 7",
     [](SummaryInputs& in) {
         in.showId = true;
         in.idBytes = {0x41, 0x42, 0x1F, 0x80, 0x7F, 0x20, 0};
         in.idLength = 7;
     },
     Id::IdBytes, "41 42 1F 80 7F 20 0", SummaryColour::LeftValue},
    {"ID length 9 shows more to come",
     [](SummaryInputs& in) {
         in.showId = true;
         in.idBytes = {1, 2, 3, 4, 5, 6, 7};
         in.idLength = 9;
     },
     Id::IdBytes, "1 2 3 4 5 6 7 ...", SummaryColour::LeftValue},
    {"ID ASCII blanks the unprintable",
     [](SummaryInputs& in) {
         in.showId = true;
         in.idBytes = {0x41, 0x42, 0x1F, 0x80, 0x7F, 0x20, 0};
     },
     Id::IdAscii, "A B     \x7F     ", SummaryColour::LeftValue},
    {"device", [](SummaryInputs&) {}, Id::Device, "SAMPLE-1", SummaryColour::Value},
    {"device with boot warning", [](SummaryInputs& in) { in.bootWarning = true; }, Id::Device,
     "SAMPLE-1", SummaryColour::Red},
    {"bank ranges joined", [](SummaryInputs&) {}, Id::TargetRange, "C0000 - CFFFF, E0000 - EFFFF",
     SummaryColour::Value},
    {"interface the programmer reports", [](SummaryInputs& in) { in.status.interfaceInUse = 2; },
     Id::Interface, "Serial (Asynchronous)", SummaryColour::Value},
    {"interface 3 is blank", [](SummaryInputs& in) { in.status.interfaceInUse = 3; }, Id::Interface,
     "", SummaryColour::Value},
    {"interface 4 unknown", [](SummaryInputs& in) { in.status.interfaceInUse = 4; }, Id::Interface,
     "???", SummaryColour::Value},
    {"selected interface without communication",
     [](SummaryInputs& in) { in.status.state = kStateNoCommunication; }, Id::Interface,
     "Serial (In Target)", SummaryColour::Value},
    {"programmer crc", [](SummaryInputs&) {}, Id::ProgrammerCrc, "1A2B", SummaryColour::Value},
    {"power failure is red", [](SummaryInputs& in) { in.status.state = 9; }, Id::Status,
     "Powerfailure (Check Vin)", SummaryColour::Red},
    {"vin", [](SummaryInputs&) {}, Id::Vin, "12.0 Volt", SummaryColour::Value},
    {"vin 4900 hides the row", [](SummaryInputs& in) { in.status.inputVoltage = 4900; }, Id::Vin,
     nullptr, SummaryColour::Value},
    {"vin 25000 is fine", [](SummaryInputs& in) { in.status.inputVoltage = 25000; }, Id::Vin,
     "25.0 Volt", SummaryColour::Value},
    {"vin 25001 is red", [](SummaryInputs& in) { in.status.inputVoltage = 25001; }, Id::Vin,
     "25.0 Volt", SummaryColour::Red},
    {"vin below the chip's minimum",
     [](SummaryInputs& in) {
         in.vpp = 120; // 12 V
         in.status.inputVoltage = 9000;
     },
     Id::Vin, "9.0 Volt (Min. 13.0 V for this chip)", SummaryColour::Red},
    {"vin on old hardware hidden", [](SummaryInputs& in) { in.status.hardwareVersion = 299; },
     Id::Vin, nullptr, SummaryColour::Value},
    {"firmware with serial number", [](SummaryInputs& in) { in.status.serialNumber = 1234; },
     Id::Firmware, nullptr /* checked below by prefix */, SummaryColour::Value},
    {"result ok", [](SummaryInputs&) {}, Id::Result, "O.K.", SummaryColour::Value},
    {"result 3", [](SummaryInputs& in) { in.status.result = 3; }, Id::Result,
     "Error 3: Verify failed", SummaryColour::Red},
    {"result while busy", [](SummaryInputs& in) { in.status.state = 3; }, Id::Result, "---",
     SummaryColour::Value},
    {"address when ready and fine", [](SummaryInputs&) {}, Id::CurrentAddress, "---",
     SummaryColour::Value},
    {"address while busy",
     [](SummaryInputs& in) {
         in.status.state = 3;
         in.status.currentAddress = 0xC1234;
     },
     Id::CurrentAddress, "C1234", SummaryColour::Value},
    {"result 52 names the address line",
     [](SummaryInputs& in) {
         in.status.result = 52;
         in.status.currentAddress = 17;
     },
     Id::CurrentAddress, "Adress A17", SummaryColour::Value},
    {"result 3 gives the address in five digits",
     [](SummaryInputs& in) {
         in.status.result = 3;
         in.status.currentAddress = 0x1F0;
     },
     Id::CurrentAddress, "001F0", SummaryColour::Value},
    {"target vcc", [](SummaryInputs&) {}, Id::TargetVcc, "5.0 Volt", SummaryColour::Value},
    {"target vcc above the maximum", [](SummaryInputs& in) { in.status.targetVoltage = 5600; },
     Id::TargetVcc, "5.6 Volt", SummaryColour::Red},
    {"target vcc below the minimum", [](SummaryInputs& in) { in.status.targetVoltage = 2600; },
     Id::TargetVcc, "2.6 Volt", SummaryColour::Red},
    {"target vcc only in target", [](SummaryInputs& in) { in.selectedInterface = 0; },
     Id::TargetVcc, nullptr, SummaryColour::Value},
    {"bootloader when the device shows it",
     [](SummaryInputs& in) {
         in.displayBootloader = true;
         in.status.bootloaderId = {'B', 'L', ' ', 'V', '1', '.', '2', '3'};
     },
     Id::Bootloader, "BL V1.23", SummaryColour::Value},
    {"no bootloader row otherwise", [](SummaryInputs&) {}, Id::Bootloader, nullptr,
     SummaryColour::Value},
};

TEST(SummaryRows, TextsAndColours) {
    for (const RowCase& c : kRowCases) {
        SCOPED_TRACE(c.name);
        SummaryInputs in = Loaded();
        c.change(in);
        std::optional<SummaryRow> row = Find(SummaryRows(in), c.id);
        if (c.id == Id::Firmware) {
            ASSERT_TRUE(row);
            EXPECT_NE(row->value.find(" for "), std::string::npos);
            EXPECT_EQ(row->value.substr(row->value.size() - 9), " S/N 1234");
            continue;
        }
        if (!c.value) {
            EXPECT_FALSE(row) << row->value;
            continue;
        }
        ASSERT_TRUE(row);
        EXPECT_EQ(row->value, c.value);
        EXPECT_EQ(row->colour, c.colour);
    }
}

// Rows keep their places; an external area moves the ID rows up one.
TEST(SummaryRows, RowPlaces) {
    SummaryInputs in = Loaded();
    in.showId = true;
    in.displayBootloader = true;
    EXPECT_EQ(RowsOfColumn(SummaryRows(in), 0), (std::vector<int>{0, 2, 3, 4, 5, 6}));
    EXPECT_EQ(RowsOfColumn(SummaryRows(in), 1),
              (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}));
    in.showCrc = false;
    EXPECT_EQ(RowsOfColumn(SummaryRows(in), 0), (std::vector<int>{0, 2, 3, 4, 5}));
    in.status.inputVoltage = 4900; // a gap where the Vin row was
    EXPECT_EQ(RowsOfColumn(SummaryRows(in), 1),
              (std::vector<int>{0, 1, 2, 3, 4, 5, 7, 8, 9, 10, 11}));
}

TEST(SummaryRows, NoCommunicationShowsRowsZeroToFive) {
    SummaryInputs in = Loaded();
    in.displayBootloader = true;
    in.status.state = kStateNoCommunication;
    std::vector<SummaryRow> rows = SummaryRows(in);
    EXPECT_EQ(RowsOfColumn(rows, 1), (std::vector<int>{0, 1, 2, 3, 4, 5}));
    EXPECT_EQ(Find(rows, Id::Status)->value, "No communication");
}

// A long bank list stays within a message buffer.
TEST(SummaryRows, ManyBanksAreCut) {
    SummaryInputs in = Loaded();
    in.bankRanges.assign(64, {0xFFFF0000, 0xFFFFFFFF});
    EXPECT_LT(Find(SummaryRows(in), Id::TargetRange)->value.size(), 200u);
}

// A font whose characters are 7 pixels wide and rows 13 high.
SummaryLayout FixedLayout(int charWidth = 7, int rowHeight = 13) {
    return SummaryLayout(rowHeight, [charWidth](const std::string& text) {
        return static_cast<int>(text.size()) * charWidth;
    });
}

TEST(SummaryLayout, PlacesFromMeasuredWidths) {
    SummaryLayout layout = FixedLayout();
    EXPECT_EQ(layout.RowY(0), 0);
    EXPECT_EQ(layout.RowY(1), 18);
    EXPECT_EQ(layout.RowY(6), 83);
    EXPECT_EQ(layout.LabelX(0), 5);
    EXPECT_EQ(layout.ValueX(0), 9 * 7 + 17);        // "ID bytes "
    EXPECT_EQ(layout.LabelX(1), 300);               // the left values fit in front of it
    EXPECT_EQ(layout.ValueX(1), 300 + 15 * 7 + 12); // "BTL S/W Version"
    EXPECT_EQ(layout.Underline(0), (std::pair{5, 155}));
    EXPECT_EQ(layout.Underline(1), (std::pair{300, 450}));
}

// A large font pushes the right column out of the left one's way, and value boxes grow with
// their texts, so nothing is drawn over or left stale.
TEST(SummaryLayout, LargeFontsKeepColumnsApart) {
    SummaryLayout layout = FixedLayout(16, 30);
    int leftEnd = layout.ValueX(0) + 19 * 16; // "FFFFFFFF - FFFFFFFF"
    EXPECT_GT(layout.LabelX(1), leftEnd);
    SummaryRow firmware{Id::Firmware, 1, 7, "Vantrel firmware", std::string(40, 'x')};
    SummaryRect rect = layout.RowRect(firmware);
    EXPECT_EQ(rect.left, layout.LabelX(1));
    EXPECT_GE(rect.right, layout.ValueX(1) + 40 * 16);
    EXPECT_EQ(rect.top, 7 * 30 + 5);
    // Scrolling covers the texts, not the boxes kept for redrawing.
    EXPECT_EQ(layout.Extent({firmware}),
              (std::pair{layout.ValueX(1) + 40 * 16 + 5, 7 * 30 + 5 + 30 + 5}));
}

TEST(SummaryModel, ChangedRowsOnly) {
    struct Case {
        const char* name;
        void (*change)(SummaryInputs&);
        bool whole;
        std::vector<Id> rows; // each once for a text change; old and new place when it moves
    };
    const Case cases[] = {
        {"nothing", [](SummaryInputs&) {}, false, {}},
        {"state", [](SummaryInputs& in) { in.status.state = 3; }, true, {}},
        {"vin",
         [](SummaryInputs& in) { in.status.inputVoltage = 11000; },
         false,
         {Id::Vin, Id::Vin}},
        {"vin hidden", [](SummaryInputs& in) { in.status.inputVoltage = 4000; }, false, {Id::Vin}},
        {"serial number",
         [](SummaryInputs& in) { in.status.serialNumber = 7; },
         false,
         {Id::Firmware, Id::Firmware}},
        {"target vcc",
         [](SummaryInputs& in) { in.status.targetVoltage = 4000; },
         false,
         {Id::TargetVcc, Id::TargetVcc}},
        {"result",
         [](SummaryInputs& in) { in.status.result = 3; },
         false,
         {Id::Result, Id::CurrentAddress, Id::Result, Id::CurrentAddress}},
        {"image crc", [](SummaryInputs& in) { in.imageCrc = 0xBEEF; }, false, {Id::Crc, Id::Crc}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SummaryModel model;
        EXPECT_TRUE(model.Update(Loaded()).whole); // the first tick draws everything
        SummaryInputs in = Loaded();
        c.change(in);
        SummaryModel::Changes changes = model.Update(in);
        EXPECT_EQ(changes.whole, c.whole);
        std::vector<Id> ids;
        for (const SummaryRow& row : changes.rows)
            ids.push_back(row.id);
        EXPECT_EQ(ids, c.rows);
    }
}

} // namespace
} // namespace vantrel
