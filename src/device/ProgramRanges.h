#pragma once
// The program ranges: the selected banks as (start, size) ranges sorted by start and joined
// where they touch. A range is inserted by growing a range it touches (then joining one pair
// of neighbours that now touch) or, failing that, in front of the first range that starts
// above it.
#include <cstdint>
#include <optional>
#include <vector>

#include "device/DeviceRecord.h"

namespace vantrel {

using ProgramRanges = std::vector<BankRange>;

void InsertProgramRange(ProgramRanges& ranges, uint32_t start, uint32_t size);

// True when one range holds all of [address, address + length).
bool InProgramRanges(const ProgramRanges& ranges, uint32_t address, uint32_t length);
uint64_t ProgramRangesSize(const ProgramRanges& ranges);
// The offset of `address` in the ranges laid end to end; 0 when it lies in none.
uint64_t ProgramRangesOffset(const ProgramRanges& ranges, uint32_t address);
// The first address at or after `address` that lies in a range.
std::optional<uint32_t> NextProgramAddress(const ProgramRanges& ranges, uint32_t address);
// The progress of the programmer's current address in percent, 0..100; 0 when the ranges
// hold fewer than 100 bytes.
int ProgramProgressPercent(const ProgramRanges& ranges, uint32_t address);

} // namespace vantrel
