#pragma once
// "Communication parameters" drawn with Qt: the port combo of the CommunicationDialog model.
#include <QComboBox>
#include <QDialog>

#include "dialogs/CommunicationDialog.h"

namespace vantrel {

class CommunicationDialogView : public QDialog {
    Q_OBJECT
  public:
    CommunicationDialogView(CommunicationDialog& model, QWidget* parent = nullptr);

  private:
    CommunicationDialog& model_;
    QComboBox* ports_;
};

} // namespace vantrel
