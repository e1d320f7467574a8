#pragma once
// The device keys of the settings file as plain values: what loading read, before the device
// selection's checking setters take them, and what saving writes. The numbers are kept as the
// file holds them (only the flag and passcode keys keep their low 8 bits).
#include <array>
#include <cstdint>
#include <string>

namespace vantrel {

inline constexpr int kSettingsBankFlags = 64;
inline constexpr int kSettingsProtectedFlags = 16;
inline constexpr int kSettingsPasscodeBytes = 15; // keys CpuPassword[1] to CpuPassword[15]

struct StoredSelection {
    std::string device;                                     // Device: empty when none was named
    int32_t startBank = 0;                                  // SBank
    int32_t endBank = 0;                                    // EBank
    int32_t interfaceIndex = 1;                             // Interface
    int32_t speed = 0;                                      // Speed
    int32_t fillByte = 255;                                 // FillByte
    uint32_t externalStart = 0;                             // XDataStart
    uint32_t externalLength = 0;                            // XDataLen
    uint8_t passcodeLength = 0;                             // CpuPasswordLen
    std::array<uint8_t, kSettingsPasscodeBytes> passcode{}; // CpuPassword[1] .. [15]
    bool bankSelectMode = false;                            // DEVICE_BankSelectMode
    uint32_t passcodeCountAddress = 0;                      // PasscodeLen
    uint32_t passcodeCompareAddress = 0;                    // PasscodeData
    std::array<uint8_t, kSettingsBankFlags> bankFlags{};    // BankSel[0] .. [63]
    std::array<uint8_t, kSettingsProtectedFlags> protectedFlags{}; // ProtectedBlockSel[0] .. [15]
};

} // namespace vantrel
