#pragma once
// The summary view without a toolkit: what is loaded (left column "File") beside what the
// programmer reports (right column "Target"). A snapshot of the watched values goes in; out come
// the rows with their texts and colours, where each row is drawn for the measured font, and,
// tick by tick, which rows changed and have to be drawn again.
//
// Rows keep their place: row r is drawn at y = r * h + 5 (the header at 0) whether or not the
// rows above it are shown, so a hidden row leaves a gap.
#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "base/ProgrammerStatus.h"

namespace vantrel {

struct App;

// Everything the view shows, copied at one moment.
struct SummaryInputs {
    // Left column: the memory image.
    bool imageEmpty = true;
    uint64_t firstAddress = 0;
    uint64_t lastAddress = 0;
    bool fitsDevice = true;
    uint64_t byteCount = 0;
    bool showCrc = true; // no external area set
    uint16_t imageCrc = 0;
    bool showId = false; // the device takes ID bytes
    std::array<uint8_t, 7> idBytes{};
    unsigned idLength = 0;

    // Right column: the selection and the programmer.
    std::string deviceName;
    bool bootWarning = false;
    std::vector<std::pair<uint32_t, uint32_t>> bankRanges; // first, last
    int selectedInterface = 0;
    bool displayBootloader = false;
    uint8_t vMin = 0; // units of 100 mV
    uint8_t vMax = 0;
    uint8_t vpp = 0;
    ProgrammerStatus status;
};

// Reads the snapshot from the application. While the image is being read back its rows keep
// what `previous` showed (the link thread is filling it).
SummaryInputs GatherSummary(App& app, const SummaryInputs& previous);

enum class SummaryColour { Label, Value, LeftValue, Red, Green };
// 0xRRGGBB.
uint32_t SummaryRgb(SummaryColour colour);

enum class SummaryRowId {
    FileHeader,
    NoData,
    ImageRange,
    Bytes,
    Crc,
    IdBytes,
    IdAscii,
    TargetHeader,
    Device,
    TargetRange,
    Interface,
    ProgrammerCrc,
    Status,
    Vin,
    Firmware,
    Result,
    CurrentAddress,
    TargetVcc,
    Bootloader
};

struct SummaryRow {
    SummaryRowId id;
    int column = 0; // 0 left, 1 right
    int row = 0;
    std::string label;
    std::string value;
    SummaryColour colour = SummaryColour::Value;
    bool operator==(const SummaryRow&) const = default;
};

// The rows shown for a snapshot, left column first.
std::vector<SummaryRow> SummaryRows(const SummaryInputs& in);

struct SummaryRect {
    int left = 0, top = 0, right = 0, bottom = 0;
    bool operator==(const SummaryRect&) const = default;
};

// Where rows go for one font: h is the height of "XX", widths come from `textWidth`.
class SummaryLayout {
  public:
    SummaryLayout(int rowHeight, std::function<int(const std::string&)> textWidth);

    int RowHeight() const { return h_; }
    int RowY(int row) const { return row == 0 ? 0 : row * h_ + 5; }
    int LabelX(int column) const { return column == 0 ? 5 : rightX_; }
    int ValueX(int column) const { return column == 0 ? leftValueX_ : rightValueX_; }
    // The header's underline: from x = 5 to 155 on the left, 150 pixels on the right (longer
    // when the header text is).
    std::pair<int, int> Underline(int column) const;
    // The band a row's label and value were drawn in: what to invalidate when it changes.
    SummaryRect RowRect(const SummaryRow& row) const;
    // The size the drawn texts need (for scrolling).
    std::pair<int, int> Extent(const std::vector<SummaryRow>& rows) const;

  private:
    int h_;
    std::function<int(const std::string&)> width_;
    int leftValueX_;
    int rightX_;
    int rightValueX_;
};

// The rows of the last tick and what a new tick changed.
class SummaryModel {
  public:
    struct Changes {
        bool whole = false;             // the programmer state changed (or the first tick)
        std::vector<SummaryRow> rows{}; // rows to draw again: old and new places
    };
    Changes Update(const SummaryInputs& in);
    const std::vector<SummaryRow>& Rows() const { return rows_; }
    const SummaryInputs& Inputs() const { return inputs_; }

  private:
    bool first_ = true;
    SummaryInputs inputs_;
    std::vector<SummaryRow> rows_;
};

} // namespace vantrel
