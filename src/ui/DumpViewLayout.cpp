#include "ui/DumpViewLayout.h"

#include <algorithm>

namespace vantrel {

int64_t DumpViewLayout::ScrollMax() const {
    return std::max<int64_t>(0, totalLines - std::max<int64_t>(visibleLines, 1));
}

int64_t DumpViewLayout::CaretRows() const {
    return std::max<int64_t>(1, std::min(totalLines, visibleLines));
}

DumpViewLayout ComputeDumpViewLayout(const ViewTextMetrics& metrics, uint64_t startAddress,
                                     uint64_t endAddress, int clientHeight) {
    DumpViewLayout layout;
    layout.yDist = metrics.zeroHeight + 1;
    layout.wideAddresses = endAddress > 0xFFFFFF;
    layout.hexColumnStart = (layout.wideAddresses ? 8 : 6) * metrics.zeroWidth + 5 + 12;
    layout.hexDigitWidth = metrics.eWidth;
    layout.xDistHex = 2 * metrics.eWidth + 10;
    layout.asciiCharWidth = metrics.atWidth;
    layout.asciiColumnStart =
        DumpViewLayout::kBytesPerLine * layout.xDistHex + layout.hexColumnStart + 12;
    layout.firstLine = startAddress / 16 * 16;
    layout.totalLines =
        static_cast<int64_t>(endAddress / 16) - static_cast<int64_t>(startAddress / 16) + 1;
    // A font without height leaves no whole line (and nothing to divide by).
    layout.visibleLines = layout.yDist > 0 ? std::max(clientHeight, 0) / layout.yDist : 0;
    return layout;
}

} // namespace vantrel
