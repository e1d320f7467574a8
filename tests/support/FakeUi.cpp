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

void FakeUi::InsertTargetMenuItem(int command, const std::string& label,
                                  const std::string& statusTip, int beforeCommand) {
    auto at = targetMenu.begin();
    while (at != targetMenu.end() && at->command != beforeCommand)
        ++at;
    targetMenu.insert(at, {command, label, statusTip});
}

void FakeUi::RemoveTargetMenuItem(int command) {
    std::erase_if(targetMenu, [command](const MenuItem& item) { return item.command == command; });
}

} // namespace vantrel::test
