#include "settings/DeviceSettingsSelection.h"

#include "app/App.h"
#include "device/DeviceSelection.h"
#include "device/DeviceTable.h"

namespace vantrel {
namespace {

// Indexes from the settings keys; out of range they name nothing.
bool InRange(int index, int count) {
    return index >= 0 && index < count;
}

} // namespace

int DeviceSettingsSelection::SelectDeviceByName(const std::string& name) {
    return app_.selection.SelectDeviceByName(name);
}
int DeviceSettingsSelection::SetStartBank(int32_t bank) {
    return app_.selection.SetStartBank(bank);
}
int DeviceSettingsSelection::SetEndBank(int32_t bank) {
    return app_.selection.SetEndBank(bank);
}
int DeviceSettingsSelection::SetInterface(int32_t interfaceIndex) {
    return app_.selection.SetInterface(interfaceIndex);
}
int DeviceSettingsSelection::SetSpeed(int32_t speedIndex) {
    return app_.selection.SetSpeed(speedIndex);
}
int DeviceSettingsSelection::SetFillByte(int32_t fillByte) {
    return app_.selection.SetFillByte(fillByte);
}

// A device that was named but not found is saved under the name it was asked for (never as
// the table's first device, which the selection falls back to): the next start reports it
// again, and restoring the device database restores the set-up.
std::string DeviceSettingsSelection::SelectedDeviceName() const {
    const DeviceRecord* device = app_.selection.SelectedDevice();
    if (device && app_.selection.deviceKnown) return device->device;
    return app_.selection.unmatchedName;
}

bool DeviceSettingsSelection::HasBanks() const {
    const DeviceRecord* device = app_.selection.SelectedDevice();
    return device && BankCount(*device) > 0;
}

int DeviceSettingsSelection::SpeedCount() const {
    const DeviceRecord* device = app_.selection.SelectedDevice();
    return device ? SpeedSettingCount(*device, PM_Status(app_.pm).hardwareVersion) : 0;
}

void DeviceSettingsSelection::SelectAllBanks() {
    app_.selection.SelectAllBanks();
}

void DeviceSettingsSelection::ApplyBankSelection() {
    app_.selection.RebuildProgramRanges();
}

void DeviceSettingsSelection::SetBankSelectMode(bool individual) {
    app_.selection.bankSelectMode = individual;
}
bool DeviceSettingsSelection::BankSelectMode() const {
    return app_.selection.bankSelectMode;
}

void DeviceSettingsSelection::SetBankFlag(int bank, uint8_t flag) {
    app_.selection.SetBankFlag(bank, flag != 0);
}
uint8_t DeviceSettingsSelection::BankFlag(int bank) const {
    return InRange(bank, kBankFlags) && app_.selection.bankFlags[static_cast<std::size_t>(bank)];
}

void DeviceSettingsSelection::SetProtectedBlockFlag(int block, uint8_t flag) {
    if (InRange(block, kProtectedFlags))
        app_.selection.protectedFlags[static_cast<std::size_t>(block)] = flag != 0;
}
uint8_t DeviceSettingsSelection::ProtectedBlockFlag(int block) const {
    return InRange(block, kProtectedFlags) &&
           app_.selection.protectedFlags[static_cast<std::size_t>(block)];
}

void DeviceSettingsSelection::SetPasscodeLength(uint8_t length) {
    app_.selection.passcodeLength = length;
}
uint8_t DeviceSettingsSelection::PasscodeLength() const {
    return app_.selection.passcodeLength;
}

// Passcode byte numbers count from 1 (keys CpuPassword[1] to CpuPassword[15]).
void DeviceSettingsSelection::SetPasscodeByte(int number, uint8_t value) {
    if (InRange(number - 1, kMaxPasscode))
        app_.selection.passcode[static_cast<std::size_t>(number - 1)] = value;
}
uint8_t DeviceSettingsSelection::PasscodeByte(int number) const {
    return InRange(number - 1, kMaxPasscode)
               ? app_.selection.passcode[static_cast<std::size_t>(number - 1)]
               : 0;
}

void DeviceSettingsSelection::SetExternalArea(uint32_t start, uint32_t length) {
    app_.selection.SetExternalArea(start, length);
}
uint32_t DeviceSettingsSelection::ExternalStart() const {
    return app_.selection.additional.start;
}
uint32_t DeviceSettingsSelection::ExternalLength() const {
    return app_.selection.additional.size;
}

// With a device the addresses are held to its ID range; without one they are kept as read.
void DeviceSettingsSelection::SetPasscodeCountAddress(uint32_t address) {
    app_.selection.toshibaIdLengthAddress = address;
}
uint32_t DeviceSettingsSelection::PasscodeCountAddress() {
    return app_.selection.SelectedDevice() ? app_.selection.ToshibaIdLengthAddress()
                                           : app_.selection.toshibaIdLengthAddress;
}
void DeviceSettingsSelection::SetPasscodeCompareAddress(uint32_t address) {
    app_.selection.toshibaIdAddress = address;
}
uint32_t DeviceSettingsSelection::PasscodeCompareAddress() {
    return app_.selection.SelectedDevice() ? app_.selection.ToshibaIdAddress()
                                           : app_.selection.toshibaIdAddress;
}

int32_t DeviceSettingsSelection::StartBank() const {
    return app_.selection.startBank;
}
int32_t DeviceSettingsSelection::EndBank() const {
    return app_.selection.endBank;
}
int32_t DeviceSettingsSelection::Interface() const {
    return app_.selection.interface;
}
int32_t DeviceSettingsSelection::Speed() const {
    return app_.selection.speed;
}
int32_t DeviceSettingsSelection::FillByte() const {
    return app_.selection.fillByte;
}

} // namespace vantrel
