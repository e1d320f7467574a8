#pragma once
// Everything the core asks of the windows. The Qt front end, the console front end and the
// scripted fake of the tests implement it; the core never draws.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace vantrel {

enum class MsgButtons { Ok, OkCancel, YesNo, YesNoCancel, RetryCancel };
// Warning is also the "exclamation" icon: the two are one icon on every platform we know.
enum class MsgIcon { None, Information, Warning, Error, Question };
enum class MsgAnswer { Ok, Cancel, Yes, No, Retry };

// A target operation began or ended (for a log of the run: the console's event stream). At
// the end: the result code (0 = success), the text shown for it, the time it took, and the
// image's and the programmer's CRC where the two were compared.
struct OperationEvent {
    enum class Kind { Start, End };
    Kind kind = Kind::Start;
    std::string name; // "program and verify", "blank check", ...
    int32_t result = 0;
    std::string text;
    uint32_t elapsedMs = 0;
    bool crcCompared = false;
    uint16_t imageCrc = 0;
    uint16_t programmerCrc = 0;
};

// What the progress dialog of a long operation shows: opened with a caption, moved, given
// another caption, closed. `text` is the percentage text as the dialog writes it; for a
// transfer `totalBytes` is its size (0 for an operation of the programmer).
struct ProgressEvent {
    enum class Kind { Open, Caption, Position, Close };
    Kind kind = Kind::Position;
    std::string caption;
    int percent = 0;
    std::string text;
    uint32_t totalBytes = 0;
};

// One entry of a file dialog's type list: the text shown and its pattern ("*.hex;*.mot").
struct FileFilter {
    std::string shown;
    std::string pattern;
};

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

    // A text that goes to the error file and that no message box shows (the complaints of the
    // command-line parameter readers). A console front end shows it too; windows need not.
    virtual void ErrorFileEntry(const std::string& /*text*/) {}

    // Status bar panes 0..2.
    virtual void SetStatusText(int pane, const std::string& text) = 0;

    // Lets the windows process pending events during a wait on the main thread.
    virtual void PumpMessages() = 0;

    // Something was queued for the main thread: have the main loop run it soon. A front end
    // whose loop looks at the queue at every pass anyway needs to do nothing.
    virtual void WakeMainLoop() {}

    // Ends the message loop; the program then runs its shutdown sequence.
    virtual void PostQuit(int code) = 0;

    // A target operation began or ended.
    virtual void Operation(const OperationEvent& /*event*/) {}
    // Every error or notice reported through the program's error path, with its code (0:
    // none) and kind (1: error, 2: notice), before it is shown.
    virtual void ErrorReported(int32_t /*code*/, const std::string& /*text*/, int /*kind*/) {}

    // The progress dialog of the target operations. A front end without one ignores it.
    virtual void Progress(const ProgressEvent& /*event*/) {}
    // True once the user asked to cancel the operation in progress (the dialog's Cancel).
    virtual bool ProgressCancelRequested() { return false; }

    // The views must be drawn again (document or state changed).
    virtual void Repaint() = 0;

    // File dialogs. `filterIndex` (1-based) is the type shown first and receives the user's
    // choice; `fileName` is the initial name and receives the chosen path. False on Cancel.
    virtual bool OpenFileDialog(const std::string& /*title*/,
                                const std::vector<FileFilter>& /*filters*/, int& /*filterIndex*/,
                                std::string& /*fileName*/) {
        return false;
    }
    // `nameForFilter(name, index)` gives the name to show when the dialog starts and whenever
    // the user picks another type.
    virtual bool
    SaveFileDialog(const std::string& /*title*/, const std::vector<FileFilter>& /*filters*/,
                   int& /*filterIndex*/, std::string& /*fileName*/,
                   const std::function<std::string(const std::string&, int)>& /*nameForFilter*/) {
        return false;
    }

    // The address range dialog ("Select address range"): two hex fields. `accept` checks the
    // texts on OK and reports what is wrong; the dialog closes only when it returns true.
    // False on Cancel.
    virtual bool AddressRangeDialog(
        std::string& /*start*/, std::string& /*end*/,
        const std::function<bool(const std::string&, const std::string&)>& /*accept*/) {
        return false;
    }
    // The relocation offset dialog, checked the same way.
    virtual bool RelocationDialog(std::string& /*offset*/,
                                  const std::function<bool(const std::string&)>& /*accept*/) {
        return false;
    }

    // The document's title (its full path) for the main window's caption.
    virtual void SetDocumentTitle(const std::string& /*title*/) {}
    // A file to put at the top of the recent-file list.
    virtual void AddRecentFile(const std::string& /*path*/) {}
    // The Target menu, the fourth menu of the menu bar; a front end without menus has no items.
    virtual int TargetMenuItemCount() { return 0; }
    // Inserts the item of `command` in front of the item of `beforeCommand`; `statusTip` is the
    // text the status bar shows for it.
    virtual void InsertTargetMenuItem(int /*command*/, const std::string& /*label*/,
                                      const std::string& /*statusTip*/, int /*beforeCommand*/) {}
    virtual void RemoveTargetMenuItem(int /*command*/) {}
    // The same for whichever menu holds the item of `beforeCommand` (the Options menu's
    // "Download File to Vantrel" in front of "&Device...").
    virtual void InsertMenuItem(int /*command*/, const std::string& /*label*/,
                                const std::string& /*statusTip*/, int /*beforeCommand*/) {}
    virtual void RemoveMenuItem(int /*command*/) {}
};

} // namespace vantrel
