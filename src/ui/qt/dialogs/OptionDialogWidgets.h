#pragma once
// What the Qt option dialogs share: controls named by their dialog id (tests and reviewers find
// them by it), and the OK / Cancel row.
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QString>
#include <string>
#include <vector>

#include "ui/qt/Latin1.h"

namespace vantrel {

// Gives `widget` its dialog id as object name and returns it.
template <class W> W* WithId(W* widget, int id) {
    widget->setObjectName(QString::number(id));
    return widget;
}

inline QComboBox* ComboOf(const std::vector<std::string>& items, int id) {
    auto* combo = WithId(new QComboBox, id);
    for (const std::string& item : items)
        combo->addItem(Latin1(item));
    return combo;
}

// "OK" (id 1, default) and "Cancel" (id 2); the caller connects them.
struct OkCancel {
    QDialogButtonBox* box;
    QPushButton* ok;
    QPushButton* cancel;
};
inline OkCancel MakeOkCancel() {
    auto* box = new QDialogButtonBox;
    auto* ok = WithId(box->addButton("OK", QDialogButtonBox::AcceptRole), 1);
    auto* cancel = WithId(box->addButton("Cancel", QDialogButtonBox::RejectRole), 2);
    ok->setDefault(true);
    return {box, ok, cancel};
}

} // namespace vantrel
