#pragma once
// What loading and saving the settings need of the device selection: its checking setters
// (0 when the value was taken, 1 when it was replaced and reported) and its plain values. The
// device subsystem provides the implementation over its selection; the tests use a fake.
#include <cstdint>
#include <string>

namespace vantrel {

inline constexpr int kSettingsBankFlags = 64;
inline constexpr int kSettingsProtectedFlags = 16;
inline constexpr int kSettingsPasscodeBytes = 15; // keys CpuPassword[1] to CpuPassword[15]

class SettingsSelection {
  public:
    virtual ~SettingsSelection() = default;

    // Checking setters.
    virtual int SelectDeviceByName(const std::string& name) = 0;
    virtual int SetStartBank(int32_t bank) = 0;
    virtual int SetEndBank(int32_t bank) = 0;
    virtual int SetInterface(int32_t interfaceIndex) = 0;
    virtual int SetSpeed(int32_t speedIndex) = 0;
    virtual int SetFillByte(int32_t fillByte) = 0;

    // The selected device: its name (empty when none is selected), whether it has banks, and
    // how many interface speeds it offers.
    virtual std::string SelectedDeviceName() const = 0;
    virtual bool HasBanks() const = 0;
    virtual int SpeedCount() const = 0;
    virtual void SelectAllBanks() = 0;
    // Rebuilds what follows from the bank flags (the program ranges).
    virtual void ApplyBankSelection() = 0;

    virtual void SetBankSelectMode(bool individual) = 0;
    virtual bool BankSelectMode() const = 0;
    virtual void SetBankFlag(int bank, uint8_t flag) = 0; // 0..63
    virtual uint8_t BankFlag(int bank) const = 0;
    virtual void SetProtectedBlockFlag(int block, uint8_t flag) = 0; // 0..15
    virtual uint8_t ProtectedBlockFlag(int block) const = 0;

    virtual void SetPasscodeLength(uint8_t length) = 0;
    virtual uint8_t PasscodeLength() const = 0;
    virtual void SetPasscodeByte(int number, uint8_t value) = 0; // 1..15
    virtual uint8_t PasscodeByte(int number) const = 0;

    // The external (additional) area.
    virtual void SetExternalArea(uint32_t start, uint32_t length) = 0;
    virtual uint32_t ExternalStart() const = 0;
    virtual uint32_t ExternalLength() const = 0;

    // Where the passcode count lies and where the compare starts (the TOSHIBA ID length address
    // and ID address). The readers hold them to the device's ID range.
    virtual void SetPasscodeCountAddress(uint32_t address) = 0;
    virtual uint32_t PasscodeCountAddress() = 0;
    virtual void SetPasscodeCompareAddress(uint32_t address) = 0;
    virtual uint32_t PasscodeCompareAddress() = 0;

    virtual int32_t StartBank() const = 0;
    virtual int32_t EndBank() const = 0;
    virtual int32_t Interface() const = 0;
    virtual int32_t Speed() const = 0;
    virtual int32_t FillByte() const = 0;
};

} // namespace vantrel
