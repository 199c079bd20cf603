#include "app/scroll_view.h"

#include <QScrollBar>
#include <QWheelEvent>
#include <algorithm>
#include <cstdlib>

namespace zanli {

ScrollView::ScrollView(QWidget* parent, int32_t lineStep, int32_t pageStep)
    : QAbstractScrollArea(parent), lineStep_(lineStep), pageStep_(pageStep) {
  setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  // paintEvent fills every pixel it is asked for, so a scroll only exposes
  // the uncovered strip.
  viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
  horizontalScrollBar()->setSingleStep(lineStep);
  verticalScrollBar()->setSingleStep(lineStep);
  connect(horizontalScrollBar(), &QScrollBar::actionTriggered, this,
          [this](int action) { OnScrollAction(horizontalScrollBar(), action); });
  connect(verticalScrollBar(), &QScrollBar::actionTriggered, this,
          [this](int action) { OnScrollAction(verticalScrollBar(), action); });
}

int32_t ScrollView::ClientWidth() const { return viewport()->width() / scale_; }

int32_t ScrollView::ClientHeight() const { return viewport()->height() / scale_; }

void ScrollView::SetContentSize(int32_t width, int32_t height) {
  contentWidth_ = width;
  contentHeight_ = height;
  UpdateScrollBars();
}

void ScrollView::SetScale(int scale) {
  scale_ = std::max(scale, 1);
  UpdateScrollBars();
}

void ScrollView::SetScrollPosition(int64_t x, int64_t y) {
  scrollX_ = static_cast<int32_t>(std::clamp<int64_t>(x, 0, std::max(0, contentWidth_)));
  scrollY_ = static_cast<int32_t>(std::clamp<int64_t>(y, 0, std::max(0, contentHeight_)));
  UpdateScrollBars();
}

bool ScrollView::ScrollTo(int64_t x, int64_t y) {
  // Clamped before the comparison: a window wider than the drawing has
  // nowhere to scroll, and reporting a scroll then would be wrong.
  x = std::clamp<int64_t>(x, 0, std::max<int64_t>(0, int64_t{contentWidth_} - ClientWidth()));
  y = std::clamp<int64_t>(y, 0, std::max<int64_t>(0, int64_t{contentHeight_} - ClientHeight()));
  if (x == scrollX_ && y == scrollY_) return false;
  const int64_t dx = scrollX_ - x, dy = scrollY_ - y;
  scrollX_ = static_cast<int32_t>(x);
  scrollY_ = static_cast<int32_t>(y);
  UpdateScrollBars();
  ScrollViewport(dx, dy);
  return true;
}

void ScrollView::UpdateScrollBars() {
  scrollX_ = std::max(0, std::min(scrollX_, contentWidth_ - ClientWidth()));
  scrollY_ = std::max(0, std::min(scrollY_, contentHeight_ - ClientHeight()));
  // Showing or hiding a bar resizes the viewport and re-enters through
  // resizeEvent, so sizes are read afresh at every step.
  const bool wasSyncing = syncingBars_;
  syncingBars_ = true;
  QScrollBar* vertical = verticalScrollBar();
  vertical->setRange(0, std::max(0, contentHeight_ - ClientHeight()));
  vertical->setPageStep(std::max(0, ClientHeight()));
  vertical->setValue(scrollY_);
  QScrollBar* horizontal = horizontalScrollBar();
  horizontal->setRange(0, std::max(0, contentWidth_ - ClientWidth()));
  horizontal->setPageStep(std::max(0, ClientWidth()));
  horizontal->setValue(scrollX_);
  syncingBars_ = wasSyncing;
}

void ScrollView::ScrollViewport(int64_t dx, int64_t dy) {
  if (dx == 0 && dy == 0) return;
  const int64_t deviceX = dx * scale_, deviceY = dy * scale_;
  // A jump past the whole window keeps nothing to move (and must not
  // overflow the int the viewport takes).
  if (std::abs(deviceX) >= viewport()->width() || std::abs(deviceY) >= viewport()->height()) {
    viewport()->update();
    return;
  }
  viewport()->scroll(static_cast<int>(deviceX), static_cast<int>(deviceY));
}

void ScrollView::resizeEvent(QResizeEvent*) {
  UpdateScrollBars();
  viewport()->update();
}

void ScrollView::wheelEvent(QWheelEvent* event) {
  wheeling_ = true;
  QAbstractScrollArea::wheelEvent(event);
  wheeling_ = false;
}

void ScrollView::OnScrollAction(QScrollBar* bar, int action) {
  // A click on a bar takes the focus the way a click on the drawing does.
  if (!wheeling_) setFocus(Qt::OtherFocusReason);
  // A line or a page from the position either way, or where the user
  // dragged the slider; jumps to either end are not offered.
  const int64_t current = bar == horizontalScrollBar() ? scrollX_ : scrollY_;
  int64_t target = current;
  switch (action) {
    case QAbstractSlider::SliderSingleStepSub:
      target = current - lineStep_;
      break;
    case QAbstractSlider::SliderSingleStepAdd:
      target = current + lineStep_;
      break;
    case QAbstractSlider::SliderPageStepSub:
      target = current - pageStep_;
      break;
    case QAbstractSlider::SliderPageStepAdd:
      target = current + pageStep_;
      break;
    case QAbstractSlider::SliderMove:
      target = bar->sliderPosition();
      break;
    default:
      break;
  }
  bar->setSliderPosition(static_cast<int>(std::clamp<int64_t>(target, 0, bar->maximum())));
}

void ScrollView::scrollContentsBy(int, int) {
  if (syncingBars_) return;
  // The user moved a bar: its value is the new position.
  const int32_t newX = horizontalScrollBar()->value(), newY = verticalScrollBar()->value();
  const int64_t dx = int64_t{scrollX_} - newX, dy = int64_t{scrollY_} - newY;
  scrollX_ = newX;
  scrollY_ = newY;
  ScrollViewport(dx, dy);
}

}  // namespace zanli
