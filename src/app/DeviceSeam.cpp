#include "app/DeviceSeam.h"

#include "app/App.h"
#include "device/DeviceSelection.h"

namespace vantrel {

uint8_t ImageFillByte(const App& app) {
    return app.selection.FillByteValue();
}

std::vector<AddressRange> ImageProgramRanges(const App& app) {
    std::vector<AddressRange> ranges;
    ranges.reserve(app.selection.programRanges.size());
    for (const BankRange& r : app.selection.programRanges)
        if (r.size != 0) ranges.push_back({r.start, r.start + (r.size - 1)});
    return ranges;
}

std::optional<AddressRange> SelectedBanksSpan(const App& app) {
    const DeviceSelection& s = app.selection;
    if (s.SelectedBankCount() == 0) return std::nullopt;
    return AddressRange{s.SelectedBanksLowestStart(), s.SelectedBanksHighestEnd()};
}

std::vector<AddressRange> ImageCrcRanges(const App& app) {
    const DeviceSelection& s = app.selection;
    const int additionalBank = s.BankTotal() - 1;
    if (s.additional.size == 0 || additionalBank >= kBankFlags ||
        !s.bankFlags[static_cast<std::size_t>(additionalBank)])
        return ImageProgramRanges(app);
    ProgramRanges ranges = s.programRanges;
    InsertProgramRange(ranges, s.additional.start, s.additional.size);
    std::vector<AddressRange> out;
    for (const BankRange& r : ranges)
        if (r.size != 0) out.push_back({r.start, r.start + (r.size - 1)});
    return out;
}

uint32_t GetImageCrc(App& app) {
    if (app.selection.SelectedBanksSize() == 0) {
        app.doc.MarkCrcStale();
        return 0;
    }
    return app.doc.GetImageCrc(ImageCrcRanges(app), ImageFillByte(app));
}

bool AreasInsideDevice(const App& app) {
    return app.doc.AreasInsideDevice(ImageProgramRanges(app));
}

} // namespace vantrel
