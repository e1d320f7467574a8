#pragma once
// Checks of the device against the image and the programmer. An ID check looks at the image
// before a download and returns a warning the user must confirm, or nothing. Whether the
// connected programmer supports a device comes from the device's hardware ranges (older
// programmers) or from the lists the programmer reports.
#include <optional>
#include <string>

#include "device/DeviceRecord.h"

namespace vantrel {

class DeviceSelection;
class ImageView;
struct ProgrammerStatus;

inline constexpr uint32_t kOptionByte0 = 0x10000, kOptionByte2 = 0x10002;

extern const char* const kWarnInvalidId;         // W1
extern const char* const kWarnWriteProtection;   // W2
extern const char* const kWarnReadProtection;    // W3
extern const char* const kWarnReadWriteProtect;  // W4
extern const char* const kWarnNoOptionBytes;     // W5
extern const char* const kWarnNoPreprogramBytes; // W6

using Warning = std::optional<std::string>;

// The ID addresses of TOSHIBA devices are brought into the device's IDRange on the way, hence
// the selection is not const.
Warning CheckM7906(DeviceSelection& selection, const ImageView& image);
Warning CheckST7X(DeviceSelection& selection, const ImageView& image);
Warning CheckST7(DeviceSelection& selection, const ImageView& image);
Warning CheckTMP91(DeviceSelection& selection, const ImageView& image);
Warning CheckTLCS870(DeviceSelection& selection, const ImageView& image);
// The selected device's check; nothing for a device without one.
Warning RunIdCheck(DeviceSelection& selection, const ImageView& image);

// Whether the programmer whose status is `status` supports device `index` of the selection's
// table (false while no device is selected).
bool SupportedByProgrammer(const DeviceSelection& selection, const ProgrammerStatus& status,
                           int index);
// The same for one device record (false for null).
bool SupportedByProgrammer(const DeviceRecord* device, const ProgrammerStatus& status);

} // namespace vantrel
