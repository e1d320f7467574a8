#pragma once
// What the application core asks of the main window's logic (ui/MainWindow implements it):
// the commands without a handler of their own (exit), the error messages of the error path, the
// timer. The core never includes the window layer.
#include <cstdint>
#include <string>

#include "platform/Ui.h"

namespace vantrel {

inline constexpr uint32_t kTimerPeriodMs = 50;

class MainWindowBase {
  public:
    MainWindowBase() = default;
    virtual ~MainWindowBase() = default;
    MainWindowBase(const MainWindowBase&) = delete;
    MainWindowBase& operator=(const MainWindowBase&) = delete;

    // A command without a parameter (a menu item, an accelerator).
    virtual void OnCommand(int command) = 0;
    // The error message of APP_ReportError, on the main thread: kind 1 normal, kind 2 a plain
    // notice.
    virtual void OnErrorMessage(int32_t code, int kind, const std::string& text) = 0;
    // The 50 ms timer.
    virtual void OnTimer() = 0;
    // The answer to the last "areas overlap" question of a merge.
    virtual MsgAnswer OverwriteAnswer() const = 0;
};

} // namespace vantrel
