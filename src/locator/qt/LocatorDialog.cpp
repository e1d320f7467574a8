#include "locator/qt/LocatorDialog.h"

#include <QCloseEvent>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTreeWidget>

#include "locator/DiscoveryColumns.h"
#include "locator/qt/ProgrammerPicture.h"

namespace vantrel::locator {
namespace {

QString Latin1(const std::string& text) {
    return QString::fromLatin1(text.data(), text.size());
}

Qt::Alignment ToQt(ColumnAlign align) {
    return (align == ColumnAlign::Centre ? Qt::AlignHCenter : Qt::AlignLeft) | Qt::AlignVCenter;
}

} // namespace

LocatorDialog::LocatorDialog(QWidget* parent) : QDialog(parent) {
    setWindowTitle("KORVID - Vantrel 5 NXT Discover Tool");
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint);
    setFixedSize(724, 307);
    // A posted round is shown by a queued call on the dialog's (the GUI) thread.
    queue_.SetWaker([this] {
        QMetaObject::invokeMethod(
            this, [this] { queue_.Drain(); }, Qt::QueuedConnection);
    });

    picture_ = new QLabel(this);
    picture_->setGeometry(7, 7, 126, 268);
    picture_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    picture_->setLineWidth(1);
    picture_->setPixmap(DrawProgrammerPicture(picture_->contentsRect().size()));

    auto* caption = new QLabel("Located Vantrel 5 NXT:", this);
    caption->setGeometry(146, 8, 250, 14);

    list_ = new QTreeWidget(this);
    list_->setGeometry(146, 27, 562, 207);
    list_->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    list_->setRootIsDecorated(false);
    list_->setItemsExpandable(false);
    list_->setUniformRowHeights(true);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setSelectionBehavior(QAbstractItemView::SelectRows);
    list_->setColumnCount(static_cast<int>(kColumnCount));
    list_->header()->setMinimumSectionSize(1); // the "#" column is narrower than the default
    auto* header = list_->headerItem();
    for (std::size_t c = 0; c < kColumnCount; ++c) {
        int column = static_cast<int>(c);
        header->setText(column, kDiscoveryColumns[c].title);
        header->setTextAlignment(column, ToQt(kDiscoveryColumns[c].align));
        list_->setColumnWidth(column, kDiscoveryColumns[c].width);
    }
    list_->header()->setStretchLastSection(false);
    list_->header()->setSectionsMovable(false);
    list_->viewport()->installEventFilter(this);

    ok_ = new QPushButton("OK", this);
    ok_->setGeometry(627, 247, 80, 23);
    ok_->setDefault(true);
    ok_->setAutoDefault(true);
    connect(ok_, &QPushButton::clicked, this, &QDialog::accept);

    list_->setFocus();
    CentreOnScreen();
}

void LocatorDialog::CentreOnScreen() {
    if (QScreen* s = screen()) move(s->availableGeometry().center() - rect().center());
}

void LocatorDialog::ShowRound(const DiscoveryTable& table) {
    list_->clear();
    for (std::size_t i = 0; i < table.Count(); ++i) {
        RowTexts texts = DiscoveryRowTexts(i, table[i]);
        auto* item = new QTreeWidgetItem;
        for (std::size_t c = 0; c < kColumnCount; ++c) {
            item->setText(static_cast<int>(c), Latin1(texts[c]));
            item->setTextAlignment(static_cast<int>(c), ToQt(kDiscoveryColumns[c].align));
        }
        list_->addTopLevelItem(item);
    }
    if (auto* first = list_->topLevelItem(0)) {
        list_->setCurrentItem(first);
        first->setSelected(true);
    }
    list_->setEnabled(true);
}

void LocatorDialog::PostRound(const DiscoveryTable& table) {
    queue_.Post([this, table] { ShowRound(table); });
}

void LocatorDialog::accept() {
    ending_ = true;
    QDialog::accept();
}

void LocatorDialog::closeEvent(QCloseEvent* event) {
    // The close box does not end the dialog; OK does.
    if (ending_)
        QDialog::closeEvent(event);
    else
        event->ignore();
}

bool LocatorDialog::eventFilter(QObject* watched, QEvent* event) {
    // A double-click anywhere in the list, on a row or below the last one, is OK.
    if (watched == list_->viewport() && event->type() == QEvent::MouseButtonDblClick) {
        accept();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace vantrel::locator
