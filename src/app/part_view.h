#pragma once

#include <cstdint>

#include "app/scroll_view.h"
#include "model/part_body.h"
#include "model/pin_info.h"

class QPainter;

namespace zanli {

class PainterSurface;

// Shows one part body with a pin cursor that runs along the four edges of the
// body, corners included. Every position can be chosen, occupied or not; the
// pin panel edits the pin there. The view never owns its body: whoever frees
// a body shows another (or none) first.
//
// The drawing is made at one unit = one pixel; the zoom (1 to 4) magnifies it
// so that each of its pixels becomes a zoom × zoom square, which keeps it
// pixel-exact. Everything else stays in logical units whatever the zoom: the
// scroll positions, the scroll bars' ranges, pages and steps (20 and 100
// units), the 20-unit margin of ScrollIntoView, HitTest. A device point is
// (logical point − scroll position) × zoom.
class PartView : public ScrollView {
  Q_OBJECT

 public:
  explicit PartView(QWidget* parent = nullptr);

  // nullptr shows nothing. Resets the cursor to Left 0, the block to 0 and
  // both scroll positions to 0, then repaints everything.
  void SetPart(PartBody* body);
  PartBody* Part() const { return body_; }

  // Moves the cursor without notifying anyone; positions off the body's edges
  // are ignored. Without a body the cursor is Left 0.
  void SetCursor(PinEdge edge, int32_t position);
  PinEdge CursorEdge() const { return cursorEdge_; }
  int32_t CursorPosition() const { return cursorPosition_; }

  // The 0-based block whose pin numbers are drawn; out-of-range indexes are
  // ignored, and the block is 0 without a body.
  void SetBlock(int32_t index);
  int32_t GetBlock() const { return block_; }

  // Repaints what is drawn for one pin position (line, mark, name, number,
  // SymbolRenderer::PinArea), after the document changed, added or removed
  // the pin there.
  void InvalidatePin(PinEdge edge, int32_t position);

  struct Hit {
    bool hit = false;
    PinEdge edge = PinEdge::Left;
    int32_t position = 0;
  };
  // Which position a logical point picks: a 10-unit strip outside each edge.
  // Where two strips cross, the earlier edge (Left, Top, Right, Bottom) owns
  // the point even when its position there is out of range.
  Hit HitTest(int32_t logicalX, int32_t logicalY) const;

  // Scrolls so the cursor marker at that position shows; Left and Right edges
  // scroll fully left or right. Returns whether the view moved.
  bool ScrollIntoView(PinEdge edge, int32_t position);

  // Factors outside 1 … 4 are taken as the nearest of them. A change keeps
  // the cursor marker where it shows as far as the new scale allows, then
  // scrolls the cursor into view, repaints and emits zoomChanged.
  void SetZoom(int factor);
  int Zoom() const { return Scale(); }
  static constexpr int kMinZoom = 1;
  static constexpr int kMaxZoom = 4;

 signals:
  // The user moved the cursor (key or click). Always delivered queued, so the
  // receiver runs after the key or click has been handled completely.
  void cursorMoved();
  // The zoom changed (Ctrl + wheel over the view, or SetZoom).
  void zoomChanged(int factor);

 protected:
  bool event(QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;

 private:
  // The cursor after an arrow key, or the cursor itself when it stays.
  void NewCursorForKey(int key, PinEdge& edge, int32_t& position) const;
  // A user's move: repaint the old and new markers, scroll, notify.
  void MoveCursorByUser(PinEdge edge, int32_t position);
  bool IsValidPosition(PinEdge edge, int64_t position) const;

  // Logical rectangle [left, right) × [top, bottom), repainted where it shows.
  void UpdateLogical(int64_t left, int64_t top, int64_t right, int64_t bottom);
  void UpdateMarker(PinEdge edge, int32_t position);
  void MarkerCentre(PinEdge edge, int32_t position, int64_t& x, int64_t& y) const;

  // Paints the 1:1 drawing into `bounds` of the painter, where the painter's
  // pixel (0, 0) shows the logical point (originX, originY).
  void PaintDrawing(QPainter& painter, const QRect& bounds, int32_t originX, int32_t originY) const;
  void DrawGrid(PainterSurface& surface, const QRect& logical) const;
  void DrawMarker(QPainter& painter, int32_t originX, int32_t originY) const;

  PartBody* body_ = nullptr;
  PinEdge cursorEdge_ = PinEdge::Left;
  int32_t cursorPosition_ = 0;
  int32_t block_ = 0;
  bool hasFocus_ = false;
  // Wheel turns with Ctrl held, gathered until they make a whole notch (fine
  // steps of high-resolution wheels and touchpads).
  int zoomWheelDelta_ = 0;
};

}  // namespace zanli
