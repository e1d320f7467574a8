#pragma once
// "Passcode configuration" drawn with Qt: the count combo and the two rows of byte combos of
// the PasscodeDialog model.
#include <QComboBox>
#include <QDialog>
#include <array>

#include "dialogs/PasscodeDialog.h"

namespace vantrel {

class PasscodeDialogView : public QDialog {
    Q_OBJECT
  public:
    PasscodeDialogView(PasscodeDialog& model, QWidget* parent = nullptr);

  private:
    void ShowBytes();
    PasscodeDialog& model_;
    QComboBox* count_;
    std::array<QComboBox*, kMaxPasscode> bytes_{};
};

} // namespace vantrel
