// The pattern canvas driven by Qt Test mouse events on the offscreen
// platform: what each tool leaves in the pattern, what the window shows pixel
// for pixel, what a drag repaints, and the bitmap clipboard.
#include "app/pattern_editor/pattern_canvas.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QImage>
#include <QPaintEvent>
#include <QPixmap>
#include <QScreen>
#include <QScrollBar>
#include <QTest>
#include <functional>
#include <memory>
#include <optional>

#include "app/pattern_editor/pattern_clipboard.h"
#include "model/pattern.h"
#include "pattern/shape_rasterizer.h"
#include "support/pattern_art.h"
#include "support/widget_access.h"
#include "support/widget_events.h"

namespace zanli {
namespace {

using testing::PaintRecorder;
using testing::Settle;
using Cell = PatternCanvasState::Cell;
using CanvasAccess = TestAccess<PatternCanvas>;
using test::Art;
using test::ArtOf;

class PatternCanvasTest : public ::testing::Test {
 protected:
  void SetUp() override {
    window_.resize(420, 320);
    canvas_ = new PatternCanvas(&window_);
    canvas_->setGeometry(0, 0, 400, 300);
    window_.show();
    window_.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window_));
    Settle();
  }
  void TearDown() override { canvas_->LoadPattern(nullptr); }

  void Load(const Art& art) {
    pattern_ = test::PatternFromArt(art);
    canvas_->LoadPattern(pattern_.get());
    Settle();
  }
  QWidget* Viewport() const { return canvas_->viewport(); }
  QPoint At(Cell cell) const { return CanvasAccess::CellCentreOnViewport(*canvas_, cell); }
  void Press(Cell cell, Qt::MouseButton button = Qt::LeftButton) {
    QTest::mousePress(Viewport(), button, {}, At(cell));
    Settle();
  }
  void MoveTo(QPoint point) {
    QTest::mouseMove(Viewport(), point);
    Settle();
  }
  void Release(Cell cell, Qt::MouseButton button = Qt::LeftButton) {
    QTest::mouseRelease(Viewport(), button, {}, At(cell));
    Settle();
  }
  void Drag(std::initializer_list<Cell> path, Qt::MouseButton button = Qt::LeftButton) {
    Press(*path.begin(), button);
    for (const Cell& cell : path) MoveTo(At(cell));
    Release(*(path.end() - 1), button);
  }

  // What the window shows: its backing store, partial repaints included.
  QImage Shown() {
    Settle();
    const QPoint at = Viewport()->mapTo(&window_, QPoint(0, 0));
    return window_.screen()
        ->grabWindow(window_.winId(), at.x(), at.y(), Viewport()->width(), Viewport()->height())
        .toImage()
        .convertToFormat(QImage::Format_RGB32);
  }

  std::unique_ptr<Pattern> pattern_;  // outlives the canvas's hold on it
  QWidget window_;
  PatternCanvas* canvas_ = nullptr;
};

Art Filled(int32_t w, int32_t h) { return test::Blank(w, h, '#'); }

TEST_F(PatternCanvasTest, EachToolDrawsWithTheLeftButtonAndClearsWithTheRight) {
  struct Row {
    const char* name;
    PatternTool tool;
    Qt::MouseButton button;
    // Draws the expected cells of a drag through `path` into a pattern.
    std::function<void(Pattern&, bool)> expected;
  };
  const Cell from{3, 4}, via{12, 9}, to{20, 6};
  auto pen = [&](Pattern& p, bool ink) {
    for (Cell c : {from, via, to}) p.SetPixel(c.x, c.y, ink);
  };
  auto line = [&](Pattern& p, bool ink) { ShapeRasterizer::DrawLineCells(p, from, to, ink); };
  auto ellipse = [&](Pattern& p, bool ink) { ShapeRasterizer::DrawEllipseCells(p, from, to, ink); };
  const Row rows[] = {
      {"pen left", PatternTool::Pen, Qt::LeftButton, pen},
      {"pen right", PatternTool::Pen, Qt::RightButton, pen},
      {"line left", PatternTool::Line, Qt::LeftButton, line},
      {"line right", PatternTool::Line, Qt::RightButton, line},
      {"ellipse left", PatternTool::Ellipse, Qt::LeftButton, ellipse},
      {"ellipse right", PatternTool::Ellipse, Qt::RightButton, ellipse},
  };
  for (const Row& row : rows) {
    const bool ink = row.button == Qt::LeftButton;
    const Art start = ink ? test::Blank(31, 21) : Filled(31, 21);
    Load(start);
    canvas_->SetTool(row.tool);
    Drag({from, via, to}, row.button);
    auto expected = test::PatternFromArt(start);
    row.expected(*expected, ink);
    EXPECT_EQ(ArtOf(*pattern_), ArtOf(*expected)) << row.name;
    EXPECT_TRUE(canvas_->State().IsModified()) << row.name;
    // The one undo step gives the picture back.
    canvas_->Undo();
    EXPECT_EQ(ArtOf(*pattern_), start) << row.name;
  }
}

TEST_F(PatternCanvasTest, ASelectionIsLiftedMovedWithTheMoveCursorClampedAtTheBorderAndPutDownByOr) {
  Load({
      "##.......",  //
      "##.......",  //
      ".........",  //
      "......#..",  //
      ".........",  //
  });
  const Art before = ArtOf(*pattern_);
  Drag({{0, 0}, {1, 1}, {2, 2}});  // lifts the 3 × 3 block at the corner
  ASSERT_TRUE(canvas_->HasFloatingSelection());
  EXPECT_EQ(Viewport()->cursor().shape(), Qt::ArrowCursor);
  MoveTo(At({1, 1}));
  EXPECT_EQ(Viewport()->cursor().shape(), Qt::BitmapCursor);
  EXPECT_EQ(Viewport()->cursor().hotSpot(), QPoint(0, 0));
  MoveTo(At({5, 1}));
  EXPECT_EQ(Viewport()->cursor().shape(), Qt::ArrowCursor);

  // Grabbed at its centre cell and dragged far beyond the right and bottom
  // edges: it stops flush with them.
  Press({1, 1});
  MoveTo(At({4, 2}));
  MoveTo(QPoint(Viewport()->width() + 300, Viewport()->height() + 300));
  Release({1, 1});
  EXPECT_EQ(canvas_->State().FloatingPosition(), (Cell{6, 2}));
  Press({0, 4});  // outside the selection: put down
  EXPECT_FALSE(canvas_->HasFloatingSelection());
  EXPECT_EQ(ArtOf(*pattern_), (Art{
                                  ".........",  //
                                  ".........",  //
                                  "......##.",  //
                                  "......##.",  //
                                  ".........",  //
                              }));
  Release({0, 4});
  canvas_->Undo();
  EXPECT_EQ(ArtOf(*pattern_), before);
}

// At zoom 5 every cell shows as a 4 × 4 square of its colour inside the
// grid; grid line k is blue when k mod 10 is 0 or 1, else light grey; an
// overlay flips red on everything under its set cells; the frame inverts
// every other pixel of its outline.
TEST_F(PatternCanvasTest, PixelsAtZoomFiveShowTheBitmapTheGridAndTheOverlays) {
  Art art = test::Blank(23, 14);
  for (int32_t x = 0; x < 23; ++x) art[static_cast<size_t>(x % 14)][static_cast<size_t>(x)] = '#';
  art[2] = "#######################";
  Load(art);
  // A floating selection pasted at the top-left cell: a 6 × 4 picture with
  // one clear pixel, over ink and white alike.
  QImage picture(6, 4, QImage::Format_RGB32);
  picture.fill(Qt::black);
  picture.setPixel(1, 1, qRgb(255, 255, 255));
  CanvasAccess::PasteImage(*canvas_, picture);
  ASSERT_TRUE(canvas_->HasFloatingSelection());
  const QImage shown = Shown();

  const QRgb grey = qRgb(192, 192, 192), blue = qRgb(0, 0, 255), black = qRgb(0, 0, 0),
             white = qRgb(255, 255, 255);
  const int32_t w = pattern_->width, h = pattern_->height;
  auto overlaid = [&](int64_t cx, int64_t cy) {
    return cx >= 0 && cy >= 0 && cx < 6 && cy < 4 && !(cx == 1 && cy == 1);
  };
  auto expected = [&](int x, int y) -> QRgb {
    const int dx = x - 20, dy = y - 20;
    const int64_t cx = dx >= 0 ? dx / 5 : -1, cy = dy >= 0 ? dy / 5 : -1;
    QRgb colour = grey;
    if (dx >= 0 && dy >= 0 && cx < w && cy < h)
      colour = pattern_->Pixel(int32_t(cx), int32_t(cy)) ? black : white;
    const bool onVertical = dx >= 0 && dx % 5 == 0 && dx / 5 <= w && dy >= 0 && dy <= 5 * h;
    const bool onHorizontal = dy >= 0 && dy % 5 == 0 && dy / 5 <= h && dx >= 0 && dx <= 5 * w;
    const bool blueVertical = onVertical && (dx / 5) % 10 <= 1,
               blueHorizontal = onHorizontal && (dy / 5) % 10 <= 1;
    if (blueVertical || blueHorizontal)
      colour = blue;
    else if (onVertical || onHorizontal)
      colour = grey;
    if (overlaid(cx, cy)) colour ^= 0x00FF0000;
    return colour;
  };
  // The frame runs through the centres of the selection's corner cells.
  const QRect frame(QPoint(22, 22), QPoint(22 + 5 * 5, 22 + 3 * 5));
  for (int y = 0; y < 5 * h + 40; ++y)
    for (int x = 0; x < 5 * w + 40; ++x) {
      const bool onFrame = frame.contains(x, y) && (x == frame.left() || x == frame.right() ||
                                                    y == frame.top() || y == frame.bottom());
      QRgb want = expected(x, y);
      if (onFrame && (x + y) % 2 == 0) want ^= 0x00FFFFFF;
      ASSERT_EQ(shown.pixel(x, y), want) << "pixel " << x << "," << y;
    }

  // The rubber band of a line drag shows the same way over ink and white.
  canvas_->SetTool(PatternTool::Line);
  Press({0, 5});
  MoveTo(At({10, 5}));
  const QImage band = Shown();
  EXPECT_EQ(band.pixel(At({3, 5})), white ^ 0x00FF0000u);  // cyan over white
  EXPECT_EQ(band.pixel(At({5, 5})), black ^ 0x00FF0000u);  // red over ink
  EXPECT_EQ(band.pixel(At({3, 6})), pattern_->Pixel(3, 6) ? black : white);
  Release({10, 5});

  // Zoom 1: blue ticks in the margins on every tenth row and column.
  canvas_->ZoomOut();
  const QImage small = Shown();
  for (int row : {0, 10}) EXPECT_EQ(small.pixel(15, 20 + row), blue) << row;
  EXPECT_EQ(small.pixel(15, 25), grey);
  EXPECT_EQ(small.pixel(20 + 10, 12), blue);
  EXPECT_EQ(small.pixel(20 + w + 5, 20 + 10), blue);
  EXPECT_EQ(small.pixel(20 + 3, 20 + 3), pattern_->Pixel(3, 3) ? black : white);
}

TEST_F(PatternCanvasTest, DragsRepaintOnlyTheCellsTheyChange) {
  Load(test::Blank(61, 41));
  PaintRecorder recorder;
  Viewport()->installEventFilter(&recorder);
  const int whole = Viewport()->width() * Viewport()->height();
  auto area = [](const QRegion& region) {
    int sum = 0;
    for (const QRect& r : region) sum += r.width() * r.height();
    return sum;
  };
  // A cell's square, grid lines around it included.
  auto cells = [this](Cell a, Cell b) {
    return QRect(At({std::min(a.x, b.x), std::min(a.y, b.y)}) - QPoint(2, 2),
                 At({std::max(a.x, b.x), std::max(a.y, b.y)}) + QPoint(2, 2));
  };

  canvas_->SetTool(PatternTool::Pen);
  Press({5, 5});
  recorder.region = {};
  MoveTo(At({6, 5}));
  EXPECT_EQ(recorder.region, QRegion(cells({6, 5}, {6, 5})));
  Release({6, 5});

  canvas_->SetTool(PatternTool::Line);
  Settle();
  Press({2, 2});
  Cell end{2, 2};
  for (Cell next : {Cell{10, 4}, Cell{20, 12}, Cell{15, 30}, Cell{40, 20}}) {
    recorder.region = {};
    MoveTo(At(next));
    const QRegion allowed = QRegion(cells({2, 2}, end)) + QRegion(cells({2, 2}, next));
    EXPECT_TRUE((recorder.region - allowed).isEmpty()) << next.x << "," << next.y;
    EXPECT_LT(area(recorder.region), whole);
    end = next;
  }
  Release(end);
}

TEST_F(PatternCanvasTest, ClipboardCarriesBlackInkOnWhiteAndTakesAnyPictureByItsWhitePixels) {
  Load({
      "#.#......",  //
      ".#.......",  //
      "#.#......",  //
      ".........",  //
  });
  Drag({{0, 0}, {2, 2}});
  canvas_->CopySelection();
  const QImage copied = QApplication::clipboard()->image().convertToFormat(QImage::Format_RGB32);
  ASSERT_EQ(copied.size(), QSize(3, 3));
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 3; ++x)
      EXPECT_EQ(copied.pixel(x, y), (x + y) % 2 == 0 ? qRgb(0, 0, 0) : qRgb(255, 255, 255)) << x << "," << y;

  // Cut empties the lifted area; a paste brings the same pixels back.
  canvas_->CutSelection();
  EXPECT_EQ(ArtOf(*pattern_), test::Blank(9, 4));
  canvas_->SetTool(PatternTool::Pen);
  canvas_->PasteBitmap();
  EXPECT_EQ(canvas_->State().Tool(), PatternTool::Select);
  canvas_->CommitSelection();
  EXPECT_EQ(ArtOf(*pattern_)[1], ".#.......");
  EXPECT_EQ(ArtOf(*pattern_)[2], "#.#......");

  struct Row {
    const char* name;
    QRgb pixel;
    bool ink;
  };
  const Row rows[] = {
      {"white", qRgba(255, 255, 255, 255), false},
      {"transparent black", qRgba(0, 0, 0, 0), false},
      {"half-transparent white", qRgba(255, 255, 255, 128), false},
      {"light grey", qRgba(192, 192, 192, 255), true},
      {"almost white", qRgba(255, 255, 254, 255), true},
      {"half-transparent red", qRgba(255, 0, 0, 128), true},
  };
  for (const Row& row : rows) {
    QImage image(1, 1, QImage::Format_ARGB32);
    image.setPixel(0, 0, row.pixel);
    EXPECT_EQ(PatternClipboard::FromImage(image, 5, 5).Pixel(0, 0), row.ink) << row.name;
  }
  // Only the top-left part that fits the pattern is taken.
  QImage large(300, 300, QImage::Format_RGB32);
  large.fill(Qt::white);
  large.setPixel(8, 3, qRgb(0, 0, 0));
  large.setPixel(9, 3, qRgb(0, 0, 0));
  const PatternBitmap part = PatternClipboard::FromImage(large, 9, 4);
  EXPECT_EQ(ArtOf(part, part.Width(), part.Height()),
            (Art{".........", ".........", ".........", "........#"}));
}

TEST_F(PatternCanvasTest, ScrollBarsStepByTwentyAndAHundredAndPasteLandsAtTheTopLeftCellInView) {
  Load(test::Blank(201, 151));
  QScrollBar* bar = canvas_->horizontalScrollBar();
  EXPECT_EQ(bar->maximum(), 5 * 201 + 40 - Viewport()->width());
  bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
  EXPECT_EQ(canvas_->ScrollX(), 20);
  bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
  EXPECT_EQ(canvas_->ScrollX(), 120);
  canvas_->verticalScrollBar()->triggerAction(QAbstractSlider::SliderPageStepAdd);
  EXPECT_EQ(canvas_->ScrollY(), 100);
  EXPECT_TRUE(canvas_->hasFocus());

  QImage dot(1, 1, QImage::Format_RGB32);
  dot.fill(Qt::black);
  CanvasAccess::PasteImage(*canvas_, dot);
  EXPECT_EQ(canvas_->State().FloatingPosition(), (Cell{(120 - 20) / 5, (100 - 20) / 5}));
  // Loading a pattern scrolls back to the origin.
  canvas_->LoadPattern(pattern_.get());
  EXPECT_EQ(canvas_->ScrollX(), 0);
  EXPECT_EQ(canvas_->ScrollY(), 0);
}

}  // namespace
}  // namespace zanli
