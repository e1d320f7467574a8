#include "link/LinkTarget.h"

#include <span>

#include "base/LittleEndian.h"
#include "device/DeviceSelection.h"
#include "link/TargetConfig.h"

namespace vantrel {

namespace {

// The session field follows the identification bytes, whose count is at offset 14.
constexpr std::size_t kIdCountOffset = 14;
constexpr std::size_t kSessionAfterId = 16;

} // namespace

std::vector<uint8_t> LinkTarget::ConfigWithSession(uint32_t sessionField) const {
    std::vector<uint8_t> out = config;
    if (sessionOffset + 4 <= out.size())
        WriteLittleEndian(std::span(out).subspan(sessionOffset, 4), sessionField);
    return out;
}

LinkTarget MakeLinkTarget(const DeviceSelection& selection, const ProgramOptions& options) {
    LinkTarget target;
    target.published = true;
    if (auto config = BuildTargetConfig(selection, options, 0, target.problem)) {
        target.config = std::move(*config);
        target.sessionOffset = kSessionAfterId + target.config[kIdCountOffset];
    }
    const DeviceRecord* device = selection.SelectedDevice();
    if (device) target.device = *device;
    target.addressOffset = device ? device->flashOffset : 0;
    target.lowestStart = selection.SelectedBanksLowestStart();
    target.highestEnd = selection.SelectedBanksHighestEnd();
    target.programRanges = selection.programRanges;
    return target;
}

} // namespace vantrel
