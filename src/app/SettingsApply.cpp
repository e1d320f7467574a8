#include "app/SettingsApply.h"

#include "app/App.h"

namespace vantrel {
namespace {

// A speed asked for on the command line, held to the speeds the device offers.
int32_t LimitSpeed(int32_t speed, int speedCount) {
    if (speed < speedCount) return speed;
    if (speedCount > 0) return speedCount - 1;
    return speed >= 1 ? 1 : speed;
}

int SpeedCount(const App& app) {
    const DeviceRecord* device = app.selection.SelectedDevice();
    return device ? SpeedSettingCount(*device, PM_Status(app.pm).hardwareVersion) : 0;
}

bool HasBanks(const DeviceSelection& selection) {
    const DeviceRecord* device = selection.SelectedDevice();
    return device && BankCount(*device) > 0;
}

// The plain device values first, as the file holds them; the checked ones follow.
void ApplyPlainValues(DeviceSelection& s, const StoredSelection& stored) {
    s.passcodeLength = stored.passcodeLength;
    for (int i = 0; i < kSettingsPasscodeBytes && i < kMaxPasscode; ++i)
        s.passcode[static_cast<std::size_t>(i)] = stored.passcode[static_cast<std::size_t>(i)];
    s.bankSelectMode = stored.bankSelectMode;
    for (int bank = 0; bank < kSettingsBankFlags; ++bank)
        s.SetBankFlag(bank, stored.bankFlags[static_cast<std::size_t>(bank)] != 0);
    for (int block = 0; block < kSettingsProtectedFlags && block < kProtectedFlags; ++block)
        s.protectedFlags[static_cast<std::size_t>(block)] =
            stored.protectedFlags[static_cast<std::size_t>(block)] != 0;
    s.SetExternalArea(stored.externalStart, stored.externalLength);
}

// Device, banks, interface, speed and fill byte through the checking setters; true when one
// of them replaced its value.
bool ApplyCheckedValues(App& app, const StoredSelection& stored) {
    DeviceSelection& s = app.selection;
    const StartupOverrides& overrides = app.overrides;
    bool failed = false;
    if (!overrides.deviceChosen) {
        failed |= s.SelectDeviceByName(stored.device) != 0;
        if (!s.bankSelectMode) {
            failed |= s.SetStartBank(stored.startBank) != 0;
            failed |= s.SetEndBank(stored.endBank) != 0;
        }
    } else if (HasBanks(s)) {
        s.SelectAllBanks();
    }
    s.RebuildProgramRanges(); // the bank selection, whichever way it was made

    int32_t interfaceIndex = stored.interfaceIndex;
    int32_t speed = stored.speed;
    if (overrides.interfaceIndex >= 0) interfaceIndex = overrides.interfaceIndex;
    if (overrides.speedIndex >= 0) speed = LimitSpeed(overrides.speedIndex, SpeedCount(app));
    failed |= s.SetInterface(interfaceIndex) != 0;
    failed |= s.SetSpeed(speed) != 0;
    failed |= s.SetFillByte(stored.fillByte) != 0;
    return failed;
}

} // namespace

bool ApplySettings(App& app, const StoredSettings& stored) {
    ProgramOptions& o = app.options;
    const ProgramOptions& read = stored.options;
    o.baudRate = read.baudRate;
    o.logEnable = read.logEnable;
    o.detailedError = read.detailedError;

    bool failed = false;
    if (stored.selection) {
        ApplyPlainValues(app.selection, *stored.selection);
        failed = ApplyCheckedValues(app, *stored.selection);
    }
    o.enableAC = read.enableAC;
    o.enableVBP = read.enableVBP;
    o.clearOnDemand = read.clearOnDemand;
    o.clearReadoutProtection = read.clearReadoutProtection;
    o.enableIdCheck = read.enableIdCheck;
    o.enablePasscode = read.enablePasscode;
    o.passcodeHex = read.passcodeHex;
    if (stored.selection) {
        app.selection.toshibaIdLengthAddress = stored.selection->passcodeCountAddress;
        app.selection.toshibaIdAddress = stored.selection->passcodeCompareAddress;
    }

    if (app.overrides.comPort < 0) {
        if (read.comPort >= 1 && read.comPort <= kMaxSettingsComPort) {
            o.comPort = read.comPort;
        } else {
            if (read.comPort != 0)
                APP_ReportError(app, 211, "ComPort setting in setup file out of range, corrected");
            o.comPort = 1;
        }
    }
    return failed;
}

StoredSettings SettingsToSave(App& app) {
    StoredSettings stored;
    stored.options = app.options;
    DeviceSelection& s = app.selection;
    StoredSelection& out = stored.selection.emplace();
    const DeviceRecord* device = s.SelectedDevice();
    // A device that was named but not found is saved under the name it was asked for (never as
    // the table's first device, which the selection falls back to): the next start reports it
    // again, and restoring the device database restores the set-up.
    out.device = device && s.deviceKnown ? device->device : s.unmatchedName;
    out.startBank = s.startBank;
    out.endBank = s.endBank;
    out.interfaceIndex = s.interface;
    out.speed = s.speed;
    out.fillByte = s.fillByte;
    out.externalStart = s.additional.start;
    out.externalLength = s.additional.size;
    // With a device the passcode addresses are held to its ID range; without one they are kept
    // as read.
    out.passcodeCountAddress = device ? s.ToshibaIdLengthAddress() : s.toshibaIdLengthAddress;
    out.passcodeCompareAddress = device ? s.ToshibaIdAddress() : s.toshibaIdAddress;
    out.passcodeLength = s.passcodeLength;
    for (int i = 0; i < kSettingsPasscodeBytes && i < kMaxPasscode; ++i)
        out.passcode[static_cast<std::size_t>(i)] = s.passcode[static_cast<std::size_t>(i)];
    for (int bank = 0; bank < kSettingsBankFlags && bank < kBankFlags; ++bank)
        out.bankFlags[static_cast<std::size_t>(bank)] = s.bankFlags[static_cast<std::size_t>(bank)];
    for (int block = 0; block < kSettingsProtectedFlags && block < kProtectedFlags; ++block)
        out.protectedFlags[static_cast<std::size_t>(block)] =
            s.protectedFlags[static_cast<std::size_t>(block)];
    out.bankSelectMode = s.bankSelectMode;
    return stored;
}

bool LoadSettings(App& app) {
    return ApplySettings(app, ReadSettings(app.settings));
}

void SaveSettings(App& app) {
    WriteSettings(app.settings, SettingsToSave(app));
}

} // namespace vantrel
