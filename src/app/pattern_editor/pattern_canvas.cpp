#include "app/pattern_editor/pattern_canvas.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPixmap>
#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

#include "app/pattern_editor/pattern_clipboard.h"
#include "model/pattern.h"
#include "pattern/pattern_bitmap.h"

namespace zanli {

namespace {

using State = PatternCanvasState;

constexpr QRgb kLightGrey = 0xFFC0C0C0;
constexpr QRgb kBlue = 0xFF0000FF;
constexpr QRgb kBlack = 0xFF000000;
constexpr QRgb kWhite = 0xFFFFFFFF;
// Overlays flip the red channel; the dotted frame inverts.
constexpr QRgb kOverlayXor = 0x00FF0000;
constexpr QRgb kFrameXor = 0x00FFFFFF;
constexpr int32_t kTick = 10;  // length of a zoom-1 grid tick in the margin

int32_t Clamp32(int64_t v) {
  return static_cast<int32_t>(
      std::clamp<int64_t>(v, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()));
}

// Division rounding toward minus infinity, for cells left of or above the
// bitmap.
int64_t FloorDiv(int64_t a, int64_t b) { return a >= 0 ? a / b : -((-a + b - 1) / b); }

// What one logical column or row contributes to the picture.
struct Line {
  int32_t cell = -1;                                      // the bitmap cell it crosses, -1 outside the bitmap
  int64_t overlay = std::numeric_limits<int64_t>::min();  // the cell for the overlay, any sign
  QRgb grid = 0;                                          // zoom 5: colour of the grid line on it, 0 for none
  bool tick = false;                                      // zoom 1: a row or column that carries margin ticks
};

Line LineAt(int64_t logical, int32_t zoom, int32_t cells) {
  Line line;
  const int64_t offset = logical - State::kMargin;
  line.overlay = FloorDiv(offset, zoom);
  if (offset >= 0 && line.overlay < cells) line.cell = static_cast<int32_t>(line.overlay);
  if (zoom == 5 && offset >= 0 && offset % 5 == 0 && offset / 5 <= cells) {
    const int64_t k = offset / 5;
    line.grid = k % 10 == 0 || k % 10 == 1 ? kBlue : kLightGrey;
  }
  if (zoom == 1 && line.cell >= 0 && line.cell % 10 == 0) line.tick = true;
  return line;
}

}  // namespace

PatternCanvas::PatternCanvas(QWidget* parent)
    : ScrollView(parent, State::kScrollLineStep, State::kScrollPageStep) {
  setFocusPolicy(Qt::StrongFocus);
  setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
  viewport()->setMouseTracking(true);
  viewport()->setCursor(Qt::ArrowCursor);
  SetContentSize(state_.ContentWidth(), state_.ContentHeight());
}

PatternCanvas::~PatternCanvas() = default;

QCursor PatternCanvas::MoveCursor() {
  return QCursor(QPixmap(QStringLiteral(":/pattern_editor/move_cursor.xpm")), 0, 0);
}

void PatternCanvas::LoadPattern(Pattern* pattern) { Apply(state_.LoadPattern(pattern)); }

void PatternCanvas::SetTool(PatternTool tool) { Apply(state_.SetTool(tool)); }

void PatternCanvas::ZoomIn() { Apply(state_.ZoomIn()); }

void PatternCanvas::ZoomOut() { Apply(state_.ZoomOut()); }

bool PatternCanvas::CommitSelection() {
  if (!state_.CommitSelection()) return false;
  viewport()->update();
  UpdateCursor();
  return true;
}

void PatternCanvas::Undo() { Apply(state_.Undo()); }

void PatternCanvas::CopySelection() {
  if (const PatternBitmap* selection = state_.SelectionBitmap()) PatternClipboard::Put(*selection);
}

void PatternCanvas::CutSelection() {
  if (!state_.HasFloatingSelection()) return;
  CopySelection();
  DeleteSelection();
}

void PatternCanvas::DeleteSelection() { Apply(state_.DeleteSelection()); }

void PatternCanvas::PasteBitmap() {
  if (!state_.HasPattern()) return;
  const Pattern* pattern = state_.GetPattern();
  const std::optional<PatternBitmap> picture = PatternClipboard::Take(pattern->width, pattern->height);
  Apply(state_.PasteBitmap(picture ? &*picture : nullptr, {ScrollX(), ScrollY()}));
}

void PatternCanvas::PasteImage(const QImage& image) {
  if (!state_.HasPattern()) return;
  const Pattern* pattern = state_.GetPattern();
  const PatternBitmap picture = PatternClipboard::FromImage(image, pattern->width, pattern->height);
  Apply(state_.PasteBitmap(image.isNull() ? nullptr : &picture, {ScrollX(), ScrollY()}));
}

QPoint PatternCanvas::CellCentreOnViewport(PatternCanvasState::Cell cell) const {
  const State::Point centre = state_.CellCentre(cell);
  return QPoint(centre.x - ScrollX(), centre.y - ScrollY());
}

// --- Mouse -------------------------------------------------------------

State::Point PatternCanvas::Logical(const QPointF& device) const {
  return {Clamp32(static_cast<int64_t>(std::floor(device.x())) + ScrollX()),
          Clamp32(static_cast<int64_t>(std::floor(device.y())) + ScrollY())};
}

void PatternCanvas::mousePressEvent(QMouseEvent* event) {
  const Qt::MouseButton button = event->button();
  if (button != Qt::LeftButton && button != Qt::RightButton) {
    event->ignore();
    return;
  }
  event->accept();
  Apply(state_.Press(button == Qt::LeftButton ? State::Button::Left : State::Button::Right,
                     Logical(event->position())));
  UpdateCursor();
}

void PatternCanvas::mouseDoubleClickEvent(QMouseEvent* event) {
  // A second click is a click of its own: a pen dot, a new rectangle.
  mousePressEvent(event);
}

void PatternCanvas::mouseMoveEvent(QMouseEvent* event) {
  event->accept();
  Apply(state_.Move(Logical(event->position())));
  UpdateCursor();
}

void PatternCanvas::mouseReleaseEvent(QMouseEvent* event) {
  const Qt::MouseButton button = event->button();
  if (button != Qt::LeftButton && button != Qt::RightButton) {
    event->ignore();
    return;
  }
  event->accept();
  Apply(state_.Release(button == Qt::LeftButton ? State::Button::Left : State::Button::Right));
  UpdateCursor();
}

void PatternCanvas::UpdateCursor() {
  const bool move = state_.ShowsMoveCursor() && state_.HasFloatingSelection();
  if (move == moveCursorShown_) return;
  moveCursorShown_ = move;
  viewport()->setCursor(move ? MoveCursor() : QCursor(Qt::ArrowCursor));
}

// --- Repainting ------------------------------------------------------------

void PatternCanvas::Apply(const State::Damage& damage) {
  if (damage.scrollReset) SetScrollPosition(0, 0);
  if (damage.contentResized || damage.scrollReset)
    SetContentSize(state_.ContentWidth(), state_.ContentHeight());
  if (damage.whole || damage.contentResized || damage.scrollReset) {
    viewport()->update();
    return;
  }
  const QRect client = viewport()->rect();
  for (const State::CellRect& cells : damage.cells) {
    const State::PixelRect r = state_.RepaintPixels(cells);
    // Cut to the viewport first so that far-off cells cannot overflow a QRect.
    const int64_t left = std::max<int64_t>(int64_t{r.left} - ScrollX(), client.left());
    const int64_t top = std::max<int64_t>(int64_t{r.top} - ScrollY(), client.top());
    const int64_t right = std::min<int64_t>(int64_t{r.right} - ScrollX(), client.right() + 1);
    const int64_t bottom = std::min<int64_t>(int64_t{r.bottom} - ScrollY(), client.bottom() + 1);
    if (left >= right || top >= bottom) continue;
    viewport()->update(QRect(static_cast<int>(left), static_cast<int>(top), static_cast<int>(right - left),
                             static_cast<int>(bottom - top)));
  }
}

void PatternCanvas::paintEvent(QPaintEvent* event) {
  QPainter painter(viewport());
  for (const QRect& rect : event->region()) painter.drawImage(rect.topLeft(), Render(rect));
}

QImage PatternCanvas::Render(const QRect& device) const {
  QImage image(device.size(), QImage::Format_RGB32);
  image.fill(kLightGrey);
  const Pattern* pattern = state_.GetPattern();
  if (pattern == nullptr || pattern->width <= 0 || pattern->height <= 0 ||
      pattern->bits.size() < static_cast<size_t>(pattern->Stride()) * static_cast<size_t>(pattern->height))
    return image;
  const int32_t zoom = state_.Zoom();
  const int32_t w = pattern->width, h = pattern->height;
  const int64_t margin = State::kMargin;
  // The zoom-5 grid lines span the bitmap, both end lines included.
  const int64_t gridRight = margin + int64_t{zoom} * w, gridBottom = margin + int64_t{zoom} * h;

  const int64_t x0 = int64_t{device.left()} + ScrollX(), y0 = int64_t{device.top()} + ScrollY();
  std::vector<Line> columns(static_cast<size_t>(device.width()));
  for (int i = 0; i < device.width(); ++i) columns[static_cast<size_t>(i)] = LineAt(x0 + i, zoom, w);

  const std::optional<State::Overlay> overlay = state_.CurrentOverlay();
  const std::optional<State::PixelRect> frame = state_.FrameRect();

  for (int j = 0; j < device.height(); ++j) {
    const int64_t y = y0 + j;
    const Line row = LineAt(y, zoom, h);
    const bool inGridRows = y >= margin && y <= gridBottom;
    // Zoom-1 ticks in the left and right margins on this row.
    const bool rowTicks = row.tick;
    auto* out = reinterpret_cast<QRgb*>(image.scanLine(j));
    for (int i = 0; i < device.width(); ++i) {
      const int64_t x = x0 + i;
      const Line& column = columns[static_cast<size_t>(i)];
      QRgb colour = kLightGrey;
      if (row.cell >= 0 && column.cell >= 0) colour = pattern->Pixel(column.cell, row.cell) ? kBlack : kWhite;
      if (zoom == 5) {
        const bool inGridColumns = x >= margin && x <= gridRight;
        // Where lines cross, a blue one wins, so the 10-pixel grid stays whole.
        QRgb grid = 0;
        if (column.grid != 0 && inGridRows) grid = column.grid;
        if (row.grid != 0 && inGridColumns && grid != kBlue) grid = row.grid;
        if (grid != 0) colour = grid;
      } else if ((rowTicks &&
                  ((x >= margin - kTick && x < margin) || (x >= w + margin && x < w + margin + kTick))) ||
                 (column.tick &&
                  ((y >= margin - kTick && y < margin) || (y >= h + margin && y < h + margin + kTick)))) {
        colour = kBlue;
      }
      if (overlay && overlay->bitmap) {
        const int64_t cx = column.overlay, cy = row.overlay;
        if (cx >= overlay->clip.left && cx <= overlay->clip.right && cy >= overlay->clip.top &&
            cy <= overlay->clip.bottom &&
            overlay->bitmap->Pixel(static_cast<int32_t>(cx - overlay->origin.x),
                                   static_cast<int32_t>(cy - overlay->origin.y)))
          colour ^= kOverlayXor;
      }
      if (frame && x >= frame->left && x < frame->right && y >= frame->top && y < frame->bottom &&
          (x == frame->left || x == frame->right - 1 || y == frame->top || y == frame->bottom - 1) &&
          ((x + y) & 1) == 0)
        colour ^= kFrameXor;
      out[i] = colour;
    }
  }
  return image;
}

}  // namespace zanli
