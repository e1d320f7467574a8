#pragma once
// The Ui seam drawn with Qt widgets. Texts are 8-bit and shown as Latin-1.
#include <QLabel>
#include <QMenu>
#include <QStatusBar>
#include <QWidget>
#include <functional>
#include <optional>
#include <vector>

#include "base/MainThreadQueue.h"
#include "platform/Ui.h"

namespace vantrel {

class QtProgressDialog;

class QtUi : public Ui {
  public:
    void SetWindow(QWidget* window, QStatusBar* statusBar);

    MsgAnswer MessageBox(const std::string& text, const std::string& caption, MsgButtons buttons,
                         MsgIcon icon, MsgAnswer defaultAnswer) override;
    void SetStatusText(int pane, const std::string& text) override;
    void PumpMessages() override;
    // Runs the queue's calls soon on the GUI thread, by a queued call.
    void WakeMainLoop() override;
    void SetMainQueue(MainThreadQueue* queue) { mainQueue_ = queue; }
    void PostQuit(int code) override;
    void Repaint() override;
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
    void SetDocumentTitle(const std::string& title) override;
    // The recent-file list, kept in the per-user settings of "KORVID Instruments" / "VANTREL".
    void AddRecentFile(const std::string& path) override;
    void RemoveRecentFile(const std::string& path);
    std::vector<std::string> RecentFiles() const;
    // Called after every repaint request: the document or the programmer state changed.
    std::function<void()> onRepaint;

    // The menu the device-dependent Target commands go into (none until the menus exist).
    void SetTargetMenu(QMenu* menu) { targetMenu_ = menu; }
    int TargetMenuItemCount() override;
    void InsertTargetMenuItem(int command, const std::string& label, const std::string& statusTip,
                              int beforeCommand) override;
    void RemoveTargetMenuItem(int command) override;
    // Every menu of the menu bar, for the items inserted in front of another.
    void AddMenu(QMenu* menu) { menus_.push_back(menu); }
    void InsertMenuItem(int command, const std::string& label, const std::string& statusTip,
                        int beforeCommand) override;
    void RemoveMenuItem(int command) override;

    // The progress dialog of the target operations (one at a time).
    void Progress(const ProgressEvent& event) override;
    bool ProgressCancelRequested() override;
    QWidget* ProgressWidget() const;

    // The labels of status bar panes 0..2 (menu tips show over pane 0 while a menu is open).
    QLabel* PaneWidget(int pane) const;

  private:
    int TextWidth(int pane, const QString& text) const;
    void KeepPanesInWindow();
    void StoreRecentFiles(const std::vector<std::string>& files);

    QWidget* window_ = nullptr;
    QStatusBar* statusBar_ = nullptr;
    QLabel* panes_[3] = {};
    QString baseTitle_;
    QMenu* targetMenu_ = nullptr;
    std::vector<QMenu*> menus_;
    MainThreadQueue* mainQueue_ = nullptr;
    QtProgressDialog* progress_ = nullptr;
    mutable std::optional<std::vector<std::string>> recentFiles_; // read once, then kept
};

} // namespace vantrel
