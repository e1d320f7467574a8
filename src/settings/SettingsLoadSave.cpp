#include "settings/SettingsLoadSave.h"

#include <string>

#include "settings/Ini.h"

namespace vantrel {
namespace {

constexpr const char* kSection = kSettingsSection;

std::string Indexed(const char* name, int n) {
    return name + ("[" + std::to_string(n) + "]");
}

int32_t Read(SettingsFile& settings, const std::string& key, int32_t defaultValue) {
    return INI_ReadInt(settings, kSection, key.c_str(), defaultValue);
}

void Write(SettingsFile& settings, const std::string& key, int32_t value) {
    INI_WriteInt(settings, kSection, key.c_str(), value);
}

void Write(SettingsFile& settings, const std::string& key, uint32_t value) {
    Write(settings, key, static_cast<int32_t>(value)); // read back through the same 32 bits
}

void Write(SettingsFile& settings, const std::string& key, bool value) {
    Write(settings, key, value ? 1 : 0);
}

} // namespace

StoredSettings ReadSettings(SettingsFile& settings) {
    StoredSettings stored;
    ProgramOptions& o = stored.options;
    StoredSelection& s = stored.selection.emplace();
    o.baudRate = kSerialBaudRate;

    o.comPort = Read(settings, "ComPort", 1);
    o.logEnable = Read(settings, "LOG_Enable", 0) != 0;
    char device[256] = {}; // names of up to 255 characters
    INI_ReadString(settings, kSection, "Device", device, sizeof device);
    s.device = device;
    s.startBank = Read(settings, "SBank", 0);
    s.endBank = Read(settings, "EBank", 0);
    s.interfaceIndex = Read(settings, "Interface", 1);
    s.speed = Read(settings, "Speed", 0);
    s.fillByte = Read(settings, "FillByte", 255);
    o.enableAC = Read(settings, "EnableAC", 1) != 0;
    o.enableVBP = Read(settings, "EnableVBP", 1) != 0;
    o.clearOnDemand = Read(settings, "ClearOnDemand", 0) != 0;
    o.clearReadoutProtection = Read(settings, "ClearReadoutProtection", 1) != 0;
    s.externalStart = static_cast<uint32_t>(Read(settings, "XDataStart", 0));
    s.externalLength = static_cast<uint32_t>(Read(settings, "XDataLen", 0));
    s.passcodeLength = static_cast<uint8_t>(Read(settings, "CpuPasswordLen", 0));
    for (int n = 1; n <= kSettingsPasscodeBytes; ++n)
        s.passcode[static_cast<std::size_t>(n - 1)] =
            static_cast<uint8_t>(Read(settings, Indexed("CpuPassword", n), 0));
    s.bankSelectMode = Read(settings, "DEVICE_BankSelectMode", 0) != 0;
    Read(settings, "Version", 0); // written for older readers; the value is not used
    o.enableIdCheck = Read(settings, "EnableIdCheckFunction", 1) != 0;
    o.enablePasscode = Read(settings, "EnablePasscode", 1) != 0;
    o.passcodeHex = Read(settings, "PasscodeHex", 0) != 0;
    s.passcodeCountAddress = static_cast<uint32_t>(Read(settings, "PasscodeLen", 0));
    s.passcodeCompareAddress = static_cast<uint32_t>(Read(settings, "PasscodeData", 0));
    for (int bank = 0; bank < kSettingsBankFlags; ++bank)
        s.bankFlags[static_cast<std::size_t>(bank)] =
            static_cast<uint8_t>(Read(settings, Indexed("BankSel", bank), 0));
    for (int block = 0; block < kSettingsProtectedFlags; ++block)
        s.protectedFlags[static_cast<std::size_t>(block)] =
            static_cast<uint8_t>(Read(settings, Indexed("ProtectedBlockSel", block), 0));
    o.detailedError = Read(settings, "DetailedError", 0) != 0;
    return stored;
}

void WriteSettings(SettingsFile& settings, const StoredSettings& stored) {
    const ProgramOptions& o = stored.options;
    const StoredSelection* s = stored.selection ? &*stored.selection : nullptr;
    SettingsSave save(settings); // one rewrite of the file and at most one message of each kind

    Write(settings, "ComPort", o.comPort);
    Write(settings, "LOG_Enable", o.logEnable);
    if (s) {
        INI_WriteString(settings, kSection, "Device", s->device.c_str());
        Write(settings, "SBank", s->startBank);
        Write(settings, "EBank", s->endBank);
        Write(settings, "Interface", s->interfaceIndex);
        Write(settings, "Speed", s->speed);
        Write(settings, "FillByte", s->fillByte);
    }
    Write(settings, "EnableVBP", o.enableVBP);
    Write(settings, "ClearOnDemand", o.clearOnDemand);
    Write(settings, "ClearReadoutProtection", o.clearReadoutProtection);
    Write(settings, "EnableAC", o.enableAC);
    if (s) {
        Write(settings, "XDataStart", s->externalStart);
        Write(settings, "XDataLen", s->externalLength);
    }
    Write(settings, "DetailedError", o.detailedError);
    Write(settings, "EnableIdCheckFunction", o.enableIdCheck);
    Write(settings, "EnablePasscode", o.enablePasscode);
    Write(settings, "PasscodeHex", o.passcodeHex);
    if (s) {
        Write(settings, "PasscodeLen", s->passcodeCountAddress);
        Write(settings, "PasscodeData", s->passcodeCompareAddress);
    }
    Write(settings, "Version", kSettingsVersion);
    if (s) {
        Write(settings, "CpuPasswordLen", int32_t{s->passcodeLength});
        for (int n = 1; n <= kSettingsPasscodeBytes; ++n)
            Write(settings, Indexed("CpuPassword", n),
                  int32_t{s->passcode[static_cast<std::size_t>(n - 1)]});
        for (int bank = 0; bank < kSettingsBankFlags; ++bank)
            Write(settings, Indexed("BankSel", bank),
                  int32_t{s->bankFlags[static_cast<std::size_t>(bank)]});
        for (int block = 0; block < kSettingsProtectedFlags; ++block)
            Write(settings, Indexed("ProtectedBlockSel", block),
                  int32_t{s->protectedFlags[static_cast<std::size_t>(block)]});
        Write(settings, "DEVICE_BankSelectMode", s->bankSelectMode);
    }
}

} // namespace vantrel
