#include "ui/ListViewLayout.h"

#include <algorithm>

#include "base/UtilSnprintf.h"

namespace vantrel {

ListViewLayout ComputeListViewLayout(const ViewTextMetrics& metrics) {
    ListViewLayout layout;
    layout.startX = metrics.fourZerosWidth + 17;
    layout.lengthX = layout.startX + metrics.eightZerosWidth + 12;
    layout.gapX = layout.lengthX + metrics.sixZerosWidth + 12;
    layout.dataX = layout.gapX + metrics.eightZerosWidth + 12;
    layout.dataCellWidth = metrics.xxWidth + 4;
    layout.asciiX = layout.dataX + ListViewLayout::kBytesShown * layout.dataCellWidth + 10;
    layout.asciiCellWidth = metrics.mWidth + 2;
    layout.lineY = metrics.zeroHeight + 5;
    layout.firstRowY = layout.lineY + 5;
    layout.rowHeight = metrics.xxxxHeight;
    return layout;
}

std::vector<ListHeader> ListViewHeaders(const ListViewLayout& layout) {
    return {{"Area", ListViewLayout::kAreaX}, {"Adr.", layout.startX},
            {"Len.", layout.lengthX},         {"Gap", layout.gapX},
            {"Data (hex)", layout.dataX},     {"ASCII", layout.asciiX}};
}

char ListCharacter(uint8_t value) {
    return value >= 0x20 && value <= 0x7F ? static_cast<char>(value) : '.';
}

std::vector<ListRow> ListViewRows(const LockedImage& image, std::size_t first, std::size_t count) {
    std::vector<ListRow> rows;
    const std::size_t areas = image->AreaCount();
    if (first >= areas || count == 0) return rows;
    const std::size_t last = first + std::min(count, areas - first); // one past the last row
    rows.reserve(last - first);
    std::size_t index = 0;
    uint64_t previousEnd = 0; // one past the last byte of the row before
    image->ForEachAreaWhile([&](uint64_t start, const ImageRun& run) {
        if (index >= first) {
            if (!rows.empty()) rows.back().gap = UTIL_format("%.6X", {start - previousEnd});
            if (index == last) return false; // the area after the last row gave its gap
            ListRow row;
            row.number = UTIL_format("%.4d", {index + 1});
            row.start = UTIL_format("%.6X", {start});
            row.length = UTIL_format("%.6X", {run.length});
            const std::size_t shown = static_cast<std::size_t>(
                std::min<uint64_t>(run.length, ListViewLayout::kBytesShown));
            for (std::size_t i = 0; i < shown; ++i) {
                row.hex.push_back(UTIL_format("%.2X", {run.data[i]}));
                row.text.push_back(ListCharacter(run.data[i]));
            }
            rows.push_back(std::move(row));
            previousEnd = start + run.length;
        }
        ++index;
        return true;
    });
    return rows;
}

} // namespace vantrel
