#include "device/DeviceChecks.h"

#include <algorithm>

#include "app/App.h"
#include "device/DeviceSelection.h"
#include "device/DeviceTable.h"
#include "device/ImageView.h"
#include "base/Codes.h"
#include "base/CommandIds.h"

namespace vantrel {

const char* const kWarnInvalidId =
    "The source file contains invalid ID-data\r\n(Addr range 0xFF90..0xFF9F)\r\nFurther access "
    "in serial mode is blocked\r\nif this ID-data will be programmed !\r\n\r\nProgram anyway ?";
const char* const kWarnWriteProtection =
    "The source file contains option byte data\r\nwith write-protection enabled.\r\nTarget CPU "
    "will be locked forever\r\nif this target data will be programmed !\r\n\r\nDownload anyway ?";
const char* const kWarnReadProtection =
    "The source file contains option byte data\r\nwith read-protection enabled.\r\nRC "
    "calibration data may be lost\r\nif readout protection will be removed later !\r\n\r\n"
    "Download anyway ?";
const char* const kWarnReadWriteProtect =
    "The source file contains option byte data\r\nwith read- and write-protection "
    "enabled\r\nTarget CPU will be locked forever\r\nif this target data will be programmed "
    "!\r\n\r\nDownload anyway ?";
const char* const kWarnNoOptionBytes =
    "The source file contains NO option byte data,\r\nbut option byte programming is enabled "
    "!\r\n\r\nTHIS MAY DAMAGE YOUR TARGET CPU\r\n\r\nOption byte content is undefined "
    "!\r\n\r\nDownload anyway ?";
const char* const kWarnNoPreprogramBytes =
    "The source file contains NO option byte data,\r\nbut preprogramming option bytes is enabled "
    "!\r\n\r\nTHIS MAY DAMAGE YOUR TARGET CPU\r\n\r\nOption byte content is undefined "
    "!\r\n\r\nDownload anyway ?";

namespace {

// An option byte counts as enabled for programming when the program ranges hold it.
bool OptionByteEnabled(const App& app, uint32_t address) {
    return InProgramRanges(app.selection.programRanges, address, 1);
}

} // namespace

Warning CheckM7906(App& app, const ImageView& image) {
    uint8_t fill = FillByteValue(app);
    uint8_t v = image.ByteOr(IdLengthAddress(app), fill);
    if (v >= 1 && v <= 15) return std::nullopt;
    if (v != 0xFF) return kWarnInvalidId;
    uint8_t all = 0xFF;
    for (int i = 0; i < 15; ++i)
        all &= image.ByteOr(IdByteAddress(app, i), fill);
    if (all == 0xFF) return std::nullopt;
    return kWarnInvalidId;
}

Warning CheckST7X(App& app, const ImageView& image) {
    int state = 0;
    for (uint32_t address : {kOptionByte0, kOptionByte2}) {
        if (!OptionByteEnabled(app, address)) continue;
        auto byte = image.At(address);
        state = byte ? (*byte & 3) : 4;
    }
    switch (state) {
    case 1:
        return kWarnWriteProtection;
    case 2: {
        const DeviceRecord* device = SelectedDevice(app);
        if (SelectedProtectedCount(app) > 0 && device && device->chipSpecifics.empty())
            return kWarnReadProtection;
        return std::nullopt;
    }
    case 3:
        return kWarnReadWriteProtect;
    case 4:
        return kWarnNoOptionBytes;
    default:
        return std::nullopt;
    }
}

Warning CheckST7(App& app, const ImageView& image) {
    if (OptionByteEnabled(app, kOptionByte0) && !image.At(kOptionByte0)) return kWarnNoOptionBytes;
    if (OptionByteEnabled(app, kOptionByte2) && !image.At(kOptionByte2))
        return kWarnNoPreprogramBytes;
    return std::nullopt;
}

Warning CheckTMP91(App&, const ImageView&) {
    return std::nullopt;
}
Warning CheckTLCS870(App&, const ImageView&) {
    return std::nullopt;
}

Warning RunIdCheck(App& app, const ImageView& image) {
    const DeviceRecord* device = SelectedDevice(app);
    if (!device) return std::nullopt;
    switch (device->idCheck) {
    case IdCheck::M7906:
        return CheckM7906(app, image);
    case IdCheck::ST7X:
        return CheckST7X(app, image);
    case IdCheck::ST7:
        return CheckST7(app, image);
    case IdCheck::TMP91:
        return CheckTMP91(app, image);
    case IdCheck::TLCS870:
        return CheckTLCS870(app, image);
    case IdCheck::None:
        break;
    }
    return std::nullopt;
}

bool SupportedByProgrammer(const App& app, int index) {
    const DeviceRecord* device = GetDevice(app.devices, index);
    if (!device || !SelectedDevice(app)) return false;
    ProgrammerStatus status = PM_Status(app.pm);
    if (status.firmwareVersion < 18200 && status.hardwareVersion < 500) {
        int32_t h = EffectiveHardwareVersion(status);
        for (const auto& pair : device->hwRanges) {
            if (pair.lower == 0) break;
            if (pair.lower <= h && h <= pair.upper) return true;
        }
        return false;
    }
    auto contains = [](const std::vector<uint8_t>& list, uint8_t code) {
        return std::find(list.begin(), list.end(), code) != list.end();
    };
    bool serial = contains(status.supportedAlgorithms, device->algoS) && device->serialSupport;
    bool parallel = contains(status.supportedAlgorithms, device->algoP) &&
                    device->parallelSupport && status.parallelFlag;
    return (serial || parallel) && contains(status.supportedInterfaces, device->sifType);
}

void UpdateDeviceMenu(App& app) {
    if (app.ui.TargetMenuItemCount() < 1) return;
    const DeviceRecord* device = SelectedDevice(app);
    auto& menu = app.deviceMenu;
    bool wantClearAll = device && device->enableClearAll != 0;
    bool wantClearChip = device && device->enableClearChip != 0;
    if (wantClearAll && !menu.clearAllInMenu) {
        ProgrammerStatus status = PM_Status(app.pm);
        bool readout = (status.hardwareVersion == 421 || status.hardwareVersion >= 500) &&
                       (status.hardwareVariant == 0 || status.hardwareVariant == 4);
        app.ui.InsertTargetMenuItem(cmd::kClearAll,
                                    readout ? "Clear Readout protection" : "Clear All",
                                    "Program all zeroes, then clear chip", cmd::kClear);
        menu.clearAllInMenu = true;
    } else if (!wantClearAll && menu.clearAllInMenu) {
        app.ui.RemoveTargetMenuItem(cmd::kClearAll);
        menu.clearAllInMenu = false;
    }
    if (wantClearChip && !menu.clearChipInMenu) {
        app.ui.InsertTargetMenuItem(cmd::kClearChip, "Clear Chip",
                                    "Clear entire chip, regardless of selected range",
                                    cmd::kClear);
        menu.clearChipInMenu = true;
    } else if (!wantClearChip && menu.clearChipInMenu) {
        app.ui.RemoveTargetMenuItem(cmd::kClearChip);
        menu.clearChipInMenu = false;
    }
}

} // namespace vantrel
