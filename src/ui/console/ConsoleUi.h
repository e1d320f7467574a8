#pragma once
// The console front end of the Ui seam: message boxes go to stderr with their caption, the
// help box to stdout; questions are asked on the terminal when stdin is one and otherwise get
// their default answer. Status texts are shown only with `verbose`.
#include <optional>

#include "platform/Ui.h"

namespace vantrel {

class ConsoleUi : public Ui {
  public:
    explicit ConsoleUi(bool verbose = false);

    MsgAnswer MessageBox(const std::string& text, const std::string& caption, MsgButtons buttons,
                         MsgIcon icon, MsgAnswer defaultAnswer) override;
    void ShowHelpText(const std::string& text, const std::string& caption) override;
    // On stderr as "[Error] text", like a message box with that caption.
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

    bool QuitPosted() const { return quit_.has_value(); }

  private:
    // One line from the terminal after the prompt (the default on an empty line); false at
    // the end of input.
    bool Ask(const std::string& prompt, const std::string& defaultText, std::string& answer);
    bool AskFilter(const std::vector<FileFilter>& filters, int& filterIndex);

    bool interactive_;
    bool verbose_;
    std::optional<int> quit_;
};

} // namespace vantrel
