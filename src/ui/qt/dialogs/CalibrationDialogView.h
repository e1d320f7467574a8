#pragma once
// "Calibration" and "Calibration of Vpp multiplier" drawn with Qt: the buttons and read-only
// edits of the CalibrationDialog model. Refresh is called by the main window's timer while the
// dialog is open; closing it any other way than the last "&Save setup" ends the calibration.
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>

#include "dialogs/CalibrationDialog.h"

namespace vantrel {

class CalibrationDialogView : public QDialog {
    Q_OBJECT
  public:
    CalibrationDialogView(CalibrationDialog& model, QWidget* parent = nullptr);
    void Refresh();
    void reject() override; // Cancel, Escape, the window's close button

  private:
    void Show();
    CalibrationDialog& model_;
    QLineEdit* voltage_ = nullptr;
    QLineEdit* value0_;
    QLineEdit* value1_;
    QPushButton* start_;
    QPushButton* up_ = nullptr;
    QPushButton* down_ = nullptr;
    QPushButton* save_;
};

} // namespace vantrel
