#pragma once
// The main window: title, status bar and the 50 ms timer that drives the main window logic.
#include <QMainWindow>
#include <QTimer>

namespace vantrel {

struct App;
class QtUi;

class MainFrame : public QMainWindow {
    Q_OBJECT
  public:
    MainFrame(App& app, QtUi& ui);

  private:
    static constexpr std::size_t kTargetPopup = 3;
    void BuildMenus(QtUi& ui);
    bool CommandEnabled(int command) const;

    App& app_;
    QTimer timer_;
};

} // namespace vantrel
