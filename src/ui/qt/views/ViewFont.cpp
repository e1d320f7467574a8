#include "ui/qt/views/ViewFont.h"

#include <QFontMetrics>

namespace vantrel {

ViewTextMetrics MeasureViewText(const QFont& font) {
    const QFontMetrics fm(font);
    ViewTextMetrics m;
    m.zeroWidth = fm.horizontalAdvance(QStringLiteral("0"));
    m.zeroHeight = fm.height();
    m.eWidth = fm.horizontalAdvance(QStringLiteral("E"));
    m.atWidth = fm.horizontalAdvance(QStringLiteral("@"));
    m.fourZerosWidth = fm.horizontalAdvance(QStringLiteral("0000"));
    m.sixZerosWidth = fm.horizontalAdvance(QStringLiteral("000000"));
    m.eightZerosWidth = fm.horizontalAdvance(QStringLiteral("00000000"));
    m.xxWidth = fm.horizontalAdvance(QStringLiteral("XX"));
    m.mWidth = fm.horizontalAdvance(QStringLiteral("M"));
    m.xxxxHeight = fm.height();
    return m;
}

bool ByteGlyphs::Prepare(const QFont& font, char (*character)(uint8_t)) {
    usable_ = false;
    raw_ = QRawFont::fromFont(font);
    if (!raw_.isValid()) return false;
    const QList<quint32> digits = raw_.glyphIndexesForString(QStringLiteral("0123456789ABCDEF"));
    if (digits.size() != 16) return false;
    const QList<QPointF> advances = raw_.advancesForGlyphIndexes(digits);
    for (int i = 0; i < 16; ++i) {
        if (digits[i] == 0) return false;
        digit_[i] = digits[i];
        digitAdvance_[i] = advances.value(i).x();
    }
    for (int value = 0; value < 256; ++value) {
        const QList<quint32> glyph =
            raw_.glyphIndexesForString(QString(QChar(character(static_cast<uint8_t>(value)))));
        character_[value] = glyph.value(0);
    }
    usable_ = true;
    return true;
}

void ByteGlyphs::AddHex(Run& run, uint8_t value, qreal x, qreal baseline) const {
    run.glyphs.append(digit_[value >> 4]);
    run.positions.append(QPointF(x, baseline));
    run.glyphs.append(digit_[value & 15]);
    run.positions.append(QPointF(x + digitAdvance_[value >> 4], baseline));
}

void ByteGlyphs::AddCharacter(Run& run, uint8_t value, qreal x, qreal baseline) const {
    run.glyphs.append(character_[value]);
    run.positions.append(QPointF(x, baseline));
}

void ByteGlyphs::AddDigits(Run& run, const char* text, qreal x, qreal baseline) const {
    for (; *text; ++text) {
        const int digit = *text <= '9' ? *text - '0' : *text - 'A' + 10;
        if (digit < 0 || digit > 15) continue;
        run.glyphs.append(digit_[digit]);
        run.positions.append(QPointF(x, baseline));
        x += digitAdvance_[digit];
    }
}

void ByteGlyphs::Draw(QPainter& painter, const Run& run) const {
    if (run.glyphs.isEmpty()) return;
    QGlyphRun glyphs;
    glyphs.setRawFont(raw_);
    glyphs.setGlyphIndexes(run.glyphs);
    glyphs.setPositions(run.positions);
    painter.drawGlyphRun(QPointF(0, 0), glyphs);
}

} // namespace vantrel
