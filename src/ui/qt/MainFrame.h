#pragma once
// The main window: the menus and keys of the menu table, the summary view above the lower view
// (list or dump) in a splitter, the three status bar panes and the 50 ms timer that drives the
// main window logic (ui/MainWindow). Files dropped on it are opened; unsaved changes are asked
// about before they would be lost (open, drop, exit).
//
// The lower view is made by `makeLowerView` (the list and the dump view unless a test puts
// something else there). Views learn of a changed document from the signal documentChanged().
#include <QMainWindow>
#include <QTimer>
#include <QUrl>
#include <functional>
#include <string>

class QSplitter;

namespace vantrel {

struct App;
class QtUi;
class SummaryView;

class MainFrame : public QMainWindow {
    Q_OBJECT
  public:
    MainFrame(App& app, QtUi& ui);

    // Makes the lower view for command 32802 (list) or 32801 (dump): by default the list and
    // the dump view of the document.
    // Called when the window is first shown and whenever the View menu changes the mode.
    std::function<QWidget*(int viewCommand, QWidget* parent)> makeLowerView;
    // Shows the user manual with the desktop's viewer; a test puts a recorder here.
    std::function<bool(const QUrl&)> openUrl;

    // The device and option dialogs behind their commands and the main window's device
    // errors. Start-up calls it once the program's own commands are registered.
    void RegisterDialogs();

    QWidget* LowerView() const { return lower_; }
    int LowerViewMode() const { return lowerMode_; }
    SummaryView* Summary() const { return summary_; }
    QSplitter* Splitter() const { return splitter_; }
    // The action that runs `command`: its menu item, or the window's key for it.
    QAction* Action(int command) const;
    // The user manual beside the program ("docs/manual.md" below the program directory).
    std::string ManualPath() const;
    // Menu items and keys are enabled as their commands allow now (also every timer tick).
    void UpdateCommandStates();

  signals:
    // The document changed (loaded, edited, read back) or needs drawing again.
    void documentChanged();

  protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    void BuildMenus(QtUi& ui);
    void BuildRecentFileMenu();
    void AddKeys();
    void RegisterWindowCommands();
    void RunCommand(int command);
    bool CommandEnabled(int command) const;
    void SetLowerView(int command);
    QWidget* MakeImageView(int command, QWidget* parent);
    void OpenRecentFile(int index);
    void ShowManual();

    App& app_;
    QtUi& ui_;
    QTimer timer_;
    QSplitter* splitter_ = nullptr;
    SummaryView* summary_ = nullptr;
    QWidget* lower_ = nullptr;
    int lowerMode_;
    QMenu* recentMenu_ = nullptr;
    QList<QAction*> keys_; // the window's keys without a menu item
};

} // namespace vantrel
