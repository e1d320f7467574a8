#pragma once
// Checks of the device against the image and the programmer. An ID check looks at the image
// before a download and returns a warning the user must confirm, or nothing. Whether the
// connected programmer supports a device comes from the device's hardware ranges (older
// programmers) or from the lists the programmer reports. The Target menu carries "Clear All"
// and "Clear Chip" only for devices that allow them.
#include <optional>
#include <string>

#include "device/DeviceRecord.h"

namespace vantrel {

struct App;
class ImageView;

inline constexpr uint32_t kOptionByte0 = 0x10000, kOptionByte2 = 0x10002;

extern const char* const kWarnInvalidId;         // W1
extern const char* const kWarnWriteProtection;   // W2
extern const char* const kWarnReadProtection;    // W3
extern const char* const kWarnReadWriteProtect;  // W4
extern const char* const kWarnNoOptionBytes;     // W5
extern const char* const kWarnNoPreprogramBytes; // W6

using Warning = std::optional<std::string>;

Warning CheckM7906(App& app, const ImageView& image);
Warning CheckST7X(App& app, const ImageView& image);
Warning CheckST7(App& app, const ImageView& image);
Warning CheckTMP91(App& app, const ImageView& image);
Warning CheckTLCS870(App& app, const ImageView& image);
// The selected device's check; nothing for a device without one.
Warning RunIdCheck(App& app, const ImageView& image);

bool SupportedByProgrammer(const App& app, int index);

struct DeviceMenuState {
    bool clearAllInMenu = false;
    bool clearChipInMenu = false;
};

void UpdateDeviceMenu(App& app);

} // namespace vantrel
