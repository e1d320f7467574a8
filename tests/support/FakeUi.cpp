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

bool FakeUi::OpenFileDialog(const std::string& title, const std::vector<FileFilter>&,
                            int& filterIndex, std::string& fileName) {
    fileDialogs.push_back({title, filterIndex, fileName});
    if (fileDialogReplies.empty()) return false;
    FileDialogReply reply = fileDialogReplies.front();
    fileDialogReplies.pop_front();
    if (!reply.ok) return false;
    if (reply.filterIndex != 0) filterIndex = reply.filterIndex;
    if (!reply.name.empty()) fileName = reply.name;
    return true;
}

bool FakeUi::SaveFileDialog(
    const std::string& title, const std::vector<FileFilter>&, int& filterIndex,
    std::string& fileName,
    const std::function<std::string(const std::string&, int)>& nameForFilter) {
    std::string shown = nameForFilter(fileName, filterIndex);
    fileDialogs.push_back({title, filterIndex, shown});
    if (fileDialogReplies.empty()) return false;
    FileDialogReply reply = fileDialogReplies.front();
    fileDialogReplies.pop_front();
    if (!reply.ok) return false;
    if (!reply.name.empty()) shown = reply.name;
    if (reply.filterIndex != 0 && reply.filterIndex != filterIndex) {
        filterIndex = reply.filterIndex;
        shown = nameForFilter(shown, filterIndex);
    }
    fileName = shown;
    return true;
}

bool FakeUi::RunEditDialog(std::vector<std::string>& fields,
                           const std::function<bool(const std::vector<std::string>&)>& accept) {
    dialogsShown.push_back(fields);
    while (!dialogEntries.empty()) {
        auto entry = dialogEntries.front();
        dialogEntries.pop_front();
        if (!entry) return false;
        if (accept(*entry)) {
            fields = *entry;
            return true;
        }
    }
    return false;
}

bool FakeUi::AddressRangeDialog(
    std::string& start, std::string& end,
    const std::function<bool(const std::string&, const std::string&)>& accept) {
    std::vector<std::string> fields{start, end};
    bool ok = RunEditDialog(fields, [&](const std::vector<std::string>& texts) {
        return texts.size() == 2 && accept(texts[0], texts[1]);
    });
    if (ok) {
        start = fields[0];
        end = fields[1];
    }
    return ok;
}

bool FakeUi::RelocationDialog(std::string& offset,
                              const std::function<bool(const std::string&)>& accept) {
    std::vector<std::string> fields{offset};
    bool ok = RunEditDialog(fields, [&](const std::vector<std::string>& texts) {
        return texts.size() == 1 && accept(texts[0]);
    });
    if (ok) offset = fields[0];
    return ok;
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
