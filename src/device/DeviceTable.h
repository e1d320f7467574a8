#pragma once
// The device table: every known device, filled at start-up from the CSV list and then from
// the description files, in slots taken from 0 without gaps. A device whose `Device` text is
// already in the table replaces that entry in its slot. The table never holds more than
// kMaxDevices devices.
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "device/DeviceRecord.h"

namespace vantrel {

class Ui;

inline constexpr std::size_t kMaxDevices = 2000;

struct DeviceTable {
    std::vector<DeviceRecord> records; // the devices in slot order; never more than kMaxDevices
    std::unordered_map<std::string, int> index; // `Device` text -> slot
};

// Stores `record` (replacing a device of the same `Device` text in its slot) and returns its
// slot, or -1 when the table is full ("Too many devices", no owner window).
int AddDevice(Ui& ui, DeviceTable& table, DeviceRecord record);
void ClearDeviceTable(DeviceTable& table);
// The slot whose `Device` text equals `device` exactly, or -1.
int FindDevice(const DeviceTable& table, const std::string& device);
int DeviceCount(const DeviceTable& table);
// Null at or beyond the device count.
const DeviceRecord* GetDevice(const DeviceTable& table, int index);

// Per-device values. A bank is one range of one area, numbered over the areas in list order.
int BankCount(const DeviceRecord& device);
// The sum of the sizes of the ranges of every area of order 7 (flash), whatever its name.
uint32_t FlashSize(const DeviceRecord& device);
// Start and size of bank `bank`; zero for a bank the device does not have.
BankRange GetBank(const DeviceRecord& device, int bank);
// The order of the area that holds bank `bank`; -1 for a bank the device does not have.
int BankOrder(const DeviceRecord& device, int bank);
int ProtectedByteCount(const DeviceRecord& device);

// The interface speeds the device offers: an R8C-interface device on a programmer of hardware
// version 600 or later offers the seven baud rates, any other its own speed settings.
int SpeedSettingCount(const DeviceRecord& device, uint16_t hardwareVersion);
std::string SpeedSettingName(const DeviceRecord& device, uint16_t hardwareVersion, int index);

} // namespace vantrel
