#include "device/DeviceSelection.h"

#include <algorithm>

#include "base/Reporter.h"
#include "base/UtilSnprintf.h"
#include "device/DeviceCodes.h"
#include "device/DeviceTable.h"
#include "device/ImageView.h"

namespace vantrel {
namespace {

// Sets the flags from `from` to `to` to `value`; flags above 63 do not exist.
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

DeviceSelection::DeviceSelection(const DeviceTable& table, Reporter& reporter)
    : table_(table), reporter_(reporter) {}

void DeviceSelection::Changed() const {
    if (changed_) changed_();
}

int DeviceSelection::Replaced(const char* message) {
    reporter_.Report(211, message);
    return 1;
}

void DeviceSelection::ApplyPasscodeLengthRule() {
    const DeviceRecord* device = SelectedDevice();
    if (!device) return;
    if (passcodeLength < device->idLenMin || passcodeLength > device->idLenMax)
        passcodeLength = device->idLenMin;
}

const DeviceRecord* DeviceSelection::SelectedDevice() const {
    return GetDevice(table_, selected);
}

int DeviceSelection::SelectDeviceByName(const std::string& name) {
    int index = FindDevice(table_, name);
    int result = 0;
    if (index >= 0) {
        deviceKnown = true;
        unmatchedName.clear();
    } else {
        unmatchedName = name;
        if (!name.empty())
            reporter_.Report(211, UTIL_format("The devicename '%s' was unknown.\r\nPlease check "
                                              "your configuration!\r\n",
                                              {name}, 250));
        index = 0;
        deviceKnown = false;
        result = 1;
    }
    selected = index;
    ApplyPasscodeLengthRule();
    RebuildProgramRanges();
    return result;
}

void DeviceSelection::SelectDevice(int index) {
    if (index < 0 || index >= DeviceCount(table_)) return;
    selected = index;
    deviceKnown = true; // chosen from the table: the settings keep its name
    unmatchedName.clear();
    RebuildProgramRanges();
}

int DeviceSelection::SetInterface(int32_t value) {
    if (value >= 0 && value < 15) {
        interface = value;
        return 0;
    }
    interface = 0;
    return Replaced("Interface was invalid!\r\nPlease check your configuration!");
}

int DeviceSelection::SetSpeed(int32_t value) {
    int32_t limit = EffectiveSIFType() == kSifR8C ? kBaudRateCount : 4;
    if (value >= 0 && value < limit) {
        speed = value;
        return 0;
    }
    speed = 0;
    return Replaced("Speed was invalid!\r\nPlease check your configuration!");
}

int DeviceSelection::SetFillByte(int32_t value) {
    bool valid = (value & 0xFE00) == 0;
    fillByte = valid ? value : kInvalidFillByte;
    Changed();
    if (valid) return 0;
    return Replaced("Fillbyte invalid!\r\nPlease check your configuration!");
}

int DeviceSelection::SetStartBank(int32_t value) {
    if (DeviceCount(table_) == 0) return 1;
    int result = 0;
    if (value < 0 || value >= BankTotal()) {
        value = 0;
        result = Replaced("Startbank was invalid!\r\nPlease check Device options!");
    }
    startBank = value;
    if (!bankSelectMode) {
        SetFlagRange(bankFlags, 0, value - 1, false);
        SetFlagRange(bankFlags, value, endBank, true);
    }
    RebuildProgramRanges();
    return result;
}

int DeviceSelection::SetEndBank(int32_t value) {
    if (DeviceCount(table_) == 0) return 1;
    int result = 0;
    if (value < startBank || value >= BankTotal()) {
        value = BankTotal() - 1;
        result = Replaced("Endbank was invalid!\r\nPlease check Device options!");
    }
    endBank = value;
    if (!bankSelectMode) {
        SetFlagRange(bankFlags, value + 1, kBankFlags - 1, false);
        SetFlagRange(bankFlags, startBank, value, true);
    }
    RebuildProgramRanges();
    return result;
}

void DeviceSelection::SelectAllBanks() {
    if (DeviceCount(table_) == 0) return;
    endBank = 0;
    SetStartBank(0);
    SetEndBank(BankTotal() - 1);
}

void DeviceSelection::SetBankFlag(int bank, bool value) {
    if (bank < 0 || bank >= kBankFlags) return;
    bankFlags[static_cast<std::size_t>(bank)] = value;
    Changed();
}

void DeviceSelection::SetExternalArea(uint32_t start, uint32_t size) {
    additional = {start, size};
    Changed();
}

int DeviceSelection::BankTotal() const {
    const DeviceRecord* device = SelectedDevice();
    int total = device ? BankCount(*device) : 0;
    return total + (additional.size != 0 ? 1 : 0);
}

BankRange DeviceSelection::SelectionBank(int bank) const {
    const DeviceRecord* device = SelectedDevice();
    int count = device ? BankCount(*device) : 0;
    if (bank >= 0 && bank < count) return GetBank(*device, bank);
    if (bank == count && additional.size != 0) return additional;
    return {};
}

int DeviceSelection::SelectionBankOrder(int bank) const {
    const DeviceRecord* device = SelectedDevice();
    int count = device ? BankCount(*device) : 0;
    if (bank >= 0 && bank < count) return BankOrder(*device, bank);
    if (bank == count && additional.size != 0) return kFlashOrder;
    return -1;
}

// Banks beyond index 63 have no flag and are never part of the program ranges.
void DeviceSelection::RebuildProgramRanges() {
    programRanges.clear();
    int bank = 0;
    if (const DeviceRecord* device = SelectedDevice()) {
        for (const auto& area : device->areas) {
            for (int i = 0; i < area.rangeCount; ++i, ++bank) {
                if (bank >= kBankFlags || !bankFlags[static_cast<std::size_t>(bank)]) continue;
                const BankRange& r = area.ranges[static_cast<std::size_t>(i)];
                InsertProgramRange(programRanges, r.start, r.size);
            }
        }
    }
    Changed();
}

template <typename Fn> void DeviceSelection::ForSelectedBanks(Fn fn) const {
    int n = std::min(BankTotal(), kBankFlags);
    for (int i = 0; i < n; ++i)
        if (bankFlags[static_cast<std::size_t>(i)]) fn(SelectionBank(i));
}

uint32_t DeviceSelection::SelectedBanksLowestStart() const {
    bool any = false;
    uint32_t lowest = 0;
    ForSelectedBanks([&](const BankRange& r) {
        if (!any || r.start < lowest) lowest = r.start;
        any = true;
    });
    return lowest;
}

uint32_t DeviceSelection::SelectedBanksHighestEnd() const {
    uint32_t highest = 0;
    ForSelectedBanks([&](const BankRange& r) {
        uint32_t end = r.start + r.size - 1;
        highest = std::max(highest, end);
    });
    return highest;
}

uint64_t DeviceSelection::SelectedBanksSize() const {
    uint64_t size = 0;
    ForSelectedBanks([&](const BankRange& r) { size += r.size; });
    return size;
}

int DeviceSelection::SelectedBankCount() const {
    int count = 0;
    ForSelectedBanks([&](const BankRange&) { ++count; });
    return count;
}

std::vector<uint32_t> DeviceSelection::SelectedProtectedAddresses() const {
    std::vector<uint32_t> addresses;
    const DeviceRecord* device = SelectedDevice();
    if (!device) return addresses;
    for (std::size_t b = 0; b < device->protectedBlocks.size() && b < kProtectedFlags; ++b) {
        if (!protectedFlags[b]) continue;
        const auto& block = device->protectedBlocks[b];
        for (int i = 0; i < block.count; ++i)
            addresses.push_back(block.addresses[static_cast<std::size_t>(i)]);
    }
    return addresses;
}

int DeviceSelection::SelectedProtectedCount() const {
    return static_cast<int>(SelectedProtectedAddresses().size());
}

uint32_t DeviceSelection::SelectedProtectedAddress(int index) const {
    auto addresses = SelectedProtectedAddresses();
    if (index < 0 || index >= static_cast<int>(addresses.size())) return 0;
    return addresses[static_cast<std::size_t>(index)];
}

// More than 16 selected protected bytes: every one is sorted, the form keeps the 16 smallest.
uint32_t DeviceSelection::SortedProtectedAddress(int index) const {
    auto addresses = SelectedProtectedAddresses();
    std::sort(addresses.begin(), addresses.end());
    if (index < 0 || index >= static_cast<int>(kMaxProtectedAddresses) ||
        index >= static_cast<int>(addresses.size()))
        return 0;
    return addresses[static_cast<std::size_t>(index)];
}

uint8_t DeviceSelection::EffectiveAlgoS() const {
    const DeviceRecord* device = SelectedDevice();
    if (!device) return 0;
    if (device->algoS != kAlgoS60) return device->algoS;
    switch (interface) {
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

uint8_t DeviceSelection::EffectiveSIFType() const {
    const DeviceRecord* device = SelectedDevice();
    if (!device) return 0;
    if (device->sifType != kSifS60) return device->sifType;
    switch (interface) {
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

uint32_t DeviceSelection::ToshibaIdAddress() {
    const DeviceRecord* device = SelectedDevice();
    return device ? HeldToIdRange(*device, toshibaIdAddress) : 0;
}

uint32_t DeviceSelection::ToshibaIdLengthAddress() {
    const DeviceRecord* device = SelectedDevice();
    return device ? HeldToIdRange(*device, toshibaIdLengthAddress) : 0;
}

uint32_t DeviceSelection::IdByteAddress(int index) {
    const DeviceRecord* device = SelectedDevice();
    if (!device || index < 0) return 0;
    if (IsToshiba(*device)) return ToshibaIdAddress() + static_cast<uint32_t>(index);
    if (index >= static_cast<int>(device->idAddresses.size())) return 0;
    return device->idAddresses[static_cast<std::size_t>(index)];
}

uint32_t DeviceSelection::IdLengthAddress() {
    const DeviceRecord* device = SelectedDevice();
    if (!device) return 0;
    return IsToshiba(*device) ? ToshibaIdLengthAddress() : device->idLenAdr;
}

uint8_t DeviceSelection::IdLengthValue(const ImageView& image) const {
    const DeviceRecord* device = SelectedDevice();
    if (!device) return 0;
    if (device->idLenAdr == 0) return device->idLenMax;
    return image.ByteOr(device->idLenAdr, FillByteValue());
}

std::vector<uint8_t> DeviceSelection::IdData() const {
    const DeviceRecord* device = SelectedDevice();
    if (!device) return {};
    std::vector<uint8_t> data = device->constIdData;
    int n = std::min<int>(passcodeLength, kMaxPasscode);
    data.insert(data.end(), passcode.begin(), passcode.begin() + n);
    return data;
}

uint16_t DeviceSelection::BlankSum() const {
    const DeviceRecord* device = SelectedDevice();
    uint8_t algo = EffectiveAlgoS();
    if (!device || (algo != kAlgoT8 && algo != kAlgoT91)) return 0;
    return static_cast<uint16_t>((uint64_t{FlashSize(*device)} * 255u) % 65536u);
}

bool DeviceSelection::UsesPasscode() const {
    const DeviceRecord* device = SelectedDevice();
    return device && device->idLenMax > 0;
}

} // namespace vantrel
