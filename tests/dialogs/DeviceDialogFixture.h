#pragma once
// A small device table and programmer for the device dialog tests: an application context with
// a scripted Ui, devices built in code, and a programmer status that supports them.
#include <gtest/gtest.h>

#include "app/App.h"
#include "device/DeviceTestData.h"
#include "support/AppFixture.h"
#include "support/StatusRef.h"

namespace vantrel::test {

// A newer programmer (it reports its lists): serial S60, S60A and R8C devices, parallel mode.
inline ProgrammerStatus NewProgrammer(uint16_t hardwareVersion = 510) {
    ProgrammerStatus status;
    status.state = kStateReady;
    status.firmwareVersion = 20000;
    status.hardwareVersion = hardwareVersion;
    status.parallelFlag = 1;
    status.supportedAlgorithms = {130, 143, 144, 0};
    status.supportedInterfaces = {0, 11, 12};
    return status;
}

// One flash bank, no speed names, two protected blocks.
inline DeviceRecord OneBank(const std::string& device = "ONE") {
    DeviceRecord r = Sample(device);
    r.name = device;
    r.areas = {Area("FLASH", 7, {{0x4000, 0x8000}})};
    r.speedSettings = {};
    r.vMin = r.vMax = 50;
    r.vpp = 120;
    r.ram = 1000;
    r.protectedBlocks = {Block("RC calibration", {0xFFDE, 0xFFDF}), Block("Key", {0x1000})};
    return r;
}

class DeviceDialogFixture : public AppFixture {
  protected:
    void SetStatus(const ProgrammerStatus& status) { app->pm.SetStatus(status); }
    int Add(DeviceRecord record) { return AddDevice(ui, app->devices, std::move(record)); }
    DeviceSelection& Selection() { return app->selection; }
};

} // namespace vantrel::test
