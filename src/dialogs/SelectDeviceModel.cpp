#include "dialogs/SelectDeviceModel.h"

#include <strings.h>

#include <algorithm>

#include "device/DeviceChecks.h"
#include "device/DeviceTable.h"
#include "dialogs/DeviceValueText.h"
#include "platform/Ui.h"

namespace vantrel {
namespace {

constexpr const char* kAll = "*";
constexpr int kSortLevels = 4;
constexpr uint32_t kDescending = 0x80;

int Sign(int64_t value) {
    return value < 0 ? -1 : value > 0 ? 1 : 0;
}

// One level: the column's values, or the table positions for level 0 (and for a column the
// list does not have).
int CompareColumn(const DeviceRecord& a, const DeviceRecord& b, int column, int indexA,
                  int indexB) {
    switch (column) {
    case 0:
        return Sign(strcasecmp(a.manufacturer.c_str(), b.manufacturer.c_str()));
    case 1:
        return Sign(strcasecmp(a.group.c_str(), b.group.c_str()));
    case 2:
        return Sign(strcasecmp(a.name.c_str(), b.name.c_str()));
    case 3:
        return Sign(int64_t{a.ram} - int64_t{b.ram});
    case 4:
        return Sign(int64_t{FlashSize(a)} - int64_t{FlashSize(b)});
    case 5:
        return Sign(int{a.vpp} - int{b.vpp});
    case 6:
        return Sign(strcasecmp(a.package.c_str(), b.package.c_str()));
    default:
        return Sign(indexA - indexB);
    }
}

// A combo of "*" and the distinct non-empty values, "*" first and the rest in text order.
DialogCombo FilterCombo(std::vector<std::string> values) {
    std::erase(values, std::string());
    std::stable_sort(values.begin(), values.end(), [](const std::string& a, const std::string& b) {
        return strcasecmp(a.c_str(), b.c_str()) < 0;
    });
    DialogCombo combo;
    combo.items.push_back({kAll, 0});
    for (const auto& value : values) {
        bool known = std::any_of(combo.items.begin(), combo.items.end(),
                                 [&](const DialogItem& item) { return item.text == value; });
        if (!known) combo.items.push_back({value, static_cast<int>(combo.items.size())});
    }
    combo.current = 0;
    combo.enabled = combo.items.size() > 1;
    return combo;
}

int ItemWithText(const DialogCombo& combo, const std::string& text) {
    for (std::size_t i = 0; i < combo.items.size(); ++i)
        if (combo.items[i].text == text) return static_cast<int>(i);
    return -1;
}

} // namespace

int CompareDevices(const DeviceTable& table, int a, int b, uint32_t sortKey) {
    const DeviceRecord* da = GetDevice(table, a);
    const DeviceRecord* db = GetDevice(table, b);
    if (!da || !db) return Sign(a - b);
    for (int level = 0; level < kSortLevels; ++level) {
        uint32_t byte = (sortKey >> (8 * level)) & 0xFF;
        int column = static_cast<int>(byte & 0x0F) - 1;
        int result = CompareColumn(*da, *db, column, a, b);
        if (byte & 0xF0) result = -result;
        if (result != 0) return result;
    }
    return 0;
}

SelectDeviceModel::SelectDeviceModel(const DeviceTable& table, const ProgrammerStatus& programmer,
                                     uint32_t& sortKey, int current)
    : table_(table), programmer_(programmer), sortKey_(sortKey) {
    FillManufacturers();
    FillGroups();
    FillRows();
    if (std::find(rows_.begin(), rows_.end(), current) == rows_.end()) return;
    const DeviceRecord* device = GetDevice(table_, current);
    if (int item = ItemWithText(manufacturers_, device->manufacturer); item >= 0) {
        manufacturers_.current = item;
        FillGroups();
    }
    if (int item = ItemWithText(groups_, device->group); item >= 0) groups_.current = item;
    selectedDevice_ = current;
    FillRows();
}

bool SelectDeviceModel::Supported(int index) const {
    return SupportedByProgrammer(GetDevice(table_, index), programmer_);
}

bool SelectDeviceModel::PassesFilter(const DialogCombo& combo, const std::string& value) const {
    if (combo.current < 0 || combo.current >= static_cast<int>(combo.items.size())) return true;
    const std::string& filter = combo.items[static_cast<std::size_t>(combo.current)].text;
    return filter == kAll || filter == value;
}

void SelectDeviceModel::FillManufacturers() {
    std::vector<std::string> values;
    for (int i = 0; i < DeviceCount(table_); ++i)
        if (Supported(i)) values.push_back(GetDevice(table_, i)->manufacturer);
    manufacturers_ = FilterCombo(std::move(values));
}

void SelectDeviceModel::FillGroups() {
    std::vector<std::string> values;
    for (int i = 0; i < DeviceCount(table_); ++i) {
        const DeviceRecord* device = GetDevice(table_, i);
        if (Supported(i) && PassesFilter(manufacturers_, device->manufacturer))
            values.push_back(device->group);
    }
    groups_ = FilterCombo(std::move(values));
}

// The listed devices in table order, then in the order of the sort key (kept from earlier
// openings); the selected device stays selected while it is listed.
void SelectDeviceModel::FillRows() {
    rows_.clear();
    for (int i = 0; i < DeviceCount(table_); ++i) {
        const DeviceRecord* device = GetDevice(table_, i);
        if (Supported(i) && PassesFilter(manufacturers_, device->manufacturer) &&
            PassesFilter(groups_, device->group))
            rows_.push_back(i);
    }
    Sort();
}

void SelectDeviceModel::Sort() {
    std::stable_sort(rows_.begin(), rows_.end(),
                     [this](int a, int b) { return CompareDevices(table_, a, b, sortKey_) < 0; });
}

std::string SelectDeviceModel::Cell(int row, int column) const {
    if (row < 0 || row >= static_cast<int>(rows_.size())) return "";
    const DeviceRecord* device = GetDevice(table_, rows_[static_cast<std::size_t>(row)]);
    if (!device) return "";
    switch (column) {
    case 0:
        return device->manufacturer;
    case 1:
        return device->group;
    case 2:
        return device->name;
    case 3:
        return DeviceSizeText(device->ram);
    case 4:
        return DeviceSizeText(FlashSize(*device));
    case 5:
        return DeviceVoltageText(device->vpp);
    case 6:
        return device->package;
    default:
        return "";
    }
}

int SelectDeviceModel::SelectedRow() const {
    auto at = std::find(rows_.begin(), rows_.end(), selectedDevice_);
    return at == rows_.end() ? -1 : static_cast<int>(at - rows_.begin());
}

int SelectDeviceModel::ArrowColumn() const {
    int column = static_cast<int>(sortKey_ & 0x0F) - 1;
    return column < static_cast<int>(kDeviceListColumns.size()) ? column : -1;
}

bool SelectDeviceModel::ArrowDescending() const {
    return (sortKey_ & 0xF0) != 0;
}

void SelectDeviceModel::ChooseManufacturer(int item) {
    if (item < 0 || item >= static_cast<int>(manufacturers_.items.size())) return;
    manufacturers_.current = item;
    FillGroups();
    FillRows();
}

void SelectDeviceModel::ChooseGroup(int item) {
    if (item < 0 || item >= static_cast<int>(groups_.items.size())) return;
    groups_.current = item;
    FillRows();
}

void SelectDeviceModel::SelectRow(int row) {
    selectedDevice_ = row >= 0 && row < static_cast<int>(rows_.size())
                          ? rows_[static_cast<std::size_t>(row)]
                          : -1;
}

// The primary column again flips its direction; another column becomes the new primary level,
// ascending, and the older levels stay behind it as tie-breakers (the oldest of five drops).
void SelectDeviceModel::HeaderClicked(int column) {
    if (column < 0 || column >= static_cast<int>(kDeviceListColumns.size())) return;
    if (column == ArrowColumn()) {
        if (sortKey_ & 0xF0)
            sortKey_ &= ~uint32_t{0xF0};
        else
            sortKey_ |= kDescending;
    } else {
        sortKey_ = (sortKey_ << 8) | static_cast<uint32_t>(column + 1);
    }
    Sort();
}

int SelectDeviceModel::TypeAhead(const std::string& text, uint32_t nowMs) {
    if (lastTyped_ && nowMs - *lastTyped_ < kTypeAheadPauseMs)
        typed_ += text;
    else
        typed_ = text;
    lastTyped_ = nowMs;
    if (typed_.empty()) return -1;
    for (std::size_t row = 0; row < rows_.size(); ++row) {
        const DeviceRecord* device = GetDevice(table_, rows_[row]);
        if (device && strncasecmp(device->name.c_str(), typed_.c_str(), typed_.size()) == 0) {
            selectedDevice_ = rows_[row];
            return static_cast<int>(row);
        }
    }
    return -1;
}

int SelectDeviceModel::CentringRow(int pageRows) const {
    int row = SelectedRow();
    if (row < 0) return -1;
    return std::min(row + std::max(pageRows, 0) / 2, static_cast<int>(rows_.size()) - 1);
}

std::optional<int> SelectDeviceModel::Accept(Ui& ui, const std::function<void()>& beep) const {
    if (SelectedRow() >= 0) return selectedDevice_;
    if (beep) beep();
    ui.MessageBox("You have to select a device", "ERROR", MsgButtons::Ok, MsgIcon::Warning,
                  MsgAnswer::Ok);
    return std::nullopt;
}

} // namespace vantrel
