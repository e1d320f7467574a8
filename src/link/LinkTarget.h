#pragma once
// What the link thread needs to know of the selected target, as one copy: the configuration
// frame, the address offset, where the selected banks lie, and the device record for the
// support check. The main thread makes it from the device selection and the options and hands
// it to the protocol manager, so the link thread never reads the selection while the main
// thread changes it.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "device/DeviceRecord.h"
#include "device/ProgramRanges.h"

namespace vantrel {

class DeviceSelection;
struct ProgramOptions;

struct LinkTarget {
    bool published = false; // nothing is sent before the first target arrives
    // The configuration with 0 in its session field; empty when it cannot be built, and then
    // `problem` says why.
    std::vector<uint8_t> config;
    std::size_t sessionOffset = 0;
    std::string problem;
    uint32_t addressOffset = 0; // the device's flash offset
    uint32_t lowestStart = 0;   // of the selected banks
    uint32_t highestEnd = 0;    // inclusive
    ProgramRanges programRanges;
    std::optional<DeviceRecord> device;

    // The configuration with `sessionField` in its session slot.
    std::vector<uint8_t> ConfigWithSession(uint32_t sessionField) const;
};

LinkTarget MakeLinkTarget(const DeviceSelection& selection, const ProgramOptions& options);

} // namespace vantrel
