#include "dialogs/FillingDialog.h"

#include "app/App.h"
#include "dialogs/OptionDialogText.h"

namespace vantrel {

FillByteReading ReadFillByteText(const std::string& text) {
    std::size_t at = 0;
    while (at < text.size() && (text[at] == ' ' || text[at] == '\t'))
        ++at;
    if (at == text.size()) return {std::nullopt, "Expecting a value"};
    int32_t value = 0;
    for (; at < text.size(); ++at) {
        const char c = text[at];
        int digit;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        else
            return {std::nullopt, "Not a Hex value !"};
        value = value * 16 + digit;
    }
    return {value, nullptr};
}

FillingDialog::FillingDialog(App& app) : app_(app) {
    const ProgramOptions& o = app.options;
    checked_ = {o.enableAC,  o.clearOnDemand, o.clearReadoutProtection,
                o.enableVBP, o.detailedError, o.enableIdCheck};
    SetFillText(LowerHex(static_cast<uint32_t>(app.selection.fillByte & 0xFF)));
}

void FillingDialog::SetFillText(const std::string& typed) {
    fillText_ = UpperCaseEdit(typed, 2);
}

bool FillingDialog::Ok() {
    const FillByteReading reading = ReadFillByteText(fillText_);
    if (!reading.value) {
        APP_ReportError(app_, 0, reading.message);
        focus_ = kFillingEditId;
        return false;
    }
    ProgramOptions& o = app_.options;
    o.enableAC = checked_[0];
    o.clearOnDemand = checked_[1];
    o.clearReadoutProtection = checked_[2];
    o.enableVBP = checked_[3];
    o.detailedError = checked_[4];
    o.enableIdCheck = checked_[5];
    app_.selection.SetFillByte(*reading.value);
    return true;
}

} // namespace vantrel
