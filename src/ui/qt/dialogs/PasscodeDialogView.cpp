#include "ui/qt/dialogs/PasscodeDialogView.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "ui/qt/dialogs/OptionDialogWidgets.h"

namespace vantrel {

PasscodeDialogView::PasscodeDialogView(PasscodeDialog& model, QWidget* parent)
    : QDialog(parent), model_(model) {
    setWindowTitle("Passcode configuration");
    auto* intro = new QLabel(kPasscodeIntroText);
    intro->setWordWrap(true);
    auto* blank = new QLabel(kPasscodeBlankText);
    blank->setWordWrap(true);

    count_ = ComboOf(model.CountItems(), kPasscodeCountComboId);
    count_->setCurrentIndex(model.CountIndex());
    count_->setEnabled(model.CountEnabled());
    connect(count_, &QComboBox::currentIndexChanged, this, [this](int index) {
        model_.SelectCount(index);
        ShowBytes();
    });
    auto* countRow = new QHBoxLayout;
    countRow->addWidget(new QLabel("Number of ID bytes"));
    countRow->addWidget(count_);
    countRow->addStretch();

    auto* grid = new QGridLayout;
    for (int n = 0; n < 7; ++n)
        grid->addWidget(new QLabel(QString("Id%1").arg(n + 1)), 0, n);
    for (int n = 0; n < kMaxPasscode; ++n) {
        QComboBox* combo = ComboOf(PasscodeByteItems(), PasscodeByteComboId(n));
        combo->setCurrentIndex(model.Byte(n));
        connect(combo, &QComboBox::currentIndexChanged, this,
                [this, n](int index) { model_.SetByte(n, static_cast<uint8_t>(index)); });
        bytes_[static_cast<std::size_t>(n)] = combo;
        grid->addWidget(combo, n < 7 ? 1 : 2, n < 7 ? n : n - 7);
    }
    ShowBytes();

    OkCancel buttons = MakeOkCancel();
    connect(buttons.ok, &QPushButton::clicked, this, [this] {
        model_.Ok();
        accept();
    });
    connect(buttons.cancel, &QPushButton::clicked, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(intro);
    layout->addWidget(blank);
    layout->addLayout(countRow);
    layout->addWidget(new QLabel("ID bytes: (hex)"));
    layout->addLayout(grid);
    layout->addWidget(buttons.box);
}

void PasscodeDialogView::ShowBytes() {
    for (int n = 0; n < kMaxPasscode; ++n) {
        QComboBox* combo = bytes_[static_cast<std::size_t>(n)];
        combo->setVisible(model_.ByteShown(n));
        combo->setEnabled(model_.ByteEnabled(n));
    }
}

} // namespace vantrel
