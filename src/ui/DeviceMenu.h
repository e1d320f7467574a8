#pragma once
// The device-dependent items of the Target menu: "Clear All" (named "Clear Readout protection"
// on programmers that clear it) and "Clear Chip" are in the menu only for devices that allow
// them, in front of "Clear".
namespace vantrel {

struct App;

// Adds or removes the two items for the selected device; nothing without a Target menu.
void UpdateDeviceMenu(App& app);

} // namespace vantrel
