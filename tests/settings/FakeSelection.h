#pragma once
// A device selection for the settings tests: plain values, setters that fail when told to,
// and a log of the calls that change something, in order.
#include <array>
#include <set>
#include <string>
#include <vector>

#include "settings/SettingsSelection.h"

namespace vantrel::test {

class FakeSelection : public SettingsSelection {
  public:
    std::vector<std::string> calls;
    std::set<std::string> failing; // names of setters that replace their value
    std::set<std::string> knownDevices{"R5F100LE", "ST72F324"};
    int speedCount = 4;
    int bankCount = 8;

    std::string device;
    bool individualBanks = false;
    int32_t startBank = 0, endBank = 0, interfaceIndex = 0, speed = 0, fillByte = 0;
    std::array<uint8_t, kSettingsBankFlags> bankFlags{};
    std::array<uint8_t, kSettingsProtectedFlags> protectedFlags{};
    uint8_t passcodeLength = 0;
    std::array<uint8_t, kSettingsPasscodeBytes + 1> passcode{};
    uint32_t externalStart = 0, externalLength = 0, countAddress = 0, compareAddress = 0;

    int SelectDeviceByName(const std::string& name) override {
        calls.push_back("SelectDeviceByName " + name);
        bool known = knownDevices.count(name) > 0;
        device = known ? name : "";
        return known ? 0 : 1;
    }
    int SetStartBank(int32_t v) override { return Set("SetStartBank", startBank, v, 0); }
    int SetEndBank(int32_t v) override { return Set("SetEndBank", endBank, v, bankCount - 1); }
    int SetInterface(int32_t v) override { return Set("SetInterface", interfaceIndex, v, 0); }
    int SetSpeed(int32_t v) override { return Set("SetSpeed", speed, v, 0); }
    int SetFillByte(int32_t v) override { return Set("SetFillByte", fillByte, v, 0x1FF); }

    std::string SelectedDeviceName() const override { return device; }
    bool HasBanks() const override { return bankCount > 0; }
    int SpeedCount() const override { return speedCount; }
    void SelectAllBanks() override {
        calls.push_back("SelectAllBanks");
        startBank = 0;
        endBank = bankCount - 1;
    }
    void ApplyBankSelection() override { calls.push_back("ApplyBankSelection"); }

    void SetBankSelectMode(bool individual) override {
        calls.push_back("SetBankSelectMode " + std::to_string(individual));
        individualBanks = individual;
    }
    bool BankSelectMode() const override { return individualBanks; }
    void SetBankFlag(int bank, uint8_t flag) override { bankFlags.at(bank) = flag; }
    uint8_t BankFlag(int bank) const override { return bankFlags.at(bank); }
    void SetProtectedBlockFlag(int block, uint8_t flag) override {
        protectedFlags.at(block) = flag;
    }
    uint8_t ProtectedBlockFlag(int block) const override { return protectedFlags.at(block); }

    void SetPasscodeLength(uint8_t length) override {
        calls.push_back("SetPasscodeLength " + std::to_string(length));
        passcodeLength = length;
    }
    uint8_t PasscodeLength() const override { return passcodeLength; }
    void SetPasscodeByte(int number, uint8_t value) override { passcode.at(number) = value; }
    uint8_t PasscodeByte(int number) const override { return passcode.at(number); }

    void SetExternalArea(uint32_t start, uint32_t length) override {
        calls.push_back("SetExternalArea");
        externalStart = start;
        externalLength = length;
    }
    uint32_t ExternalStart() const override { return externalStart; }
    uint32_t ExternalLength() const override { return externalLength; }

    void SetPasscodeCountAddress(uint32_t a) override { countAddress = a; }
    uint32_t PasscodeCountAddress() override { return countAddress; }
    void SetPasscodeCompareAddress(uint32_t a) override { compareAddress = a; }
    uint32_t PasscodeCompareAddress() override { return compareAddress; }

    int32_t StartBank() const override { return startBank; }
    int32_t EndBank() const override { return endBank; }
    int32_t Interface() const override { return interfaceIndex; }
    int32_t Speed() const override { return speed; }
    int32_t FillByte() const override { return fillByte; }

  private:
    int Set(const std::string& name, int32_t& field, int32_t value, int32_t safe) {
        calls.push_back(name + " " + std::to_string(value));
        bool fail = failing.count(name) > 0;
        field = fail ? safe : value;
        return fail ? 1 : 0;
    }
};

} // namespace vantrel::test
