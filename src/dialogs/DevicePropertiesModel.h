#pragma once
// The "Device properties" dialog without a toolkit. It works on a copy of the device selection
// taken when it opens (device, banks, interface, speed, bank select mode, bank and protected
// block flags), says what every control shows, reacts to the user's choices on the copy, and
// commits the copy through the selection's checking setters on OK. Nothing reaches the
// selection before OK.
//
// Which interfaces and speeds a device offers depends on the connected programmer: the model
// reads them from the programmer status it was given.
#include <array>
#include <string>

#include "base/ProgrammerStatus.h"
#include "device/DeviceSelection.h"
#include "dialogs/DeviceDialogItems.h"

namespace vantrel {

struct DeviceTable;

struct DeviceWorkingCopy {
    int device = -1; // -1 when no valid device is selected
    int startBank = 0;
    int endBank = 0;
    int interface = 0; // 0 parallel, 1 serial synchronous / in target, 2 serial asynchronous
    int speed = 0;
    bool individualBanks = false; // bank select mode 1
    std::array<bool, kBankFlags> bankFlags{};
    std::array<bool, kProtectedFlags> protectedFlags{};
};

// The read-only device data fields, ids 20 to 27.
enum DeviceField {
    kFieldName,
    kFieldManufacturer,
    kFieldGroup,
    kFieldVpp,
    kFieldRam,
    kFieldFlash,
    kFieldVcc,
    kFieldPackage,
    kDeviceFieldCount
};

class DevicePropertiesModel {
  public:
    static constexpr int kWidth = 502;
    static constexpr int kHeightWithProtectedAreas = 400, kHeightWithout = 340;

    DevicePropertiesModel(const DeviceTable& table, const ProgrammerStatus& programmer,
                          const DeviceSelection& current);

    const DeviceWorkingCopy& Copy() const { return copy_; }
    const std::array<std::string, kDeviceFieldCount>& DeviceData() const { return data_; }
    const DialogCombo& StartBanks() const { return startBanks_; }
    const DialogCombo& EndBanks() const { return endBanks_; }
    const DialogCombo& Interfaces() const { return interfaces_; }
    const DialogCombo& Speeds() const { return speeds_; }
    const CheckList& Banks() const { return banks_; }
    const CheckList& ProtectedAreas() const { return protected_; }
    // Label 51 and list 31 are shown only for a device with protected blocks; the dialog is
    // then taller and its buttons stand lower.
    bool ShowsProtectedAreas() const;
    int Height() const;
    int ButtonsY() const;

    // The user's choices; `item` indexes the combo's items, `line` the list's lines.
    void ChooseStartBank(int item);
    void ChooseEndBank(int item);
    void ChooseInterface(int item);
    void ChooseSpeed(int item);
    void ChooseIndividualBanks(bool individual); // radio 41 (true) or 40 (false)
    void ToggleBank(int line);                   // a click on the check mark, or the space bar
    void ToggleProtectedArea(int line);
    // "Select Device" closed with OK on device `index`: every bank of it flagged, the end bank
    // its last one, and every control filled again.
    void DeviceChosen(int index);

    // OK: the copy into the selection, through its setters (which report invalid values).
    void Commit(DeviceSelection& selection) const;

  private:
    const DeviceRecord* Device() const;
    void FillAll();
    void FillDeviceData();
    // `correct`: an end bank outside the device becomes its last bank and a start bank outside
    // the range below it its nearest end. Without it, start and end may stay at -1 (every bank
    // unflagged in the individual list).
    void FillBankCombos(bool correct);
    void FillBankList();
    void FillInterfaces();
    void FillSpeeds();
    void FillProtectedAreas();
    void FlagBanksFromRange();

    const DeviceTable& table_;
    ProgrammerStatus programmer_;
    DeviceWorkingCopy copy_;
    std::array<std::string, kDeviceFieldCount> data_;
    DialogCombo startBanks_, endBanks_, interfaces_, speeds_;
    CheckList banks_, protected_;
};

} // namespace vantrel
