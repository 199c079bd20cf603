#include "app/pattern_preview.h"

#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <algorithm>

#include "model/pattern.h"

namespace zanli {

namespace {

constexpr int kMargin = 20;
constexpr int kLineScroll = 20;
constexpr int kPageScroll = 100;

}  // namespace

PatternPreview::PatternPreview(QWidget* parent) : QAbstractScrollArea(parent) {
  setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  viewport()->setAutoFillBackground(true);
  QPalette white = viewport()->palette();
  white.setColor(QPalette::Window, Qt::white);
  viewport()->setPalette(white);
  viewport()->setCursor(Qt::ArrowCursor);
  connect(horizontalScrollBar(), &QScrollBar::actionTriggered, this,
          [this](int action) { OnScrollAction(action, true); });
  connect(verticalScrollBar(), &QScrollBar::actionTriggered, this,
          [this](int action) { OnScrollAction(action, false); });
}

void PatternPreview::ShowPattern(const Pattern* pattern) {
  pattern_ = pattern;
  horizontalScrollBar()->setValue(0);
  verticalScrollBar()->setValue(0);
  UpdateScrollBars();
  viewport()->update();
}

void PatternPreview::UpdateScrollBars() {
  const int contentWidth = pattern_ ? pattern_->width + 2 * kMargin : 0;
  const int contentHeight = pattern_ ? pattern_->height + 2 * kMargin : 0;
  const QSize client = viewport()->size();
  horizontalScrollBar()->setRange(0, std::max(0, contentWidth - client.width()));
  horizontalScrollBar()->setPageStep(client.width());
  verticalScrollBar()->setRange(0, std::max(0, contentHeight - client.height()));
  verticalScrollBar()->setPageStep(client.height());
}

void PatternPreview::OnScrollAction(int action, bool horizontal) {
  setFocus(Qt::OtherFocusReason);
  QScrollBar* bar = horizontal ? horizontalScrollBar() : verticalScrollBar();
  int target = bar->value();
  switch (action) {
    case QAbstractSlider::SliderSingleStepSub:
      target -= kLineScroll;
      break;
    case QAbstractSlider::SliderSingleStepAdd:
      target += kLineScroll;
      break;
    case QAbstractSlider::SliderPageStepSub:
      target -= kPageScroll;
      break;
    case QAbstractSlider::SliderPageStepAdd:
      target += kPageScroll;
      break;
    case QAbstractSlider::SliderMove:
      target = bar->sliderPosition();
      break;
    default:
      break;
  }
  bar->setSliderPosition(std::clamp(target, 0, bar->maximum()));
}

void PatternPreview::resizeEvent(QResizeEvent* event) {
  QAbstractScrollArea::resizeEvent(event);
  UpdateScrollBars();
}

void PatternPreview::paintEvent(QPaintEvent* event) {
  if (!pattern_ || pattern_->width <= 0 || pattern_->height <= 0) return;
  QPainter painter(viewport());
  painter.setClipRect(event->rect());
  const int left = kMargin - horizontalScrollBar()->value();
  const int top = kMargin - verticalScrollBar()->value();
  const size_t stride = static_cast<size_t>(pattern_->Stride());
  // Set pixels black; clear ones leave the white background.
  for (int y = 0; y < pattern_->height; ++y) {
    if (!event->rect().intersects(QRect(left, top + y, pattern_->width, 1))) continue;
    const size_t row = static_cast<size_t>(y) * stride;
    if (row + stride > pattern_->bits.size()) break;
    for (int x = 0; x < pattern_->width; ++x)
      if (pattern_->bits[row + static_cast<size_t>(x / 8)] & (0x80 >> (x % 8)))
        painter.fillRect(left + x, top + y, 1, 1, Qt::black);
  }
}

}  // namespace zanli
