#pragma once
// What the main window decides, without a toolkit: the command routing, the handling of every
// reported error, and the 50 ms timer that refreshes the status bar and steps the batch.
#include <cstdint>
#include <functional>
#include <string>

#include "app/MainWindowBase.h"

namespace vantrel {

struct App;

class MainWindow : public MainWindowBase {
  public:
    explicit MainWindow(App& app);

    // Runs the command's handler (the commands layer registers them); the exit command without
    // one ends the program.
    void OnCommand(int command) override;
    void OnErrorMessage(int32_t code, int kind, const std::string& text) override;
    // Runs what other threads queued for the main thread, refreshes the status bar and steps
    // the batch.
    void OnTimer() override;
    MsgAnswer OverwriteAnswer() const override { return overwriteAnswer_; }
    // Opens the device dialog (set once the dialog exists).
    std::function<void()> openDeviceDialog;
    // Runs on every tick while set (the calibration dialog refreshes its values from it).
    std::function<void()> timerHook;

  private:
    void SetPane(int pane, const std::string& text);

    App& app_;
    MsgAnswer overwriteAnswer_ = MsgAnswer::No;
    int lastState_ = -1;
    std::string paneText_[3];
};

} // namespace vantrel
