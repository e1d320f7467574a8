#pragma once
// The list view: one row per area (number, start, length, gap to the next area, its first 16
// bytes in hex and as text) under a header. Column positions come from the measured text
// extents; rows are made for the areas shown only, under the image lock.
#include <cstdint>
#include <string>
#include <vector>

#include "image/HexDoc.h"
#include "ui/ViewTextMetrics.h"

namespace vantrel {

struct ListViewLayout {
    static constexpr int kBytesShown = 16;
    static constexpr int kHeaderY = 5;
    static constexpr int kAreaX = 5;
    static constexpr int kLineEndX = 32000; // the line under the headers

    int startX = 0;
    int lengthX = 0;
    int gapX = 0;
    int dataX = 0;
    int dataCellWidth = 0;
    int asciiX = 0;
    int asciiCellWidth = 0;
    int lineY = 0;     // the line under the headers
    int firstRowY = 0; // top of the first row
    int rowHeight = 0;

    // Height of the header and `rows` rows: what the view scrolls over.
    int64_t ContentHeight(int64_t rows) const { return firstRowY + rows * rowHeight; }
    // Right end of the widest text (the ASCII cells).
    int ContentWidth() const { return asciiX + kBytesShown * asciiCellWidth; }
};

ListViewLayout ComputeListViewLayout(const ViewTextMetrics& metrics);

struct ListHeader {
    const char* text;
    int x;
};
// "Area", "Adr.", "Len.", "Gap", "Data (hex)", "ASCII" at their x positions.
std::vector<ListHeader> ListViewHeaders(const ListViewLayout& layout);

struct ListRow {
    std::string number;           // "%.4d", counting from 1
    std::string start;            // "%.6X"
    std::string length;           // "%.6X"
    std::string gap;              // "%.6X" to the next area's start; empty for the last area
    std::vector<uint8_t> bytes;   // up to the first 16 bytes of the area
    std::vector<std::string> hex; // the same as "%.2X"
    std::string text;             // the same bytes, 0x20..0x7F as themselves, others "."
};

char ListCharacter(uint8_t value);

// The start of every area, made again only when the image's areas changed: the rows of the
// last page then cost a lookup each, not a walk over every area before them.
class ListAreaIndex {
  public:
    void Refresh(const LockedImage& image);
    const std::vector<uint64_t>& Starts() const { return starts_; }

  private:
    bool made_ = false;
    uint64_t revision_ = 0;
    std::vector<uint64_t> starts_;
};

// Rows `first` to `first + count - 1` (those that exist), in area order.
std::vector<ListRow> ListViewRows(const LockedImage& image, ListAreaIndex& index, std::size_t first,
                                  std::size_t count);
// The same with an index made for this call alone.
std::vector<ListRow> ListViewRows(const LockedImage& image, std::size_t first, std::size_t count);

} // namespace vantrel
