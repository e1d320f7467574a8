#include "dialogs/PasscodeDialog.h"

#include <algorithm>

#include "app/App.h"
#include "base/UtilSnprintf.h"
#include "dialogs/OptionDialogText.h"

namespace vantrel {

int PasscodeByteComboId(int n) {
    return n < 7 ? 1040 + n : 1055 + (n - 7);
}

bool PasscodeDialogEnabled(const App& app) {
    const DeviceRecord* device = app.selection.SelectedDevice();
    return device && device->idLenMax > 0;
}

bool UsesToshibaPasscodeDialog(const App& app) {
    const uint8_t algo = app.selection.EffectiveAlgoS();
    return algo == 139 || algo == 140;
}

const std::vector<std::string>& PasscodeByteItems() {
    static const std::vector<std::string> items = [] {
        std::vector<std::string> texts;
        for (uint32_t v = 0; v < 256; ++v)
            texts.push_back(LowerHex(v));
        return texts;
    }();
    return items;
}

PasscodeDialog::PasscodeDialog(App& app) : app_(app) {
    const DeviceRecord* device = app.selection.SelectedDevice();
    // The store holds 15 bytes, whatever a device file claims.
    if (device) {
        maxLength_ = std::min<int>(device->idLenMax, kMaxPasscode);
        minLength_ = std::min<int>(device->idLenMin, maxLength_);
    }
    for (int n = minLength_; n <= maxLength_; ++n)
        countItems_.push_back(UTIL_format("%d", {n}));
    countIndex_ = std::clamp(app.selection.passcodeLength - minLength_, 0, maxLength_ - minLength_);
    bytes_ = app.selection.passcode;
}

void PasscodeDialog::SelectCount(int index) {
    countIndex_ = std::clamp(index, 0, static_cast<int>(countItems_.size()) - 1);
}

void PasscodeDialog::Ok() {
    DeviceSelection& s = app_.selection;
    const int length = SelectedLength();
    s.passcodeLength = static_cast<uint8_t>(length);
    std::copy_n(bytes_.begin(), length, s.passcode.begin());
}

} // namespace vantrel
