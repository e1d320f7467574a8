#include "ui/DumpViewLines.h"

#include <algorithm>

#include "base/UtilSnprintf.h"

namespace vantrel {

char DumpCharacter(uint8_t value) {
    return value >= 0x21 && value <= 0x7F ? static_cast<char>(value) : '.';
}

void FillDumpCell(DumpCell& cell, uint8_t value, DumpCellKind kind) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    cell.value = value;
    cell.kind = kind;
    cell.hex[0] = kDigits[value >> 4];
    cell.hex[1] = kDigits[value & 15];
    cell.hex[2] = 0;
    cell.character = DumpCharacter(value);
}

std::vector<DumpLine> DumpViewLines(const LockedImage& image, const DumpViewLayout& layout,
                                    int64_t scrollPosition, int clientHeight, uint8_t fill) {
    std::vector<DumpLine> lines;
    if (layout.yDist <= 0 || scrollPosition < 0 || scrollPosition >= layout.totalLines)
        return lines;
    const uint64_t top = layout.firstLine + 16 * static_cast<uint64_t>(scrollPosition);
    const uint64_t end = image->EndAddress();
    const int64_t fit = std::max(clientHeight, 0) / layout.yDist + 1;
    const int64_t count =
        end < top ? 1 : std::min<int64_t>(fit, static_cast<int64_t>((end - top) / 16) + 1);
    lines.resize(static_cast<std::size_t>(count));

    const bool anyEdited = !image.EditedAddresses().empty();
    uint64_t cursor = top;
    ImageRun run = image->NextRun(cursor); // the run at or after `cursor`, which it moved there
    uint64_t address = top;
    for (DumpLine& line : lines) {
        line.address = address;
        UTIL_snprintf(line.addressText, sizeof line.addressText, layout.AddressFormat(),
                      {static_cast<uint32_t>(address)});
        for (DumpCell& cell : line.cells) {
            while (run.length != 0 && cursor + run.length <= address) {
                cursor += run.length;
                run = image->NextRun(cursor);
            }
            if (run.length != 0 && address >= cursor) {
                DumpCellKind kind = anyEdited && image.IsEdited(static_cast<uint32_t>(address))
                                        ? DumpCellKind::Edited
                                        : DumpCellKind::Defined;
                FillDumpCell(cell, run.data[address - cursor], kind);
            } else {
                FillDumpCell(cell, fill, DumpCellKind::Undefined);
            }
            ++address;
        }
    }
    return lines;
}

} // namespace vantrel
