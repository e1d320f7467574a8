#pragma once
// "Download &Firmware": the programmer's firmware update from the menu, counted as a running
// operation while it lasts. Enabled while the programmer is ready and an image for it exists
// (FirmwareCommandEnabled, ops/Firmware.h).
namespace vantrel {

struct App;

void RegisterFirmwareCommands(App& app);

} // namespace vantrel
