#include "device/DeviceImage.h"

#include <algorithm>

#include "app/App.h"
#include "device/DeviceSelection.h"
#include "device/ImageView.h"

namespace vantrel {

std::vector<std::pair<uint32_t, uint8_t>> PasscodeImageWrites(App& app) {
    std::vector<std::pair<uint32_t, uint8_t>> writes;
    int n = std::min<int>(app.selection.passcodeLength, kMaxPasscode);
    for (int i = 0; i < n; ++i)
        if (uint32_t address = IdByteAddress(app, i))
            writes.emplace_back(address, app.selection.passcode[static_cast<std::size_t>(i)]);
    if (uint32_t address = IdLengthAddress(app))
        writes.emplace_back(address, static_cast<uint8_t>(n));
    return writes;
}

void SetPasscodeFromImage(App& app, const ImageView& image) {
    int n = std::min<int>(app.selection.passcodeLength, kMaxPasscode);
    for (int i = 0; i < n; ++i)
        if (uint32_t address = IdByteAddress(app, i))
            app.selection.passcode[static_cast<std::size_t>(i)] =
                image.ByteOr(address, FillByteValue(app));
}

} // namespace vantrel
