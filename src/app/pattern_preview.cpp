#include "app/pattern_preview.h"

#include <QPaintEvent>
#include <QPainter>

#include "model/pattern.h"

namespace zanli {

namespace {

constexpr int kMargin = 20;
constexpr int kLineScroll = 20;
constexpr int kPageScroll = 100;

}  // namespace

PatternPreview::PatternPreview(QWidget* parent) : ScrollView(parent, kLineScroll, kPageScroll) {
  setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  // Only the ink is painted; the rest is the white background.
  viewport()->setAttribute(Qt::WA_OpaquePaintEvent, false);
  viewport()->setAutoFillBackground(true);
  QPalette white = viewport()->palette();
  white.setColor(QPalette::Window, Qt::white);
  viewport()->setPalette(white);
  viewport()->setCursor(Qt::ArrowCursor);
}

void PatternPreview::ShowPattern(const Pattern* pattern) {
  pattern_ = pattern;
  SetScrollPosition(0, 0);
  SetContentSize(pattern ? pattern->width + 2 * kMargin : 0, pattern ? pattern->height + 2 * kMargin : 0);
  viewport()->update();
}

void PatternPreview::paintEvent(QPaintEvent* event) {
  if (!pattern_ || pattern_->width <= 0 || pattern_->height <= 0) return;
  QPainter painter(viewport());
  painter.setClipRect(event->rect());
  const int left = kMargin - ScrollX();
  const int top = kMargin - ScrollY();
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
