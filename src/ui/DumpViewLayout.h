#pragma once
// Where the dump view puts things, in pixels, from the image's first and last address, the
// measured text extents and the height of the client area. Recomputed on every update and
// resize; it holds nothing of the image itself.
#include <cstdint>

#include "ui/ViewTextMetrics.h"

namespace vantrel {

struct DumpViewLayout {
    static constexpr int kLeftMargin = 5; // x of the address
    static constexpr int kBytesPerLine = 16;

    int yDist = 0;              // line height (m_yDist)
    bool wideAddresses = false; // 8 address digits (the image reaches above 0xFFFFFF), else 6
    int hexColumnStart = 0;     // x of the first byte cell
    int hexDigitWidth = 0;      // one hex digit: a caret step within a byte
    int xDistHex = 0;           // byte cell width (m_xDistHex)
    int asciiCharWidth = 0;     // one character cell of the ASCII column
    int asciiColumnStart = 0;
    uint64_t firstLine = 0;   // address of the first line: StartAddress rounded down to 16
    int64_t totalLines = 0;   // lines from the first address's line to the last address's line
    int64_t visibleLines = 0; // whole lines that fit the client height

    // The largest scroll position (counted in lines): the last line shows at the bottom.
    int64_t ScrollMax() const;
    // Rows the caret may take: whole lines shown that hold image lines, at least one.
    int64_t CaretRows() const;
    // The text of a line's address: "%.6X", or "%.8X" for wide addresses.
    const char* AddressFormat() const { return wideAddresses ? "%.8X" : "%.6X"; }
};

DumpViewLayout ComputeDumpViewLayout(const ViewTextMetrics& metrics, uint64_t startAddress,
                                     uint64_t endAddress, int clientHeight);

} // namespace vantrel
