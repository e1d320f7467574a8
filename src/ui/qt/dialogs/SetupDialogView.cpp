#include "ui/qt/dialogs/SetupDialogView.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "ui/qt/dialogs/OptionDialogWidgets.h"

namespace vantrel {

namespace {

template <std::size_t N> QComboBox* ListOf(const std::array<const char*, N>& texts, int id) {
    return ComboOf(std::vector<std::string>(texts.begin(), texts.end()), id);
}

} // namespace

SetupDialogView::SetupDialogView(SetupDialog& model, QWidget* parent)
    : QDialog(parent), model_(model) {
    setWindowTitle("Setup");
    powerUp_ = ListOf(kPowerUpModes, kSetupPowerUpId);
    powerDown_ = ListOf(kPowerDownModes, kSetupPowerDownId);
    resetMode_ = ListOf(kResetModes, kSetupResetModeId);
    resetActive_ = WithId(new QLineEdit, kSetupResetActiveId);
    resetInactive_ = WithId(new QLineEdit, kSetupResetInactiveId);
    pushPull_ = WithId(new QRadioButton(kResetOutputModes[0]), kSetupPushPullId);
    openDrain_ = WithId(new QRadioButton(kResetOutputModes[1]), kSetupOpenDrainId);
    outputs_ = new QButtonGroup(this);
    auto* outputs = outputs_;
    outputs->addButton(pushPull_, 0);
    outputs->addButton(openDrain_, 1);
    serial_ = WithId(new QLineEdit, kSetupSerialId);
    serial_->setReadOnly(true);

    connect(powerUp_, &QComboBox::currentIndexChanged, this, [this](int i) { model_.powerUp = i; });
    connect(powerDown_, &QComboBox::currentIndexChanged, this,
            [this](int i) { model_.powerDown = i; });
    connect(resetMode_, &QComboBox::currentIndexChanged, this,
            [this](int i) { model_.resetMode = i; });
    connect(resetActive_, &QLineEdit::textEdited, this,
            [this](const QString& t) { model_.resetActive = Bytes(t); });
    connect(resetInactive_, &QLineEdit::textEdited, this,
            [this](const QString& t) { model_.resetInactive = Bytes(t); });
    connect(outputs, &QButtonGroup::idClicked, this, [this](int id) { model_.resetOutput = id; });

    auto* grid = new QGridLayout;
    int row = 0;
    auto addRow = [&](const char* text, QWidget* control, QWidget* second = nullptr) {
        auto* label = new QLabel(text);
        label->setBuddy(control);
        grid->addWidget(label, row, 0);
        grid->addWidget(control, row, 1, 1, second ? 1 : 2);
        if (second) grid->addWidget(second, row, 2);
        ++row;
    };
    addRow("&Power up mode", powerUp_);
    addRow("&Power down mode", powerDown_);
    addRow("&Reset mode", resetMode_);
    addRow("&Reset active / inactive [ms]", resetActive_, resetInactive_);
    addRow("&Reset output mode", pushPull_, openDrain_);
    addRow("&Serial number", serial_);

    auto* save = WithId(new QPushButton("Save setup"), 1);
    auto* defaults = WithId(new QPushButton("Set &defaults"), kSetupDefaultsId);
    auto* cancel = WithId(new QPushButton("Cancel"), 2);
    cancel->setDefault(true);
    connect(save, &QPushButton::clicked, this, &SetupDialogView::Save);
    connect(defaults, &QPushButton::clicked, this, [this] {
        model_.SetDefaults();
        Show();
    });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(save);
    buttons->addWidget(defaults);
    buttons->addWidget(cancel);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(buttons);
    Show();
}

void SetupDialogView::Show() {
    const QSignalBlocker b1(powerUp_), b2(powerDown_), b3(resetMode_);
    powerUp_->setCurrentIndex(model_.powerUp);
    powerDown_->setCurrentIndex(model_.powerDown);
    resetMode_->setCurrentIndex(model_.resetMode);
    resetActive_->setText(Latin1(model_.resetActive));
    resetInactive_->setText(Latin1(model_.resetInactive));
    outputs_->setExclusive(false); // a mode the list does not know checks neither
    pushPull_->setChecked(model_.resetOutput == 0);
    openDrain_->setChecked(model_.resetOutput == 1);
    outputs_->setExclusive(true);
    serial_->setText(Latin1(model_.SerialNumber()));
}

void SetupDialogView::Save() {
    if (model_.Save()) {
        accept();
        return;
    }
    const int focus = model_.Focus();
    if (auto* edit = findChild<QLineEdit*>(QString::number(focus))) {
        edit->setFocus();
        edit->selectAll();
    }
}

} // namespace vantrel
