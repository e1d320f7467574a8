#pragma once
// The option dialogs of the Options menu, and the calibration dialog, as commands: each
// handler builds the dialog's model, shows it modal over `parent` and leaves the committing to
// the model. A command whose dialog cannot be used now (no passcode for the device, a
// programmer that cannot calibrate) does nothing.
class QWidget;

namespace vantrel {

struct App;

// Registers 32771 Communication, 32796 Filling & Misc., 32772 Passcode, 32800 Setup and the
// calibration command 32817 in app.commands. The calibration dialog refreshes from the main
// window's timer (MainWindow::timerHook) while it is open.
void RegisterOptionDialogs(App& app, QWidget* parent);

} // namespace vantrel
