#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "pattern/pattern_bitmap.h"
#include "pattern/shape_rasterizer.h"

namespace zanli {

class Pattern;

enum class PatternTool { Select, Pen, Line, Ellipse };

// Everything the pattern canvas does that is not drawing on a screen: which
// pattern is edited, the tool, the zoom, mouse drags, the floating selection,
// the one undo snapshot and the modified flag. The canvas widget feeds it
// logical points (client point + scroll position) and repaints what each step
// reports; the editor dialog calls the editing operations.
//
// The pattern is edited in place: every committed change is at once in the
// Pattern given to LoadPattern, which must outlive the state or be replaced by
// LoadPattern(nullptr) first. A floating selection is kept out of the pattern
// while it floats and is ORed back when it is put down: by a press outside it,
// any tool change, loading a pattern and destruction.
//
// Geometry. The bitmap is drawn with a margin of kMargin logical pixels; cell
// (cx, cy) covers the zoom × zoom square whose top-left pixel is
// (kMargin + cx × zoom, kMargin + cy × zoom). A logical point maps to a cell by
// division that truncates toward zero, so up to zoom − 1 pixels left of (above)
// the bitmap still hit column (row) 0; a point beyond that is outside, and its
// cell is clamped to the bitmap axis by axis for the operations that use it.
//
// Painting, for the widget (paint only the area asked for):
//  1. Light-grey background; with a pattern, the bitmap scaled by Zoom() at
//     BitmapPixels(): set pixels black, clear pixels white.
//  2. The grid. Zoom 1: blue ticks 10 pixels long in all four margins for
//     every row and column whose index is a multiple of 10. Zoom 5: lines at
//     kMargin + 5k for k = 0 … W (and 0 … H) across the bitmap, blue when
//     k mod 10 is 0 or 1, light grey (192, 192, 192) otherwise.
//  3. CurrentOverlay(), if any, as an exclusive-or with pure red (255, 0, 0):
//     every set overlay pixel, scaled by zoom, flips the red channel of what
//     lies under it, so a white pixel shows cyan and a black one red; clear
//     overlay pixels leave the picture alone. Only the overlay's clip
//     rectangle is drawn.
//  4. FrameRect(), if any: a dotted rectangle (the focus-rectangle look, drawn
//     by exclusive-or so it shows on black and white alike).
//
// Damage. Every step that changes the picture returns a Damage: cell
// rectangles to repaint (turn each into logical pixels with RepaintPixels,
// then subtract the scroll position), or `whole`. A Line or Ellipse drag move
// reports at most the rubber band's old and new boxes, a selection move its
// old and new rectangles (the frame lies inside them), a Select rectangle drag
// the border cells that carry the old and new frame, a Pen move one cell.
class PatternCanvasState {
 public:
  using Cell = ShapeRasterizer::Cell;

  static constexpr int32_t kMargin = 20;
  // Scroll bar steps in logical pixels, both axes.
  static constexpr int32_t kScrollLineStep = 20;
  static constexpr int32_t kScrollPageStep = 100;

  enum class Button { Left, Right };
  // Which button holds the drag (the widget keeps the mouse grabbed while a
  // drag is on; the mouse may leave the window).
  enum class DragState { None, Left, Right };

  // A logical point: client coordinates plus the scroll position.
  struct Point {
    int32_t x = 0;
    int32_t y = 0;
  };

  // Cells from (left, top) to (right, bottom), both corners included,
  // normalized. May reach beyond the pattern for a pasted selection.
  struct CellRect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
    friend bool operator==(const CellRect&, const CellRect&) = default;
    static CellRect Spanned(Cell a, Cell b);
    bool Contains(Cell cell) const;
  };

  // Logical pixels; right and bottom exclusive (width = right − left).
  struct PixelRect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
    friend bool operator==(const PixelRect&, const PixelRect&) = default;
  };

  struct Hit {
    Cell cell;            // clamped to the bitmap; (0, 0) without a pattern
    bool inside = false;  // the point lies on the bitmap (truncation included)
  };

  struct Damage {
    // Repaint everything (zoom, load, undo, a selection put down by a tool
    // change or paste).
    bool whole = false;
    // The content size changed: set the scroll bars up again.
    bool contentResized = false;
    // A pattern was loaded: scroll back to (0, 0).
    bool scrollReset = false;
    std::vector<CellRect> cells;

    bool Empty() const { return !whole && !contentResized && !scrollReset && cells.empty(); }
    void Merge(const Damage& other);
  };

  // What step 3 of painting draws. The overlay's pixel (x, y) lies on cell
  // origin + (x, y); only cells within clip are drawn (for the rubber band
  // that is the box spanned by its start and end cells).
  struct Overlay {
    const PatternBitmap* bitmap = nullptr;
    Cell origin;
    CellRect clip;
    bool rubberBand = false;
  };

  PatternCanvasState() = default;
  // Puts a floating selection down into the pattern.
  ~PatternCanvasState();
  PatternCanvasState(const PatternCanvasState&) = delete;
  PatternCanvasState& operator=(const PatternCanvasState&) = delete;

  // --- Editor operations ---------------------------------------------------
  //
  // Keys can reach the editor while a mouse button is held, so every
  // operation that changes the picture first ends a drag: a Select rectangle
  // or a rubber band is dropped (nothing is lifted or plotted), a selection
  // move stops where it is, a Pen stroke stays as drawn. Check Dragging()
  // afterwards to release the mouse.

  // Puts the floating selection down into the pattern being left, ends a drag,
  // drops the undo snapshot and shows `pattern` (nullptr: none). Reports
  // whole, contentResized and scrollReset.
  Damage LoadPattern(Pattern* pattern);
  // Sets the tool and puts the floating selection down; called for every tool
  // command, also when the tool stays. Reports whole if a selection was put
  // down.
  Damage SetTool(PatternTool tool);
  // Zoom 5 / zoom 1; nothing when already there.
  Damage ZoomIn();
  Damage ZoomOut();
  // Puts the floating selection down: ORs its part inside the pattern into it.
  // Returns whether one existed. Ends a drag; the caller repaints the whole
  // canvas afterwards, as the editor's commands that put a selection down do.
  bool CommitSelection();
  // Copies the whole picture as the one undo step. Only meaningful with a
  // pattern and no floating selection; the tools and PasteBitmap call it.
  void TakeSnapshot();
  // Restores the snapshot, discarding a floating selection without putting it
  // down. One level only; a second Undo does nothing. The modified flag stays.
  Damage Undo();
  // The floating selection, for Copy and Cut: the widget puts it on the
  // clipboard as black ink on white. nullptr without one.
  const PatternBitmap* SelectionBitmap() const;
  // Discards the floating selection; its pixels left the pattern when it was
  // lifted, so they are gone. Cut is SelectionBitmap() then this.
  Damage DeleteSelection();
  // Paste: switches to Select (putting a floating selection down), takes the
  // snapshot and, when `picture` is not null and not empty, makes its top-left
  // part that fits the pattern the floating selection, at the cell of the
  // logical point `scroll` (the top-left corner of the view, clamped to the
  // bitmap). The widget converts the clipboard picture first: pixels exactly
  // white (or fully transparent) clear, every other colour set. The pasted
  // selection may stick out over the right or bottom edge until it is moved;
  // putting it down keeps only the part inside. A null picture (nothing
  // usable on the clipboard) leaves the picture as it was, undo included.
  Damage PasteBitmap(const PatternBitmap* picture, Point scroll);

  // --- Mouse -------------------------------------------------------------

  // A press while a drag is on is ignored; so is the right button with Select,
  // and every press without a pattern.
  Damage Press(Button button, Point point);
  // A move with or without a drag; also recomputes ShowsMoveCursor().
  Damage Move(Point point);
  // Handled only for the button that started the drag; the drag ends (the
  // widget releases the mouse) before anything else. A drag ends where the
  // last Move left it: the release point itself is not used.
  Damage Release(Button button);

  // --- State -------------------------------------------------------------

  bool HasPattern() const { return pattern_ != nullptr; }
  const Pattern* GetPattern() const { return pattern_; }
  // A floating selection exists and the tool is Select.
  bool HasFloatingSelection() const;
  bool CanUndo() const { return undoAvailable_; }
  // Something changed since construction; nothing clears it.
  bool IsModified() const { return modified_; }
  PatternTool Tool() const { return tool_; }
  int32_t Zoom() const { return zoom_; }
  DragState Dragging() const { return drag_; }
  // The mouse was last over the floating selection: show the MOVE cursor.
  bool ShowsMoveCursor() const { return moveCursor_; }
  bool FrameVisible() const { return frameVisible_; }
  // Anchor and current end of a drag; the bounds of a floating selection.
  Cell StartCell() const { return start_; }
  Cell EndCell() const { return end_; }
  Cell FloatingPosition() const { return floatingAt_; }
  Cell MoveOffset() const { return moveOffset_; }
  const PatternBitmap& Snapshot() const { return snapshot_; }
  // The floating selection's cells; nullopt without one.
  std::optional<CellRect> SelectionRect() const;

  // Zoom × W + 2 × kMargin by zoom × H + 2 × kMargin; 0 × 0 without a pattern.
  int32_t ContentWidth() const;
  int32_t ContentHeight() const;

  // --- Geometry and painting ------------------------------------------------

  Hit MapPoint(Point point) const;
  // The centre pixel of a cell: kMargin + cx × zoom + zoom / 2.
  Point CellCentre(Cell cell) const;
  // The logical pixels to repaint for a cell rectangle: between the centre
  // points of its corners, widened by zoom / 2 to the left and top and by
  // zoom / 2 + 1 to the right and bottom, which is exactly its cells.
  PixelRect RepaintPixels(const CellRect& rect) const;
  // Where the bitmap lies; empty without a pattern.
  PixelRect BitmapPixels() const;
  std::optional<Overlay> CurrentOverlay() const;
  // The selection frame: from the centre of the start cell to the centre of
  // the end cell, normalized, its right and bottom edges one pixel further out
  // (so the pixel rectangle includes both centre pixels). Shown while a Select
  // rectangle is dragged and while a floating selection is shown.
  std::optional<PixelRect> FrameRect() const;

 private:
  enum class DragKind { None, SelectRect, MoveSelection, Pen, Shape };

  bool Usable() const;
  Damage SetZoom(int32_t zoom);
  Damage EndDrag();
  bool CommitFloating();
  Damage PressSelect(Hit hit);
  Damage DragSelection(Cell cell);
  Damage ReleaseSelectRect();
  void PlotShape(const ShapeRasterizer::Bitmap& target, bool ink) const;
  CellRect FrameCells() const { return CellRect::Spanned(start_, end_); }
  static void AddFrame(Damage& damage, const CellRect& rect);
  bool Lift(const CellRect& rect);
  void SetBoundsToSelection();

  Pattern* pattern_ = nullptr;
  PatternTool tool_ = PatternTool::Select;
  int32_t zoom_ = 5;
  DragState drag_ = DragState::None;
  DragKind dragKind_ = DragKind::None;
  Cell start_;
  Cell end_;
  // The floating selection (tool Select only) and its top-left cell.
  std::optional<PatternBitmap> floating_;
  Cell floatingAt_;
  Cell moveOffset_;
  // The Line or Ellipse drag's overlay, as large as the pattern, at (0, 0).
  // Kept apart from the selection so that nothing can put a rubber band down.
  std::optional<PatternBitmap> rubberBand_;
  bool frameVisible_ = false;
  bool moveCursor_ = false;
  PatternBitmap snapshot_;
  bool undoAvailable_ = false;
  bool modified_ = false;
};

}  // namespace zanli
