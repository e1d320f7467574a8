#pragma once
// The dump view's state and what its events do, without a toolkit: the caret (a nibble
// column 0..31 and a row of the lines shown), the scroll position in lines, the keys, the left
// button, resizing, the document's update, and the nibble edit with its one question. The
// widget measures the font, forwards the events, carries out the action a key returns (beep,
// repaint) and draws DumpViewLines.
#include <cstdint>
#include <optional>
#include <vector>

#include "ui/DumpViewLayout.h"
#include "ui/DumpViewLines.h"
#include "ui/ViewTextMetrics.h"

namespace vantrel {

struct App;

// Key codes as the view compares them (bit 7 of the code cleared first). The widget maps its
// toolkit's keys to these: digits and letters are their upper-case characters, keys that
// produce no character (shift, control, tab, return, escape) are below 32.
namespace dumpkey {
inline constexpr int kPageUp = 0x21;
inline constexpr int kPageDown = 0x22;
inline constexpr int kEnd = 0x23;
inline constexpr int kHome = 0x24;
inline constexpr int kLeft = 0x25;
inline constexpr int kUp = 0x26;
inline constexpr int kRight = 0x27;
inline constexpr int kDown = 0x28;
inline constexpr int kInsert = 0x2D;
inline constexpr int kDelete = 0x2E;
inline constexpr int kF1 = 0x70;
inline constexpr int kOther = 0x3A; // a key with a character of no meaning here
} // namespace dumpkey

// What a key asks of the widget after the model handled it.
struct DumpKeyAction {
    int64_t scrollAsked = 0; // lines the key asked to scroll (negative: up)
    int64_t scrolled = 0;    // lines the view did scroll (within 0 and the maximum)
    bool beep = false;
    std::optional<uint64_t> repaintAddress; // the byte whose hex and ASCII cells changed
};

struct CaretPoint {
    int x = 0;
    int y = 0;
};

class DumpViewModel {
  public:
    explicit DumpViewModel(App& app);

    // The measured text extents of the window's font (the next update or resize uses them).
    void SetMetrics(const ViewTextMetrics& metrics) { metrics_ = metrics; }
    // The document changed: new layout, top of the image, caret on the first nibble.
    void OnUpdate(int clientHeight);
    // The client area got another height: new layout; the caret row stays visible.
    void OnResize(int clientHeight);
    DumpKeyAction OnKey(int keyCode);
    // A click in the client area: the high nibble of the byte clicked becomes the caret.
    void OnLeftButton(int x, int y);
    // Scrolls by `lines` within 0 and the maximum; returns the lines it did scroll.
    int64_t ScrollBy(int64_t lines);

    const DumpViewLayout& Layout() const { return layout_; }
    int64_t ScrollPosition() const { return scroll_; }
    int CaretColumn() const { return column_; }
    int64_t CaretRow() const { return row_; }
    CaretPoint Caret() const { return caret_; }
    // The address under the caret.
    uint64_t CaretAddress() const;

    // The lines to draw now (takes the image lock while it reads).
    std::vector<DumpLine> Lines(int clientHeight) const;

  private:
    void Recompute(int clientHeight);
    // Moves the caret by columns and rows with the edge rules; returns the lines of scroll
    // that asked for (-1, 0 or 1).
    int64_t Move(int dColumns, int64_t dRows);
    void PlaceCaret();
    // The nibble under the caret gets `digit`; false when the user declined the edit.
    bool EditNibble(int digit);

    App& app_;
    ViewTextMetrics metrics_;
    DumpViewLayout layout_;
    int64_t scroll_ = 0;
    int column_ = 0;
    int64_t row_ = 0;
    CaretPoint caret_;
    // The user said Yes to editing since the last update: an edit that changed no byte leaves
    // the document's edited-address list empty, and must not bring the question back.
    bool editConfirmed_ = false;
};

} // namespace vantrel
