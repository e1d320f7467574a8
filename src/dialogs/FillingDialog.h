#pragma once
// The "Filling & Misc. options" dialog without a toolkit: the fill byte edit and the six option
// check boxes, taken from the options and the device selection when it opens, checked and
// committed on OK. The edit forces upper case and holds two characters.
#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace vantrel {

struct App;

inline constexpr int kFillingEditId = 100;

struct FillingCheckBox {
    int id;
    const char* text;
};

// In the order OK stores them: EnableAC, ClearOnDemand, ClearReadoutProtection, EnableVBP,
// DetailedError, EnableIdCheckFunction.
inline constexpr std::array<FillingCheckBox, 6> kFillingCheckBoxes{{
    {101, "&Automatic clear before program"},
    {102, "&Clear on demand, after blank check"},
    {103, "&Automatically clear readout protection"},
    {104, "&Do not verify blank pages"},
    {105, "&Detailed errorlevel on return"},
    {106, "&Perform file check functions in batch mode"},
}};

// The fill byte edit's text read as OK reads it: blanks skipped, then upper-case hex digits.
// The message when it cannot be read ("Expecting a value", "Not a Hex value !").
struct FillByteReading {
    std::optional<int32_t> value;
    const char* message = nullptr;
};
FillByteReading ReadFillByteText(const std::string& text);

class FillingDialog {
  public:
    explicit FillingDialog(App& app); // the working copy
    std::string FillText() const { return fillText_; }
    // What typing leaves in the edit: upper case, at most two characters.
    void SetFillText(const std::string& typed);
    bool Checked(int index) const { return checked_[static_cast<std::size_t>(index)]; }
    void SetChecked(int index, bool checked) {
        checked_[static_cast<std::size_t>(index)] = checked;
    }
    // Box 102 may only be used while 101 is checked; its own state stays.
    bool ClearOnDemandEnabled() const { return checked_[0]; }
    // The control that has the focus (OK when opened, the edit after a refused value).
    int Focus() const { return focus_; }
    // OK: a bad fill byte is reported (code 0) and the dialog stays (false); otherwise the
    // options and the fill byte are stored and the dialog may close (true).
    bool Ok();

  private:
    App& app_;
    std::string fillText_;
    std::array<bool, 6> checked_{};
    int focus_ = 1;
};

} // namespace vantrel
