#include "ui/qt/dialogs/ToshibaPasscodeDialogView.h"

#include <QGridLayout>
#include <QLabel>
#include <QVBoxLayout>
#include <functional>

#include "ui/qt/dialogs/OptionDialogWidgets.h"

namespace vantrel {

namespace {

// An edit that hands every change to the model and shows what the model made of it.
QLineEdit* ModelEdit(QWidget* owner, int id, int maxLength,
                     std::function<std::string(const std::string&)> type) {
    auto* edit = WithId(new QLineEdit, id);
    edit->setMaxLength(maxLength);
    QObject::connect(edit, &QLineEdit::textEdited, owner, [edit, type](const QString& text) {
        const int at = edit->cursorPosition();
        edit->setText(Latin1(type(Bytes(text))));
        edit->setCursorPosition(at);
    });
    return edit;
}

} // namespace

ToshibaPasscodeDialogView::ToshibaPasscodeDialogView(ToshibaPasscodeDialog& model, QWidget* parent)
    : QDialog(parent), model_(model) {
    setWindowTitle(" TOSHIBA CPU Passcode settings");
    count_ = ModelEdit(this, kToshibaCountAddressId, kToshibaAddressChars, [this](auto& t) {
        model_.TypeCountAddress(t);
        return model_.fields.countAddress;
    });
    compare_ = ModelEdit(this, kToshibaCompareAddressId, kToshibaAddressChars, [this](auto& t) {
        model_.TypeCompareAddress(t);
        return model_.fields.compareAddress;
    });
    password_ = ModelEdit(this, kToshibaPasswordId, kToshibaPasswordChars, [this](auto& t) {
        model_.TypePassword(t);
        return model_.fields.password;
    });
    hexMode_ = WithId(new QCheckBox("&HexMode"), kToshibaHexModeId);
    fill_ = WithId(new QCheckBox("&Fill 0xFF"), kToshibaFillId);
    connect(hexMode_, &QCheckBox::toggled, this, [this](bool on) { model_.fields.hexMode = on; });
    connect(fill_, &QCheckBox::toggled, this, [this](bool on) {
        model_.fields.fill = on;
        password_->setEnabled(model_.PasswordEnabled());
        hexMode_->setEnabled(model_.PasswordEnabled());
    });

    auto* grid = new QGridLayout;
    auto addRow = [&](int row, const char* text, QLineEdit* edit) {
        auto* label = new QLabel(text);
        label->setBuddy(edit);
        grid->addWidget(label, row, 0);
        grid->addWidget(edit, row, 1);
    };
    addRow(0, "&Count Address", count_);
    addRow(1, "&Compare Start Address", compare_);
    auto* passwordLabel = new QLabel("&Password");
    passwordLabel->setBuddy(password_);
    grid->addWidget(passwordLabel, 2, 0, 1, 2);
    grid->addWidget(password_, 3, 0, 1, 2);
    grid->addWidget(hexMode_, 4, 0);
    grid->addWidget(fill_, 4, 1);

    OkCancel buttons = MakeOkCancel();
    connect(buttons.ok, &QPushButton::clicked, this, &ToshibaPasscodeDialogView::Ok);
    connect(buttons.cancel, &QPushButton::clicked, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(buttons.box);
    Show();
}

void ToshibaPasscodeDialogView::Show() {
    const ToshibaFields& f = model_.fields;
    count_->setText(Latin1(f.countAddress));
    compare_->setText(Latin1(f.compareAddress));
    password_->setText(Latin1(f.password));
    const QSignalBlocker blockHex(hexMode_), blockFill(fill_);
    hexMode_->setChecked(f.hexMode);
    fill_->setChecked(f.fill);
    password_->setEnabled(model_.PasswordEnabled());
    hexMode_->setEnabled(model_.PasswordEnabled());
}

void ToshibaPasscodeDialogView::Ok() {
    if (model_.Ok()) {
        accept();
        return;
    }
    Show(); // the stored values again
}

} // namespace vantrel
