// The Select Device dialog's model: the supported devices with their filters, the multi-level
// sort and its arrow, the device selected on opening, typing to jump, and OK.
#include <gtest/gtest.h>

#include "DeviceDialogFixture.h"
#include "device/DeviceTable.h"
#include "dialogs/SelectDeviceModel.h"

namespace vantrel {
namespace {

enum Column { kManufacturer, kGroup, kDevice, kRam, kFlash, kVpp, kPackage };

std::vector<std::string> Texts(const DialogCombo& combo) {
    std::vector<std::string> texts;
    for (const auto& item : combo.items)
        texts.push_back(item.text);
    return texts;
}

int Item(const DialogCombo& combo, const std::string& text) {
    for (std::size_t i = 0; i < combo.items.size(); ++i)
        if (combo.items[i].text == text) return static_cast<int>(i);
    ADD_FAILURE() << "no item " << text;
    return -1;
}

class SelectDevice : public test::DeviceDialogFixture {
  protected:
    void SetUp() override {
        SetStatus(test::NewProgrammer());
        Add(Device("D0", "Acme", "AC8", "ac800", 4096));
        Add(Device("D1", "Bolt", "B16", "B-16", 512));
        Add(Device("D2", "Acme", "AC16", "AC1600", 16384));
        DeviceRecord unsupported = Device("D3", "Zeta", "Z", "zz", 1);
        unsupported.algoS = 135;
        Add(unsupported);
        Add(Device("D4", "Acme", "AC8", "ac810", 512));
        Add(Device("D5", "", "", "E1", 0));
        Add(Device("D6", "acme", "AC8", "a1", 2048));
    }
    static DeviceRecord Device(const std::string& id, const std::string& manufacturer,
                               const std::string& group, const std::string& name, uint32_t ram) {
        DeviceRecord r = test::Sample(id);
        r.manufacturer = manufacturer;
        r.group = group;
        r.name = name;
        r.ram = ram;
        return r;
    }
    SelectDeviceModel Open(int current = -1) {
        return SelectDeviceModel(app->devices, PM_Status(app->pm), sortKey, current);
    }
    uint32_t sortKey = 0;
};

TEST_F(SelectDevice, ListsTheSupportedDevicesInTableOrder) {
    SelectDeviceModel model = Open();
    EXPECT_EQ(model.Rows(), (std::vector<int>{0, 1, 2, 4, 5, 6}));
    EXPECT_TRUE(model.ListEnabled());
    EXPECT_EQ(model.SelectedRow(), -1);
    EXPECT_EQ(model.ArrowColumn(), -1);
    // "*" first, then every distinct non-empty value in text order.
    EXPECT_EQ(Texts(model.Manufacturers()),
              (std::vector<std::string>{"*", "Acme", "acme", "Bolt"}));
    EXPECT_EQ(Texts(model.Groups()), (std::vector<std::string>{"*", "AC16", "AC8", "B16"}));
    EXPECT_EQ(model.Manufacturers().current, 0);
    EXPECT_TRUE(model.Manufacturers().enabled);
}

TEST_F(SelectDevice, FiltersAreExactAndTheGroupsFollowTheManufacturer) {
    SelectDeviceModel model = Open();
    model.ChooseManufacturer(Item(model.Manufacturers(), "Acme"));
    EXPECT_EQ(Texts(model.Groups()), (std::vector<std::string>{"*", "AC16", "AC8"}));
    EXPECT_EQ(model.Rows(), (std::vector<int>{0, 2, 4})); // not "acme"
    model.ChooseGroup(Item(model.Groups(), "AC8"));
    EXPECT_EQ(model.Rows(), (std::vector<int>{0, 4}));
    model.ChooseManufacturer(Item(model.Manufacturers(), "Bolt"));
    EXPECT_EQ(model.Groups().current, 0); // back to "*"
    EXPECT_EQ(Texts(model.Groups()), (std::vector<std::string>{"*", "B16"}));
    EXPECT_EQ(model.Rows(), (std::vector<int>{1}));
}

TEST_F(SelectDevice, FiltersWithNothingToChooseAreDisabled) {
    ClearDeviceTable(app->devices);
    Add(Device("ONLY", "", "", "only", 0));
    SelectDeviceModel model = Open();
    EXPECT_EQ(Texts(model.Manufacturers()), (std::vector<std::string>{"*"}));
    EXPECT_FALSE(model.Manufacturers().enabled);
    EXPECT_FALSE(model.Groups().enabled);
    EXPECT_EQ(model.Rows(), (std::vector<int>{0}));
    SetStatus(ProgrammerStatus{}); // no programmer: nothing is supported
    SelectDeviceModel empty = Open();
    EXPECT_TRUE(empty.Rows().empty());
    EXPECT_FALSE(empty.ListEnabled());
}

TEST_F(SelectDevice, OpensOnTheCurrentDeviceWithItsFilters) {
    SelectDeviceModel model = Open(4);
    EXPECT_EQ(
        model.Manufacturers().items[static_cast<std::size_t>(model.Manufacturers().current)].text,
        "Acme");
    EXPECT_EQ(model.Groups().items[static_cast<std::size_t>(model.Groups().current)].text, "AC8");
    EXPECT_EQ(model.Rows(), (std::vector<int>{0, 4}));
    EXPECT_EQ(model.SelectedRow(), 1);
    for (int unlisted : {3, -1, 99}) {
        SCOPED_TRACE(unlisted);
        SelectDeviceModel other = Open(unlisted);
        EXPECT_EQ(other.Manufacturers().current, 0);
        EXPECT_EQ(other.SelectedRow(), -1);
        EXPECT_EQ(other.Rows().size(), 6u);
    }
}

// Each case clicks headers in turn on a list in table order.
TEST_F(SelectDevice, HeaderClicksSortByUpToFourLevels) {
    struct Case {
        const char* name;
        std::vector<int> clicks;
        std::vector<int> rows;
        uint32_t key;
        int arrow;
        bool descending;
    } cases[] = {
        {"no sort", {}, {0, 1, 2, 4, 5, 6}, 0, -1, false},
        {"device, letter case ignored", {kDevice}, {6, 2, 0, 4, 1, 5}, 0x03, kDevice, false},
        {"device twice: descending", {kDevice, kDevice}, {5, 1, 4, 0, 2, 6}, 0x83, kDevice, true},
        {"RAM as a number, ties in table order", {kRam}, {5, 1, 4, 6, 0, 2}, 0x04, kRam, false},
        {"manufacturer keeps the RAM order of its ties",
         {kRam, kManufacturer},
         {5, 4, 6, 0, 2, 1},
         0x0401,
         kManufacturer,
         false},
        {"descending primary, ascending tie-breaker",
         {kRam, kManufacturer, kManufacturer},
         {1, 4, 6, 0, 2, 5},
         0x0481,
         kManufacturer,
         true},
        {"five levels: the oldest drops",
         {kManufacturer, kGroup, kDevice, kRam, kFlash},
         {5, 4, 1, 6, 0, 2}, // equal flash sizes: RAM, then the device name decide
         0x02030405,
         kFlash,
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        sortKey = 0;
        SelectDeviceModel model = Open();
        for (int column : c.clicks)
            model.HeaderClicked(column);
        EXPECT_EQ(model.Rows(), c.rows);
        EXPECT_EQ(model.SortKey(), c.key);
        EXPECT_EQ(sortKey, c.key);
        EXPECT_EQ(model.ArrowColumn(), c.arrow);
        EXPECT_EQ(model.ArrowDescending(), c.descending);
    }
}

TEST_F(SelectDevice, TheSortOutlastsTheDialogAndKeepsTheSelection) {
    {
        SelectDeviceModel first = Open(2);
        first.ChooseManufacturer(0);
        first.HeaderClicked(kDevice);
        first.HeaderClicked(kDevice);
        EXPECT_EQ(first.SelectedRow(), 4); // AC1600 moved with the sort
        first.HeaderClicked(99);           // no such column
        EXPECT_EQ(first.SortKey(), 0x83u);
    }
    SelectDeviceModel second = Open();
    EXPECT_EQ(second.Rows(), (std::vector<int>{5, 1, 4, 0, 2, 6}));
    EXPECT_EQ(second.ArrowColumn(), kDevice);
    EXPECT_TRUE(second.ArrowDescending());
}

TEST_F(SelectDevice, CellsShowTheDeviceValues) {
    auto& d1 = app->devices.records[1];
    d1.vpp = 125;
    d1.package = "SOP20";
    SelectDeviceModel model = Open();
    std::vector<std::string> cells;
    for (int column = 0; column < 7; ++column)
        cells.push_back(model.Cell(1, column));
    EXPECT_EQ(cells, (std::vector<std::string>{"Bolt", "B16", "B-16", "512 Bytes", "24 KB", "12.5V",
                                               "SOP20"}));
    EXPECT_EQ(model.Cell(2, kRam), "16 KB");
    EXPECT_EQ(model.Cell(4, kRam), ""); // 0 bytes
    EXPECT_EQ(model.Cell(99, kRam), "");
}

TEST_F(SelectDevice, TypingJumpsToTheFirstDeviceBeginningWithTheText) {
    SelectDeviceModel model = Open();
    struct Step {
        const char* typed;
        uint32_t at;
        int row;
        int selected;
    } steps[] = {
        {"a", 0, 0, 0},     // "ac800"
        {"c", 100, 0, 0},   // "ac"
        {"1", 200, 2, 2},   // "ac1": "AC1600"
        {"b", 5000, 1, 1},  // after a pause: "b"
        {"z", 5100, -1, 1}, // "bz": none, the selection stays
        {"E", 9000, 4, 4},  // "E1"
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.typed);
        EXPECT_EQ(model.TypeAhead(s.typed, s.at), s.row);
        EXPECT_EQ(model.SelectedRow(), s.selected);
    }
}

TEST_F(SelectDevice, TheSelectedRowIsBroughtToTheMiddleOfThePage) {
    for (int i = 0; i < 30; ++i)
        Add(Device("M" + std::to_string(i), "Many", "M", "m" + std::to_string(i), 0));
    SelectDeviceModel model = Open();
    int rows = static_cast<int>(model.Rows().size()); // 36
    EXPECT_EQ(model.CentringRow(8), -1);
    model.SelectRow(10);
    EXPECT_EQ(model.CentringRow(8), 14);
    model.SelectRow(rows - 2);
    EXPECT_EQ(model.CentringRow(8), rows - 1);
    model.SelectRow(rows); // beyond the list: no selection
    EXPECT_EQ(model.SelectedRow(), -1);
}

TEST_F(SelectDevice, OkNeedsASelectedDevice) {
    SelectDeviceModel model = Open();
    int beeps = 0;
    EXPECT_EQ(model.Accept(ui, [&] { ++beeps; }), std::nullopt);
    EXPECT_EQ(beeps, 1);
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_EQ(ui.boxes[0].text, "You have to select a device");
    EXPECT_EQ(ui.boxes[0].caption, "ERROR");
    EXPECT_EQ(ui.boxes[0].icon, MsgIcon::Warning);
    model.SelectRow(2);
    EXPECT_EQ(model.Accept(ui), 2);
    model.ChooseManufacturer(Item(model.Manufacturers(), "Bolt")); // the selection is filtered out
    EXPECT_EQ(model.Accept(ui), std::nullopt);
}

} // namespace
} // namespace vantrel
