#pragma once

// Letting posted events run and recording what a widget repaints, for the
// widget tests on the offscreen platform.
#include <QCoreApplication>
#include <QEvent>
#include <QObject>
#include <QPaintEvent>
#include <QRegion>

namespace zanli::testing {

// Runs the events that one step of the user's input leaves queued.
inline void Settle() {
  for (int i = 0; i < 4; ++i) QCoreApplication::processEvents();
}

// Collects the regions a widget (installed on its viewport) is asked to repaint.
class PaintRecorder : public QObject {
 public:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint) region += static_cast<QPaintEvent*>(event)->region();
    return false;
  }
  QRegion region;
};

}  // namespace zanli::testing
