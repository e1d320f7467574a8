#pragma once
// How the device dialogs write a device's sizes and voltages: empty for 0, whole kilobytes as
// "%d KB" (the kilobyte count kept to 16 bits), else "%d Bytes"; voltages are stored in tenths
// of a volt and shown as "5V" or "3.3V".
#include <cstdint>
#include <string>

#include "device/DeviceRecord.h"

namespace vantrel {

std::string DeviceSizeText(uint32_t bytes);
std::string DeviceVoltageText(uint8_t tenths);
// VMin, and " - " VMax behind it when the two differ ("2.7V - 5.5V").
std::string DeviceSupplyText(const DeviceRecord& device);

} // namespace vantrel
