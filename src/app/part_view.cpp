#include "app/part_view.h"

#include <QFocusEvent>
#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>
#include <limits>

#include "app/painter_surface.h"
#include "render/symbol_renderer.h"

namespace zanli {

namespace {

constexpr int64_t kOrigin = 60;  // logical position of the body's top-left corner
constexpr int64_t kStep = 10;    // one grid step in pixels
constexpr int32_t kLineScroll = 20;
constexpr int32_t kPageScroll = 100;
constexpr int32_t kScrollMargin = 20;  // ScrollIntoView keeps the anchor this far from the border
constexpr Rgb kGridGreen{0, 255, 0};

int32_t Clamp32(int64_t v) {
  return static_cast<int32_t>(
      std::clamp<int64_t>(v, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()));
}

bool IsArrowKey(int key) {
  return key == Qt::Key_Left || key == Qt::Key_Right || key == Qt::Key_Up || key == Qt::Key_Down;
}

int64_t RoundUpToStep(int64_t v) { return (v + kStep - 1) / kStep * kStep; }  // v is positive here

int64_t FloorDiv(int64_t a, int64_t b) { return a / b - (a % b != 0 && (a < 0) != (b < 0)); }

// Each pixel of `picture` becomes a factor × factor square: no smoothing, so
// the 1:1 drawing stays exact.
QImage Magnify(const QImage& picture, int factor) {
  QImage result(picture.width() * factor, picture.height() * factor, QImage::Format_RGB32);
  for (int y = 0; y < picture.height(); ++y) {
    const auto* in = reinterpret_cast<const QRgb*>(picture.constScanLine(y));
    auto* out = reinterpret_cast<QRgb*>(result.scanLine(y * factor));
    for (int x = 0; x < picture.width(); ++x) std::fill_n(out + x * factor, factor, in[x]);
    for (int r = 1; r < factor; ++r)
      std::copy_n(out, result.width(), reinterpret_cast<QRgb*>(result.scanLine(y * factor + r)));
  }
  return result;
}

}  // namespace

PartView::PartView(QWidget* parent) : ScrollView(parent, kLineScroll, kPageScroll) {
  setFocusPolicy(Qt::StrongFocus);
  setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
  viewport()->setCursor(Qt::ArrowCursor);
}

void PartView::SetPart(PartBody* body) {
  body_ = body;
  cursorEdge_ = PinEdge::Left;
  cursorPosition_ = 0;
  block_ = 0;
  SetScrollPosition(0, 0);
  SetContentSize(body ? Clamp32(SymbolRenderer::DrawingWidth(*body)) : 0,
                 body ? Clamp32(SymbolRenderer::DrawingHeight(*body)) : 0);
  // Magnified, the margin alone can fill the view: the body's top-left
  // corner, where the cursor starts, is brought into it.
  if (body_ && Scale() > 1) SetScrollPosition(kOrigin - kScrollMargin, kOrigin - kScrollMargin);
  viewport()->update();
}

bool PartView::IsValidPosition(PinEdge edge, int64_t position) const {
  if (!body_ || position < 0) return false;
  switch (edge) {
    case PinEdge::Left:
    case PinEdge::Right:
      return position <= body_->ySize;
    case PinEdge::Top:
    case PinEdge::Bottom:
      return position <= body_->xSize;
  }
  return false;
}

void PartView::SetCursor(PinEdge edge, int32_t position) {
  if (!body_) {
    cursorEdge_ = PinEdge::Left;
    cursorPosition_ = 0;
    return;
  }
  if (!IsValidPosition(edge, position)) return;
  if (edge == cursorEdge_ && position == cursorPosition_) return;
  // No notification, but the marker must not stay behind at the old place.
  UpdateMarker(cursorEdge_, cursorPosition_);
  cursorEdge_ = edge;
  cursorPosition_ = position;
  UpdateMarker(cursorEdge_, cursorPosition_);
}

void PartView::SetBlock(int32_t index) {
  if (!body_ || index < 0 || index >= body_->blockCount) return;
  block_ = index;
  viewport()->update();
}

void PartView::InvalidatePin(PinEdge edge, int32_t position) {
  if (!body_) return;
  const ClipRect area = SymbolRenderer::PinArea(*body_, edge, position);
  UpdateLogical(area.left, area.top, int64_t{area.right} + 1, int64_t{area.bottom} + 1);
}

PartView::Hit PartView::HitTest(int32_t logicalX, int32_t logicalY) const {
  Hit result;
  if (!body_) return result;
  const int64_t u = int64_t{logicalX} - kOrigin, v = int64_t{logicalY} - kOrigin;
  const int64_t width = kStep * body_->xSize, height = kStep * body_->ySize;
  // The first strip holding the point decides, even when it then misses.
  auto decide = [&](PinEdge edge, int64_t offset) {
    const int64_t position = (offset + 5) / kStep;  // truncates toward zero
    if (IsValidPosition(edge, position)) {
      result.hit = true;
      result.edge = edge;
      result.position = static_cast<int32_t>(position);
    }
    return result;
  };
  if (-15 < u && u < -5) return decide(PinEdge::Left, v);
  if (-15 < v && v < -5) return decide(PinEdge::Top, u);
  if (width + 5 < u && u < width + 15) return decide(PinEdge::Right, v);
  if (height + 5 < v && v < height + 15) return decide(PinEdge::Bottom, u);
  return result;
}

bool PartView::ScrollIntoView(PinEdge edge, int32_t position) {
  const int64_t anchor = kStep * position + kOrigin;
  const int64_t h = ScrollX(), v = ScrollY();
  const int64_t cw = ClientWidth(), ch = ClientHeight();
  // Keeps the anchor at least kScrollMargin pixels inside a window of `client` pixels.
  auto keepInside = [anchor](int64_t scroll, int64_t client) {
    if (scroll + kScrollMargin > anchor) return anchor - kScrollMargin;
    if (scroll + client - kScrollMargin < anchor) return anchor - client + kScrollMargin;
    return scroll;
  };
  switch (edge) {
    case PinEdge::Left:
    case PinEdge::Right:
      return ScrollTo(edge == PinEdge::Left ? 0 : int64_t{ContentWidth()} - cw, keepInside(v, ch));
    case PinEdge::Top:
    case PinEdge::Bottom:
      return ScrollTo(keepInside(h, cw), edge == PinEdge::Top ? 0 : int64_t{ContentHeight()} - ch);
  }
  return false;
}

void PartView::SetZoom(int factor) {
  factor = std::clamp(factor, kMinZoom, kMaxZoom);
  const int zoom = Scale();
  if (factor == zoom) return;
  int64_t scrollX = ScrollX(), scrollY = ScrollY();
  if (body_) {
    // The marker's centre keeps its place in the window where it can.
    int64_t x = 0, y = 0;
    MarkerCentre(cursorEdge_, cursorPosition_, x, y);
    const int64_t deviceX = (x - scrollX) * zoom + zoom / 2, deviceY = (y - scrollY) * zoom + zoom / 2;
    scrollX = x - FloorDiv(deviceX, factor);
    scrollY = y - FloorDiv(deviceY, factor);
  }
  SetScale(factor);
  SetScrollPosition(scrollX, scrollY);
  if (body_) ScrollIntoView(cursorEdge_, cursorPosition_);
  viewport()->update();
  emit zoomChanged(factor);
}

void PartView::NewCursorForKey(int key, PinEdge& edge, int32_t& position) const {
  const int32_t x = body_->xSize, y = body_->ySize;
  const PinEdge e = cursorEdge_;
  const int32_t p = cursorPosition_;
  const bool horizontalEdge = e == PinEdge::Top || e == PinEdge::Bottom;
  edge = e;
  position = p;
  switch (key) {
    case Qt::Key_Left:
      if (horizontalEdge && p > 0) {
        position = p - 1;
      } else if (horizontalEdge && p == 0) {
        edge = PinEdge::Left;
        position = e == PinEdge::Top ? 0 : y;
      } else if (e == PinEdge::Right) {
        edge = PinEdge::Left;
      }
      break;
    case Qt::Key_Up:
      if (!horizontalEdge && p > 0) {
        position = p - 1;
      } else if (!horizontalEdge && p == 0) {
        edge = PinEdge::Top;
        position = e == PinEdge::Left ? 0 : x;
      } else if (e == PinEdge::Bottom) {
        edge = PinEdge::Top;
      }
      break;
    case Qt::Key_Right:
      if (horizontalEdge && p < x) {
        position = p + 1;
      } else if (horizontalEdge && p == x) {
        edge = PinEdge::Right;
        position = e == PinEdge::Top ? 0 : y;
      } else if (e == PinEdge::Left) {
        edge = PinEdge::Right;
      }
      break;
    case Qt::Key_Down:
      if (!horizontalEdge && p < y) {
        position = p + 1;
      } else if (!horizontalEdge && p == y) {
        edge = PinEdge::Bottom;
        position = e == PinEdge::Left ? 0 : x;
      } else if (e == PinEdge::Top) {
        edge = PinEdge::Bottom;
      }
      break;
    default:
      break;
  }
}

void PartView::MoveCursorByUser(PinEdge edge, int32_t position) {
  if (edge == cursorEdge_ && position == cursorPosition_) return;
  const PinEdge oldEdge = cursorEdge_;
  const int32_t oldPosition = cursorPosition_;
  cursorEdge_ = edge;
  cursorPosition_ = position;
  // Scroll first: the marker rectangles are then mapped with the final shift.
  ScrollIntoView(edge, position);
  UpdateMarker(oldEdge, oldPosition);
  UpdateMarker(edge, position);
  QMetaObject::invokeMethod(
      this, [this] { emit cursorMoved(); }, Qt::QueuedConnection);
}

bool PartView::event(QEvent* event) {
  // Arrow keys move the pin cursor; neither shortcuts nor the dialog's focus
  // navigation may take them from the view.
  if (event->type() == QEvent::ShortcutOverride || event->type() == QEvent::KeyPress) {
    auto* key = static_cast<QKeyEvent*>(event);
    if (IsArrowKey(key->key())) {
      if (event->type() == QEvent::KeyPress) keyPressEvent(key);
      event->accept();
      return true;
    }
  }
  return QAbstractScrollArea::event(event);
}

void PartView::keyPressEvent(QKeyEvent* event) {
  if (!IsArrowKey(event->key())) {
    // Unlike a plain scroll area, the view does not scroll by keys.
    event->ignore();
    return;
  }
  event->accept();
  if (!body_) return;
  PinEdge edge;
  int32_t position;
  NewCursorForKey(event->key(), edge, position);
  MoveCursorByUser(edge, position);
}

void PartView::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) {
    event->ignore();
    return;
  }
  event->accept();
  setFocus(Qt::MouseFocusReason);
  if (!body_) return;
  const QPointF point = event->position();
  const int64_t x = FloorDiv(static_cast<int64_t>(std::floor(point.x())), Scale()) + ScrollX();
  const int64_t y = FloorDiv(static_cast<int64_t>(std::floor(point.y())), Scale()) + ScrollY();
  const Hit hit = HitTest(Clamp32(x), Clamp32(y));
  if (hit.hit) MoveCursorByUser(hit.edge, hit.position);
}

void PartView::wheelEvent(QWheelEvent* event) {
  if (event->modifiers() & Qt::ControlModifier) {
    // Ctrl + wheel zooms, one step a notch, and never scrolls.
    event->accept();
    constexpr int kNotch = QWheelEvent::DefaultDeltasPerStep;
    zoomWheelDelta_ += event->angleDelta().y();
    const int steps = zoomWheelDelta_ / kNotch;
    zoomWheelDelta_ -= steps * kNotch;
    if (steps != 0) SetZoom(Scale() + steps);
    return;
  }
  ScrollView::wheelEvent(event);
}

void PartView::focusInEvent(QFocusEvent*) {
  // The base class would repaint the whole view; only the marker changes.
  hasFocus_ = true;
  if (body_) UpdateMarker(cursorEdge_, cursorPosition_);
}

void PartView::focusOutEvent(QFocusEvent*) {
  hasFocus_ = false;
  if (body_) UpdateMarker(cursorEdge_, cursorPosition_);
}

void PartView::MarkerCentre(PinEdge edge, int32_t position, int64_t& x, int64_t& y) const {
  const int64_t along = kOrigin + kStep * position;
  switch (edge) {
    case PinEdge::Left:
      x = 10;
      y = along;
      break;
    case PinEdge::Top:
      x = along;
      y = 10;
      break;
    case PinEdge::Right:
      x = 110 + kStep * body_->xSize;
      y = along;
      break;
    case PinEdge::Bottom:
      x = along;
      y = 110 + kStep * body_->ySize;
      break;
  }
}

void PartView::UpdateMarker(PinEdge edge, int32_t position) {
  int64_t x = 0, y = 0;
  MarkerCentre(edge, position, x, y);
  UpdateLogical(x - 4, y - 4, x + 5, y + 5);
}

void PartView::UpdateLogical(int64_t left, int64_t top, int64_t right, int64_t bottom) {
  // Cut to the viewport first so far-off rectangles cannot overflow a QRect.
  const int zoom = Scale();
  const int64_t l = std::max<int64_t>((left - ScrollX()) * zoom, 0);
  const int64_t t = std::max<int64_t>((top - ScrollY()) * zoom, 0);
  const int64_t r = std::min<int64_t>((right - ScrollX()) * zoom, viewport()->width());
  const int64_t b = std::min<int64_t>((bottom - ScrollY()) * zoom, viewport()->height());
  if (l >= r || t >= b) return;
  viewport()->update(
      QRect(static_cast<int>(l), static_cast<int>(t), static_cast<int>(r - l), static_cast<int>(b - t)));
}

void PartView::paintEvent(QPaintEvent* event) {
  QPainter painter(viewport());
  const QRect device = event->rect();
  const int zoom = Scale();
  if (zoom == 1) {
    PaintDrawing(painter, device, ScrollX(), ScrollY());
    return;
  }
  // The logical pixels the device rectangle touches, drawn 1:1 and magnified.
  const int left = static_cast<int>(FloorDiv(device.left(), zoom));
  const int top = static_cast<int>(FloorDiv(device.top(), zoom));
  const int right = static_cast<int>(FloorDiv(device.right(), zoom));
  const int bottom = static_cast<int>(FloorDiv(device.bottom(), zoom));
  QImage picture(right - left + 1, bottom - top + 1, QImage::Format_RGB32);
  {
    QPainter picturePainter(&picture);
    PaintDrawing(picturePainter, picture.rect(), Clamp32(int64_t{ScrollX()} + left),
                 Clamp32(int64_t{ScrollY()} + top));
  }
  painter.drawImage(QPoint(left * zoom, top * zoom), Magnify(picture, zoom));
}

void PartView::PaintDrawing(QPainter& painter, const QRect& bounds, int32_t originX, int32_t originY) const {
  painter.fillRect(bounds, Qt::white);
  if (!body_) return;
  PainterSurface surface(painter, bounds);
  surface.SetOrigin(originX, originY);
  const QRect logical = bounds.translated(originX, originY);
  DrawGrid(surface, logical);
  SymbolRenderer::DrawBody(surface, *body_);
  const ClipRect clip{logical.left(), logical.top(), logical.right(), logical.bottom()};
  for (const auto& pin : body_->pins) SymbolRenderer::DrawPin(surface, &clip, *body_, *pin, block_);
  DrawMarker(painter, originX, originY);
}

void PartView::DrawGrid(PainterSurface& surface, const QRect& logical) const {
  const int64_t width = kStep * body_->xSize, height = kStep * body_->ySize;
  const int32_t left = Clamp32(kOrigin), top = Clamp32(kOrigin);
  const int32_t right = Clamp32(kOrigin + width), bottom = Clamp32(kOrigin + height);
  surface.DrawLine(left, top, left, bottom, kGridGreen);
  surface.DrawLine(left, bottom, right, bottom, kGridGreen);
  surface.DrawLine(right, bottom, right, top, kGridGreen);
  surface.DrawLine(right, top, left, top, kGridGreen);

  // Ticks only where the update rectangle reaches; right and bottom exclusive.
  const int64_t rl = logical.left(), rt = logical.top();
  const int64_t rr = rl + logical.width(), rb = rt + logical.height();
  const int64_t yFirst = RoundUpToStep(std::max<int64_t>(rt, kOrigin));
  const int64_t yLast = std::min<int64_t>(rb, kOrigin + height);
  const int64_t xFirst = RoundUpToStep(std::max<int64_t>(rl, kOrigin));
  const int64_t xLast = std::min<int64_t>(rr, kOrigin + width);
  if (rl < 60 && rr > 50)
    for (int64_t y = yFirst; y <= yLast; y += kStep)
      surface.DrawLine(50, Clamp32(y), 60, Clamp32(y), kGridGreen);
  if (rl < 70 + width && rr > 60 + width)
    for (int64_t y = yFirst; y <= yLast; y += kStep)
      surface.DrawLine(Clamp32(70 + width), Clamp32(y), right, Clamp32(y), kGridGreen);
  if (rt < 60 && rb > 50)
    for (int64_t x = xFirst; x <= xLast; x += kStep)
      surface.DrawLine(Clamp32(x), 50, Clamp32(x), 60, kGridGreen);
  if (rt < 70 + height && rb > 60 + height)
    for (int64_t x = xFirst; x <= xLast; x += kStep)
      surface.DrawLine(Clamp32(x), Clamp32(70 + height), Clamp32(x), bottom, kGridGreen);
}

void PartView::DrawMarker(QPainter& painter, int32_t originX, int32_t originY) const {
  int64_t x = 0, y = 0;
  MarkerCentre(cursorEdge_, cursorPosition_, x, y);
  const int64_t left = x - 4 - originX, top = y - 4 - originY;
  // Markers far outside the window (huge bodies) are not painted at all.
  const int64_t limit = 1 << 24;
  if (left < -limit || left > limit || top < -limit || top > limit) return;
  const QRect square(static_cast<int>(left), static_cast<int>(top), 9, 9);
  painter.fillRect(square, QColor(0, 0, 255));
  if (!hasFocus_) painter.fillRect(square.adjusted(1, 1, -1, -1), Qt::white);
}

}  // namespace zanli
