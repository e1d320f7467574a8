#pragma once
// The device selection: the chosen device and, for it, interface, speed, fill byte, banks,
// protected blocks, an additional range and the passcode, with the program ranges derived
// from the selected banks. The setters check a value, replace a bad one by a fixed safe value,
// report it as error 211 and return 1 (0 when the value was accepted). Device values read with
// no valid device selected are 0.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "device/DeviceRecord.h"
#include "device/ProgramRanges.h"

namespace vantrel {

struct App;
class ImageView;

inline constexpr int kBankFlags = 64;
inline constexpr int kProtectedFlags = 16;
inline constexpr int kMaxPasscode = 15;
inline constexpr int32_t kInvalidFillByte = 0x1FF;

struct DeviceSelection {
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
};

// The selected device, or null when none is valid.
const DeviceRecord* SelectedDevice(const App& app);
// The device, the banks, the fill byte or the external area changed: the document's cached
// image CRC no longer holds.
void MarkImageCrcStale(App& app);

int SelectDeviceByName(App& app, const std::string& name);
void SelectDevice(App& app, int index);
int SetInterface(App& app, int32_t value);
int SetSpeed(App& app, int32_t value);
int SetFillByte(App& app, int32_t value);
int SetStartBank(App& app, int32_t value);
int SetEndBank(App& app, int32_t value);
void SelectAllBanks(App& app);
// The selected device's banks, plus the additional range when its size is not 0.
int BankTotal(const App& app);
// Bank `bank` of the bank total (the additional range is the one behind the device's banks).
BankRange SelectionBank(const App& app, int bank);
int SelectionBankOrder(const App& app, int bank);
void RebuildProgramRanges(App& app);
// The fill byte as the image uses it (its low 8 bits).
uint8_t FillByteValue(const App& app);

// Values of the selected banks among the first min(bank total, 64).
uint32_t SelectedBanksLowestStart(const App& app);
uint32_t SelectedBanksHighestEnd(const App& app);
uint64_t SelectedBanksSize(const App& app);
int SelectedBankCount(const App& app);

// Protected addresses of the selected blocks, in block order and address order.
int SelectedProtectedCount(const App& app);
uint32_t SelectedProtectedAddress(const App& app, int index);
// The index-th smallest of them; the sorted form holds the 16 smallest, beyond that 0.
uint32_t SortedProtectedAddress(const App& app, int index);

// What the programmer is told: the S60 algorithm and interface change with the interface.
uint8_t EffectiveAlgoS(const App& app);
uint8_t EffectiveSIFType(const App& app);

// The two ID addresses of TOSHIBA devices, first brought into the device's IDRange.
uint32_t ToshibaIdAddress(App& app);
uint32_t ToshibaIdLengthAddress(App& app);
uint32_t IdByteAddress(App& app, int index);
uint32_t IdLengthAddress(App& app);
uint8_t IdLengthValue(App& app, const ImageView& image);
// The device's constant ID bytes followed by the passcode.
std::vector<uint8_t> IdData(const App& app);
uint16_t BlankSum(const App& app);
// The selected device takes a passcode.
bool UsesPasscode(const App& app);

} // namespace vantrel
