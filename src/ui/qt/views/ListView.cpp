#include "ui/qt/views/ListView.h"

#include <QEvent>
#include <QPainter>
#include <QScrollBar>
#include <algorithm>
#include <limits>

#include "app/App.h"
#include "base/UtilSnprintf.h"
#include "ui/qt/Latin1.h"

namespace vantrel {
namespace {

const QColor kRowGrey(127, 127, 127);

} // namespace

ListView::ListView(App& app, QWidget* parent) : QAbstractScrollArea(parent), app_(app) {
    viewport()->setAutoFillBackground(false);
    UseFont();
    OnDocumentChanged();
}

void ListView::UseFont() {
    layout_ = ComputeListViewLayout(MeasureViewText(font()));
    hexTexts_.Prepare(font(), [](uint8_t value) {
        return QString::fromLatin1(UTIL_format("%.2X", {value}).c_str());
    });
    charTexts_.Prepare(font(), [](uint8_t value) { return QString(QChar(ListCharacter(value))); });
}

void ListView::OnDocumentChanged() {
    std::size_t areas = 0;
    {
        LockedImage image = app_.doc.Lock();
        areas = image->AreaCount();
        seenRevision_ = image->Revision();
    }
    SetScrollRanges(areas);
    verticalScrollBar()->setValue(0);
    horizontalScrollBar()->setValue(0);
    viewport()->update();
}

void ListView::OnRepaintRequested() {
    if (app_.doc.Lock()->Revision() != seenRevision_)
        OnDocumentChanged();
    else
        viewport()->update();
}

void ListView::SetScrollRanges(std::size_t areas) {
    areasInRange_ = areas;
    const int64_t height = layout_.ContentHeight(static_cast<int64_t>(areas));
    const int64_t max =
        std::clamp<int64_t>(height - viewport()->height(), 0, std::numeric_limits<int>::max());
    QScrollBar* v = verticalScrollBar();
    v->setRange(0, static_cast<int>(max));
    v->setPageStep(std::max(1, viewport()->height()));
    v->setSingleStep(std::max(1, layout_.rowHeight));
    QScrollBar* h = horizontalScrollBar();
    h->setRange(0, std::max(0, layout_.ContentWidth() + 5 - viewport()->width()));
    h->setPageStep(std::max(1, viewport()->width()));
    h->setSingleStep(std::max(1, layout_.dataCellWidth));
}

void ListView::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    SetScrollRanges(areasInRange_);
}

void ListView::changeEvent(QEvent* event) {
    QAbstractScrollArea::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        UseFont();
        SetScrollRanges(areasInRange_);
        viewport()->update();
    }
}

void ListView::scrollContentsBy(int, int) {
    viewport()->update();
}

void ListView::paintEvent(QPaintEvent*) {
    const int top = verticalScrollBar()->value();
    const int height = viewport()->height();
    // The rows in sight, copied while the image lock is held.
    std::size_t first = 0;
    std::size_t count = 0;
    if (layout_.rowHeight > 0) {
        first = static_cast<std::size_t>(std::max(0, top - layout_.firstRowY) / layout_.rowHeight);
        count = static_cast<std::size_t>(height / layout_.rowHeight + 2);
    }
    std::size_t areas = 0;
    std::vector<ListRow> rows;
    {
        LockedImage image = app_.doc.Lock();
        areas = image->AreaCount();
        rows = ListViewRows(image, index_, first, count);
    }

    QPainter painter(viewport());
    painter.fillRect(viewport()->rect(), Qt::white);
    painter.translate(-horizontalScrollBar()->value(), -top);
    painter.setFont(font());
    const int ascent = QFontMetrics(font()).ascent(); // texts are placed by their top
    auto text = [&](int x, int y, const std::string& s) {
        painter.drawText(x, y + ascent, Latin1(s));
    };
    painter.setPen(Qt::black);
    for (const ListHeader& header : ListViewHeaders(layout_))
        text(header.x, ListViewLayout::kHeaderY, header.text);
    painter.drawLine(0, layout_.lineY, ListViewLayout::kLineEndX, layout_.lineY);

    int y = layout_.firstRowY + static_cast<int>(first) * layout_.rowHeight;
    for (const ListRow& row : rows) {
        painter.setPen(Qt::black);
        text(ListViewLayout::kAreaX, y, row.number);
        painter.setPen(kRowGrey);
        text(layout_.startX, y, row.start);
        text(layout_.lengthX, y, row.length);
        text(layout_.gapX, y, row.gap);
        for (std::size_t i = 0; i < row.bytes.size(); ++i) {
            const int cell = static_cast<int>(i);
            painter.drawStaticText(layout_.dataX + cell * layout_.dataCellWidth, y,
                                   hexTexts_[row.bytes[i]]);
            painter.drawStaticText(layout_.asciiX + cell * layout_.asciiCellWidth, y,
                                   charTexts_[row.bytes[i]]);
        }
        y += layout_.rowHeight;
    }
    // The areas may have changed without an update (a read back): the next drawing fits the
    // scroll range to them.
    if (areas != areasInRange_) SetScrollRanges(areas);
}

} // namespace vantrel
