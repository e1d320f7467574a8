#include "ui/qt/ProgressDialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace vantrel {

QtProgressDialog::QtProgressDialog(QWidget* parent) : QDialog(parent) {
    setWindowTitle("Progress");
    setModal(false);
    // No close box: the operation ends the dialog, the user cancels with the button.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    line_ = new QLabel(this);
    bar_ = new QProgressBar(this);
    bar_->setRange(0, 100);
    bar_->setTextVisible(false);
    percent_ = new QLabel(" 0 %", this);
    percent_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    auto* cancel = new QPushButton("Cancel", this);
    connect(cancel, &QPushButton::clicked, this, [this] { cancelPressed_ = true; });

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(line_);
    layout->addWidget(percent_);
    layout->addWidget(bar_);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cancel);
    buttons->addStretch();
    layout->addLayout(buttons);
    // 250 x 79 dialog units, as wide as the text needs at any scale.
    setMinimumWidth(fontMetrics().averageCharWidth() * 250 / 4);
}

void QtProgressDialog::SetCaption(const QString& caption) {
    setWindowTitle(caption);
}

void QtProgressDialog::SetPosition(int percent, const QString& text) {
    bar_->setValue(percent < 0 ? 0 : percent > 100 ? 100 : percent);
    percent_->setText(text);
}

} // namespace vantrel
