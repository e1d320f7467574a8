#pragma once
// Loading every key of section "Settings" into the program at start-up (after the command
// line, whose -com, -seldevice, -setIfSync and -setIfSpeed win over the file) and saving every
// key at shutdown and when the Communication dialog is confirmed.
//
// The device keys go through `app.settingsSelection` (start-up sets it over the device
// selection). While it is not set, they are neither read nor written, so the file keeps them
// as they are.
namespace vantrel {

struct App;

inline constexpr int kSettingsVersion = 20024;

// Reads and applies every key; true when a device setting was invalid and was corrected
// (start-up then reports error 227).
bool LoadSettings(App& app);
// Writes every key into the text, then rewrites the file once; a failure is shown once.
void SaveSettings(App& app);

} // namespace vantrel
