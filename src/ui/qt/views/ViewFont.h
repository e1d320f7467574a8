#pragma once
// The text extents of a font as the image views lay themselves out by them, and the cached
// texts they draw over and over (each byte's hex digits and character).
#include <QFont>
#include <QGlyphRun>
#include <QPainter>
#include <QRawFont>
#include <QStaticText>
#include <array>
#include <cstdint>

#include "ui/ViewTextMetrics.h"

namespace vantrel {

ViewTextMetrics MeasureViewText(const QFont& font);

// A prepared text per byte value: laid out once per font, drawn with the painter's pen.
class ByteTexts {
  public:
    // `text(value)` is the 8-bit text of a byte.
    template <class F> void Prepare(const QFont& font, F&& text) {
        for (int value = 0; value < 256; ++value) {
            texts_[value].setText(text(static_cast<uint8_t>(value)));
            texts_[value].setTextFormat(Qt::PlainText);
            texts_[value].prepare(QTransform(), font);
        }
    }
    const QStaticText& operator[](uint8_t value) const { return texts_[value]; }

  private:
    std::array<QStaticText, 256> texts_;
};

// The glyphs of the hex digits and of every byte's character in one font: a page of cells is
// collected as one glyph run per colour and drawn with a call each, not a text per cell.
class ByteGlyphs {
  public:
    // False when the font has no glyph for a hex digit (the caller draws texts instead).
    bool Prepare(const QFont& font, char (*character)(uint8_t));
    bool Usable() const { return usable_; }
    qreal Ascent() const { return raw_.ascent(); }

    // A run of glyphs in one colour, placed by their baseline.
    struct Run {
        QList<quint32> glyphs;
        QList<QPointF> positions;
        void Clear() {
            glyphs.clear();
            positions.clear();
        }
    };
    // The two hex digits of `value` from x on, and its character at x.
    void AddHex(Run& run, uint8_t value, qreal x, qreal baseline) const;
    void AddCharacter(Run& run, uint8_t value, qreal x, qreal baseline) const;
    // The characters of a text of hex digits (an address) from x on.
    void AddDigits(Run& run, const char* text, qreal x, qreal baseline) const;
    void Draw(QPainter& painter, const Run& run) const;

  private:
    bool usable_ = false;
    QRawFont raw_;
    std::array<quint32, 16> digit_{};
    std::array<qreal, 16> digitAdvance_{};
    std::array<quint32, 256> character_{};
};

} // namespace vantrel
