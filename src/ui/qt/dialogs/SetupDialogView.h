#pragma once
// "Setup" drawn with Qt: the lists, number edits and radio buttons of the SetupDialog model.
#include <QButtonGroup>
#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QRadioButton>

#include "dialogs/SetupDialog.h"

namespace vantrel {

class SetupDialogView : public QDialog {
    Q_OBJECT
  public:
    SetupDialogView(SetupDialog& model, QWidget* parent = nullptr);

  private:
    void Show();
    void Save();
    SetupDialog& model_;
    QComboBox* powerUp_;
    QComboBox* powerDown_;
    QComboBox* resetMode_;
    QLineEdit* resetActive_;
    QLineEdit* resetInactive_;
    QRadioButton* pushPull_;
    QRadioButton* openDrain_;
    QButtonGroup* outputs_;
    QLineEdit* serial_;
};

} // namespace vantrel
