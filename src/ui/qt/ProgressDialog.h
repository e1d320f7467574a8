#pragma once
// The progress dialog of the target operations: a caption, an empty text line, a bar of
// 0..100, the percentage text and Cancel. Modeless: the operation's wait keeps the windows
// running, and the main window is disabled while the dialog shows.
#include <QDialog>

class QLabel;
class QProgressBar;

namespace vantrel {

class QtProgressDialog : public QDialog {
  public:
    explicit QtProgressDialog(QWidget* parent);

    void SetCaption(const QString& caption);
    void SetPosition(int percent, const QString& text);
    bool CancelPressed() const { return cancelPressed_; }

    QProgressBar* Bar() const { return bar_; }
    QLabel* PercentText() const { return percent_; }

  private:
    QLabel* line_ = nullptr;
    QProgressBar* bar_ = nullptr;
    QLabel* percent_ = nullptr;
    bool cancelPressed_ = false;
};

} // namespace vantrel
