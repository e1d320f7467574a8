#pragma once
// Faults on the line, for one direction: each byte is lost, changed in one bit, or sent twice
// with the given probabilities (taken in that order, so they never add up to more than one
// fault per byte). A seed makes a run repeatable.
#include <cstdint>
#include <random>
#include <vector>

namespace vantrel::sim {

struct FaultRates {
    double drop = 0;
    double corrupt = 0;
    double duplicate = 0;
    bool Any() const { return drop > 0 || corrupt > 0 || duplicate > 0; }
};

struct FaultCounts {
    uint64_t bytes = 0;
    uint64_t dropped = 0;
    uint64_t corrupted = 0;
    uint64_t duplicated = 0;
};

class LineFaults {
  public:
    LineFaults(FaultRates rates, uint64_t seed) : rates_(rates), rng_(seed) {}
    // Appends what the byte becomes on the line (nothing, itself, a changed byte, or twice).
    void Apply(uint8_t byte, std::vector<uint8_t>& out);
    const FaultCounts& Counts() const { return counts_; }

  private:
    FaultRates rates_;
    std::mt19937_64 rng_;
    FaultCounts counts_;
};

} // namespace vantrel::sim
