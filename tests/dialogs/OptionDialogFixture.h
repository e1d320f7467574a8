#pragma once
// An application context with one device for the option dialogs: its ID byte limits, ID range
// and algorithm are the test's choice.
#include "device/DeviceTable.h"
#include "support/AppFixture.h"

namespace vantrel::test {

struct PasscodeDevice {
    int idLenMin = 1;
    int idLenMax = 7;
    uint8_t algoS = 0;
    uint32_t idRangeFirst = 0;
    uint32_t idRangeLast = 0;
};

class OptionDialogFixture : public AppFixture {
  protected:
    void SelectDevice(const PasscodeDevice& d) {
        DeviceRecord device;
        device.device = "OPTION TEST";
        device.idLenMin = static_cast<uint8_t>(d.idLenMin);
        device.idLenMax = static_cast<uint8_t>(d.idLenMax);
        device.algoS = d.algoS;
        device.idRangeFirst = d.idRangeFirst;
        device.idRangeLast = d.idRangeLast;
        AddDevice(ui, app->devices, device);
        app->selection.SelectDeviceByName(device.device);
    }
};

} // namespace vantrel::test
