#pragma once
// The "Select Device" dialog: draws a SelectDeviceModel and forwards the user's choices to it.
// Controls carry their ids as object names: the filter combos "10" and "11", the device list
// "5", OK "1" and Cancel "2".
#include <QComboBox>
#include <QDialog>
#include <QElapsedTimer>
#include <QPushButton>
#include <QTableWidget>

#include "dialogs/SelectDeviceModel.h"

namespace vantrel {

class Ui;

class SelectDeviceDialog : public QDialog {
    Q_OBJECT
  public:
    SelectDeviceDialog(SelectDeviceModel& model, Ui& ui, QWidget* parent = nullptr);

    // The device chosen with OK (valid after exec() returned Accepted).
    int Chosen() const { return chosen_; }
    // Selects the model's typed-ahead row (what typing in the list does).
    void TypeAhead(const QString& text);

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void FillFilters();
    void FillRows();
    void FitColumns();
    void ShowSelectedInTheMiddle();
    void Ok();

    SelectDeviceModel& model_;
    Ui& ui_;
    QComboBox* manufacturers_ = nullptr;
    QComboBox* groups_ = nullptr;
    QTableWidget* list_ = nullptr;
    QPushButton* ok_ = nullptr;
    QElapsedTimer typing_;
    int chosen_ = -1;
};

} // namespace vantrel
