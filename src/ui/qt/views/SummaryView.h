#pragma once
// The summary view above the lower view: draws the rows of ui/SummaryView in the widget's font
// and scrolls when the pane is smaller than they need. Its own 50 ms timer compares what it
// shows with the application's state and draws again only the rows that changed (the whole
// view when the programmer state changed).
#include <QAbstractScrollArea>
#include <QTimer>

#include "ui/SummaryView.h"

namespace vantrel {

struct App;

class SummaryView : public QAbstractScrollArea {
  public:
    SummaryView(App& app, QWidget* parent);

    // One tick of the timer: read the state, invalidate what changed.
    void Refresh();
    const SummaryModel& Model() const { return model_; }
    SummaryLayout Layout() const;
    // The area the last tick asked to be drawn again, in content coordinates (for the tests).
    const QRegion& LastInvalidated() const { return lastInvalidated_; }

    // 200 pixels high at start, above the lower view.
    QSize sizeHint() const override { return {600, 200}; }

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;

  private:
    void UpdateScrollBars();

    App& app_;
    SummaryModel model_;
    QTimer timer_;
    QRegion lastInvalidated_;
};

} // namespace vantrel
