#pragma once
// The Ui seam drawn with Qt widgets. Texts are 8-bit and shown as Latin-1.
#include <QLabel>
#include <QStatusBar>
#include <QWidget>

#include "platform/Ui.h"

namespace vantrel {

class QtUi : public Ui {
  public:
    void SetWindow(QWidget* window, QStatusBar* statusBar);

    MsgAnswer MessageBox(const std::string& text, const std::string& caption, MsgButtons buttons,
                         MsgIcon icon, MsgAnswer defaultAnswer) override;
    void SetStatusText(int pane, const std::string& text) override;
    void PumpMessages() override;
    void PostQuit(int code) override;
    void Repaint() override;

    // The widgets of status bar panes 1 and 2 (pane 0 is the bar's own message).
    QWidget* PaneWidget(int pane) const;

  private:
    QWidget* window_ = nullptr;
    QStatusBar* statusBar_ = nullptr;
    QLabel* panes_[3] = {};
};

} // namespace vantrel
