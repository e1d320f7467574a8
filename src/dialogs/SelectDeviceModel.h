#pragma once
// The "Select Device" dialog without a toolkit: the devices the connected programmer supports,
// filtered by manufacturer and group ("*" passes all, else exact and case-sensitive), sorted
// by up to four column levels, with the device chosen when it opened selected.
//
// The sort key packs the levels one per byte, the primary level in the lowest byte; in a byte
// the low four bits are the column plus one (0: device table order) and any of the high four
// bits means descending. The caller keeps the key, so that it lasts from one opening to the
// next.
#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "base/ProgrammerStatus.h"
#include "dialogs/DeviceDialogItems.h"

namespace vantrel {

class Ui;
struct DeviceTable;

enum class ColumnAlign { Left, Right };

struct DeviceListColumn {
    const char* title;
    ColumnAlign align;
    int width;
};

inline constexpr std::array<DeviceListColumn, 7> kDeviceListColumns = {{
    {"Manufacturer", ColumnAlign::Left, 75},
    {"Group", ColumnAlign::Left, 65},
    {"Device", ColumnAlign::Left, 160},
    {"RAM", ColumnAlign::Right, 65},
    {"FLASH", ColumnAlign::Right, 65},
    {"Vpp", ColumnAlign::Right, 40},
    {"Package", ColumnAlign::Left, 205},
}};
inline constexpr int kDeviceColumnDevice = 2;

// Typed letters add to the text searched for while they come less than this apart.
inline constexpr uint32_t kTypeAheadPauseMs = 1000;

class SelectDeviceModel {
  public:
    static constexpr int kWidth = 723, kHeight = 365;

    // `current`: the device to select when it is listed (-1 for none).
    SelectDeviceModel(const DeviceTable& table, const ProgrammerStatus& programmer,
                      uint32_t& sortKey, int current);

    const DialogCombo& Manufacturers() const { return manufacturers_; }
    const DialogCombo& Groups() const { return groups_; }
    // The listed devices (device table indexes) in the order shown.
    const std::vector<int>& Rows() const { return rows_; }
    std::string Cell(int row, int column) const;
    bool ListEnabled() const { return !rows_.empty(); }
    int SelectedRow() const; // -1 for none

    // The primary sort column and its direction, for the arrow on its header (-1: none).
    int ArrowColumn() const;
    bool ArrowDescending() const;
    uint32_t SortKey() const { return sortKey_; }

    void ChooseManufacturer(int item);
    void ChooseGroup(int item);
    void SelectRow(int row); // -1 clears the selection
    void HeaderClicked(int column);
    // A typed text: selects the first row whose device name begins with what was typed since
    // the last pause (letter case ignored) and returns it, or -1 when none does.
    int TypeAhead(const std::string& text, uint32_t nowMs);
    // The row to make visible before the selected one, so that the selected row stands about
    // in the middle of a page of `pageRows` rows (-1 without a selection).
    int CentringRow(int pageRows) const;

    // OK: the chosen device, or nothing after "You have to select a device" (`beep` sounds
    // first).
    std::optional<int> Accept(Ui& ui, const std::function<void()>& beep = {}) const;

  private:
    void FillManufacturers();
    void FillGroups();
    void FillRows();
    void Sort();
    bool Supported(int index) const;
    bool PassesFilter(const DialogCombo& combo, const std::string& value) const;

    const DeviceTable& table_;
    ProgrammerStatus programmer_;
    uint32_t& sortKey_;
    DialogCombo manufacturers_, groups_;
    std::vector<int> rows_;
    int selectedDevice_ = -1;
    std::string typed_;
    std::optional<uint32_t> lastTyped_;
};

// Compares two devices by the levels of `sortKey`: < 0, 0 or > 0.
int CompareDevices(const DeviceTable& table, int a, int b, uint32_t sortKey);

} // namespace vantrel
