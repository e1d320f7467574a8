#pragma once
// Small pieces the fuzz targets share.
#include <cstdint>
#include <string_view>

#include "base/Reporter.h"
#include "image/MemoryImage.h"

namespace vantrel::fuzz {

// Errors go nowhere: a target judges results, not the texts on their way to the user.
class QuietReporter : public Reporter {
  public:
    using Reporter::Report;
    void Report(int32_t, const char*) override {}
};

// The same bytes at the same addresses, in the same areas.
inline bool SameImage(const MemoryImage& a, const MemoryImage& b) {
    if (a.TotalBytes() != b.TotalBytes() || a.AreaCount() != b.AreaCount()) return false;
    uint64_t ca = 0, cb = 0;
    for (;;) {
        ImageRun ra = a.NextRun(ca), rb = b.NextRun(cb);
        if (ra.length != rb.length || ca != cb) return false;
        if (ra.length == 0) return true;
        if (std::string_view(reinterpret_cast<const char*>(ra.data), ra.length) !=
            std::string_view(reinterpret_cast<const char*>(rb.data), rb.length))
            return false;
        ca += ra.length;
        cb += rb.length;
    }
}

} // namespace vantrel::fuzz
