#pragma once

#include <QCursor>
#include <QImage>
#include <cstdint>

#include "app/scroll_view.h"
#include "app/test_access.h"
#include "pattern/pattern_canvas_state.h"

namespace zanli {

class Pattern;

// The pattern editor's drawing area: one pattern enlarged with its grid,
// edited with the mouse. The behaviour lives in PatternCanvasState; this
// widget feeds it logical points, paints its picture and repaints exactly the
// cells each step reports. Mouse drags keep receiving moves when the mouse
// leaves the window (Qt grabs it for the pressed widget).
//
// The pattern is edited in place, so it must outlive the canvas or be
// replaced by LoadPattern(nullptr) first; a floating selection is put down
// into it when the canvas goes.
class PatternCanvas : public ScrollView {
  Q_OBJECT

 public:
  explicit PatternCanvas(QWidget* parent = nullptr);
  ~PatternCanvas() override;

  // Puts a floating selection down into the pattern being left, drops the
  // undo snapshot, scrolls to the origin and shows `pattern` (or nothing).
  void LoadPattern(Pattern* pattern);
  void SetTool(PatternTool tool);
  void ZoomIn();
  void ZoomOut();
  // Puts the floating selection down and repaints; whether there was one.
  bool CommitSelection();

  // The editing commands; each does nothing when it does not apply.
  void Undo();
  void CopySelection();
  void CutSelection();
  void DeleteSelection();
  // Takes the picture the clipboard offers as a floating selection at the
  // top-left cell in view; switches the tool to Select.
  void PasteBitmap();

  bool HasPattern() const { return state_.HasPattern(); }
  bool HasFloatingSelection() const { return state_.HasFloatingSelection(); }
  bool CanUndo() const { return state_.CanUndo(); }
  const PatternCanvasState& State() const { return state_; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;

 private:
  friend struct TestAccess<PatternCanvas>;

  // PasteBitmap with a given picture (null: nothing usable was offered).
  void PasteImage(const QImage& image);
  // Where the centre of a cell shows in the viewport.
  QPoint CellCentreOnViewport(PatternCanvasState::Cell cell) const;
  // The cursor shown over a floating selection: an arrow with a boxed MOVE.
  static QCursor MoveCursor();
  // The canvas picture for a viewport rectangle, exactly as painted.
  QImage Render(const QRect& device) const;
  PatternCanvasState::Point Logical(const QPointF& device) const;
  // Repaints what a step reports and follows size and scroll changes.
  void Apply(const PatternCanvasState::Damage& damage);
  void UpdateCursor();

  PatternCanvasState state_;
  bool moveCursorShown_ = false;
};

}  // namespace zanli
