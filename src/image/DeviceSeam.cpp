#include "image/DeviceSeam.h"

#include "app/App.h"

namespace vantrel {

uint8_t ImageFillByte(const App&) {
    return 0xFF;
}

std::vector<AddressRange> ImageProgramRanges(const App&) {
    return {};
}

std::optional<AddressRange> SelectedBanksSpan(const App&) {
    return std::nullopt;
}

uint32_t GetImageCrc(App& app) {
    return app.doc.GetImageCrc(ImageProgramRanges(app), ImageFillByte(app));
}

bool AreasInsideDevice(App& app) {
    return app.doc.AreasInsideDevice(ImageProgramRanges(app));
}

} // namespace vantrel
