#include "settings/SettingsLoadSave.h"

#include "app/App.h"
#include "settings/Ini.h"
#include "settings/SettingsSelection.h"

namespace vantrel {
namespace {

constexpr const char* kSection = kSettingsSection;

std::string Indexed(const char* name, int n) {
    return name + ("[" + std::to_string(n) + "]");
}

int32_t Read(App& app, const std::string& key, int32_t defaultValue) {
    return INI_ReadInt(app.settings, kSection, key.c_str(), defaultValue);
}

void Write(App& app, const std::string& key, int32_t value) {
    INI_WriteInt(app.settings, kSection, key.c_str(), value);
}

void Write(App& app, const std::string& key, uint32_t value) {
    Write(app, key, static_cast<int32_t>(value)); // read back through the same 32 bits
}

// A speed asked for on the command line, held to the speeds the device offers.
int32_t LimitSpeed(int32_t speed, int speedCount) {
    if (speed < speedCount) return speed;
    if (speedCount > 0) return speedCount - 1;
    return speed >= 1 ? 1 : speed;
}

} // namespace

bool LoadSettings(App& app) {
    ProgramOptions& o = app.options;
    SettingsSelection* selection = app.settingsSelection.get();
    o.baudRate = kSerialBaudRate;

    int32_t comPort = Read(app, "ComPort", 1);
    o.logEnable = Read(app, "LOG_Enable", 0) != 0;
    char device[256] = {}; // names of up to 255 characters
    INI_ReadString(app.settings, kSection, "Device", device, sizeof device);
    int32_t startBank = Read(app, "SBank", 0);
    int32_t endBank = Read(app, "EBank", 0);
    int32_t interfaceIndex = Read(app, "Interface", 1);
    int32_t speed = Read(app, "Speed", 0);
    int32_t fillByte = Read(app, "FillByte", 255);
    int32_t enableAC = Read(app, "EnableAC", 1);
    int32_t enableVBP = Read(app, "EnableVBP", 1);
    int32_t clearOnDemand = Read(app, "ClearOnDemand", 0);
    int32_t clearReadoutProtection = Read(app, "ClearReadoutProtection", 1);
    int32_t externalStart = Read(app, "XDataStart", 0);
    int32_t externalLength = Read(app, "XDataLen", 0);
    int32_t passcodeLength = Read(app, "CpuPasswordLen", 0);
    if (selection) selection->SetPasscodeLength(static_cast<uint8_t>(passcodeLength));
    for (int n = 1; n <= kSettingsPasscodeBytes; ++n) {
        int32_t value = Read(app, Indexed("CpuPassword", n), 0);
        if (selection) selection->SetPasscodeByte(n, static_cast<uint8_t>(value));
    }
    int32_t bankSelectMode = Read(app, "DEVICE_BankSelectMode", 0);
    if (selection) selection->SetBankSelectMode(bankSelectMode != 0);
    Read(app, "Version", 0); // written for older readers; the value is not used
    int32_t idCheck = Read(app, "EnableIdCheckFunction", 1);
    int32_t enablePasscode = Read(app, "EnablePasscode", 1);
    int32_t passcodeHex = Read(app, "PasscodeHex", 0);
    int32_t passcodeCountAddress = Read(app, "PasscodeLen", 0);
    int32_t passcodeCompareAddress = Read(app, "PasscodeData", 0);
    for (int bank = 0; bank < kSettingsBankFlags; ++bank) {
        int32_t flag = Read(app, Indexed("BankSel", bank), 0);
        if (selection) selection->SetBankFlag(bank, static_cast<uint8_t>(flag));
    }
    for (int block = 0; block < kSettingsProtectedFlags; ++block) {
        int32_t flag = Read(app, Indexed("ProtectedBlockSel", block), 0);
        if (selection) selection->SetProtectedBlockFlag(block, static_cast<uint8_t>(flag));
    }
    o.detailedError = Read(app, "DetailedError", 0) != 0;

    bool failed = false;
    if (selection) {
        selection->SetExternalArea(static_cast<uint32_t>(externalStart),
                                   static_cast<uint32_t>(externalLength));
        if (!app.overrides.deviceChosen) {
            failed |= selection->SelectDeviceByName(device) != 0;
            if (!selection->BankSelectMode()) {
                failed |= selection->SetStartBank(startBank) != 0;
                failed |= selection->SetEndBank(endBank) != 0;
            }
        } else if (selection->HasBanks()) {
            selection->SelectAllBanks();
        }
        selection->ApplyBankSelection();

        if (app.overrides.interfaceIndex >= 0) interfaceIndex = app.overrides.interfaceIndex;
        if (app.overrides.speedIndex >= 0)
            speed = LimitSpeed(app.overrides.speedIndex, selection->SpeedCount());
        failed |= selection->SetInterface(interfaceIndex) != 0;
        failed |= selection->SetSpeed(speed) != 0;
        failed |= selection->SetFillByte(fillByte) != 0;
    }
    o.enableAC = enableAC != 0;
    o.enableVBP = enableVBP != 0;
    o.clearOnDemand = clearOnDemand != 0;
    o.clearReadoutProtection = clearReadoutProtection != 0;
    o.enableIdCheck = idCheck != 0;
    o.enablePasscode = enablePasscode != 0;
    o.passcodeHex = passcodeHex != 0;
    if (selection) {
        selection->SetPasscodeCountAddress(static_cast<uint32_t>(passcodeCountAddress));
        selection->SetPasscodeCompareAddress(static_cast<uint32_t>(passcodeCompareAddress));
    }

    if (app.overrides.comPort < 0) {
        if (comPort >= 1 && comPort <= kMaxSettingsComPort) {
            o.comPort = comPort;
        } else {
            if (comPort != 0)
                APP_ReportError(app, 211, "ComPort setting in setup file out of range, corrected");
            o.comPort = 1;
        }
    }
    return failed;
}

void SaveSettings(App& app) {
    const ProgramOptions& o = app.options;
    SettingsSelection* selection = app.settingsSelection.get();
    SettingsSave save(app.settings); // one rewrite of the file and at most one message of each kind

    Write(app, "ComPort", o.comPort);
    Write(app, "LOG_Enable", o.logEnable ? 1 : 0);
    if (selection) {
        INI_WriteString(app.settings, kSection, "Device", selection->SelectedDeviceName().c_str());
        Write(app, "SBank", selection->StartBank());
        Write(app, "EBank", selection->EndBank());
        Write(app, "Interface", selection->Interface());
        Write(app, "Speed", selection->Speed());
        Write(app, "FillByte", selection->FillByte());
    }
    Write(app, "EnableVBP", o.enableVBP ? 1 : 0);
    Write(app, "ClearOnDemand", o.clearOnDemand ? 1 : 0);
    Write(app, "ClearReadoutProtection", o.clearReadoutProtection ? 1 : 0);
    Write(app, "EnableAC", o.enableAC ? 1 : 0);
    if (selection) {
        Write(app, "XDataStart", selection->ExternalStart());
        Write(app, "XDataLen", selection->ExternalLength());
    }
    Write(app, "DetailedError", o.detailedError ? 1 : 0);
    Write(app, "EnableIdCheckFunction", o.enableIdCheck ? 1 : 0);
    Write(app, "EnablePasscode", o.enablePasscode ? 1 : 0);
    Write(app, "PasscodeHex", o.passcodeHex ? 1 : 0);
    if (selection) {
        Write(app, "PasscodeLen", selection->PasscodeCountAddress());
        Write(app, "PasscodeData", selection->PasscodeCompareAddress());
    }
    Write(app, "Version", kSettingsVersion);
    if (selection) {
        Write(app, "CpuPasswordLen", selection->PasscodeLength());
        for (int n = 1; n <= kSettingsPasscodeBytes; ++n)
            Write(app, Indexed("CpuPassword", n), selection->PasscodeByte(n));
        for (int bank = 0; bank < kSettingsBankFlags; ++bank)
            Write(app, Indexed("BankSel", bank), selection->BankFlag(bank));
        for (int block = 0; block < kSettingsProtectedFlags; ++block)
            Write(app, Indexed("ProtectedBlockSel", block), selection->ProtectedBlockFlag(block));
        Write(app, "DEVICE_BankSelectMode", selection->BankSelectMode() ? 1 : 0);
    }
}

} // namespace vantrel
