#pragma once
// The picture at the left of the locator's dialog: a Vantrel 5 NXT drawn with QPainter (front
// panel with display, keys, status lights, target socket and network jack).
#include <QPixmap>
#include <QSize>

namespace vantrel::locator {

QPixmap DrawProgrammerPicture(QSize size);

} // namespace vantrel::locator
