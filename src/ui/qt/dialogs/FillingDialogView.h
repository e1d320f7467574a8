#pragma once
// " Filling & Misc. options" drawn with Qt: the fill byte edit and the six option check boxes
// of the FillingDialog model.
#include <QCheckBox>
#include <QDialog>
#include <QLineEdit>
#include <array>

#include "dialogs/FillingDialog.h"

namespace vantrel {

class FillingDialogView : public QDialog {
    Q_OBJECT
  public:
    FillingDialogView(FillingDialog& model, QWidget* parent = nullptr);

  private:
    void Ok();
    FillingDialog& model_;
    QLineEdit* fill_;
    std::array<QCheckBox*, 6> boxes_{};
};

} // namespace vantrel
