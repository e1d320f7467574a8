#include "ui/qt/views/DumpView.h"

#include <QApplication>
#include <QFontMetricsF>
#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>
#include <algorithm>
#include <limits>

#include "app/App.h"

namespace vantrel {
namespace {

const QColor kWhite(255, 255, 255);
const QColor kRed(255, 0, 0);
const QColor kGrey(128, 128, 128);

struct CellColours {
    QColor text;
    QColor background;
};

CellColours ColoursOf(DumpCellKind kind) {
    switch (kind) {
    case DumpCellKind::Edited:
        return {kWhite, kRed};
    case DumpCellKind::Defined:
        return {kGrey, kWhite};
    case DumpCellKind::Undefined:
        break;
    }
    return {kRed, kWhite};
}

// The key code the model compares: navigation keys by their codes, digits and letters as
// their upper-case characters, other keys with a character as one of no meaning, keys
// without one (shift, tab, return, escape) as nothing.
int DumpKeyCode(const QKeyEvent& event) {
    const int key = event.key();
    switch (key) {
    case Qt::Key_PageUp:
        return dumpkey::kPageUp;
    case Qt::Key_PageDown:
        return dumpkey::kPageDown;
    case Qt::Key_Home:
        return dumpkey::kHome;
    case Qt::Key_End:
        return dumpkey::kEnd;
    case Qt::Key_Left:
        return dumpkey::kLeft;
    case Qt::Key_Right:
        return dumpkey::kRight;
    case Qt::Key_Up:
        return dumpkey::kUp;
    case Qt::Key_Down:
        return dumpkey::kDown;
    case Qt::Key_Insert:
        return dumpkey::kInsert;
    case Qt::Key_Delete:
        return dumpkey::kDelete;
    case Qt::Key_Space:
        return ' ';
    default:
        break;
    }
    if ((key >= Qt::Key_0 && key <= Qt::Key_9) || (key >= Qt::Key_A && key <= Qt::Key_Z))
        return key;
    if (key >= Qt::Key_F1 && key <= Qt::Key_F24) return dumpkey::kF1 + (key - Qt::Key_F1);
    const QString text = event.text();
    if (!text.isEmpty() && text.front().isPrint()) return dumpkey::kOther;
    return 0;
}

} // namespace

DumpView::DumpView(App& app, QWidget* parent)
    : QAbstractScrollArea(parent), app_(app), model_(app) {
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setAutoFillBackground(false);
    verticalScrollBar()->setSingleStep(1);
    UseFont();
    model_.OnUpdate(viewport()->height());
    SyncScrollBars();
}

void DumpView::UseFont() {
    model_.SetMetrics(MeasureViewText(font()));
    glyphs_.Prepare(font(), DumpCharacter);
    hexTexts_.Prepare(font(), [](uint8_t value) {
        DumpCell cell;
        FillDumpCell(cell, value, DumpCellKind::Defined);
        return QString::fromLatin1(cell.hex, 2);
    });
    charTexts_.Prepare(font(), [](uint8_t value) { return QString(QChar(DumpCharacter(value))); });
}

void DumpView::OnDocumentChanged() {
    seenRevision_ = app_.doc.Lock()->Revision();
    model_.OnUpdate(viewport()->height());
    SyncScrollBars();
    viewport()->update();
}

void DumpView::OnRepaintRequested() {
    if (!editing_ && app_.doc.Lock()->Revision() != seenRevision_)
        OnDocumentChanged();
    else
        viewport()->update();
}

void DumpView::SyncScrollBars() {
    const DumpViewLayout& layout = model_.Layout();
    syncing_ = true;
    QScrollBar* v = verticalScrollBar();
    const int64_t max = std::min<int64_t>(layout.ScrollMax(), std::numeric_limits<int>::max());
    v->setRange(0, static_cast<int>(max));
    v->setPageStep(static_cast<int>(std::clamp<int64_t>(layout.visibleLines, 1, 1 << 20)));
    v->setValue(static_cast<int>(std::min<int64_t>(model_.ScrollPosition(), max)));
    QScrollBar* h = horizontalScrollBar();
    const int width = layout.asciiColumnStart +
                      DumpViewLayout::kBytesPerLine * layout.asciiCharWidth +
                      DumpViewLayout::kLeftMargin;
    h->setRange(0, std::max(0, width - viewport()->width()));
    h->setPageStep(std::max(1, viewport()->width()));
    h->setSingleStep(std::max(1, layout.xDistHex));
    syncing_ = false;
}

void DumpView::scrollContentsBy(int, int) {
    if (!syncing_) model_.ScrollBy(verticalScrollBar()->value() - model_.ScrollPosition());
    viewport()->update();
}

void DumpView::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    model_.OnResize(viewport()->height());
    SyncScrollBars();
}

void DumpView::changeEvent(QEvent* event) {
    QAbstractScrollArea::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        UseFont();
        model_.OnResize(viewport()->height());
        SyncScrollBars();
        viewport()->update();
    }
}

void DumpView::keyPressEvent(QKeyEvent* event) {
    const int code = DumpKeyCode(*event);
    if (code == 0) {
        QAbstractScrollArea::keyPressEvent(event);
        return;
    }
    // A byte typed at an undefined address adds an area, and the edit asks the window to draw
    // again: this view already shows the byte and keeps its place.
    editing_ = true;
    const DumpKeyAction action = model_.OnKey(code);
    editing_ = false;
    seenRevision_ = app_.doc.Lock()->Revision();
    if (action.beep) QApplication::beep();
    SyncScrollBars();
    // A scroll moves every line and the caret, an edit two cells: the page is drawn again.
    viewport()->update();
}

void DumpView::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    setFocus(Qt::MouseFocusReason);
    const QPoint p = event->position().toPoint();
    model_.OnLeftButton(p.x() + horizontalScrollBar()->value(), p.y());
    viewport()->update();
}

void DumpView::mouseReleaseEvent(QMouseEvent* event) {
    event->accept(); // the press did all there is to do
}

void DumpView::focusInEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusInEvent(event);
    viewport()->update(); // the caret shows while the view has the focus
}

void DumpView::focusOutEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusOutEvent(event);
    viewport()->update();
}

void DumpView::paintEvent(QPaintEvent*) {
    QPainter painter(viewport());
    painter.fillRect(viewport()->rect(), kWhite);
    painter.translate(-horizontalScrollBar()->value(), 0);
    painter.setFont(font());
    const DumpViewLayout& layout = model_.Layout();
    const std::vector<DumpLine> lines = model_.Lines(viewport()->height());
    // Edited cells: their hex text and their character on red.
    const int textHeight = std::max(0, layout.yDist - 1);
    int y = 0;
    for (const DumpLine& line : lines) {
        for (int i = 0; i < DumpViewLayout::kBytesPerLine; ++i) {
            const CellColours colours = ColoursOf(line.cells[i].kind);
            if (colours.background == kWhite) continue;
            painter.fillRect(layout.hexColumnStart + i * layout.xDistHex, y,
                             2 * layout.hexDigitWidth, textHeight, colours.background);
            painter.fillRect(layout.asciiColumnStart + i * layout.asciiCharWidth, y,
                             layout.asciiCharWidth, textHeight, colours.background);
        }
        y += layout.yDist;
    }
    if (glyphs_.Usable())
        DrawGlyphRuns(painter, lines);
    else
        DrawTexts(painter, lines);
    if (hasFocus()) {
        const CaretPoint caret = model_.Caret();
        painter.fillRect(caret.x, caret.y, 1, textHeight, Qt::black);
    }
}

void DumpView::DrawGlyphRuns(QPainter& painter, const std::vector<DumpLine>& lines) {
    const DumpViewLayout& layout = model_.Layout();
    const qreal ascent = QFontMetricsF(font()).ascent(); // texts are placed by their top
    for (ByteGlyphs::Run& run : runs_)
        run.Clear();
    qreal y = 0;
    for (const DumpLine& line : lines) {
        const qreal baseline = y + ascent;
        glyphs_.AddDigits(runs_[0], line.addressText, DumpViewLayout::kLeftMargin, baseline);
        for (int i = 0; i < DumpViewLayout::kBytesPerLine; ++i) {
            const DumpCell& cell = line.cells[i];
            ByteGlyphs::Run& run = runs_[1 + static_cast<int>(cell.kind)];
            glyphs_.AddHex(run, cell.value, layout.hexColumnStart + i * layout.xDistHex, baseline);
            glyphs_.AddCharacter(run, cell.value,
                                 layout.asciiColumnStart + i * layout.asciiCharWidth, baseline);
        }
        y += layout.yDist;
    }
    painter.setPen(Qt::black);
    glyphs_.Draw(painter, runs_[0]);
    for (DumpCellKind kind :
         {DumpCellKind::Edited, DumpCellKind::Defined, DumpCellKind::Undefined}) {
        painter.setPen(ColoursOf(kind).text);
        glyphs_.Draw(painter, runs_[1 + static_cast<int>(kind)]);
    }
}

void DumpView::DrawTexts(QPainter& painter, const std::vector<DumpLine>& lines) {
    const DumpViewLayout& layout = model_.Layout();
    int y = 0;
    for (const DumpLine& line : lines) {
        painter.setPen(Qt::black);
        painter.drawText(QRect(DumpViewLayout::kLeftMargin, y, layout.hexColumnStart, layout.yDist),
                         Qt::AlignLeft | Qt::AlignTop, QString::fromLatin1(line.addressText));
        for (int i = 0; i < DumpViewLayout::kBytesPerLine; ++i) {
            const DumpCell& cell = line.cells[i];
            painter.setPen(ColoursOf(cell.kind).text);
            painter.drawStaticText(layout.hexColumnStart + i * layout.xDistHex, y,
                                   hexTexts_[cell.value]);
            painter.drawStaticText(layout.asciiColumnStart + i * layout.asciiCharWidth, y,
                                   charTexts_[cell.value]);
        }
        y += layout.yDist;
    }
}

} // namespace vantrel
