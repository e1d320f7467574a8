#include "ui/qt/dialogs/DeviceDialogWidgets.h"

#include <QSignalBlocker>

namespace vantrel {

Qt::Alignment AlignmentOf(ColumnAlign align) {
    return align == ColumnAlign::Right ? Qt::AlignRight : Qt::AlignLeft;
}

int ScaledPixels(const QWidget* widget, int pixels) {
    return pixels * widget->logicalDpiX() / 96;
}

void ShowCombo(QComboBox* combo, const DialogCombo& model) {
    QSignalBlocker block(combo);
    combo->clear();
    for (const DialogItem& item : model.items)
        combo->addItem(Latin1(item.text), item.data);
    combo->setCurrentIndex(model.current);
    combo->setEnabled(model.enabled);
}

void ShowCheckList(QListWidget* list, const CheckList& model) {
    QSignalBlocker block(list);
    if (list->count() != static_cast<int>(model.lines.size())) {
        list->clear();
        for (std::size_t i = 0; i < model.lines.size(); ++i) {
            auto* item = new QListWidgetItem(list);
            item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        }
    }
    for (std::size_t i = 0; i < model.lines.size(); ++i) {
        QListWidgetItem* item = list->item(static_cast<int>(i));
        item->setText(Latin1(model.lines[i].text));
        item->setCheckState(model.lines[i].checked ? Qt::Checked : Qt::Unchecked);
    }
    list->setEnabled(model.enabled);
}

} // namespace vantrel
