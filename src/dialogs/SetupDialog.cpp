#include "dialogs/SetupDialog.h"

#include <cctype>

#include "app/App.h"

namespace vantrel {

namespace {

constexpr const char* kSetupCaption = "VANTREL";

int ChoiceOf(uint8_t value, std::size_t count) {
    return value < count ? value : -1;
}

uint8_t ValueOf(int choice, uint8_t asRead) {
    return choice < 0 ? asRead : static_cast<uint8_t>(choice);
}

bool Blank(char c) {
    return c == ' ' || c == '\t';
}

} // namespace

SetupNumber ReadSetupNumber(const std::string& text, int64_t minimum, int64_t maximum) {
    std::size_t at = 0;
    while (at < text.size() && Blank(text[at]))
        ++at;
    bool negative = false;
    if (at < text.size() && (text[at] == '-' || text[at] == '+')) negative = text[at++] == '-';
    const std::size_t digits = at;
    int64_t value = 0;
    bool tooLarge = false;
    for (; at < text.size() && std::isdigit(static_cast<unsigned char>(text[at])); ++at) {
        value = value * 10 + (text[at] - '0');
        if (value > 0xFFFFFFFFLL) { // no edit holds more; stop before it overflows
            tooLarge = true;
            value = 0xFFFFFFFFLL;
        }
    }
    const bool noDigits = at == digits;
    while (at < text.size() && Blank(text[at]))
        ++at;
    if (noDigits || at != text.size() || tooLarge)
        return {std::nullopt, "Please enter an integer."};
    if (negative) value = -value;
    if (value < minimum || value > maximum)
        return {std::nullopt, "Please enter an integer between " + std::to_string(minimum) +
                                  " and " + std::to_string(maximum) + "."};
    return {value, {}};
}

SetupDialog::SetupDialog(App& app) : app_(app) {
    read_ = ReadSetupRecord(app.pm.Setup());
    powerUp = ChoiceOf(read_.powerUpMode, kPowerUpModes.size());
    powerDown = ChoiceOf(read_.powerDownMode, kPowerDownModes.size());
    resetMode = ChoiceOf(read_.resetMode, kResetModes.size());
    resetOutput = ChoiceOf(read_.resetOutputMode, kResetOutputModes.size());
    resetActive = std::to_string(read_.resetActiveMs);
    resetInactive = std::to_string(read_.resetInactiveMs);
    // The number is signed in the dialog: one above 0x7FFFFFFF shows as 0.
    const auto serial = static_cast<int32_t>(read_.serialNumber);
    serial_ = std::to_string(serial < 0 ? 0 : serial);
}

void SetupDialog::SetDefaults() {
    resetActive = "20";
    resetInactive = "500";
    powerUp = 0;
    powerDown = 0;
    resetMode = 0;
    resetOutput = 0;
}

bool SetupDialog::Save() {
    struct Field {
        const std::string& text;
        int64_t minimum, maximum;
        int id;
    };
    // The serial number is no input: the programmer refuses a change (its error 64), and a
    // number the field cannot show as it is (above 999999999, or shown as 0) must neither keep
    // the dialog from saving nor be replaced. It goes back as it was read.
    const Field fields[] = {{resetActive, 1, 2000, kSetupResetActiveId},
                            {resetInactive, 1, 2000, kSetupResetInactiveId}};
    int64_t values[2] = {};
    for (std::size_t i = 0; i < 2; ++i) {
        const SetupNumber n = ReadSetupNumber(fields[i].text, fields[i].minimum, fields[i].maximum);
        if (!n.value) {
            app_.ui.MessageBox(n.message, kSetupCaption, MsgButtons::Ok, MsgIcon::Warning,
                               MsgAnswer::Ok);
            focus_ = fields[i].id;
            return false;
        }
        values[i] = *n.value;
    }
    SetupRecord r;
    r.powerUpMode = ValueOf(powerUp, read_.powerUpMode);
    r.powerDownMode = ValueOf(powerDown, read_.powerDownMode);
    r.resetMode = ValueOf(resetMode, read_.resetMode);
    r.resetOutputMode = ValueOf(resetOutput, read_.resetOutputMode);
    r.serialNumber = read_.serialNumber;
    r.resetActiveMs = static_cast<uint16_t>(values[0]);
    r.resetInactiveMs = static_cast<uint16_t>(values[1]);
    // Only a block read from the programmer may go back: the rest of it is the programmer's.
    // Changing it and asking for the write is one step, so the link never sends half of it.
    const bool written = app_.pm.Update([&](LinkShared& s) {
        if (!s.setupBlockValid) return false;
        WriteSetupRecord(r, s.setupBlock);
        s.setupWritePending = true; // PM_RequestSetupWrite
        return true;
    });
    if (!written) {
        app_.ui.MessageBox("The setup has not been read from the Vantrel yet.\r\nNothing was "
                           "saved.",
                           kSetupCaption, MsgButtons::Ok, MsgIcon::Warning, MsgAnswer::Ok);
        return false;
    }
    return true;
}

void AfterSetupDialog(App& app) {
    app.doc.MarkCrcStale();
}

} // namespace vantrel
