#include "device/DeviceImage.h"

#include <algorithm>

#include "app/App.h"
#include "device/DeviceSelection.h"
#include "device/ImageView.h"

namespace vantrel {

bool ImageCrcComputable(const App& app) {
    return SelectedBanksSize(app) != 0;
}

uint32_t DeviceImageCrc(const App& app, const ImageView& image) {
    if (!ImageCrcComputable(app)) return 0;
    return RangesCrc(app.selection.programRanges, image, FillByteValue(app));
}

bool AreasInsideDevice(const App& app, const ImageView& image) {
    return std::all_of(image.Runs().begin(), image.Runs().end(), [&](const ImageBytes& run) {
        return InProgramRanges(app.selection.programRanges, run.start,
                               static_cast<uint32_t>(run.bytes.size()));
    });
}

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
