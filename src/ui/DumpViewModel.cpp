#include "ui/DumpViewModel.h"

#include <algorithm>

#include "app/App.h"
#include "app/DeviceSeam.h"
#include "base/UtilSnprintf.h"
#include "base/Version.h"

namespace vantrel {
namespace {

constexpr int kLastColumn = 31;

// Error 226: a layout value that positions from a point are divided by is 0.
std::string AssertionText(const char* assertion, int line) {
    std::string format = std::string("%s, compiled at %s:\n\nAssertion ") + assertion +
                         " failed in file .\\Src\\HEXViewDump\\HEXViewDump at line %d";
    return UTIL_format(format.c_str(), {VersionString(), BuildTime(), line});
}

int DigitOfKey(int code) {
    if (code >= '0' && code <= '9') return code - '0';
    if (code >= 'A' && code <= 'F') return code - 'A' + 10;
    return -1;
}

} // namespace

DumpViewModel::DumpViewModel(App& app) : app_(app) {}

void DumpViewModel::Recompute(int clientHeight) {
    uint64_t start = 0;
    uint64_t end = 0;
    {
        LockedImage image = app_.doc.Lock();
        start = image->StartAddress();
        end = image->EndAddress();
    }
    layout_ = ComputeDumpViewLayout(metrics_, start, end, clientHeight);
}

void DumpViewModel::OnUpdate(int clientHeight) {
    Recompute(clientHeight);
    scroll_ = 0;
    column_ = 0;
    row_ = 0;
    editConfirmed_ = false;
    PlaceCaret();
}

void DumpViewModel::OnResize(int clientHeight) {
    Recompute(clientHeight);
    scroll_ = std::clamp<int64_t>(scroll_, 0, layout_.ScrollMax());
    row_ = std::min(row_, layout_.CaretRows() - 1);
    PlaceCaret();
}

int64_t DumpViewModel::ScrollBy(int64_t lines) {
    // Any number of lines beyond the whole image scrolls as far as the whole image does.
    const int64_t bound = layout_.totalLines + 1;
    const int64_t target = scroll_ + std::clamp(lines, -bound, bound);
    const int64_t old = scroll_;
    scroll_ = std::clamp<int64_t>(target, 0, layout_.ScrollMax());
    return scroll_ - old;
}

uint64_t DumpViewModel::CaretAddress() const {
    return layout_.firstLine + 16 * static_cast<uint64_t>(scroll_ + row_) +
           static_cast<uint64_t>(column_ / 2);
}

void DumpViewModel::PlaceCaret() {
    caret_.x = layout_.hexColumnStart + column_ * layout_.hexDigitWidth + (column_ / 2) * 10;
    caret_.y = static_cast<int>(row_) * layout_.yDist;
}

int64_t DumpViewModel::Move(int dColumns, int64_t dRows) {
    const int64_t lastRow = layout_.CaretRows() - 1;
    column_ += dColumns;
    if (column_ > kLastColumn) {
        if (scroll_ >= layout_.ScrollMax() && row_ >= lastRow) {
            column_ = 30; // the last byte of the image stays the last
        } else {
            column_ = 0;
            ++dRows;
        }
    } else if (column_ < 0) {
        if (scroll_ <= 0 && row_ <= 0) {
            column_ = 0;
        } else {
            column_ = 30;
            --dRows;
        }
    }
    int64_t scroll = 0;
    const int64_t row = row_ + dRows;
    if (row < 0)
        scroll = -1;
    else if (row > lastRow)
        scroll = 1;
    else
        row_ = row;
    PlaceCaret();
    return scroll;
}

bool DumpViewModel::EditNibble(int digit) {
    bool nothingEdited = false;
    {
        LockedImage image = app_.doc.Lock();
        nothingEdited = image.EditedAddresses().empty();
    }
    if (nothingEdited && !editConfirmed_ &&
        app_.ui.MessageBox("Modify existing data?", "VANTREL", MsgButtons::YesNo, MsgIcon::Question,
                           MsgAnswer::No) != MsgAnswer::Yes)
        return false;
    editConfirmed_ = true;
    app_.doc.SetModifiedFlag(true);

    const uint64_t address = CaretAddress();
    if (address >= kAddressSpace) return true; // no byte can be there
    const uint8_t fill = ImageFillByte(app_);
    uint8_t old = fill;
    {
        LockedImage image = app_.doc.Lock();
        old = image->GetByte(address, fill);
    }
    const uint8_t value = column_ % 2 == 0 ? static_cast<uint8_t>((old & 0x0F) | (digit << 4))
                                           : static_cast<uint8_t>((old & 0xF0) | digit);
    if (value == old) return true;
    app_.doc.SetByte(static_cast<uint32_t>(address), value);
    app_.doc.MarkCrcStale();
    app_.ui.Repaint(); // the other views; this one repaints the two cells itself
    return true;
}

DumpKeyAction DumpViewModel::OnKey(int keyCode) {
    DumpKeyAction action;
    const int code = keyCode & 0x7F;
    switch (code) {
    case dumpkey::kPageUp:
        action.scrollAsked = -layout_.visibleLines;
        break;
    case dumpkey::kPageDown:
        action.scrollAsked = layout_.visibleLines;
        break;
    case dumpkey::kHome: // to the first line, however many lines the image has
        action.scrollAsked = -(layout_.totalLines + 1);
        break;
    case dumpkey::kEnd:
        action.scrollAsked = layout_.totalLines + 1;
        break;
    case dumpkey::kLeft:
        action.scrollAsked = Move(column_ % 2 == 1 ? -1 : -2, 0);
        break;
    case dumpkey::kRight:
        action.scrollAsked = Move(2 - column_ % 2, 0);
        break;
    case dumpkey::kUp:
        action.scrollAsked = Move(0, -1);
        break;
    case dumpkey::kDown:
        action.scrollAsked = Move(0, 1);
        break;
    default:
        if (int digit = DigitOfKey(code); digit >= 0) {
            const uint64_t address = CaretAddress();
            if (EditNibble(digit)) {
                action.repaintAddress = address;
                action.scrollAsked = Move(1, 0);
            }
        } else if (code > 31) {
            action.beep = true;
        }
        break;
    }
    action.scrolled = ScrollBy(action.scrollAsked);
    PlaceCaret();
    return action;
}

void DumpViewModel::OnLeftButton(int x, int y) {
    bool usable = true;
    if (layout_.xDistHex == 0) {
        APP_ReportError(app_, 226, AssertionText("m_xDistHex!=0", 347));
        usable = false;
    }
    if (layout_.yDist == 0) {
        APP_ReportError(app_, 226, AssertionText("m_yDist!=0", 348));
        usable = false;
    }
    if (!usable || layout_.xDistHex < 0 || layout_.yDist < 0) return;
    // Half-open ranges: the pixel right of the 16th cell is no 17th byte.
    const int64_t dx = static_cast<int64_t>(x) - layout_.hexColumnStart;
    if (dx < 0 || dx >= int64_t{16} * layout_.xDistHex) return;
    if (y < 0 || y >= layout_.visibleLines * layout_.yDist) return;
    column_ = static_cast<int>(dx / layout_.xDistHex) * 2;
    row_ = std::min<int64_t>(y / layout_.yDist, layout_.CaretRows() - 1);
    PlaceCaret();
}

std::vector<DumpLine> DumpViewModel::Lines(int clientHeight) const {
    const uint8_t fill = ImageFillByte(app_);
    LockedImage image = app_.doc.Lock();
    return DumpViewLines(image, layout_, scroll_, clientHeight, fill);
}

} // namespace vantrel
