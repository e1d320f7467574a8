#pragma once
// The text extents of a font as the image views lay themselves out by them, and the cached
// texts they draw over and over (each byte's hex digits and character).
#include <QFont>
#include <QStaticText>
#include <array>

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

} // namespace vantrel
