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

} // namespace vantrel
