#pragma once
// The device selection: the chosen device and, for it, interface, speed, fill byte, banks,
// protected blocks, an additional range and the passcode, with the program ranges derived
// from the selected banks. The setters check a value, replace a bad one by a fixed safe value,
// report it as error 211 and return 1 (0 when the value was accepted). Device values read with
// no valid device selected are 0.
//
// The plain choices are public fields: the dialogs and the batch commands set them directly.
// Whatever changes the device, the banks, the fill byte or the external area through the
// methods calls the change hook (the application marks the image CRC stale there).
#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "device/DeviceRecord.h"
#include "device/ProgramRanges.h"

namespace vantrel {

class ImageView;
class Reporter;
struct DeviceTable;

inline constexpr int kBankFlags = 64;
inline constexpr int kProtectedFlags = 16;
inline constexpr int kMaxPasscode = 15;
inline constexpr int32_t kInvalidFillByte = 0x1FF;

class DeviceSelection {
  public:
    DeviceSelection(const DeviceTable& table, Reporter& reporter);
    DeviceSelection(const DeviceSelection&) = delete;
    DeviceSelection& operator=(const DeviceSelection&) = delete;

    int32_t selected = 0;
    bool deviceKnown = false;
    // The name last asked for when no device matched it (a renamed or missing Device folder):
    // saved back as it was, so that restoring the database restores the set-up.
    std::string unmatchedName;
    int32_t interface = 0; // 0 parallel, 1 serial synchronous, 2 serial asynchronous
    int32_t speed = 0;
    int32_t fillByte = 0xFF;
    int32_t startBank = 0;
    int32_t endBank = 0;
    bool bankSelectMode = false; // DEVICE_BankSelectMode: banks chosen one by one
    std::array<bool, kBankFlags> bankFlags{};
    std::array<bool, kProtectedFlags> protectedFlags{};
    BankRange additional; // XDataStart, XDataLen: one more flash bank when its size is not 0
    uint32_t toshibaIdAddress = 0;       // PasscodeData
    uint32_t toshibaIdLengthAddress = 0; // PasscodeLen
    uint8_t passcodeLength = 0;          // CpuPasswordLen
    std::array<uint8_t, kMaxPasscode> passcode{};
    ProgramRanges programRanges;

    // Called whenever the device, the banks, the fill byte or the external area change.
    void SetChangeHook(std::function<void()> hook) { changed_ = std::move(hook); }
    const DeviceTable& Table() const { return table_; }

    // The selected device, or null when none is valid.
    const DeviceRecord* SelectedDevice() const;

    int SelectDeviceByName(const std::string& name);
    // Does nothing for an index outside the table; the caller redraws the window.
    void SelectDevice(int index);
    int SetInterface(int32_t value);
    int SetSpeed(int32_t value);
    int SetFillByte(int32_t value);
    int SetStartBank(int32_t value);
    int SetEndBank(int32_t value);
    void SelectAllBanks();
    // One bank flag (0..63; others name nothing); the program ranges are rebuilt by the caller.
    void SetBankFlag(int bank, bool selected);
    void SetExternalArea(uint32_t start, uint32_t size);
    // The selected device's banks, plus the additional range when its size is not 0.
    int BankTotal() const;
    // Bank `bank` of the bank total (the additional range is the one behind the device's banks).
    BankRange SelectionBank(int bank) const;
    int SelectionBankOrder(int bank) const;
    void RebuildProgramRanges();
    // The fill byte as the image uses it (its low 8 bits).
    uint8_t FillByteValue() const { return static_cast<uint8_t>(fillByte); }

    // Values of the selected banks among the first min(bank total, 64).
    uint32_t SelectedBanksLowestStart() const;
    uint32_t SelectedBanksHighestEnd() const;
    uint64_t SelectedBanksSize() const;
    int SelectedBankCount() const;

    // Protected addresses of the selected blocks, in block order and address order.
    int SelectedProtectedCount() const;
    uint32_t SelectedProtectedAddress(int index) const;
    // The index-th smallest of them; the sorted form holds the 16 smallest, beyond that 0.
    uint32_t SortedProtectedAddress(int index) const;

    // What the programmer is told: the S60 algorithm and interface change with the interface.
    uint8_t EffectiveAlgoS() const;
    uint8_t EffectiveSIFType() const;

    // The two ID addresses of TOSHIBA devices, first brought into the device's IDRange.
    uint32_t ToshibaIdAddress();
    uint32_t ToshibaIdLengthAddress();
    uint32_t IdByteAddress(int index);
    uint32_t IdLengthAddress();
    uint8_t IdLengthValue(const ImageView& image) const;
    // The device's constant ID bytes followed by the passcode.
    std::vector<uint8_t> IdData() const;
    uint16_t BlankSum() const;
    // The selected device takes a passcode.
    bool UsesPasscode() const;

  private:
    void Changed() const;
    int Replaced(const char* message);
    void ApplyPasscodeLengthRule();
    template <typename Fn> void ForSelectedBanks(Fn fn) const;
    std::vector<uint32_t> SelectedProtectedAddresses() const;

    const DeviceTable& table_;
    Reporter& reporter_;
    std::function<void()> changed_;
};

} // namespace vantrel
