#pragma once
// The locator's dialog: the list of located programmers, rebuilt after every discovery round.
// Only the GUI thread touches the widgets: the worker hands each finished round to
// PostRound(), which queues the rebuild for the dialog's thread on a MainThreadQueue, the
// program's one way of reaching the GUI thread. OK (the button, Enter, or a
// double-click anywhere in the list) ends the dialog; Escape and the close box do not.
// Whoever posts rounds must stop doing so before the dialog is destroyed.
#include <QDialog>

#include "base/MainThreadQueue.h"
#include "locator/DiscoverDatagrams.h"

class QLabel;
class QPushButton;
class QTreeWidget;

namespace vantrel::locator {

class LocatorDialog : public QDialog {
    Q_OBJECT
  public:
    explicit LocatorDialog(QWidget* parent = nullptr);

    // Rebuilds the list from a round's table. GUI thread only.
    void ShowRound(const DiscoveryTable& table);
    // Callable from any thread: copies the table and rebuilds the list on the GUI thread.
    void PostRound(const DiscoveryTable& table);

    QTreeWidget* List() const { return list_; }
    QPushButton* OkButton() const { return ok_; }

    // Centres the dialog in the work area of its screen.
    void CentreOnScreen();

  public slots:
    void accept() override;
    void reject() override {} // Escape and the close box leave the dialog open

  protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QLabel* picture_;
    QTreeWidget* list_;
    QPushButton* ok_;
    bool ending_ = false;   // set by OK, so that the dialog may close
    MainThreadQueue queue_; // rounds posted by the worker, drained on the GUI thread
};

} // namespace vantrel::locator
