#include "dialogs/ToshibaPasscodeDialog.h"

#include <algorithm>

#include "app/App.h"
#include "base/Hex.h"
#include "base/Reporter.h"
#include "base/TextScanner.h"
#include "base/UtilSnprintf.h"
#include "dialogs/OptionDialogText.h"

namespace vantrel {

namespace {

// An address edit read as the dialog reads it: at most 9 characters, blanks, hex digits within
// the ID range.
std::optional<uint32_t> ReadAddress(const std::string& edit, const ToshibaLimits& limits,
                                    std::string& message) {
    const std::string text = edit.substr(0, 9);
    const char* cursor = text.c_str();
    ScanError error;
    uint32_t value = 0;
    SkipBlanks(cursor);
    ReadHex(error, cursor, value, limits.idRangeFirst, limits.idRangeLast);
    if (error.Failed()) {
        message = error.Text();
        return std::nullopt;
    }
    return value;
}

std::string Failure(const std::string& text) {
    return text.substr(0, kMessageSize - 1);
}

} // namespace

ToshibaCheck CheckToshibaFields(const ToshibaFields& f, const ToshibaLimits& limits) {
    ToshibaValues values;
    std::string reader;
    auto count = ReadAddress(f.countAddress, limits, reader);
    if (!count) return {std::nullopt, Failure(reader + "\nPasscode length address entry invalid")};
    auto compare = ReadAddress(f.compareAddress, limits, reader);
    if (!compare)
        return {std::nullopt, Failure(reader + "\nPasscode data start address \nentry invalid")};
    values.countAddress = *count;
    values.compareAddress = *compare;
    if (f.fill) return {values, {}};

    const std::string& password = f.password;
    int length = static_cast<int>(password.size());
    const int scale = f.hexMode ? 2 : 1;
    if (f.hexMode) {
        if (length % 2 != 0)
            return {std::nullopt, "Odd number of passcode characters \nis illegal in Hexmode !"};
        length /= 2;
    }
    if (length < limits.idLenMin)
        return {std::nullopt, UTIL_format("Passcode entry too short !\nPlease enter at least %d "
                                          "characters.",
                                          {limits.idLenMin * scale})};
    if (length > limits.idLenMax)
        return {std::nullopt, UTIL_format("Passcode entry too long !\nPlease enter a maximum of "
                                          "%d characters.",
                                          {limits.idLenMax * scale})};
    if (!f.hexMode) {
        values.passcode = password;
        return {values, {}};
    }
    for (std::size_t i = 0; i < password.size(); i += 2) {
        const int high = HexDigitValue(password[i]);
        const int low = HexDigitValue(password[i + 1]);
        if (high < 0 || low < 0) return {std::nullopt, "Passcode contains invalid charcters"};
        values.passcode.push_back(static_cast<char>(high * 16 + low));
    }
    return {values, {}};
}

ToshibaPasscodeDialog::ToshibaPasscodeDialog(App& app) : app_(app) {
    Load();
}

void ToshibaPasscodeDialog::Load() {
    DeviceSelection& s = app_.selection;
    fields.fill = !app_.options.enablePasscode;
    fields.hexMode = app_.options.passcodeHex;
    TypeCountAddress(LowerHex(s.ToshibaIdLengthAddress()));
    TypeCompareAddress(LowerHex(s.ToshibaIdAddress()));
    const int length = std::min<int>(s.passcodeLength, kMaxPasscode);
    fields.password.clear();
    for (int i = 0; i < length; ++i) {
        const uint8_t byte = s.passcode[static_cast<std::size_t>(i)];
        if (fields.hexMode)
            fields.password += UTIL_format("%.2X", {byte});
        else
            fields.password += static_cast<char>(byte);
    }
}

void ToshibaPasscodeDialog::TypeCountAddress(const std::string& text) {
    fields.countAddress = UpperCaseEdit(text, kToshibaAddressChars);
}

void ToshibaPasscodeDialog::TypeCompareAddress(const std::string& text) {
    fields.compareAddress = UpperCaseEdit(text, kToshibaAddressChars);
}

void ToshibaPasscodeDialog::TypePassword(const std::string& text) {
    fields.password = text.substr(0, kToshibaPasswordChars);
}

bool ToshibaPasscodeDialog::Ok() {
    DeviceSelection& s = app_.selection;
    ToshibaLimits limits;
    if (const DeviceRecord* device = s.SelectedDevice()) {
        limits = {device->idRangeFirst, device->idRangeLast, device->idLenMin,
                  std::min<int>(device->idLenMax, kMaxPasscode)};
    }
    const ToshibaCheck check = CheckToshibaFields(fields, limits);
    if (!check.values) {
        app_.ui.MessageBox(check.message, kToshibaErrorCaption, MsgButtons::Ok, MsgIcon::None,
                           MsgAnswer::Ok);
        Load();
        return false;
    }
    app_.options.enablePasscode = !fields.fill;
    app_.options.passcodeHex = fields.hexMode;
    s.toshibaIdLengthAddress = check.values->countAddress;
    s.toshibaIdAddress = check.values->compareAddress;
    if (!fields.fill) {
        const std::string& bytes = check.values->passcode;
        s.passcodeLength = static_cast<uint8_t>(bytes.size());
        std::copy(bytes.begin(), bytes.end(), s.passcode.begin());
    }
    return true;
}

} // namespace vantrel
