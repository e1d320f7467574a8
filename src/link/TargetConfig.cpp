#include "link/TargetConfig.h"

#include <algorithm>

#include "base/LittleEndian.h"
#include "device/DeviceCodes.h"
#include "device/DeviceSelection.h"
#include "device/DeviceTable.h"
#include "settings/ProgramOptions.h"

namespace vantrel {

namespace {

void PutU8(std::vector<uint8_t>& out, uint32_t value) {
    out.push_back(static_cast<uint8_t>(value));
}

void PutU32(std::vector<uint8_t>& out, uint32_t value) {
    AppendLittleEndian(out, value, 4);
}

struct ListedBank {
    uint8_t kindOrder = 0; // kind << 4 | order
    BankRange range;
};

// The selected banks with their area's kind and order, ascending by start address. The
// additional range is a flash bank of kind 0 behind the device's banks.
std::vector<ListedBank> SelectedBanks(const DeviceSelection& selection,
                                      const DeviceRecord& device) {
    std::vector<ListedBank> all;
    for (const auto& area : device.areas)
        for (int i = 0; i < area.rangeCount; ++i)
            all.push_back({static_cast<uint8_t>(area.kind << 4 | (area.order & 0x0F)),
                           area.ranges[static_cast<std::size_t>(i)]});
    if (selection.additional.size != 0) all.push_back({kFlashOrder, selection.additional});
    std::vector<ListedBank> selected;
    for (std::size_t i = 0; i < all.size() && i < kBankFlags; ++i)
        if (selection.bankFlags[i]) selected.push_back(all[i]);
    std::stable_sort(
        selected.begin(), selected.end(),
        [](const ListedBank& a, const ListedBank& b) { return a.range.start < b.range.start; });
    return selected;
}

bool AllBanksSelected(const DeviceSelection& selection) {
    const int total = std::min(selection.BankTotal(), kBankFlags);
    if (total == 0) return false;
    for (int i = 0; i < total; ++i)
        if (!selection.bankFlags[static_cast<std::size_t>(i)]) return false;
    return true;
}

std::vector<uint32_t> SortedProtectedAddresses(const DeviceSelection& selection) {
    std::vector<uint32_t> addresses;
    const int count = selection.SelectedProtectedCount();
    for (int i = 0; i < count; ++i)
        addresses.push_back(selection.SelectedProtectedAddress(i));
    std::sort(addresses.begin(), addresses.end());
    return addresses;
}

// A passcode address outside the device's ID range stands for the range's first address.
uint32_t InIdRange(const DeviceRecord& device, uint32_t address) {
    return address < device.idRangeFirst || address > device.idRangeLast ? device.idRangeFirst
                                                                         : address;
}

uint8_t Flags(const DeviceSelection& selection, const ProgramOptions& options) {
    uint8_t flags = 0;
    if (options.enableAC) flags |= 0x01;
    if (options.enableVBP) flags |= 0x02;
    if (options.clearOnDemand) flags |= 0x04;
    if (options.clearReadoutProtection) flags |= 0x08;
    if (AllBanksSelected(selection)) flags |= 0x80;
    return flags;
}

} // namespace

std::optional<std::vector<uint8_t>> BuildTargetConfig(const DeviceSelection& selection,
                                                      const ProgramOptions& options,
                                                      uint32_t sessionField, std::string& reason) {
    const DeviceRecord* device = selection.SelectedDevice();
    const uint32_t offset = device ? device->flashOffset : 0;
    const uint8_t algoS = selection.EffectiveAlgoS();
    std::vector<uint8_t> out;

    PutU32(out, selection.SelectedBanksLowestStart() + offset);
    PutU32(out, selection.SelectedBanksHighestEnd() + offset);
    PutU8(out,
          static_cast<uint32_t>(selection.speed) << 4 | static_cast<uint32_t>(selection.interface));
    PutU8(out, selection.EffectiveSIFType());
    PutU8(out, algoS);
    PutU8(out, device ? device->algoP : 0);
    PutU8(out, device ? device->vpp : 0);
    PutU8(out, Flags(selection, options));
    const std::vector<uint8_t> id = selection.IdData();
    PutU8(out, static_cast<uint32_t>(id.size()));
    out.insert(out.end(), id.begin(), id.end());
    PutU8(out, 0);
    PutU32(out, sessionField);
    PutU8(out, selection.FillByteValue());
    PutU8(out, device ? device->bootSelect : 0);
    const std::vector<uint32_t> protectedAddresses = SortedProtectedAddresses(selection);
    PutU8(out, static_cast<uint32_t>(protectedAddresses.size()));
    for (uint32_t address : protectedAddresses)
        PutU32(out, address + offset);

    if (device) {
        const std::vector<ListedBank> banks = SelectedBanks(selection, *device);
        PutU8(out, static_cast<uint32_t>(banks.size()));
        for (const ListedBank& bank : banks) {
            PutU8(out, bank.kindOrder);
            PutU32(out, bank.range.start + offset);
            PutU32(out, bank.range.size);
        }
    }
    PutU8(out, algoS);
    if (device && (algoS == kAlgoT8 || algoS == kAlgoT91)) {
        PutU32(out, InIdRange(*device, selection.toshibaIdLengthAddress) + offset);
        PutU32(out, InIdRange(*device, selection.toshibaIdAddress) + offset);
        PutU32(out, selection.BlankSum());
        PutU8(out, options.enablePasscode ? 1 : 0);
    }
    if (device && !device->chipSpecifics.empty()) {
        PutU8(out, static_cast<uint32_t>(device->chipSpecifics.size()));
        out.insert(out.end(), device->chipSpecifics.begin(), device->chipSpecifics.end());
    }
    PutU8(out, 0);

    // Counts above 255 (protected addresses, banks) cannot be sent either, and always come with
    // more than 250 bytes.
    if (out.size() > kMaxTargetConfigSize) {
        reason = "The target configuration would be " + std::to_string(out.size()) +
                 " bytes long, the programmer takes at most " +
                 std::to_string(kMaxTargetConfigSize) + ": select fewer banks or protected blocks.";
        return std::nullopt;
    }
    reason.clear();
    return out;
}

} // namespace vantrel
