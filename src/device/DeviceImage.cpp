#include "device/DeviceImage.h"

#include <algorithm>

#include "device/DeviceSelection.h"
#include "device/ImageView.h"

namespace vantrel {

std::vector<std::pair<uint32_t, uint8_t>> PasscodeImageWrites(DeviceSelection& selection) {
    std::vector<std::pair<uint32_t, uint8_t>> writes;
    int n = std::min<int>(selection.passcodeLength, kMaxPasscode);
    for (int i = 0; i < n; ++i)
        if (uint32_t address = selection.IdByteAddress(i))
            writes.emplace_back(address, selection.passcode[static_cast<std::size_t>(i)]);
    if (uint32_t address = selection.IdLengthAddress())
        writes.emplace_back(address, static_cast<uint8_t>(n));
    return writes;
}

void SetPasscodeFromImage(DeviceSelection& selection, const ImageView& image) {
    int n = std::min<int>(selection.passcodeLength, kMaxPasscode);
    for (int i = 0; i < n; ++i)
        if (uint32_t address = selection.IdByteAddress(i))
            selection.passcode[static_cast<std::size_t>(i)] =
                image.ByteOr(address, selection.FillByteValue());
}

} // namespace vantrel
