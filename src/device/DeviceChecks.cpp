#include "device/DeviceChecks.h"

#include <algorithm>

#include "base/Codes.h"
#include "base/ProgrammerStatus.h"
#include "device/DeviceSelection.h"
#include "device/DeviceTable.h"
#include "device/ImageView.h"

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
bool OptionByteEnabled(const DeviceSelection& selection, uint32_t address) {
    return InProgramRanges(selection.programRanges, address, 1);
}

} // namespace

Warning CheckM7906(DeviceSelection& selection, const ImageView& image) {
    uint8_t fill = selection.FillByteValue();
    uint8_t v = image.ByteOr(selection.IdLengthAddress(), fill);
    if (v >= 1 && v <= 15) return std::nullopt;
    if (v != 0xFF) return kWarnInvalidId;
    uint8_t all = 0xFF;
    for (int i = 0; i < 15; ++i)
        all &= image.ByteOr(selection.IdByteAddress(i), fill);
    if (all == 0xFF) return std::nullopt;
    return kWarnInvalidId;
}

Warning CheckST7X(DeviceSelection& selection, const ImageView& image) {
    int state = 0;
    for (uint32_t address : {kOptionByte0, kOptionByte2}) {
        if (!OptionByteEnabled(selection, address)) continue;
        auto byte = image.At(address);
        state = byte ? (*byte & 3) : 4;
    }
    switch (state) {
    case 1:
        return kWarnWriteProtection;
    case 2: {
        const DeviceRecord* device = selection.SelectedDevice();
        if (selection.SelectedProtectedCount() > 0 && device && device->chipSpecifics.empty())
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

Warning CheckST7(DeviceSelection& selection, const ImageView& image) {
    if (OptionByteEnabled(selection, kOptionByte0) && !image.At(kOptionByte0))
        return kWarnNoOptionBytes;
    if (OptionByteEnabled(selection, kOptionByte2) && !image.At(kOptionByte2))
        return kWarnNoPreprogramBytes;
    return std::nullopt;
}

Warning CheckTMP91(DeviceSelection&, const ImageView&) {
    return std::nullopt;
}
Warning CheckTLCS870(DeviceSelection&, const ImageView&) {
    return std::nullopt;
}

Warning RunIdCheck(DeviceSelection& selection, const ImageView& image) {
    const DeviceRecord* device = selection.SelectedDevice();
    if (!device) return std::nullopt;
    switch (device->idCheck) {
    case IdCheck::M7906:
        return CheckM7906(selection, image);
    case IdCheck::ST7X:
        return CheckST7X(selection, image);
    case IdCheck::ST7:
        return CheckST7(selection, image);
    case IdCheck::TMP91:
        return CheckTMP91(selection, image);
    case IdCheck::TLCS870:
        return CheckTLCS870(selection, image);
    case IdCheck::None:
        break;
    }
    return std::nullopt;
}

bool SupportedByProgrammer(const DeviceRecord* device, const ProgrammerStatus& status) {
    if (!device) return false;
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

bool SupportedByProgrammer(const DeviceSelection& selection, const ProgrammerStatus& status,
                           int index) {
    if (!selection.SelectedDevice()) return false;
    return SupportedByProgrammer(GetDevice(selection.Table(), index), status);
}

} // namespace vantrel
