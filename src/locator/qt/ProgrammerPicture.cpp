#include "locator/qt/ProgrammerPicture.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace vantrel::locator {

QPixmap DrawProgrammerPicture(QSize size) {
    QPixmap picture(size);
    picture.fill(QColor(236, 238, 242));
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal w = size.width();
    const qreal h = size.height();

    // Housing.
    QRectF body(w * 0.1, h * 0.05, w * 0.8, h * 0.9);
    QLinearGradient shade(body.topLeft(), body.topRight());
    shade.setColorAt(0, QColor(40, 64, 104));
    shade.setColorAt(1, QColor(22, 38, 66));
    p.setPen(QPen(QColor(12, 20, 36), 1.5));
    p.setBrush(shade);
    p.drawRoundedRect(body, 8, 8);

    // Name plate.
    p.setPen(QColor(230, 236, 245));
    QFont font = p.font();
    font.setPixelSize(10);
    font.setBold(true);
    p.setFont(font);
    p.drawText(QRectF(body.left(), body.top() + 6, body.width(), 14), Qt::AlignCenter,
               "VANTREL 5 NXT");

    // Display.
    QRectF display(body.left() + 10, body.top() + 26, body.width() - 20, 34);
    p.setPen(QPen(QColor(10, 16, 28), 1));
    p.setBrush(QColor(150, 200, 120));
    p.drawRect(display);
    font.setPixelSize(9);
    font.setBold(false);
    p.setFont(font);
    p.setPen(QColor(30, 50, 20));
    p.drawText(display.adjusted(4, 2, -2, -2), Qt::AlignLeft | Qt::AlignTop, "Ready\nLAN 19020");

    // Status lights.
    const QColor lights[] = {QColor(60, 220, 80), QColor(250, 190, 40), QColor(230, 60, 50)};
    for (int i = 0; i < 3; ++i) {
        p.setPen(QPen(QColor(10, 16, 28), 1));
        p.setBrush(lights[i]);
        p.drawEllipse(QPointF(body.left() + 22 + i * 24, display.bottom() + 16), 5, 5);
    }

    // Keys.
    p.setBrush(QColor(200, 206, 216));
    for (int i = 0; i < 3; ++i)
        p.drawRoundedRect(QRectF(body.left() + 12 + i * 24, display.bottom() + 32, 18, 12), 3, 3);

    // Target socket with its lever.
    QRectF socket(body.left() + 14, body.top() + h * 0.42, body.width() - 28, h * 0.3);
    p.setBrush(QColor(24, 24, 26));
    p.drawRect(socket);
    p.setPen(QPen(QColor(200, 170, 60), 1.2));
    for (qreal y = socket.top() + 8; y < socket.bottom() - 4; y += 7) {
        p.drawLine(QPointF(socket.left() + 6, y), QPointF(socket.left() + 14, y));
        p.drawLine(QPointF(socket.right() - 14, y), QPointF(socket.right() - 6, y));
    }
    p.setPen(QPen(QColor(170, 170, 176), 3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(socket.right() - 4, socket.top() + 4),
               QPointF(socket.right() - 4, socket.top() - 14));

    // Network jack with its lights.
    QRectF jack(body.center().x() - 14, body.bottom() - 40, 28, 24);
    p.setPen(QPen(QColor(10, 16, 28), 1));
    p.setBrush(QColor(190, 194, 200));
    p.drawRect(jack);
    p.setBrush(QColor(30, 30, 34));
    p.drawRect(jack.adjusted(5, 5, -5, -3));
    p.setBrush(QColor(60, 220, 80));
    p.drawRect(QRectF(jack.left() + 1, jack.top() + 1, 4, 3));
    p.setBrush(QColor(250, 190, 40));
    p.drawRect(QRectF(jack.right() - 5, jack.top() + 1, 4, 3));
    return picture;
}

} // namespace vantrel::locator
