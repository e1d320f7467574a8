#pragma once
// The "Device properties" dialog: draws the session's model and forwards every choice, OK,
// Cancel and "Select Device" to it. Controls carry their ids as object names ("20" to "27" the
// device data, "40"/"41" the bank mode, "10" to "13" the combos, "30" the bank list, "51" and
// "31" the protected areas, "5" "Select Device", "1" OK, "2" Cancel).
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <array>

#include "dialogs/DeviceDialogFlow.h"

namespace vantrel {

class Ui;

class DevicePropertiesDialog : public QDialog {
    Q_OBJECT
  public:
    DevicePropertiesDialog(DevicePropertiesSession& session, Ui& ui, QWidget* parent = nullptr);

    // Cancel, Escape and the close box: the supported-device check may keep the dialog open.
    void reject() override;

  private:
    void Refresh();
    void Closing(DeviceDialogClose close, bool accepted);
    void SelectDevice();

    DevicePropertiesSession& session_;
    Ui& ui_;
    std::array<QLineEdit*, kDeviceFieldCount> fields_{};
    QRadioButton* startEnd_ = nullptr;
    QRadioButton* individual_ = nullptr;
    QComboBox* startBank_ = nullptr;
    QComboBox* endBank_ = nullptr;
    QComboBox* interface_ = nullptr;
    QComboBox* speed_ = nullptr;
    QListWidget* banks_ = nullptr;
    QLabel* protectedLabel_ = nullptr;
    QListWidget* protected_ = nullptr;
    QPushButton* select_ = nullptr;
    QPushButton* ok_ = nullptr;
    QPushButton* cancel_ = nullptr;
    bool showedProtectedAreas_ = false;
};

} // namespace vantrel
