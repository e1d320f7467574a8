#include "ui/qt/dialogs/SelectDeviceDialog.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QVBoxLayout>
#include <algorithm>

#include "ui/qt/dialogs/DeviceDialogWidgets.h"

namespace vantrel {
namespace {

constexpr int kArrowRoom = 28; // the header's margins and its sort arrow

// The list hands typed text to the dialog instead of searching its first column.
class DeviceList : public QTableWidget {
  public:
    DeviceList(SelectDeviceDialog* dialog, QWidget* parent)
        : QTableWidget(parent), dialog_(dialog) {}
    void keyboardSearch(const QString& search) override { dialog_->TypeAhead(search); }

  private:
    SelectDeviceDialog* dialog_;
};

} // namespace

SelectDeviceDialog::SelectDeviceDialog(SelectDeviceModel& model, Ui& ui, QWidget* parent)
    : QDialog(parent), model_(model), ui_(ui) {
    setWindowTitle(" Select Device");
    auto* filters = new QHBoxLayout;
    auto* manufacturerLabel = new QLabel("Manufacturer", this);
    manufacturers_ = new QComboBox(this);
    manufacturers_->setObjectName("10");
    auto* groupLabel = new QLabel("Group", this);
    groups_ = new QComboBox(this);
    groups_->setObjectName("11");
    for (QComboBox* combo : {manufacturers_, groups_})
        combo->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    filters->addWidget(manufacturerLabel);
    filters->addWidget(manufacturers_);
    filters->addSpacing(12);
    filters->addWidget(groupLabel);
    filters->addWidget(groups_);
    filters->addStretch();

    list_ = new DeviceList(this, this);
    list_->setObjectName("5");
    list_->setColumnCount(static_cast<int>(kDeviceListColumns.size()));
    list_->setSelectionBehavior(QAbstractItemView::SelectRows);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list_->setShowGrid(true);
    list_->setWordWrap(false);
    list_->verticalHeader()->hide();
    list_->verticalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    QHeaderView* header = list_->horizontalHeader();
    header->setSectionsMovable(true);
    header->setSectionsClickable(true);
    header->setHighlightSections(false);
    for (std::size_t c = 0; c < kDeviceListColumns.size(); ++c) {
        const DeviceListColumn& column = kDeviceListColumns[c];
        auto* item = new QTableWidgetItem(QString::fromLatin1(column.title));
        item->setTextAlignment(AlignmentOf(column.align) | Qt::AlignVCenter);
        list_->setHorizontalHeaderItem(static_cast<int>(c), item);
        // At least the column's width, and room for its title and the sort arrow.
        int title = header->fontMetrics().horizontalAdvance(item->text()) + kArrowRoom;
        int width = std::max(ScaledPixels(this, column.width), title);
        list_->setColumnWidth(static_cast<int>(c), width);
    }

    ok_ = new QPushButton("OK", this);
    ok_->setObjectName("1");
    ok_->setDefault(true);
    auto* cancel = new QPushButton("Cancel", this);
    cancel->setObjectName("2");
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(ok_);
    buttons->addStretch();
    buttons->addWidget(cancel);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(filters);
    layout->addWidget(list_, 1);
    layout->addLayout(buttons);

    connect(manufacturers_, &QComboBox::currentIndexChanged, this, [this](int item) {
        model_.ChooseManufacturer(item);
        ShowCombo(groups_, model_.Groups());
        FillRows();
    });
    connect(groups_, &QComboBox::currentIndexChanged, this, [this](int item) {
        model_.ChooseGroup(item);
        FillRows();
    });
    connect(header, &QHeaderView::sectionClicked, this, [this](int column) {
        model_.HeaderClicked(column);
        FillRows();
    });
    connect(list_, &QTableWidget::itemSelectionChanged, this, [this] {
        QList<QTableWidgetItem*> picked = list_->selectedItems();
        model_.SelectRow(picked.isEmpty() ? -1 : picked.front()->row());
    });
    connect(list_, &QTableWidget::cellDoubleClicked, this, [this] { Ok(); });
    connect(ok_, &QPushButton::clicked, this, [this] { Ok(); });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    FillFilters();
    FillRows();
    FitColumns();
}

// Each column as wide as its texts when they need more than its own width; the dialog wide
// enough for all of them.
void SelectDeviceDialog::FitColumns() {
    int total = 0;
    for (int c = 0; c < list_->columnCount(); ++c) {
        int width = list_->columnWidth(c);
        list_->resizeColumnToContents(c);
        list_->setColumnWidth(c, std::max(width, list_->columnWidth(c)));
        total += list_->columnWidth(c);
    }
    QMargins margins = layout()->contentsMargins();
    int frame = 2 * list_->frameWidth() + list_->verticalScrollBar()->sizeHint().width();
    resize(std::max(ScaledPixels(this, SelectDeviceModel::kWidth),
                    total + frame + margins.left() + margins.right()),
           ScaledPixels(this, SelectDeviceModel::kHeight));
}

void SelectDeviceDialog::FillFilters() {
    ShowCombo(manufacturers_, model_.Manufacturers());
    ShowCombo(groups_, model_.Groups());
}

void SelectDeviceDialog::FillRows() {
    QSignalBlocker block(list_);
    const std::vector<int>& rows = model_.Rows();
    list_->clearContents();
    list_->setRowCount(static_cast<int>(rows.size()));
    for (int row = 0; row < static_cast<int>(rows.size()); ++row) {
        for (std::size_t c = 0; c < kDeviceListColumns.size(); ++c) {
            int column = static_cast<int>(c);
            auto* item = new QTableWidgetItem(Latin1(model_.Cell(row, column)));
            item->setTextAlignment(AlignmentOf(kDeviceListColumns[c].align) | Qt::AlignVCenter);
            list_->setItem(row, column, item);
        }
    }
    list_->setEnabled(model_.ListEnabled());
    QHeaderView* header = list_->horizontalHeader();
    int arrow = model_.ArrowColumn();
    header->setSortIndicatorShown(arrow >= 0);
    if (arrow >= 0)
        header->setSortIndicator(arrow, model_.ArrowDescending() ? Qt::DescendingOrder
                                                                 : Qt::AscendingOrder);
    int selected = model_.SelectedRow();
    list_->clearSelection();
    if (selected >= 0) {
        list_->selectRow(selected);
        list_->setCurrentCell(selected, 0, QItemSelectionModel::NoUpdate);
        list_->scrollToItem(list_->item(selected, 0));
    }
}

// First the row half a page below the selected one, then the selected one: it ends up about
// in the middle of the page.
void SelectDeviceDialog::ShowSelectedInTheMiddle() {
    int selected = model_.SelectedRow();
    if (selected < 0) return;
    int rowHeight = std::max(list_->rowHeight(selected), 1);
    int page = list_->viewport()->height() / rowHeight;
    list_->scrollToItem(list_->item(model_.CentringRow(page), 0));
    list_->scrollToItem(list_->item(selected, 0));
    list_->setFocus();
}

void SelectDeviceDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    ShowSelectedInTheMiddle();
}

void SelectDeviceDialog::TypeAhead(const QString& text) {
    uint32_t now = typing_.isValid() ? static_cast<uint32_t>(typing_.elapsed()) : 0;
    if (!typing_.isValid()) typing_.start();
    int row = model_.TypeAhead(Bytes(text), now);
    if (row < 0) return;
    QSignalBlocker block(list_);
    list_->clearSelection();
    list_->selectRow(row);
    list_->setCurrentCell(row, 0, QItemSelectionModel::NoUpdate);
    list_->scrollToItem(list_->item(row, 0));
}

void SelectDeviceDialog::Ok() {
    std::optional<int> chosen = model_.Accept(ui_, [] { QApplication::beep(); });
    if (!chosen) return;
    chosen_ = *chosen;
    accept();
}

} // namespace vantrel
