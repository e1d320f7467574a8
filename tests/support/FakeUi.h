#pragma once
// A scripted Ui: answers message boxes from a queue (else with the default button) and
// records everything it was asked, for the tests to inspect.
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "platform/Ui.h"

namespace vantrel::test {

// The scripted answer of one file dialog: OK with a typed name (empty: keep the dialog's
// name) and a type picked (0: keep the type shown), or Cancel.
struct FileDialogReply {
    bool ok = true;
    std::string name;
    int filterIndex = 0;
};

struct FileDialogCall {
    std::string title;
    int filterIndex;      // the type shown first
    std::string fileName; // the name shown first
};

struct MessageBoxCall {
    std::string text;
    std::string caption;
    MsgButtons buttons;
    MsgIcon icon;
    std::thread::id thread = std::this_thread::get_id(); // the thread that showed it
};

class FakeUi : public Ui {
  public:
    MsgAnswer MessageBox(const std::string& text, const std::string& caption, MsgButtons buttons,
                         MsgIcon icon, MsgAnswer defaultAnswer) override;
    void ShowHelpText(const std::string& text, const std::string& caption) override;
    void ErrorFileEntry(const std::string& text) override { errorFileEntries.push_back(text); }
    void SetStatusText(int pane, const std::string& text) override;
    void PumpMessages() override { ++pumps; }
    void PostQuit(int code) override { quit = code; }
    void Repaint() override {
        ++repaints;
        if (onRepaint) onRepaint();
    }
    // Called on every repaint request, as a window passes it on to its views.
    std::function<void()> onRepaint;
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
    void SetDocumentTitle(const std::string& title) override { titles.push_back(title); }
    void AddRecentFile(const std::string& path) override { recentFiles.push_back(path); }
    int TargetMenuItemCount() override { return static_cast<int>(targetMenu.size()); }
    void InsertTargetMenuItem(int command, const std::string& label, const std::string& statusTip,
                              int beforeCommand) override;
    void RemoveTargetMenuItem(int command) override;
    // Items put in front of another item of any other menu: (command, in front of).
    void InsertMenuItem(int command, const std::string&, const std::string&,
                        int beforeCommand) override {
        otherMenuItems.emplace_back(command, beforeCommand);
    }
    void RemoveMenuItem(int command) override {
        std::erase_if(otherMenuItems, [command](auto& item) { return item.first == command; });
    }
    std::vector<std::pair<int, int>> otherMenuItems;

    // The progress dialog: every caption it showed, in order; Cancel when `cancelProgress`.
    void Progress(const ProgressEvent& event) override {
        if (event.kind == ProgressEvent::Kind::Open || event.kind == ProgressEvent::Kind::Caption)
            progressCaptions.push_back(event.caption);
    }
    bool ProgressCancelRequested() override { return cancelProgress; }
    std::vector<std::string> progressCaptions;
    bool cancelProgress = false;
    // The operations' events: "start name", "end name result".
    void Operation(const OperationEvent& event) override {
        operations.push_back(event.kind == OperationEvent::Kind::Start
                                 ? "start " + event.name
                                 : "end " + event.name + " " + std::to_string(event.result));
    }
    std::vector<std::string> operations;

    // The texts of every message box shown, in order.
    std::vector<std::string> Messages() const {
        std::vector<std::string> texts;
        for (const auto& box : boxes)
            texts.push_back(box.text);
        return texts;
    }

    std::deque<MsgAnswer> answers;
    std::vector<MessageBoxCall> boxes;
    std::vector<std::string> helpTexts;
    std::vector<std::string> errorFileEntries;           // error file texts no message box showed
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

    std::deque<FileDialogReply> fileDialogReplies; // none left: Cancel
    std::vector<FileDialogCall> fileDialogs;
    // Edit dialogs (address range, relocation): each entry is one press of OK with the field
    // texts, std::nullopt presses Cancel; none left: Cancel.
    std::deque<std::optional<std::vector<std::string>>> dialogEntries;
    std::vector<std::vector<std::string>> dialogsShown; // the fields each dialog opened with
    std::vector<std::string> titles;
    std::vector<std::string> recentFiles;

  private:
    bool RunEditDialog(std::vector<std::string>& fields,
                       const std::function<bool(const std::vector<std::string>&)>& accept);
};

} // namespace vantrel::test
