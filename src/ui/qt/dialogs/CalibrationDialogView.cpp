#include "ui/qt/dialogs/CalibrationDialogView.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "ui/qt/dialogs/OptionDialogWidgets.h"

namespace vantrel {

namespace {

QLineEdit* ReadOnly(int id) {
    auto* edit = WithId(new QLineEdit, id);
    edit->setReadOnly(true);
    return edit;
}

} // namespace

CalibrationDialogView::CalibrationDialogView(CalibrationDialog& model, QWidget* parent)
    : QDialog(parent), model_(model) {
    value0_ = ReadOnly(kCalibrationValue0Id);
    value1_ = ReadOnly(kCalibrationValue1Id);
    start_ = WithId(new QPushButton("Start"), kCalibrationStartId);
    save_ = WithId(new QPushButton("&Save setup"), kCalibrationSaveId);
    auto* layout = new QVBoxLayout(this);
    auto* grid = new QGridLayout;
    auto* buttons = new QHBoxLayout;
    if (model.Multiplier()) {
        setWindowTitle("Calibration of Vpp multiplier");
        layout->addWidget(new QLabel("Apply VPP: "));
        layout->addWidget(new QLabel("Press Start to start calibration,"));
        layout->addWidget(new QLabel("then press Save Setup"));
        grid->addWidget(value0_, 0, 0);
        grid->addWidget(value1_, 0, 1);
        buttons->addWidget(start_);
        buttons->addWidget(save_);
    } else {
        setWindowTitle("Calibration");
        voltage_ = ReadOnly(kCalibrationVoltageId);
        up_ = WithId(new QPushButton("&Up"), kCalibrationUpId);
        down_ = WithId(new QPushButton("&Down"), kCalibrationDownId);
        grid->addWidget(new QLabel("VPP Voltage"), 0, 0);
        grid->addWidget(voltage_, 0, 1);
        grid->addWidget(new QLabel("Calibration 0"), 1, 0);
        grid->addWidget(value0_, 1, 1);
        grid->addWidget(new QLabel("Calibration 1"), 2, 0);
        grid->addWidget(value1_, 2, 1);
        buttons->addWidget(start_);
        buttons->addWidget(up_);
        buttons->addWidget(down_);
        buttons->addWidget(save_);
        connect(up_, &QPushButton::clicked, this, [this] { model_.Up(); });
        connect(down_, &QPushButton::clicked, this, [this] { model_.Down(); });
    }
    layout->addLayout(grid);
    layout->addLayout(buttons);
    for (QPushButton* b : findChildren<QPushButton*>())
        b->setAutoDefault(false); // Enter must not step the calibration by accident
    connect(start_, &QPushButton::clicked, this, [this] {
        model_.Start();
        Show();
    });
    connect(save_, &QPushButton::clicked, this, [this] {
        if (model_.Save()) {
            accept();
            return;
        }
        Show();
    });
    Show();
}

void CalibrationDialogView::Show() {
    start_->setEnabled(model_.StartEnabled());
    save_->setEnabled(model_.SaveEnabled());
    if (up_) up_->setEnabled(model_.UpDownEnabled());
    if (down_) down_->setEnabled(model_.UpDownEnabled());
    if (voltage_) voltage_->setText(Latin1(model_.Voltage()));
    value0_->setText(Latin1(model_.Value0()));
    value1_->setText(Latin1(model_.Value1()));
    if (auto* focus = findChild<QWidget*>(QString::number(model_.Focus()))) focus->setFocus();
}

void CalibrationDialogView::Refresh() {
    model_.Refresh();
    value0_->setText(Latin1(model_.Value0()));
    value1_->setText(Latin1(model_.Value1()));
}

void CalibrationDialogView::reject() {
    model_.Cancel();
    QDialog::reject();
}

} // namespace vantrel
