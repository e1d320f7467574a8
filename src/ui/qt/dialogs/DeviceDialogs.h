#pragma once
// The device dialogs in the window program: "&Device..." (command 32824) and the main window's
// errors 215, 217 and 227 open "Device properties" over `parent`.
class QWidget;

namespace vantrel {

struct App;

// Registers the handler of command 32824 and, when the main window exists, its way to open the
// dialog. The dialogs' state (the device list's sort key) lives in these handlers, so it
// lasts while the program runs.
void RegisterDeviceDialogs(App& app, QWidget* parent);

} // namespace vantrel
