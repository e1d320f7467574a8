#include "device/ProgramRanges.h"

#include <algorithm>

namespace vantrel {
namespace {

uint64_t End(const BankRange& r) {
    return uint64_t{r.start} + r.size;
}

// Joins the first pair of neighbours where one ends at the other's start.
void JoinOnePair(ProgramRanges& ranges) {
    for (std::size_t i = 0; i + 1 < ranges.size(); ++i) {
        if (End(ranges[i]) == ranges[i + 1].start) {
            ranges[i].size += ranges[i + 1].size;
            ranges.erase(ranges.begin() + static_cast<std::ptrdiff_t>(i) + 1);
            return;
        }
    }
}

} // namespace

void InsertProgramRange(ProgramRanges& ranges, uint32_t start, uint32_t size) {
    for (auto& r : ranges) {
        if (uint64_t{start} + size == r.start) {
            r.start = start;
            r.size += size;
            JoinOnePair(ranges);
            return;
        }
        if (End(r) == start) {
            r.size += size;
            JoinOnePair(ranges);
            return;
        }
    }
    auto at = std::find_if(ranges.begin(), ranges.end(),
                           [start](const BankRange& r) { return r.start > start; });
    ranges.insert(at, BankRange{start, size});
}

bool InProgramRanges(const ProgramRanges& ranges, uint32_t address, uint32_t length) {
    for (const auto& r : ranges)
        if (r.start <= address && uint64_t{address} + length <= End(r)) return true;
    return false;
}

uint64_t ProgramRangesSize(const ProgramRanges& ranges) {
    uint64_t total = 0;
    for (const auto& r : ranges)
        total += r.size;
    return total;
}

uint64_t ProgramRangesOffset(const ProgramRanges& ranges, uint32_t address) {
    uint64_t before = 0;
    for (const auto& r : ranges) {
        if (r.start <= address && address < End(r)) return before + (address - r.start);
        before += r.size;
    }
    return 0;
}

std::optional<uint32_t> NextProgramAddress(const ProgramRanges& ranges, uint32_t address) {
    std::optional<uint32_t> next;
    for (const auto& r : ranges) {
        if (r.size == 0 || End(r) <= address) continue;
        uint32_t candidate = std::max(r.start, address);
        if (!next || candidate < *next) next = candidate;
    }
    return next;
}

int ProgramProgressPercent(const ProgramRanges& ranges, uint32_t address) {
    uint64_t total = ProgramRangesSize(ranges);
    if (total < 100) return 0;
    uint64_t percent = ProgramRangesOffset(ranges, address) / (total / 100);
    return static_cast<int>(std::min<uint64_t>(percent, 100));
}

} // namespace vantrel
