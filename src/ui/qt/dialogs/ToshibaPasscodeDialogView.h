#pragma once
// " TOSHIBA CPU Passcode settings" drawn with Qt: the two address edits, the password edit and
// the two check boxes of the ToshibaPasscodeDialog model.
#include <QCheckBox>
#include <QDialog>
#include <QLineEdit>

#include "dialogs/ToshibaPasscodeDialog.h"

namespace vantrel {

class ToshibaPasscodeDialogView : public QDialog {
    Q_OBJECT
  public:
    ToshibaPasscodeDialogView(ToshibaPasscodeDialog& model, QWidget* parent = nullptr);

  private:
    void Show();
    void Ok();
    ToshibaPasscodeDialog& model_;
    QLineEdit* count_;
    QLineEdit* compare_;
    QLineEdit* password_;
    QCheckBox* hexMode_;
    QCheckBox* fill_;
};

} // namespace vantrel
