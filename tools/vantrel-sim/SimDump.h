#pragma once
// What the emulator leaves behind for a test to compare: the programmer buffer (every address
// ever written) and the target flash (the configured banks, erased bytes as 0xFF), as Motorola
// S-record files.
#include <string>
#include <vector>

#include "SimStore.h"
#include "SimTargetConfig.h"

namespace vantrel::sim {

// The target's bytes over the banks.
MemoryImage TargetOverBanks(const ByteStore& target, const std::vector<Bank>& banks);

// Writes the image as an S-record file; returns an error text, or empty on success.
std::string DumpSRecords(const MemoryImage& image, const std::string& path);

} // namespace vantrel::sim
