#pragma once
// The general passcode dialog ("Passcode configuration") without a toolkit: a combo of the ID
// byte counts the selected device allows and 15 byte combos, each offering 0..ff with the item
// index as the byte value. A byte combo is shown for the device's IDLenMax bytes and enabled
// for the selected count. OK stores the count and those bytes into the device selection.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "device/DeviceSelection.h"

namespace vantrel {

struct App;

inline constexpr int kPasscodeCountComboId = 1031;
// Byte combo n (from 0): 1040..1046 for the first row, 1055..1062 for the second.
int PasscodeByteComboId(int n);

inline constexpr const char* kPasscodeIntroText =
    "Passcode for serial communication\n\nThe values below are needed for serial programming "
    "mode. The target CPU's bootloader expects these bytes. If these bytes are incorrect, you "
    "are unable to access the target chip in serial (in circuit) mode.";
inline constexpr const char* kPasscodeBlankText =
    "If your target chip is blank, the values do not matter.";

// The passcode command is enabled while the selected device takes ID bytes (IDLenMax above 0).
bool PasscodeDialogEnabled(const App& app);
// Devices whose effective AlgoS is 139 or 140 (TOSHIBA) get the TOSHIBA passcode dialog.
bool UsesToshibaPasscodeDialog(const App& app);

// The 256 item texts of every byte combo: "%x" of the item index.
const std::vector<std::string>& PasscodeByteItems();

class PasscodeDialog {
  public:
    explicit PasscodeDialog(App& app); // the working copy
    // The counts offered ("%d"), IDLenMin to IDLenMax (at most 15 bytes).
    const std::vector<std::string>& CountItems() const { return countItems_; }
    int CountIndex() const { return countIndex_; }
    void SelectCount(int index); // the byte combos follow
    bool CountEnabled() const { return countItems_.size() > 1; }
    int SelectedLength() const { return minLength_ + countIndex_; }

    bool ByteShown(int n) const { return n < maxLength_; }
    bool ByteEnabled(int n) const { return n < SelectedLength(); }
    uint8_t Byte(int n) const { return bytes_[static_cast<std::size_t>(n)]; }
    void SetByte(int n, uint8_t value) { bytes_[static_cast<std::size_t>(n)] = value; }

    // Stores the length and the first `length` bytes; the dialog closes.
    void Ok();

  private:
    App& app_;
    int minLength_ = 0;
    int maxLength_ = 0;
    std::vector<std::string> countItems_;
    int countIndex_ = 0;
    std::array<uint8_t, kMaxPasscode> bytes_{};
};

} // namespace vantrel
