#pragma once
// Everything the core asks of the windows. The Qt front end, the console front end and the
// scripted fake of the tests implement it; the core never draws.
#include <string>

namespace vantrel {

enum class MsgButtons { Ok, OkCancel, YesNo, YesNoCancel, RetryCancel };
// Warning is also the "exclamation" icon: the two are one icon on every platform we know.
enum class MsgIcon { None, Information, Warning, Error, Question };
enum class MsgAnswer { Ok, Cancel, Yes, No, Retry };

class Ui {
  public:
    virtual ~Ui() = default;

    // A modal message box; returns the button chosen (the default one when nobody can answer).
    virtual MsgAnswer MessageBox(const std::string& text, const std::string& caption,
                                 MsgButtons buttons, MsgIcon icon, MsgAnswer defaultAnswer) = 0;

    // The command-line help box. A console front end prints it where help belongs (stdout).
    virtual void ShowHelpText(const std::string& text, const std::string& caption) {
        MessageBox(text, caption, MsgButtons::Ok, MsgIcon::Information, MsgAnswer::Ok);
    }

    // Status bar panes 0..2.
    virtual void SetStatusText(int pane, const std::string& text) = 0;

    // Lets the windows process pending events during a wait on the main thread.
    virtual void PumpMessages() = 0;

    // Ends the message loop; the program then runs its shutdown sequence.
    virtual void PostQuit(int code) = 0;

    // The views must be drawn again (document or state changed).
    virtual void Repaint() = 0;

    // The Target menu, the fourth menu of the menu bar; a front end without menus has no items.
    virtual int TargetMenuItemCount() { return 0; }
    // Inserts the item of `command` in front of the item of `beforeCommand`; `statusTip` is the
    // text the status bar shows for it.
    virtual void InsertTargetMenuItem(int /*command*/, const std::string& /*label*/,
                                      const std::string& /*statusTip*/, int /*beforeCommand*/) {}
    virtual void RemoveTargetMenuItem(int /*command*/) {}
};

} // namespace vantrel
