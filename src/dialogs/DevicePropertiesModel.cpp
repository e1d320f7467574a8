#include "dialogs/DevicePropertiesModel.h"

#include <strings.h>

#include <algorithm>
#include <cstdio>

#include "base/Codes.h"
#include "base/UtilSnprintf.h"
#include "device/DeviceCodes.h"
#include "device/DeviceTable.h"
#include "dialogs/DeviceValueText.h"

namespace vantrel {
namespace {

constexpr std::size_t kLineSize = 200; // the list and combo texts are built in buffers this big

std::string BankItemText(int bank, uint32_t address) {
    char text[kLineSize];
    std::snprintf(text, sizeof text, "Bank %2d: 0x%X", bank, address);
    return text;
}

// The combos are sorted lists: their items stand in the order of their texts.
void SortByText(std::vector<DialogItem>& items) {
    std::stable_sort(items.begin(), items.end(), [](const DialogItem& a, const DialogItem& b) {
        return strcasecmp(a.text.c_str(), b.text.c_str()) < 0;
    });
}

// The item whose data is `data`, or -1.
int ItemWithData(const DialogCombo& combo, int data) {
    for (std::size_t i = 0; i < combo.items.size(); ++i)
        if (combo.items[i].data == data) return static_cast<int>(i);
    return -1;
}

bool Lists(const std::vector<uint8_t>& codes, uint8_t code) {
    return std::find(codes.begin(), codes.end(), code) != codes.end();
}

bool InRange(int index, std::size_t size) {
    return index >= 0 && static_cast<std::size_t>(index) < size;
}

// Every bank of the device with the name of its memory area, in bank order.
template <typename Fn> void ForEachBank(const DeviceRecord& device, Fn fn) {
    int bank = 0;
    for (const auto& area : device.areas)
        for (int i = 0; i < area.rangeCount && i < static_cast<int>(kMaxAreaRanges); ++i)
            fn(bank++, area.name, area.ranges[static_cast<std::size_t>(i)]);
}

} // namespace

DevicePropertiesModel::DevicePropertiesModel(const DeviceTable& table,
                                             const ProgrammerStatus& programmer,
                                             const DeviceSelection& current)
    : table_(table), programmer_(programmer) {
    copy_.device = current.SelectedDevice() ? current.selected : -1;
    copy_.startBank = current.startBank;
    copy_.endBank = current.endBank;
    copy_.interface = current.interface;
    copy_.speed = current.speed;
    copy_.individualBanks = current.bankSelectMode;
    copy_.bankFlags = current.bankFlags;
    copy_.protectedFlags = current.protectedFlags;
    FillAll();
}

const DeviceRecord* DevicePropertiesModel::Device() const {
    return GetDevice(table_, copy_.device);
}

bool DevicePropertiesModel::ShowsProtectedAreas() const {
    const DeviceRecord* device = Device();
    return device && !device->protectedBlocks.empty();
}

int DevicePropertiesModel::Height() const {
    return ShowsProtectedAreas() ? kHeightWithProtectedAreas : kHeightWithout;
}

int DevicePropertiesModel::ButtonsY() const {
    return ShowsProtectedAreas() ? 340 : 280;
}

void DevicePropertiesModel::FillAll() {
    FillDeviceData();
    FillBankCombos(true);
    FillBankList();
    FillInterfaces();
    FillSpeeds();
    FillProtectedAreas();
}

void DevicePropertiesModel::FillDeviceData() {
    data_ = {};
    const DeviceRecord* device = Device();
    if (!device) return;
    data_[kFieldName] = device->name;
    data_[kFieldManufacturer] = device->manufacturer;
    data_[kFieldGroup] = device->group;
    data_[kFieldVpp] = DeviceVoltageText(device->vpp);
    data_[kFieldRam] = DeviceSizeText(device->ram);
    data_[kFieldFlash] = DeviceSizeText(FlashSize(*device));
    data_[kFieldVcc] = DeviceSupplyText(*device);
    data_[kFieldPackage] = device->package;
}

void DevicePropertiesModel::FillBankCombos(bool correct) {
    startBanks_ = {};
    endBanks_ = {};
    const DeviceRecord* device = Device();
    int count = device ? BankCount(*device) : 0;
    if (correct && count > 0) {
        if (copy_.endBank < 0 || copy_.endBank >= count) copy_.endBank = count - 1;
        if (copy_.startBank > copy_.endBank) copy_.startBank = copy_.endBank;
        if (copy_.startBank < 0) copy_.startBank = 0;
    }
    for (int bank = 0; bank < count; ++bank) {
        BankRange range = GetBank(*device, bank);
        startBanks_.items.push_back({BankItemText(bank, range.start), bank});
        endBanks_.items.push_back({BankItemText(bank, range.start + range.size - 1), bank});
    }
    SortByText(startBanks_.items);
    SortByText(endBanks_.items);
    startBanks_.current = ItemWithData(startBanks_, copy_.startBank);
    endBanks_.current = ItemWithData(endBanks_, copy_.endBank);
    startBanks_.enabled = endBanks_.enabled = !copy_.individualBanks && count > 1;
}

void DevicePropertiesModel::FillBankList() {
    banks_ = {};
    banks_.enabled = copy_.individualBanks;
    const DeviceRecord* device = Device();
    if (!device) return;
    ForEachBank(*device, [&](int bank, const std::string& area, const BankRange& range) {
        char text[kLineSize];
        std::snprintf(text, sizeof text, "[%2d] %s: 0x%X - 0x%X", bank, area.c_str(), range.start,
                      range.start + range.size - 1);
        bool checked = bank < kBankFlags && copy_.bankFlags[static_cast<std::size_t>(bank)];
        banks_.lines.push_back({text, checked});
    });
}

// The interfaces by the device's capabilities and what the programmer reports.
void DevicePropertiesModel::FillInterfaces() {
    interfaces_ = {};
    const DeviceRecord* device = Device();
    if (!device) return;
    auto add = [&](const char* text, int data) { interfaces_.items.push_back({text, data}); };
    int& interface = copy_.interface;
    bool socket = device->parallelSupport != 0;
    if (socket && programmer_.parallelFlag != 0)
        add("Parallel (In Socket)", 0);
    else if (interface < 1)
        interface = 1;

    bool offersS60A = Lists(programmer_.supportedAlgorithms, kAlgoS60A);
    if (socket && device->serialSupport == 0) {
        interface = 0;
        interfaces_.items = {{"Parallel (In Socket)", 0}};
    } else if (device->algoS == kAlgoS60A && device->sifType == kSifS60A) {
        if (offersS60A) {
            add("Serial (asynchronous)", 2);
            interface = 2;
        }
    } else if (device->algoS == kAlgoS60 && device->sifType == kSifS60 &&
               EffectiveHardwareVersion(programmer_) >= 600 && offersS60A) {
        add("Serial, synchronous", 1);
        add("Serial, asynchronous", 2);
    } else if (device->algoS == kAlgoS60 && device->sifType == kSifS60) {
        add("Serial (In Target)", 1);
        if (interface >= 2) interface = 1;
    } else {
        add("Serial (In Target)", 1);
        interface = 1;
    }
    interfaces_.current = ItemWithData(interfaces_, interface);
    if (interfaces_.current < 0 && !interfaces_.items.empty()) interfaces_.current = 0;
    interfaces_.enabled = interfaces_.items.size() > 1;
}

void DevicePropertiesModel::FillSpeeds() {
    speeds_ = {};
    const DeviceRecord* device = Device();
    if (!device) return;
    int count = SpeedSettingCount(*device, programmer_.hardwareVersion);
    for (int i = 0; i < count; ++i)
        speeds_.items.push_back({SpeedSettingName(*device, programmer_.hardwareVersion, i), i});
    if (count == 0) speeds_.items = {{"Fast", 0}, {"Slow", 1}};
    speeds_.current = ItemWithData(speeds_, copy_.speed);
    if (speeds_.current < 0) {
        copy_.speed = 0;
        speeds_.current = 0;
    }
    speeds_.enabled = true;
}

// "%s: %d Bytes", " @", then " %X" per address, each step cut to the line buffer.
void DevicePropertiesModel::FillProtectedAreas() {
    protected_ = {};
    protected_.enabled = true;
    const DeviceRecord* device = Device();
    if (!device) return;
    for (std::size_t block = 0; block < device->protectedBlocks.size(); ++block) {
        const ProtectedBlock& b = device->protectedBlocks[block];
        std::string line = UTIL_format("%s: %d Bytes", {b.name, b.count}, kLineSize);
        line = UTIL_format("%s @", {line}, kLineSize);
        int addresses = std::clamp(b.count, 0, static_cast<int>(kMaxProtectedAddresses));
        for (int i = 0; i < addresses; ++i)
            line =
                UTIL_format("%s %X", {line, b.addresses[static_cast<std::size_t>(i)]}, kLineSize);
        bool checked = block < kProtectedFlags && copy_.protectedFlags[block];
        protected_.lines.push_back({line, checked});
    }
}

void DevicePropertiesModel::FlagBanksFromRange() {
    for (int bank = 0; bank < kBankFlags; ++bank)
        copy_.bankFlags[static_cast<std::size_t>(bank)] =
            bank >= copy_.startBank && bank <= copy_.endBank;
}

void DevicePropertiesModel::ChooseStartBank(int item) {
    if (!InRange(item, startBanks_.items.size())) return;
    copy_.startBank = startBanks_.items[static_cast<std::size_t>(item)].data;
    if (copy_.startBank > copy_.endBank) copy_.endBank = copy_.startBank;
    FlagBanksFromRange();
    FillBankCombos(true);
    FillBankList();
}

void DevicePropertiesModel::ChooseEndBank(int item) {
    if (!InRange(item, endBanks_.items.size())) return;
    copy_.endBank = endBanks_.items[static_cast<std::size_t>(item)].data;
    if (copy_.endBank < copy_.startBank) copy_.startBank = copy_.endBank;
    FlagBanksFromRange();
    FillBankCombos(true);
    FillBankList();
}

void DevicePropertiesModel::ChooseInterface(int item) {
    if (!InRange(item, interfaces_.items.size())) return;
    interfaces_.current = item;
    copy_.interface = interfaces_.items[static_cast<std::size_t>(item)].data;
}

void DevicePropertiesModel::ChooseSpeed(int item) {
    if (!InRange(item, speeds_.items.size())) return;
    speeds_.current = item;
    copy_.speed = speeds_.items[static_cast<std::size_t>(item)].data;
}

void DevicePropertiesModel::ChooseIndividualBanks(bool individual) {
    copy_.individualBanks = individual;
    FillBankCombos(true);
    FillBankList();
}

// The start and end bank follow the flags: the first and the last flagged bank, both -1 while
// none is flagged.
void DevicePropertiesModel::ToggleBank(int line) {
    if (!banks_.enabled || !InRange(line, banks_.lines.size()) || line >= kBankFlags) return;
    bool& flag = copy_.bankFlags[static_cast<std::size_t>(line)];
    flag = !flag;
    const DeviceRecord* device = Device();
    int count = std::min(device ? BankCount(*device) : 0, kBankFlags);
    copy_.startBank = copy_.endBank = -1;
    for (int bank = 0; bank < count; ++bank) {
        if (!copy_.bankFlags[static_cast<std::size_t>(bank)]) continue;
        if (copy_.startBank < 0) copy_.startBank = bank;
        copy_.endBank = bank;
    }
    FillBankCombos(false);
    FillBankList();
}

void DevicePropertiesModel::ToggleProtectedArea(int line) {
    if (!InRange(line, protected_.lines.size()) || line >= kProtectedFlags) return;
    bool& flag = copy_.protectedFlags[static_cast<std::size_t>(line)];
    flag = !flag;
    protected_.lines[static_cast<std::size_t>(line)].checked = flag;
}

void DevicePropertiesModel::DeviceChosen(int index) {
    const DeviceRecord* device = GetDevice(table_, index);
    if (!device) return;
    copy_.device = index;
    copy_.endBank = -1; // filling makes it the last bank
    int count = BankCount(*device);
    for (int bank = 0; bank < kBankFlags; ++bank)
        copy_.bankFlags[static_cast<std::size_t>(bank)] = bank < count;
    FillAll();
}

// In start / end bank mode the flags follow from the two banks (the setters derive them); in
// individual mode they are the ones the user checked. A device without banks has nothing to
// choose, so its banks are not set (the setters would only report them invalid).
void DevicePropertiesModel::Commit(DeviceSelection& selection) const {
    const DeviceRecord* device = Device();
    if (device) selection.SelectDevice(copy_.device);
    selection.protectedFlags = copy_.protectedFlags;
    selection.bankSelectMode = copy_.individualBanks;
    if (!copy_.individualBanks) {
        if (device && BankCount(*device) > 0) {
            selection.SetStartBank(copy_.startBank);
            selection.SetEndBank(copy_.endBank);
        }
    } else {
        for (int bank = 0; bank < kBankFlags; ++bank)
            selection.SetBankFlag(bank, copy_.bankFlags[static_cast<std::size_t>(bank)]);
    }
    selection.RebuildProgramRanges();
    selection.SetInterface(copy_.interface);
    selection.SetSpeed(copy_.speed);
    if (device && (selection.passcodeLength < device->idLenMin ||
                   selection.passcodeLength > device->idLenMax))
        selection.passcodeLength = device->idLenMin;
}

} // namespace vantrel
