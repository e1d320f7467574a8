#pragma once
// Texts of the one error-code space (programmer results 1..95, the PC's own codes 202..232),
// of the programmer states, and the programmer model names and version texts.
#include <cstdint>
#include <string>

#include "base/ProgrammerStatus.h"

namespace vantrel {

// The long text of an error code; codes 2, 3 and 4 format the failing address and bytes of
// `status`, -1 depends on its state.
std::string ErrorText(int32_t code, const ProgrammerStatus& status);
// The short text of the status's result code (summary view).
std::string ResultText(const ProgrammerStatus& status);
std::string StateText(uint8_t state);

// The model name of the connected programmer.
std::string HardwareName(const ProgrammerStatus& status);
// The hardware version used for the device's supported-hardware ranges.
uint16_t EffectiveHardwareVersion(const ProgrammerStatus& status);
// "%d.%.2d", with a letter for a revision other than 0 (1 = a, 2 = b, ...).
std::string FirmwareVersionText(uint32_t version);
// The programmer firmware the PC program works with.
bool FirmwareAccepted(uint32_t version);

} // namespace vantrel
