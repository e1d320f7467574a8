#pragma once
// What the dump view draws for one scroll position: the visible lines only, each with its
// address text and 16 cells (value, hex text, character, colour class). Made under the image
// lock in one pass over the runs of the lines shown, so a page costs the same in an image of
// one area as in one of 100 000.
#include <array>
#include <cstdint>
#include <vector>

#include "image/HexDoc.h"
#include "ui/DumpViewLayout.h"

namespace vantrel {

// How a byte is coloured: edited white on red, defined grey on white, undefined (the fill
// byte) red on white.
enum class DumpCellKind : uint8_t { Edited, Defined, Undefined };

struct DumpCell {
    uint8_t value = 0;
    DumpCellKind kind = DumpCellKind::Undefined;
    char hex[3] = {};     // "%.2X"
    char character = '.'; // the byte for 0x21..0x7F, else "."
};

struct DumpLine {
    uint64_t address = 0;
    char addressText[9] = {}; // "%.6X" or "%.8X"
    std::array<DumpCell, DumpViewLayout::kBytesPerLine> cells;
};

// The dump's character for a byte (a blank shows as ".").
char DumpCharacter(uint8_t value);
void FillDumpCell(DumpCell& cell, uint8_t value, DumpCellKind kind);

// The lines shown at `scrollPosition` in a client area `clientHeight` high: as many as fit,
// one more for a part-shown line at the bottom, none past the image's last line.
std::vector<DumpLine> DumpViewLines(const LockedImage& image, const DumpViewLayout& layout,
                                    int64_t scrollPosition, int clientHeight, uint8_t fill);

} // namespace vantrel
