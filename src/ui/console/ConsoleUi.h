#pragma once
// The console front end of the Ui seam: message boxes go to stderr with their caption, the
// help box to stdout; questions are asked on the terminal when stdin is one and otherwise get
// their default answer. Status texts are shown only with `verbose`. Long operations show a
// progress line on stderr (redrawn in place on a terminal, a line per 10 % otherwise). With an
// event stream, every operation, progress step and error is also written there as a JSON line
// and stdout carries nothing else; so is every message box that no error event stands for.
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "platform/Ui.h"
#include "ui/console/JsonEvents.h"
#include "ui/console/ProgressLine.h"

namespace vantrel {

class ConsoleUi : public Ui {
  public:
    explicit ConsoleUi(bool verbose = false);

    MsgAnswer MessageBox(const std::string& text, const std::string& caption, MsgButtons buttons,
                         MsgIcon icon, MsgAnswer defaultAnswer) override;
    void ShowHelpText(const std::string& text, const std::string& caption) override;
    // On stderr as "[Error] text", like a message box with that caption; an error event
    // without a code.
    void ErrorFileEntry(const std::string& text) override;
    void SetStatusText(int pane, const std::string& text) override;
    void PumpMessages() override {}
    void PostQuit(int code) override { quit_ = code; }
    void Repaint() override {}
    // Dialogs ask on the terminal when stdin is one; otherwise they are cancelled.
    bool OpenFileDialog(const std::string& title, const std::vector<FileFilter>& filters,
                        int& filterIndex, std::string& fileName) override;
    bool SaveFileDialog(
        const std::string& title, const std::vector<FileFilter>& filters, int& filterIndex,
        std::string& fileName,
        const std::function<std::string(const std::string&, int)>& nameForFilter) override;
    bool AddressRangeDialog(
        std::string& start, std::string& end,
        const std::function<bool(const std::string&, const std::string&)>& accept) override;
    bool RelocationDialog(std::string& offset,
                          const std::function<bool(const std::string&)>& accept) override;

    void Operation(const OperationEvent& event) override;
    void ErrorReported(int32_t code, const std::string& text, int kind) override;
    void Progress(const ProgressEvent& event) override;

    bool QuitPosted() const { return quit_.has_value(); }

    // Events go to `out` from now on; the help text then goes to stderr.
    void EnableEvents(std::FILE* out) { events_ = out; }
    bool EventsEnabled() const { return events_ != nullptr; }
    // The run's first event; the events that came before it (start-up errors) follow it.
    void RunStart(const RunStartInfo& info);
    void RunEnd(int exitCode);

  private:
    // One line from the terminal after the prompt (the default on an empty line); false at
    // the end of input.
    bool Ask(const std::string& prompt, const std::string& defaultText, std::string& answer);
    bool AskFilter(const std::vector<FileFilter>& filters, int& filterIndex);

    void Emit(const std::string& line);
    // Ends a progress line that is on the terminal, so that other text starts on a line of its
    // own.
    void EndProgressLine();
    void ShowProgress(const ProgressEvent& event);

    bool interactive_;
    bool verbose_;
    bool stderrTerminal_;
    std::optional<int> quit_;

    std::FILE* events_ = nullptr;
    bool runStarted_ = false;
    std::vector<std::string> held_; // events before the run start
    std::string reportedText_;      // the error whose message box comes next

    std::string caption_;
    uint32_t captionStartMs_ = 0;
    bool lineShown_ = false; // a progress line without its line end is on the terminal
    int drawnPercent_ = -1;
    TenPercentSteps steps_;
    EventPacing pacing_;
};

} // namespace vantrel
