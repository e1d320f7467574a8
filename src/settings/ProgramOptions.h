#pragma once
// The program's option switches and start-up choices that the settings file keeps and the
// command line and the dialogs change.
namespace vantrel {

inline constexpr int kSerialBaudRate = 115200; // the serial line's only rate
inline constexpr int kMaxSettingsComPort = 20;

struct ProgramOptions {
    bool detailedError = false;          // DetailedError: the exit code is the error code itself
    bool enableAC = false;               // EnableAC: automatic clear before program
    bool clearOnDemand = false;          // ClearOnDemand
    bool clearReadoutProtection = false; // ClearReadoutProtection
    bool enableVBP = true;               // EnableVBP: do not verify blank pages
    bool logEnable = false;              // LOG_Enable: write the protocol log
    int comPort = 1;                     // ComPort: 1..20, 0 = search all
    bool enableIdCheck = true;           // EnableIdCheckFunction: file checks in batch mode
    bool enablePasscode = true;          // EnablePasscode: off fills the passcode with 0xFF
    bool passcodeHex = false;            // PasscodeHex: passcode entered in hexadecimal
    int baudRate = kSerialBaudRate;      // set when the settings are loaded
};

// Choices made on the command line before the settings are loaded; they override the file.
struct StartupOverrides {
    int comPort = -1;          // -com; -1: none
    int settingsIndex = 0;     // -index; 0: the plain settings file name
    bool deviceChosen = false; // -seldevice selected a device
    int speedIndex = -1;       // -setIfSpeed; -1: none
    int interfaceIndex = -1;   // -setIfSync sets 1; -1: none
};

} // namespace vantrel
