#include "ui/qt/dialogs/CommunicationDialogView.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "ui/qt/dialogs/OptionDialogWidgets.h"

namespace vantrel {

CommunicationDialogView::CommunicationDialogView(CommunicationDialog& model, QWidget* parent)
    : QDialog(parent), model_(model) {
    setWindowTitle("Communication parameters");
    ports_ = ComboOf(model.Items(), kCommunicationComboId);
    ports_->setCurrentIndex(model.Selected());
    connect(ports_, &QComboBox::currentIndexChanged, this,
            [this](int index) { model_.Select(index); });
    auto* portLabel = new QLabel("&ComPort");
    portLabel->setBuddy(ports_);
    auto* row = new QHBoxLayout;
    row->addWidget(portLabel);
    row->addWidget(ports_, 1);

    OkCancel buttons = MakeOkCancel();
    connect(buttons.ok, &QPushButton::clicked, this, [this] {
        model_.Ok();
        accept();
    });
    connect(buttons.cancel, &QPushButton::clicked, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    auto* baudLabel = new QLabel(kBaudrateLabel);
    baudLabel->setBuddy(ports_); // shows its "&" as a mnemonic, as the port label does
    layout->addWidget(baudLabel);
    layout->addLayout(row);
    layout->addWidget(buttons.box);
}

} // namespace vantrel
