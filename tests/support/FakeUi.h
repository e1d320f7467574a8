#pragma once
// A scripted Ui: answers message boxes from a queue (else with the default button) and
// records everything it was asked, for the tests to inspect.
#include <deque>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/Ui.h"

namespace vantrel::test {

struct MessageBoxCall {
    std::string text;
    std::string caption;
    MsgButtons buttons;
    MsgIcon icon;
};

class FakeUi : public Ui {
  public:
    MsgAnswer MessageBox(const std::string& text, const std::string& caption, MsgButtons buttons,
                         MsgIcon icon, MsgAnswer defaultAnswer) override;
    void ShowHelpText(const std::string& text, const std::string& caption) override;
    void SetStatusText(int pane, const std::string& text) override;
    void PumpMessages() override { ++pumps; }
    void PostQuit(int code) override { quit = code; }
    void Repaint() override { ++repaints; }
    int TargetMenuItemCount() override { return static_cast<int>(targetMenu.size()); }
    void InsertTargetMenuItem(int command, const std::string& label, const std::string& statusTip,
                              int beforeCommand) override;
    void RemoveTargetMenuItem(int command) override;

    std::deque<MsgAnswer> answers;
    std::vector<MessageBoxCall> boxes;
    std::vector<std::string> helpTexts;
    std::map<int, std::vector<std::string>> statusTexts; // every text, per pane
    std::optional<int> quit;
    struct MenuItem {
        int command;
        std::string label;
        std::string statusTip;
    };
    std::vector<MenuItem> targetMenu; // the Target menu as the code under test left it
    int pumps = 0;
    int repaints = 0;
};

} // namespace vantrel::test
