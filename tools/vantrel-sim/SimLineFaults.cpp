#include "SimLineFaults.h"

namespace vantrel::sim {

void LineFaults::Apply(uint8_t byte, std::vector<uint8_t>& out) {
    ++counts_.bytes;
    if (!rates_.Any()) {
        out.push_back(byte);
        return;
    }
    const double r = std::uniform_real_distribution<double>(0.0, 1.0)(rng_);
    if (r < rates_.drop) {
        ++counts_.dropped;
    } else if (r < rates_.drop + rates_.corrupt) {
        ++counts_.corrupted;
        out.push_back(static_cast<uint8_t>(byte ^ (1u << (rng_() % 8))));
    } else if (r < rates_.drop + rates_.corrupt + rates_.duplicate) {
        ++counts_.duplicated;
        out.push_back(byte);
        out.push_back(byte);
    } else {
        out.push_back(byte);
    }
}

} // namespace vantrel::sim
