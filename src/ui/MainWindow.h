#pragma once
// What the main window decides, without a toolkit: the command routing, the handling of every
// reported error, and the 50 ms timer that refreshes the status bar and steps the batch.
#include <cstdint>
#include <functional>
#include <map>
#include <string>

#include "platform/Ui.h"

namespace vantrel {

struct App;

inline constexpr uint32_t kTimerPeriodMs = 50;

class MainWindow {
  public:
    explicit MainWindow(App& app);

    // Each subsystem registers the menu commands it handles.
    void SetCommandHandler(int command, std::function<void()> handler);
    void OnCommand(int command);
    // The error message of APP_ReportError: kind 1 normal, kind 2 a plain notice.
    void OnErrorMessage(int32_t code, int kind, const std::string& text);
    void OnTimer();

    // The answer to the last "areas overlap" question of a merge.
    MsgAnswer OverwriteAnswer() const { return overwriteAnswer_; }
    // Opens the device dialog (set once the dialog exists).
    std::function<void()> openDeviceDialog;

  private:
    void SetPane(int pane, const std::string& text);

    App& app_;
    std::map<int, std::function<void()>> handlers_;
    MsgAnswer overwriteAnswer_ = MsgAnswer::No;
    int lastState_ = -1;
    std::string paneText_[3];
};

} // namespace vantrel
