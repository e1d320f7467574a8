#include "ui/qt/AboutDialog.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QStyle>
#include <QVBoxLayout>

#include "ui/AboutBox.h"

namespace vantrel {

AboutDialog::AboutDialog(QWidget* parent) : QDialog(parent) {
    AboutBox box = MakeAboutBox();
    setWindowTitle(QString::fromLatin1(box.title.c_str()));
    auto* icon = new QLabel;
    icon->setPixmap(style()->standardIcon(QStyle::SP_ComputerIcon).pixmap(32, 32));
    auto* texts = new QVBoxLayout;
    texts->addWidget(new QLabel(QString::fromLatin1(box.version.c_str())));
    texts->addWidget(new QLabel(QString::fromLatin1(box.buildStamp.c_str())));
    auto* description = new QLabel(QString::fromLatin1(box.description.c_str()));
    description->setWordWrap(true);
    texts->addWidget(description);
    auto* row = new QHBoxLayout;
    row->addWidget(icon, 0, Qt::AlignTop);
    row->addLayout(texts, 1);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addWidget(buttons);
    setFixedWidth(360);
}

} // namespace vantrel
