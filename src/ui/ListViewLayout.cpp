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

void ListAreaIndex::Refresh(const LockedImage& image) {
    if (made_ && revision_ == image->Revision() && starts_.size() == image->AreaCount()) return;
    starts_.clear();
    starts_.reserve(image->AreaCount());
    image->ForEachArea([this](uint64_t start, const ImageRun&) { starts_.push_back(start); });
    revision_ = image->Revision();
    made_ = true;
}

std::vector<ListRow> ListViewRows(const LockedImage& image, ListAreaIndex& index, std::size_t first,
                                  std::size_t count) {
    index.Refresh(image);
    const std::vector<uint64_t>& starts = index.Starts();
    std::vector<ListRow> rows;
    if (first >= starts.size() || count == 0) return rows;
    const std::size_t last = first + std::min(count, starts.size() - first);
    rows.reserve(last - first);
    for (std::size_t i = first; i < last; ++i) {
        uint64_t cursor = starts[i];
        const ImageRun run = image->NextRun(cursor);
        ListRow row;
        row.number = UTIL_format("%.4d", {i + 1});
        row.start = UTIL_format("%.6X", {cursor});
        row.length = UTIL_format("%.6X", {run.length});
        if (i + 1 < starts.size())
            row.gap = UTIL_format("%.6X", {starts[i + 1] - (cursor + run.length)});
        const std::size_t shown =
            static_cast<std::size_t>(std::min<uint64_t>(run.length, ListViewLayout::kBytesShown));
        for (std::size_t k = 0; k < shown; ++k) {
            row.bytes.push_back(run.data[k]);
            row.hex.push_back(UTIL_format("%.2X", {run.data[k]}));
            row.text.push_back(ListCharacter(run.data[k]));
        }
        rows.push_back(std::move(row));
    }
    return rows;
}

std::vector<ListRow> ListViewRows(const LockedImage& image, std::size_t first, std::size_t count) {
    ListAreaIndex index;
    return ListViewRows(image, index, first, count);
}

} // namespace vantrel
