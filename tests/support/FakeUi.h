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

    std::deque<MsgAnswer> answers;
    std::vector<MessageBoxCall> boxes;
    std::vector<std::string> helpTexts;
    std::map<int, std::vector<std::string>> statusTexts; // every text, per pane
    std::optional<int> quit;
    int pumps = 0;
    int repaints = 0;
};

} // namespace vantrel::test
