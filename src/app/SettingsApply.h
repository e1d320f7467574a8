#pragma once
// Where the settings file meets the program: the values read from it are applied to the device
// selection and the options, and the values to save are taken from them.
#include "settings/SettingsLoadSave.h"

namespace vantrel {

struct App;

// Applies the values read through the device selection's checking setters, in their fixed
// order, with the command line's -com, -seldevice, -setIfSync and -setIfSpeed winning over the
// file. True when a device value was invalid and was replaced (start-up then reports error
// 227). A ComPort out of range is reported as error 211 and becomes 1.
bool ApplySettings(App& app, const StoredSettings& stored);
// The values to save: the options, the COM port in use and the device selection.
StoredSettings SettingsToSave(App& app);

// Start-up's load (read, then apply) and shutdown's save.
bool LoadSettings(App& app);
void SaveSettings(App& app);

} // namespace vantrel
