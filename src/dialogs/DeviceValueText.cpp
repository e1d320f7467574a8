#include "dialogs/DeviceValueText.h"

#include <cstdio>

namespace vantrel {

std::string DeviceSizeText(uint32_t bytes) {
    if (bytes == 0) return "";
    char text[32];
    if (bytes % 1024 == 0)
        std::snprintf(text, sizeof text, "%d KB", static_cast<uint16_t>(bytes / 1024));
    else
        std::snprintf(text, sizeof text, "%u Bytes", bytes);
    return text;
}

std::string DeviceVoltageText(uint8_t tenths) {
    if (tenths == 0) return "";
    char text[16];
    std::snprintf(text, sizeof text, tenths % 10 == 0 ? "%.0fV" : "%.1fV", tenths * 0.1);
    return text;
}

std::string DeviceSupplyText(const DeviceRecord& device) {
    std::string text = DeviceVoltageText(device.vMin);
    if (device.vMax != device.vMin) text += " - " + DeviceVoltageText(device.vMax);
    return text;
}

} // namespace vantrel
