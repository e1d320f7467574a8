#pragma once
// The "Setup" dialog without a toolkit: the programmer's setup record (power up and down, the
// reset line, the serial number) as it was read from the programmer. "Save setup" checks the
// number edits, puts the values into the setup block and has the link write it to the
// programmer; "Set &defaults" fills in the defaults and keeps the dialog open.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "dialogs/SetupRecord.h"

namespace vantrel {

struct App;

inline constexpr int kSetupPowerUpId = 1010, kSetupPowerDownId = 1011, kSetupResetModeId = 1012,
                     kSetupResetActiveId = 1021, kSetupResetInactiveId = 1004,
                     kSetupPushPullId = 1045, kSetupOpenDrainId = 1046, kSetupSerialId = 1002,
                     kSetupDefaultsId = 3;

inline constexpr std::array<const char*, 2> kPowerUpModes{"Wait for PC",
                                                          "Copy master (socket->target)"};
inline constexpr std::array<const char*, 3> kPowerDownModes{"Stay on", "2 min", "5 min"};
inline constexpr std::array<const char*, 2> kResetModes{"Active (low) when idle",
                                                        "Inactive (high) when idle"};
inline constexpr std::array<const char*, 2> kResetOutputModes{"Push-Pull", "Open Drain"};

// A number edit read as the dialog reads it: blanks around an optional sign and decimal digits.
// The message when the text is no integer or lies outside [minimum, maximum].
struct SetupNumber {
    std::optional<int64_t> value;
    std::string message;
};
SetupNumber ReadSetupNumber(const std::string& text, int64_t minimum, int64_t maximum);

class SetupDialog {
  public:
    explicit SetupDialog(App& app); // the setup record as last read from the programmer

    // The choices: an index of its list, or -1 when the programmer holds a value the list does
    // not know (it is then written back unchanged).
    int powerUp = 0;
    int powerDown = 0;
    int resetMode = 0;
    int resetOutput = 0; // 0 "Push-Pull", 1 "Open Drain"
    std::string resetActive;
    std::string resetInactive;
    // Read-only: a number above 0x7FFFFFFF shows as 0; Save writes back the number as read.
    const std::string& SerialNumber() const { return serial_; }

    void SetDefaults();
    int Focus() const { return focus_; }
    // "Save setup": false with the message shown and the focus on the bad edit (the dialog
    // stays), true once the link was asked to write the setup block (the dialog closes).
    bool Save();

  private:
    App& app_;
    SetupRecord read_;
    std::string serial_;
    int focus_ = 2;
};

// What the main window does after the Setup dialog: the image checksum is stale.
void AfterSetupDialog(App& app);

} // namespace vantrel
