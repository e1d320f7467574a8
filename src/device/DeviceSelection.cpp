#include "device/DeviceSelection.h"

#include <algorithm>

#include "app/App.h"
#include "device/DeviceCodes.h"
#include "device/DeviceTable.h"
#include "device/ImageView.h"
#include "base/UtilSnprintf.h"

namespace vantrel {
namespace {

int Replaced(App& app, const char* message) {
    APP_ReportError(app, 211, message);
    return 1;
}

void ApplyPasscodeLengthRule(App& app) {
    const DeviceRecord* device = SelectedDevice(app);
    if (!device) return;
    auto& s = app.selection;
    if (s.passcodeLength < device->idLenMin || s.passcodeLength > device->idLenMax)
        s.passcodeLength = device->idLenMin;
}

// Sets the flags from the start bank to the end bank, clearing the ones outside
// [`clearFrom`, `clearTo`] as each setter asks; flags above 63 do not exist.
void SetFlagRange(std::array<bool, kBankFlags>& flags, int from, int to, bool value) {
    for (int i = std::max(from, 0); i <= to && i < kBankFlags; ++i)
        flags[static_cast<std::size_t>(i)] = value;
}

bool IsToshiba(const DeviceRecord& device) {
    return device.algoS == kAlgoT8 || device.algoS == kAlgoT91;
}

uint32_t HeldToIdRange(const DeviceRecord& device, uint32_t& address) {
    if (address < device.idRangeFirst || address > device.idRangeLast)
        address = device.idRangeFirst;
    return address;
}

} // namespace

const DeviceRecord* SelectedDevice(const App& app) {
    return GetDevice(app.devices, app.selection.selected);
}

void MarkImageCrcStale(App& app) {
    app.doc.MarkCrcStale();
}

int SelectDeviceByName(App& app, const std::string& name) {
    auto& s = app.selection;
    int index = FindDevice(app.devices, name);
    int result = 0;
    if (index >= 0) {
        s.deviceKnown = true;
        s.unmatchedName.clear();
    } else {
        s.unmatchedName = name;
        if (!name.empty())
            APP_ReportError(app, 211,
                            UTIL_format("The devicename '%s' was unknown.\r\nPlease check your "
                                        "configuration!\r\n",
                                        {name}, 250));
        index = 0;
        s.deviceKnown = false;
        result = 1;
    }
    s.selected = index;
    ApplyPasscodeLengthRule(app);
    RebuildProgramRanges(app);
    MarkImageCrcStale(app);
    return result;
}

void SelectDevice(App& app, int index) {
    if (index < 0 || index >= DeviceCount(app.devices)) return;
    app.selection.selected = index;
    app.selection.deviceKnown = true; // chosen from the table: the settings keep its name
    app.selection.unmatchedName.clear();
    RebuildProgramRanges(app);
    MarkImageCrcStale(app);
    app.ui.Repaint();
}

int SetInterface(App& app, int32_t value) {
    if (value >= 0 && value < 15) {
        app.selection.interface = value;
        return 0;
    }
    app.selection.interface = 0;
    return Replaced(app, "Interface was invalid!\r\nPlease check your configuration!");
}

int SetSpeed(App& app, int32_t value) {
    int32_t limit = EffectiveSIFType(app) == kSifR8C ? kBaudRateCount : 4;
    if (value >= 0 && value < limit) {
        app.selection.speed = value;
        return 0;
    }
    app.selection.speed = 0;
    return Replaced(app, "Speed was invalid!\r\nPlease check your configuration!");
}

int SetFillByte(App& app, int32_t value) {
    MarkImageCrcStale(app);
    if ((value & 0xFE00) == 0) {
        app.selection.fillByte = value;
        return 0;
    }
    app.selection.fillByte = kInvalidFillByte;
    return Replaced(app, "Fillbyte invalid!\r\nPlease check your configuration!");
}

int SetStartBank(App& app, int32_t value) {
    if (DeviceCount(app.devices) == 0) return 1;
    auto& s = app.selection;
    int result = 0;
    if (value < 0 || value >= BankTotal(app)) {
        value = 0;
        result = Replaced(app, "Startbank was invalid!\r\nPlease check Device options!");
    }
    s.startBank = value;
    if (!s.bankSelectMode) {
        SetFlagRange(s.bankFlags, 0, value - 1, false);
        SetFlagRange(s.bankFlags, value, s.endBank, true);
    }
    RebuildProgramRanges(app);
    MarkImageCrcStale(app);
    return result;
}

int SetEndBank(App& app, int32_t value) {
    if (DeviceCount(app.devices) == 0) return 1;
    auto& s = app.selection;
    int result = 0;
    if (value < s.startBank || value >= BankTotal(app)) {
        value = BankTotal(app) - 1;
        result = Replaced(app, "Endbank was invalid!\r\nPlease check Device options!");
    }
    s.endBank = value;
    if (!s.bankSelectMode) {
        SetFlagRange(s.bankFlags, value + 1, kBankFlags - 1, false);
        SetFlagRange(s.bankFlags, s.startBank, value, true);
    }
    RebuildProgramRanges(app);
    MarkImageCrcStale(app);
    return result;
}

void SelectAllBanks(App& app) {
    if (DeviceCount(app.devices) == 0) return;
    app.selection.endBank = 0;
    SetStartBank(app, 0);
    SetEndBank(app, BankTotal(app) - 1);
}

int BankTotal(const App& app) {
    const DeviceRecord* device = SelectedDevice(app);
    int total = device ? BankCount(*device) : 0;
    return total + (app.selection.additional.size != 0 ? 1 : 0);
}

BankRange SelectionBank(const App& app, int bank) {
    const DeviceRecord* device = SelectedDevice(app);
    int count = device ? BankCount(*device) : 0;
    if (bank >= 0 && bank < count) return GetBank(*device, bank);
    if (bank == count && app.selection.additional.size != 0) return app.selection.additional;
    return {};
}

int SelectionBankOrder(const App& app, int bank) {
    const DeviceRecord* device = SelectedDevice(app);
    int count = device ? BankCount(*device) : 0;
    if (bank >= 0 && bank < count) return BankOrder(*device, bank);
    if (bank == count && app.selection.additional.size != 0) return kFlashOrder;
    return -1;
}

// Banks beyond index 63 have no flag and are never part of the program ranges.
void RebuildProgramRanges(App& app) {
    auto& ranges = app.selection.programRanges;
    ranges.clear();
    const DeviceRecord* device = SelectedDevice(app);
    if (!device) return;
    int bank = 0;
    for (const auto& area : device->areas) {
        for (int i = 0; i < area.rangeCount; ++i, ++bank) {
            if (bank >= kBankFlags || !app.selection.bankFlags[static_cast<std::size_t>(bank)])
                continue;
            const BankRange& r = area.ranges[static_cast<std::size_t>(i)];
            InsertProgramRange(ranges, r.start, r.size);
        }
    }
}

uint8_t FillByteValue(const App& app) {
    return static_cast<uint8_t>(app.selection.fillByte);
}

namespace {
template <typename Fn> void ForSelectedBanks(const App& app, Fn fn) {
    int n = std::min(BankTotal(app), kBankFlags);
    for (int i = 0; i < n; ++i)
        if (app.selection.bankFlags[static_cast<std::size_t>(i)]) fn(SelectionBank(app, i));
}
} // namespace

uint32_t SelectedBanksLowestStart(const App& app) {
    bool any = false;
    uint32_t lowest = 0;
    ForSelectedBanks(app, [&](const BankRange& r) {
        if (!any || r.start < lowest) lowest = r.start;
        any = true;
    });
    return lowest;
}

uint32_t SelectedBanksHighestEnd(const App& app) {
    uint32_t highest = 0;
    ForSelectedBanks(app, [&](const BankRange& r) {
        uint32_t end = r.start + r.size - 1;
        highest = std::max(highest, end);
    });
    return highest;
}

uint64_t SelectedBanksSize(const App& app) {
    uint64_t size = 0;
    ForSelectedBanks(app, [&](const BankRange& r) { size += r.size; });
    return size;
}

int SelectedBankCount(const App& app) {
    int count = 0;
    ForSelectedBanks(app, [&](const BankRange&) { ++count; });
    return count;
}

namespace {
std::vector<uint32_t> SelectedProtectedAddresses(const App& app) {
    std::vector<uint32_t> addresses;
    const DeviceRecord* device = SelectedDevice(app);
    if (!device) return addresses;
    for (std::size_t b = 0; b < device->protectedBlocks.size() && b < kProtectedFlags; ++b) {
        if (!app.selection.protectedFlags[b]) continue;
        const auto& block = device->protectedBlocks[b];
        for (int i = 0; i < block.count; ++i)
            addresses.push_back(block.addresses[static_cast<std::size_t>(i)]);
    }
    return addresses;
}
} // namespace

int SelectedProtectedCount(const App& app) {
    return static_cast<int>(SelectedProtectedAddresses(app).size());
}

uint32_t SelectedProtectedAddress(const App& app, int index) {
    auto addresses = SelectedProtectedAddresses(app);
    if (index < 0 || index >= static_cast<int>(addresses.size())) return 0;
    return addresses[static_cast<std::size_t>(index)];
}

// More than 16 selected protected bytes: every one is sorted, the form keeps the 16 smallest.
uint32_t SortedProtectedAddress(const App& app, int index) {
    auto addresses = SelectedProtectedAddresses(app);
    std::sort(addresses.begin(), addresses.end());
    if (index < 0 || index >= static_cast<int>(kMaxProtectedAddresses) ||
        index >= static_cast<int>(addresses.size()))
        return 0;
    return addresses[static_cast<std::size_t>(index)];
}

uint8_t EffectiveAlgoS(const App& app) {
    const DeviceRecord* device = SelectedDevice(app);
    if (!device) return 0;
    if (device->algoS != kAlgoS60) return device->algoS;
    switch (app.selection.interface) {
    case 0:
    case 1:
        return device->algoS;
    case 2:
        return kAlgoS60A;
    case 3:
        return 147; // no name: passed on as a number
    default:
        return 0;
    }
}

uint8_t EffectiveSIFType(const App& app) {
    const DeviceRecord* device = SelectedDevice(app);
    if (!device) return 0;
    if (device->sifType != kSifS60) return device->sifType;
    switch (app.selection.interface) {
    case 0:
    case 1:
        return device->sifType;
    case 2:
        return kSifS60A;
    case 3:
        return 14; // no name: passed on as a number
    default:
        return 0;
    }
}

uint32_t ToshibaIdAddress(App& app) {
    const DeviceRecord* device = SelectedDevice(app);
    return device ? HeldToIdRange(*device, app.selection.toshibaIdAddress) : 0;
}

uint32_t ToshibaIdLengthAddress(App& app) {
    const DeviceRecord* device = SelectedDevice(app);
    return device ? HeldToIdRange(*device, app.selection.toshibaIdLengthAddress) : 0;
}

uint32_t IdByteAddress(App& app, int index) {
    const DeviceRecord* device = SelectedDevice(app);
    if (!device || index < 0) return 0;
    if (IsToshiba(*device)) return ToshibaIdAddress(app) + static_cast<uint32_t>(index);
    if (index >= static_cast<int>(device->idAddresses.size())) return 0;
    return device->idAddresses[static_cast<std::size_t>(index)];
}

uint32_t IdLengthAddress(App& app) {
    const DeviceRecord* device = SelectedDevice(app);
    if (!device) return 0;
    return IsToshiba(*device) ? ToshibaIdLengthAddress(app) : device->idLenAdr;
}

uint8_t IdLengthValue(App& app, const ImageView& image) {
    const DeviceRecord* device = SelectedDevice(app);
    if (!device) return 0;
    if (device->idLenAdr == 0) return device->idLenMax;
    return image.ByteOr(device->idLenAdr, FillByteValue(app));
}

std::vector<uint8_t> IdData(const App& app) {
    const DeviceRecord* device = SelectedDevice(app);
    if (!device) return {};
    std::vector<uint8_t> data = device->constIdData;
    const auto& s = app.selection;
    int n = std::min<int>(s.passcodeLength, kMaxPasscode);
    data.insert(data.end(), s.passcode.begin(), s.passcode.begin() + n);
    return data;
}

uint16_t BlankSum(const App& app) {
    const DeviceRecord* device = SelectedDevice(app);
    uint8_t algo = EffectiveAlgoS(app);
    if (!device || (algo != kAlgoT8 && algo != kAlgoT91)) return 0;
    return static_cast<uint16_t>((uint64_t{FlashSize(*device)} * 255u) % 65536u);
}

bool UsesPasscode(const App& app) {
    const DeviceRecord* device = SelectedDevice(app);
    return device && device->idLenMax > 0;
}

} // namespace vantrel
