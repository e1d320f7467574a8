#pragma once
#include <QDialog>

namespace vantrel {

// The modal About box: icon, version, build stamp, one line of description, OK.
class AboutDialog : public QDialog {
  public:
    explicit AboutDialog(QWidget* parent = nullptr);
};

} // namespace vantrel
