#include "support/FakeUi.h"

namespace vantrel::test {

MsgAnswer FakeUi::MessageBox(const std::string& text, const std::string& caption,
                             MsgButtons buttons, MsgIcon icon, MsgAnswer defaultAnswer) {
    boxes.push_back({text, caption, buttons, icon});
    if (answers.empty()) return defaultAnswer;
    MsgAnswer answer = answers.front();
    answers.pop_front();
    return answer;
}

void FakeUi::ShowHelpText(const std::string& text, const std::string&) {
    helpTexts.push_back(text);
}

void FakeUi::SetStatusText(int pane, const std::string& text) {
    statusTexts[pane].push_back(text);
}

} // namespace vantrel::test
