#pragma once
// The dump view: 16 bytes a line with a caret that overwrites nibbles. It draws the lines its
// model (ui/DumpViewModel) gives for the scroll position, in the window's font, and forwards
// keys, clicks, resizing and scrolling to it.
#include <QAbstractScrollArea>

#include "ui/DumpViewModel.h"
#include "ui/qt/views/ViewFont.h"

namespace vantrel {

struct App;

class DumpView : public QAbstractScrollArea {
    Q_OBJECT
  public:
    DumpView(App& app, QWidget* parent);

    // The document changed: new layout, top of the image, caret on the first nibble.
    void OnDocumentChanged();
    // The window was asked to draw again: an update when the image's areas changed since this
    // view last laid them out (a load, a merge, a read back), else only a repaint, so that a
    // change of the programmer's state leaves the scroll position and the caret alone.
    void OnRepaintRequested();
    const DumpViewModel& Model() const { return model_; }

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void changeEvent(QEvent* event) override;

  private:
    void UseFont();
    // Puts the scroll bars where the model is.
    void SyncScrollBars();
    // The lines' texts: as glyph runs when the font allows, else a text per cell.
    void DrawGlyphRuns(QPainter& painter, const std::vector<DumpLine>& lines);
    void DrawTexts(QPainter& painter, const std::vector<DumpLine>& lines);

    App& app_;
    DumpViewModel model_;
    ByteGlyphs glyphs_;
    ByteGlyphs::Run runs_[4]; // addresses, then one per DumpCellKind
    ByteTexts hexTexts_;
    ByteTexts charTexts_;
    bool syncing_ = false;
    uint64_t seenRevision_ = 0;
    bool editing_ = false; // a key is being handled
};

} // namespace vantrel
