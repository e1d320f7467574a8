#pragma once
// The list view: one row per area under a header. It draws the rows that are in sight, made
// by ui/ListViewLayout from the image while the image lock is held.
#include <QAbstractScrollArea>

#include "ui/ListViewLayout.h"
#include "ui/qt/views/ViewFont.h"

namespace vantrel {

struct App;

class ListView : public QAbstractScrollArea {
    Q_OBJECT
  public:
    ListView(App& app, QWidget* parent);

    // The document changed: the scroll range follows the areas, the view shows the top.
    void OnDocumentChanged();
    // The window was asked to draw again: an update when the image's areas changed since this
    // view last laid them out (a load, a merge, a read back), else only a repaint, so that a
    // change of the programmer's state leaves the scroll position and the caret alone.
    void OnRepaintRequested();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void changeEvent(QEvent* event) override;

  private:
    // Sets the scroll ranges for `areas` rows.
    void SetScrollRanges(std::size_t areas);
    void UseFont();

    App& app_;
    ListViewLayout layout_;
    ListAreaIndex index_;
    ByteTexts hexTexts_;
    ByteTexts charTexts_;
    std::size_t areasInRange_ = 0;
    uint64_t seenRevision_ = 0;
};

} // namespace vantrel
