#pragma once
// The device selection as loading and saving the settings see it: the SettingsSelection
// interface over the program's DeviceSelection and device table.
#include "settings/SettingsSelection.h"

namespace vantrel {

struct App;

class DeviceSettingsSelection : public SettingsSelection {
  public:
    explicit DeviceSettingsSelection(App& app) : app_(app) {}

    int SelectDeviceByName(const std::string& name) override;
    int SetStartBank(int32_t bank) override;
    int SetEndBank(int32_t bank) override;
    int SetInterface(int32_t interfaceIndex) override;
    int SetSpeed(int32_t speedIndex) override;
    int SetFillByte(int32_t fillByte) override;

    std::string SelectedDeviceName() const override;
    bool HasBanks() const override;
    int SpeedCount() const override;
    void SelectAllBanks() override;
    void ApplyBankSelection() override;

    void SetBankSelectMode(bool individual) override;
    bool BankSelectMode() const override;
    void SetBankFlag(int bank, uint8_t flag) override;
    uint8_t BankFlag(int bank) const override;
    void SetProtectedBlockFlag(int block, uint8_t flag) override;
    uint8_t ProtectedBlockFlag(int block) const override;

    void SetPasscodeLength(uint8_t length) override;
    uint8_t PasscodeLength() const override;
    void SetPasscodeByte(int number, uint8_t value) override;
    uint8_t PasscodeByte(int number) const override;

    void SetExternalArea(uint32_t start, uint32_t length) override;
    uint32_t ExternalStart() const override;
    uint32_t ExternalLength() const override;

    void SetPasscodeCountAddress(uint32_t address) override;
    uint32_t PasscodeCountAddress() override;
    void SetPasscodeCompareAddress(uint32_t address) override;
    uint32_t PasscodeCompareAddress() override;

    int32_t StartBank() const override;
    int32_t EndBank() const override;
    int32_t Interface() const override;
    int32_t Speed() const override;
    int32_t FillByte() const override;

  private:
    App& app_;
};

} // namespace vantrel
