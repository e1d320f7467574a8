#pragma once
// What the device dialogs' widgets share: the models' combos and check-mark lists put into Qt
// widgets (without signalling a change), and the pixel sizes of the layout on screens of any
// resolution.
#include <QComboBox>
#include <QListWidget>
#include <QString>
#include <string>

#include "dialogs/DeviceDialogItems.h"
#include "dialogs/SelectDeviceModel.h"
#include "ui/qt/Latin1.h"

namespace vantrel {

Qt::Alignment AlignmentOf(ColumnAlign align);
// `pixels` at 96 dots per inch, on the widget's screen.
int ScaledPixels(const QWidget* widget, int pixels);

void ShowCombo(QComboBox* combo, const DialogCombo& model);
// Lines keep their widget items while their number stays, so the list keeps its scroll
// position when one check mark changes.
void ShowCheckList(QListWidget* list, const CheckList& model);

} // namespace vantrel
