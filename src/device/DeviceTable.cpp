#include "device/DeviceTable.h"

#include "device/DeviceCodes.h"
#include "platform/Ui.h"

namespace vantrel {

int AddDevice(Ui& ui, DeviceTable& table, DeviceRecord record) {
    int slot = FindDevice(table, record.device);
    if (slot >= 0) {
        table.records[static_cast<std::size_t>(slot)] = std::move(record);
        return slot;
    }
    if (table.records.size() >= kMaxDevices) {
        ui.MessageBox("Vantrel", "Too many devices", MsgButtons::Ok, MsgIcon::None, MsgAnswer::Ok);
        return -1;
    }
    int added = static_cast<int>(table.records.size());
    table.index.emplace(record.device, added);
    table.records.push_back(std::move(record));
    return added;
}

void ClearDeviceTable(DeviceTable& table) {
    table.records.clear();
    table.index.clear();
}

int FindDevice(const DeviceTable& table, const std::string& device) {
    auto it = table.index.find(device);
    return it == table.index.end() ? -1 : it->second;
}

int DeviceCount(const DeviceTable& table) {
    return static_cast<int>(table.records.size());
}

const DeviceRecord* GetDevice(const DeviceTable& table, int index) {
    if (index < 0 || index >= DeviceCount(table)) return nullptr;
    return &table.records[static_cast<std::size_t>(index)];
}

int BankCount(const DeviceRecord& device) {
    int count = 0;
    for (const auto& area : device.areas)
        count += area.rangeCount;
    return count;
}

uint32_t FlashSize(const DeviceRecord& device) {
    uint32_t size = 0;
    for (const auto& area : device.areas)
        if (area.order == kFlashOrder)
            for (int i = 0; i < area.rangeCount; ++i)
                size += area.ranges[static_cast<std::size_t>(i)].size;
    return size;
}

namespace {

// The area holding `bank` and the bank's range index in it.
const MemoryArea* FindBank(const DeviceRecord& device, int bank, int& rangeIndex) {
    if (bank < 0) return nullptr;
    for (const auto& area : device.areas) {
        if (bank < area.rangeCount) {
            rangeIndex = bank;
            return &area;
        }
        bank -= area.rangeCount;
    }
    return nullptr;
}

} // namespace

BankRange GetBank(const DeviceRecord& device, int bank) {
    int i = 0;
    const MemoryArea* area = FindBank(device, bank, i);
    return area ? area->ranges[static_cast<std::size_t>(i)] : BankRange{};
}

int BankOrder(const DeviceRecord& device, int bank) {
    int i = 0;
    const MemoryArea* area = FindBank(device, bank, i);
    return area ? area->order : -1;
}

int ProtectedByteCount(const DeviceRecord& device) {
    int count = 0;
    for (const auto& block : device.protectedBlocks)
        count += block.count;
    return count;
}

namespace {
bool OffersBaudRates(const DeviceRecord& device, uint16_t hardwareVersion) {
    return device.sifType == kSifR8C && hardwareVersion >= 600;
}
} // namespace

int SpeedSettingCount(const DeviceRecord& device, uint16_t hardwareVersion) {
    if (OffersBaudRates(device, hardwareVersion)) return kBaudRateCount;
    return static_cast<int>(device.speedSettings.size());
}

std::string SpeedSettingName(const DeviceRecord& device, uint16_t hardwareVersion, int index) {
    if (OffersBaudRates(device, hardwareVersion)) return BaudRateName(index);
    if (index < 0 || index >= static_cast<int>(device.speedSettings.size())) return "";
    return device.speedSettings[static_cast<std::size_t>(index)];
}

void InsertProgArea(std::vector<MemoryArea>& areas, MemoryArea area) {
    auto at = areas.end();
    while (at != areas.begin() && (at - 1)->order > area.order)
        --at;
    areas.insert(at, std::move(area));
}

} // namespace vantrel
