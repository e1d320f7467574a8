#include "commands/DeviceSeam.h"

#include "app/App.h"
#include "device/DeviceSelection.h"

namespace vantrel {

uint8_t ImageFillByte(const App& app) {
    return FillByteValue(app);
}

std::vector<AddressRange> ImageProgramRanges(const App& app) {
    std::vector<AddressRange> ranges;
    ranges.reserve(app.selection.programRanges.size());
    for (const BankRange& r : app.selection.programRanges)
        if (r.size != 0) ranges.push_back({r.start, r.start + (r.size - 1)});
    return ranges;
}

std::optional<AddressRange> SelectedBanksSpan(const App& app) {
    if (SelectedBankCount(app) == 0) return std::nullopt;
    return AddressRange{SelectedBanksLowestStart(app), SelectedBanksHighestEnd(app)};
}

uint32_t GetImageCrc(App& app) {
    if (SelectedBanksSize(app) == 0) {
        app.doc.MarkCrcStale();
        return 0;
    }
    return app.doc.GetImageCrc(ImageProgramRanges(app), ImageFillByte(app));
}

bool AreasInsideDevice(App& app) {
    return app.doc.AreasInsideDevice(ImageProgramRanges(app));
}

} // namespace vantrel
