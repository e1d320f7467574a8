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
    void SetStatusText(int pane, const std::string& text) override;
    void PumpMessages() override {}
    void PostQuit(int code) override { quit_ = code; }
    void Repaint() override {}

    bool QuitPosted() const { return quit_.has_value(); }

  private:
    bool interactive_;
    bool verbose_;
    std::optional<int> quit_;
};

} // namespace vantrel
