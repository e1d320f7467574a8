#include "ui/qt/dialogs/FillingDialogView.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "ui/qt/dialogs/OptionDialogWidgets.h"

namespace vantrel {

FillingDialogView::FillingDialogView(FillingDialog& model, QWidget* parent)
    : QDialog(parent), model_(model) {
    setWindowTitle(" Filling & Misc. options");
    auto* filling = new QGroupBox("Filling");
    auto* fillRow = new QHBoxLayout(filling);
    fillRow->addWidget(new QLabel("Byte (hex)"));
    fill_ = WithId(new QLineEdit(Latin1(model.FillText())), kFillingEditId);
    fill_->setMaxLength(2);
    fill_->setFixedWidth(fill_->fontMetrics().horizontalAdvance("WW") + 12);
    fillRow->addWidget(fill_);
    fillRow->addStretch();
    connect(fill_, &QLineEdit::textEdited, this, [this](const QString& text) {
        const int at = fill_->cursorPosition();
        model_.SetFillText(Bytes(text));
        fill_->setText(Latin1(model_.FillText())); // the edit forces upper case
        fill_->setCursorPosition(at);
    });

    auto* misc = new QGroupBox("Miscellaneous options");
    auto* column = new QVBoxLayout(misc);
    for (std::size_t i = 0; i < boxes_.size(); ++i) {
        const FillingCheckBox& row = kFillingCheckBoxes[i];
        boxes_[i] = WithId(new QCheckBox(row.text), row.id);
        boxes_[i]->setChecked(model.Checked(static_cast<int>(i)));
        if (row.id == 102) { // indented under the box it depends on
            auto* indent = new QHBoxLayout;
            indent->addSpacing(18);
            indent->addWidget(boxes_[i]);
            column->addLayout(indent);
        } else {
            column->addWidget(boxes_[i]);
        }
        connect(boxes_[i], &QCheckBox::toggled, this, [this, i](bool on) {
            model_.SetChecked(static_cast<int>(i), on);
            boxes_[1]->setEnabled(model_.ClearOnDemandEnabled());
        });
    }
    boxes_[1]->setEnabled(model.ClearOnDemandEnabled());

    OkCancel buttons = MakeOkCancel();
    connect(buttons.ok, &QPushButton::clicked, this, &FillingDialogView::Ok);
    connect(buttons.cancel, &QPushButton::clicked, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(filling);
    layout->addWidget(misc);
    layout->addWidget(buttons.box);
    buttons.ok->setFocus();
}

void FillingDialogView::Ok() {
    if (model_.Ok()) {
        accept();
        return;
    }
    fill_->setFocus();
}

} // namespace vantrel
