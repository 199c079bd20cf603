#pragma once

#include <QAbstractScrollArea>
#include <cstdint>

class QScrollBar;

namespace zanli {

// A scroll area for a drawing that the widget paints itself: it keeps its
// own scroll position in units of the drawing (one unit shows as Scale() ×
// Scale() device pixels), its bars step by fixed line and page amounts, and
// a scroll moves the pixels already shown and repaints only what it
// uncovers. Positions, ranges, pages and steps are all in units.
class ScrollView : public QAbstractScrollArea {
  Q_OBJECT

 public:
  // The unit shown at the viewport's top-left pixel.
  int32_t ScrollX() const { return scrollX_; }
  int32_t ScrollY() const { return scrollY_; }

 protected:
  ScrollView(QWidget* parent, int32_t lineStep, int32_t pageStep);

  // The drawing's size in units; the bars follow it.
  void SetContentSize(int32_t width, int32_t height);
  int32_t ContentWidth() const { return contentWidth_; }
  int32_t ContentHeight() const { return contentHeight_; }
  // Device pixels per unit, from 1; the caller sets the scroll position
  // afresh and repaints.
  void SetScale(int scale);
  int Scale() const { return scale_; }
  // The viewport's size in whole units.
  int32_t ClientWidth() const;
  int32_t ClientHeight() const;
  // Takes a new scroll position, clamped to the drawing, and moves nothing:
  // the caller repaints.
  void SetScrollPosition(int64_t x, int64_t y);
  // Scrolls to a position, clamped to the drawing, moving what shows;
  // whether the view moved.
  bool ScrollTo(int64_t x, int64_t y);

  void resizeEvent(QResizeEvent* event) override;
  // A wheel turn scrolls; unlike a click on a bar it leaves the focus alone.
  void wheelEvent(QWheelEvent* event) override;
  void scrollContentsBy(int dx, int dy) override;

 private:
  // Clamps the scroll position to the drawing and hands ranges, pages and
  // positions to the bars.
  void UpdateScrollBars();
  // Moves what shows by a distance in units and repaints what it uncovers.
  void ScrollViewport(int64_t dx, int64_t dy);
  void OnScrollAction(QScrollBar* bar, int action);

  int32_t lineStep_;
  int32_t pageStep_;
  int32_t scrollX_ = 0;
  int32_t scrollY_ = 0;
  int32_t contentWidth_ = 0;
  int32_t contentHeight_ = 0;
  int scale_ = 1;
  // Set while this class moves the bars itself, so that their value changes
  // are not taken for the user's scrolling.
  bool syncingBars_ = false;
  // Set while a wheel turn is passed to a bar.
  bool wheeling_ = false;
};

}  // namespace zanli
