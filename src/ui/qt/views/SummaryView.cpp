#include "ui/qt/views/SummaryView.h"

#include <QPainter>
#include <QScrollBar>
#include <algorithm>

#include "app/App.h"
#include "ui/qt/Latin1.h"

namespace vantrel {
namespace {

QColor ColourOf(SummaryColour colour) {
    return QColor::fromRgb(SummaryRgb(colour));
}

QRect ToQt(const SummaryRect& r) {
    return QRect(QPoint(r.left, r.top), QPoint(r.right - 1, r.bottom - 1));
}

} // namespace

SummaryView::SummaryView(App& app, QWidget* parent) : QAbstractScrollArea(parent), app_(app) {
    viewport()->setBackgroundRole(QPalette::Base);
    viewport()->setAutoFillBackground(true);
    setMinimumHeight(10);
    model_.Update(GatherSummary(app_, model_.Inputs()));
    connect(&timer_, &QTimer::timeout, this, [this] { Refresh(); });
    timer_.start(50);
}

SummaryLayout SummaryView::Layout() const {
    QFontMetrics metrics(font());
    return SummaryLayout(metrics.height(), [metrics](const std::string& text) {
        return metrics.horizontalAdvance(Latin1(text));
    });
}

void SummaryView::Refresh() {
    SummaryModel::Changes changes = model_.Update(GatherSummary(app_, model_.Inputs()));
    SummaryLayout layout = Layout();
    lastInvalidated_ = QRegion();
    if (changes.whole) {
        lastInvalidated_ = QRegion(QRect(QPoint(0, 0), viewport()->size()));
        viewport()->update();
    } else {
        for (const SummaryRow& row : changes.rows)
            lastInvalidated_ += ToQt(layout.RowRect(row));
        const QPoint scrolled(horizontalScrollBar()->value(), verticalScrollBar()->value());
        if (!lastInvalidated_.isEmpty()) viewport()->update(lastInvalidated_.translated(-scrolled));
    }
    if (changes.whole || !changes.rows.empty()) UpdateScrollBars();
}

void SummaryView::paintEvent(QPaintEvent*) {
    QPainter painter(viewport());
    painter.translate(-horizontalScrollBar()->value(), -verticalScrollBar()->value());
    painter.setFont(font());
    const SummaryLayout layout = Layout();
    const int ascent = QFontMetrics(font()).ascent();
    for (const SummaryRow& row : model_.Rows()) {
        const int y = layout.RowY(row.row) + ascent;
        painter.setPen(ColourOf(SummaryColour::Label));
        if (!row.label.empty()) painter.drawText(layout.LabelX(row.column), y, Latin1(row.label));
        if (row.id == SummaryRowId::FileHeader || row.id == SummaryRowId::TargetHeader) {
            auto [from, to] = layout.Underline(row.column);
            int lineY = layout.RowY(0) + layout.RowHeight();
            painter.drawLine(from, lineY, to, lineY);
        }
        if (row.value.empty()) continue;
        painter.setPen(ColourOf(row.colour));
        painter.drawText(layout.ValueX(row.column), y, Latin1(row.value));
    }
}

void SummaryView::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    UpdateScrollBars();
}

void SummaryView::scrollContentsBy(int, int) {
    viewport()->update();
}

void SummaryView::UpdateScrollBars() {
    auto [width, height] = Layout().Extent(model_.Rows());
    const QSize page = viewport()->size();
    horizontalScrollBar()->setRange(0, std::max(0, width - page.width()));
    horizontalScrollBar()->setPageStep(page.width());
    verticalScrollBar()->setRange(0, std::max(0, height - page.height()));
    verticalScrollBar()->setPageStep(page.height());
}

} // namespace vantrel
