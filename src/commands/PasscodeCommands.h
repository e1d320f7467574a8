#pragma once
// The Edit menu's two passcode commands: "Copy Passcode into loaded file" writes the passcode
// (and its length) of the device selection into the image at the device's ID addresses; "Set
// Passcode from loaded file" takes the passcode bytes from there. Both work under the image
// lock and repaint the views afterwards. They are enabled while an image is loaded and the
// selected device takes a passcode.
#include "base/CommandIds.h"

namespace vantrel {

struct App;

bool PasscodeCommandsEnabled(const App& app);
void OnEditCopyPasscode(App& app);
void OnEditSetPasscode(App& app);

} // namespace vantrel
