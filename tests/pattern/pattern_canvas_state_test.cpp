#include "pattern/pattern_canvas_state.h"

#include <gtest/gtest.h>

#include <memory>
#include <random>

#include "model/pattern.h"
#include "support/pattern_art.h"

namespace zanli {
namespace {

using test::Art;
using test::ArtOf;
using Button = PatternCanvasState::Button;
using Cell = PatternCanvasState::Cell;
using CellRect = PatternCanvasState::CellRect;
using Damage = PatternCanvasState::Damage;
using Point = PatternCanvasState::Point;
constexpr Button L = Button::Left, R = Button::Right;

// A canvas on a pattern drawn as text; the state goes before the pattern.
struct Canvas {
  explicit Canvas(const Art& art, bool padding = false) : pattern(test::PatternFromArt(art, padding)) {
    state = std::make_unique<PatternCanvasState>();
    state->LoadPattern(pattern.get());
  }
  ~Canvas() { state.reset(); }
  Point At(Cell cell) const { return state->CellCentre(cell); }
  Damage Drag(Button button, Cell from, Cell to) {
    Damage damage = state->Press(button, At(from));
    damage.Merge(state->Move(At(to)));
    damage.Merge(state->Release(button));
    return damage;
  }
  Art Picture() const { return ArtOf(*pattern); }

  std::unique_ptr<Pattern> pattern;
  std::unique_ptr<PatternCanvasState> state;
};

TEST(PatternCanvasStateTest, PointsMapToCellsByTruncationAndClampAxisByAxis) {
  Canvas canvas(test::Blank(21, 11));
  PatternCanvasState& s = *canvas.state;
  EXPECT_EQ(s.Zoom(), 5);
  EXPECT_EQ(s.Tool(), PatternTool::Select);
  const struct {
    int32_t zoom, x, y;
    Cell cell;
    bool inside;
  } cases[] = {
      {5, 20, 20, {0, 0}, true},     {5, 24, 24, {0, 0}, true},     {5, 25, 20, {1, 0}, true},
      {5, 19, 30, {0, 2}, true},  // 1 to 4 pixels left of the bitmap: column 0
      {5, 16, 30, {0, 2}, true},     {5, 15, 30, {0, 2}, false},    {5, 124, 74, {20, 10}, true},
      {5, 125, 74, {20, 10}, false}, {5, 500, -99, {20, 0}, false}, {1, 19, 20, {0, 0}, false},
      {1, 20, 20, {0, 0}, true},     {1, 40, 30, {20, 10}, true},   {1, 41, 31, {20, 10}, false},
  };
  for (const auto& c : cases) {
    if (c.zoom == 5)
      s.ZoomIn();
    else
      s.ZoomOut();
    const auto hit = s.MapPoint({c.x, c.y});
    EXPECT_EQ(hit.cell, c.cell) << c.zoom << ": " << c.x << "," << c.y;
    EXPECT_EQ(hit.inside, c.inside) << c.zoom << ": " << c.x << "," << c.y;
  }
  EXPECT_EQ(s.ContentWidth(), 61);
  EXPECT_EQ(s.ContentHeight(), 51);
  EXPECT_EQ(s.RepaintPixels({1, 1, 2, 3}), (PatternCanvasState::PixelRect{21, 21, 23, 24}));
  s.ZoomIn();
  EXPECT_EQ(s.ContentWidth(), 145);
  EXPECT_EQ(s.ContentHeight(), 95);
  // Exactly the cells' squares; the frame runs between the centre pixels.
  EXPECT_EQ(s.RepaintPixels({1, 1, 2, 3}), (PatternCanvasState::PixelRect{25, 25, 35, 40}));
  canvas.Drag(L, {1, 1}, {2, 3});  // no ink: no selection, but the frame was shown
  s.Press(L, canvas.At({2, 3}));
  s.Move(canvas.At({1, 1}));
  EXPECT_EQ(s.FrameRect(), (PatternCanvasState::PixelRect{27, 27, 33, 38}));
  s.Release(L);
  EXPECT_FALSE(s.FrameRect());

  s.LoadPattern(nullptr);
  EXPECT_EQ(s.ContentWidth(), 0);
  EXPECT_FALSE(s.MapPoint({30, 30}).inside);
  EXPECT_TRUE(s.Press(L, {30, 30}).Empty());
}

TEST(PatternCanvasStateTest, SelectRectanglesLiftOnlyWhenTwoCellsAcross) {
  const struct {
    Cell from, to;
    std::optional<CellRect> lifted;
  } cases[] = {
      {{3, 3}, {4, 4}, std::nullopt},  // within one cell both ways: a click
      {{3, 3}, {5, 3}, CellRect{3, 3, 5, 3}},
      {{5, 5}, {3, 3}, CellRect{3, 3, 5, 5}},
      {{3, 3}, {3, 5}, CellRect{3, 3, 3, 5}},
      {{1, 1}, {99, 99}, CellRect{1, 1, 7, 7}},  // the end clamps to the bitmap
  };
  for (const auto& c : cases) {
    Canvas canvas(test::Blank(8, 8, '#'));
    PatternCanvasState& s = *canvas.state;
    s.Press(L, canvas.At(c.from));
    s.Move(c.to.x == 99 ? Point{900, 900} : canvas.At(c.to));
    s.Release(L);
    EXPECT_EQ(s.SelectionRect(), c.lifted) << c.from.x << "," << c.from.y;
    EXPECT_EQ(s.CanUndo(), c.lifted.has_value());
    EXPECT_FALSE(s.IsModified()) << "lifting alone changes nothing";
    for (int32_t y = 0; y < 8; ++y)
      for (int32_t x = 0; x < 8; ++x)
        EXPECT_EQ(canvas.pattern->Pixel(x, y), !(c.lifted && c.lifted->Contains({x, y})));
  }

  // A rectangle without ink lifts nothing and leaves nothing to undo.
  Canvas canvas({"#.....", "......", "......"});
  canvas.state->SetTool(PatternTool::Pen);
  canvas.Drag(L, {5, 2}, {5, 2});
  ASSERT_TRUE(canvas.state->CanUndo());
  canvas.state->SetTool(PatternTool::Select);
  canvas.Drag(L, {1, 0}, {4, 2});
  EXPECT_FALSE(canvas.state->HasFloatingSelection());
  EXPECT_FALSE(canvas.state->CanUndo());
}

TEST(PatternCanvasStateTest, MovedSelectionStaysInsideCommitsByOrAndUndoesToBeforeTheLift) {
  const Art before{"##......", "##......", "......#.", "......##"};
  Canvas canvas(before);
  PatternCanvasState& s = *canvas.state;
  canvas.Drag(L, {0, 0}, {2, 2});
  ASSERT_EQ(s.SelectionRect(), (CellRect{0, 0, 2, 2}));
  // The MOVE cursor over the selection only, and only with the point inside.
  const struct {
    Point point;
    bool move;
  } cursors[] = {{canvas.At({2, 2}), true}, {canvas.At({3, 2}), false}, {{17, 30}, true}, {{14, 30}, false}};
  for (const auto& c : cursors) {
    s.Move(c.point);
    EXPECT_EQ(s.ShowsMoveCursor(), c.move) << c.point.x << "," << c.point.y;
  }
  s.Press(L, canvas.At({1, 1}));
  EXPECT_EQ(s.MoveOffset(), (Cell{-1, -1}));
  s.Move({2000, 2000});  // far outside the window: flush with the corner
  EXPECT_EQ(s.FloatingPosition(), (Cell{5, 1}));
  s.Move(canvas.At({5, 2}));
  s.Move({2000, 2000});
  s.Release(L);
  EXPECT_TRUE(s.IsModified());
  EXPECT_TRUE(s.Press(R, canvas.At({0, 3})).Empty()) << "the right button does nothing with Select";
  canvas.Drag(L, {0, 3}, {0, 3});  // a click outside puts it down
  EXPECT_EQ(canvas.Picture(), (Art{"........", ".....##.", ".....##.", "......##"}));
  EXPECT_FALSE(s.HasFloatingSelection());
  EXPECT_FALSE(s.Undo().Empty());
  EXPECT_EQ(canvas.Picture(), before);
  EXPECT_TRUE(s.Undo().Empty()) << "one level only";

  // Delete drops the lifted pixels; undo brings them back; a tool change,
  // even to the same tool, puts a selection down.
  canvas.Drag(L, {5, 2}, {7, 3});
  const Damage deleted = s.DeleteSelection();
  EXPECT_EQ(deleted.cells, std::vector<CellRect>{(CellRect{5, 2, 7, 3})});
  EXPECT_EQ(canvas.Picture(), (Art{"##......", "##......", "........", "........"}));
  s.Undo();
  canvas.Drag(L, {5, 2}, {7, 3});
  EXPECT_TRUE(s.SetTool(PatternTool::Select).whole);
  EXPECT_FALSE(s.HasFloatingSelection());
  EXPECT_EQ(s.StartCell(), (Cell{5, 2}));
  EXPECT_EQ(s.EndCell(), (Cell{7, 3}));
  EXPECT_EQ(canvas.Picture(), before);
  EXPECT_TRUE(s.SetTool(PatternTool::Select).Empty());
}

TEST(PatternCanvasStateTest, ToolsDrawTheRasterizerCellsWithEitherButton) {
  const struct {
    PatternTool tool;
    Button button;
    Cell from, to;
  } cases[] = {
      {PatternTool::Line, L, {3, 3}, {3, 3}},     {PatternTool::Line, R, {3, 3}, {3, 3}},
      {PatternTool::Ellipse, L, {3, 3}, {3, 3}},  {PatternTool::Ellipse, R, {3, 3}, {3, 3}},
      {PatternTool::Pen, L, {3, 3}, {3, 3}},      {PatternTool::Pen, R, {3, 3}, {3, 3}},
      {PatternTool::Line, L, {0, 0}, {12, 7}},    {PatternTool::Line, R, {12, 0}, {1, 8}},
      {PatternTool::Ellipse, L, {1, 1}, {12, 8}}, {PatternTool::Ellipse, R, {11, 8}, {0, 0}},
  };
  for (const auto& c : cases) {
    const bool ink = c.button == L;
    Canvas canvas(test::Blank(13, 9, ink ? '.' : '#'));
    auto want = test::PatternFromArt(canvas.Picture());
    if (c.tool == PatternTool::Line) ShapeRasterizer::DrawLineCells(*want, c.from, c.to, ink);
    if (c.tool == PatternTool::Ellipse) ShapeRasterizer::DrawEllipseCells(*want, c.from, c.to, ink);
    if (c.tool == PatternTool::Pen) want->SetPixel(c.from.x, c.from.y, ink);
    canvas.state->SetTool(c.tool);
    canvas.Drag(c.button, c.from, c.to);
    EXPECT_EQ(canvas.Picture(), ArtOf(*want)) << int(c.tool) << (ink ? " left " : " right ") << c.to.x;
    EXPECT_TRUE(canvas.state->IsModified());
    canvas.state->Undo();
    EXPECT_EQ(canvas.Picture(), test::Blank(13, 9, ink ? '.' : '#'));
  }

  // A pen stroke sets the cells the mouse passed, not a line between them.
  Canvas canvas(test::Blank(6, 2));
  PatternCanvasState& s = *canvas.state;
  s.SetTool(PatternTool::Pen);
  s.Press(L, canvas.At({0, 0}));
  EXPECT_TRUE(s.Press(R, canvas.At({1, 1})).Empty()) << "presses wait for the drag to end";
  s.Move(canvas.At({4, 0}));
  s.Move({900, 21});  // outside: skipped
  EXPECT_TRUE(s.Release(R).Empty());
  s.Move(canvas.At({5, 1}));
  s.Release(L);
  EXPECT_EQ(s.Dragging(), PatternCanvasState::DragState::None);
  EXPECT_EQ(canvas.Picture(), (Art{"#...#.", ".....#"}));

  // A key that undoes during a rubber band drops it: the release plots nothing.
  s.SetTool(PatternTool::Line);
  s.Press(L, canvas.At({0, 1}));
  s.Move(canvas.At({3, 1}));
  s.Undo();
  EXPECT_EQ(s.Dragging(), PatternCanvasState::DragState::None);
  EXPECT_FALSE(s.CurrentOverlay());
  s.Release(L);
  EXPECT_EQ(canvas.Picture(), (Art{"#...#.", ".....#"}));
}

TEST(PatternCanvasStateTest, PasteTakesWhatFitsAndPutsDownOnlyWhatIsInside) {
  PatternBitmap big(300, 300);
  for (int32_t i = 0; i < 300; ++i) big.SetPixel(i, i, true), big.SetPixel(i, 0, true);
  Canvas canvas(test::Blank(21, 21));
  PatternCanvasState& s = *canvas.state;
  s.SetTool(PatternTool::Pen);
  s.PasteBitmap(&big, {0, 0});
  EXPECT_EQ(s.Tool(), PatternTool::Select);
  EXPECT_EQ(s.SelectionRect(), (CellRect{0, 0, 20, 20}));
  EXPECT_EQ(*s.SelectionBitmap(), big.Region(0, 0, 21, 21));
  EXPECT_TRUE(s.IsModified());
  EXPECT_TRUE(s.Undo().whole);
  EXPECT_FALSE(s.HasFloatingSelection());
  EXPECT_EQ(canvas.Picture(), test::Blank(21, 21)) << "the pasted selection is discarded";

  // Scrolled so that the view starts at cell (10, 15): the paste sticks out.
  const PatternBitmap block = PatternBitmap::Of(*test::PatternFromArt(test::Blank(8, 8, '#')));
  s.PasteBitmap(&block, {70, 95});
  EXPECT_EQ(s.SelectionRect(), (CellRect{10, 15, 17, 22}));
  canvas.Drag(L, {0, 0}, {0, 0});
  Art want = test::Blank(21, 21);
  for (int32_t y = 15; y < 21; ++y) want[size_t(y)].replace(10, 8, 8, '#');
  EXPECT_EQ(canvas.Picture(), want) << "only the rows inside are merged";

  // Moving a stuck-out paste clamps it back inside at the first step.
  s.PasteBitmap(&block, {70, 95});
  EXPECT_EQ(canvas.Picture(), want) << "pasting first puts nothing down";
  s.Press(L, canvas.At({12, 16}));
  s.Move(canvas.At({13, 16}));
  EXPECT_EQ(s.FloatingPosition(), (Cell{11, 13}));
  s.Release(L);
  s.CommitSelection();
  for (int32_t y = 13; y < 21; ++y) want[size_t(y)].replace(11, 8, 8, '#');
  EXPECT_EQ(canvas.Picture(), want);

  // Nothing usable on the clipboard: the snapshot alone, which undoes to the
  // same picture.
  s.PasteBitmap(nullptr, {0, 0});
  EXPECT_FALSE(s.HasFloatingSelection());
  ASSERT_TRUE(s.CanUndo());
  s.Undo();
  EXPECT_EQ(canvas.Picture(), want);
}

TEST(PatternCanvasStateTest, ZoomLoadAndDestructionPutTheSelectionDown) {
  Canvas canvas({"##..", "##..", "...."});
  PatternCanvasState& s = *canvas.state;
  EXPECT_TRUE(s.ZoomIn().Empty());
  const Damage out = s.ZoomOut();
  EXPECT_TRUE(out.whole && out.contentResized);
  EXPECT_TRUE(s.ZoomOut().Empty());

  canvas.Drag(L, {0, 0}, {1, 2});
  s.Press(L, canvas.At({0, 0}));
  s.Move(canvas.At({2, 1}));
  Pattern other("O", 5, 5);
  const Damage load = s.LoadPattern(&other);
  EXPECT_TRUE(load.whole && load.scrollReset && load.contentResized);
  EXPECT_EQ(canvas.Picture(), (Art{"..##", "..##", "...."}));
  EXPECT_FALSE(s.CanUndo());
  EXPECT_EQ(s.Dragging(), PatternCanvasState::DragState::None);

  s.LoadPattern(canvas.pattern.get());
  canvas.Drag(L, {2, 0}, {3, 2});
  EXPECT_EQ(canvas.Picture(), test::Blank(4, 3));
  canvas.state.reset();
  EXPECT_EQ(canvas.Picture(), (Art{"..##", "..##", "...."}));
}

// A step reports no more than what it changes.
TEST(PatternCanvasStateTest, DragsReportOnlyWhatTheyChange) {
  Canvas canvas(test::Blank(201, 151));
  PatternCanvasState& s = *canvas.state;
  using Cells = std::vector<CellRect>;

  s.SetTool(PatternTool::Line);
  EXPECT_EQ(s.Press(L, canvas.At({10, 10})).cells, (Cells{{10, 10, 10, 10}}));
  s.Move(canvas.At({50, 30}));
  EXPECT_EQ(s.Move(canvas.At({60, 5})).cells, (Cells{{10, 10, 50, 30}, {10, 5, 60, 10}}));
  EXPECT_TRUE(s.Move(canvas.At({60, 5})).Empty());
  EXPECT_EQ(s.Release(L).cells, (Cells{{10, 5, 60, 10}}));

  s.SetTool(PatternTool::Pen);
  s.Press(L, canvas.At({1, 1}));
  EXPECT_EQ(s.Move(canvas.At({2, 1})).cells, (Cells{{2, 1, 2, 1}}));
  s.Release(L);

  s.SetTool(PatternTool::Select);
  s.Press(L, canvas.At({0, 0}));
  EXPECT_EQ(s.Move(canvas.At({4, 3})).cells,
            (Cells{{0, 0, 0, 0}, {0, 0, 4, 0}, {0, 3, 4, 3}, {0, 1, 0, 2}, {4, 1, 4, 2}}));
  s.Release(L);
  ASSERT_EQ(s.SelectionRect(), (CellRect{0, 0, 4, 3}));
  s.Press(L, canvas.At({1, 1}));
  EXPECT_EQ(s.Move(canvas.At({3, 2})).cells, (Cells{{0, 0, 4, 3}, {2, 1, 6, 4}}));
  EXPECT_TRUE(s.Release(L).Empty());
}

// Random sessions: the picture outside the pattern's pixels never changes,
// every visible change lies in the reported damage, each snapshot is the whole
// picture as it was just before, and Undo restores the snapshot exactly.
TEST(PatternCanvasStateTest, RandomSessionsKeepTheirPromises) {
  std::mt19937 random(20240611);
  auto pick = [&](int32_t n) { return static_cast<int32_t>(random() % static_cast<uint32_t>(n)); };
  const int32_t sizes[][2] = {{1, 1}, {7, 5}, {21, 21}, {17, 9}, {33, 4}};
  for (int session = 0; session < 300; ++session) {
    const auto& size = sizes[session % 5];
    Art art = test::Blank(size[0], size[1]);
    for (auto& row : art)
      for (char& c : row) c = pick(3) == 0 ? '#' : '.';
    Canvas canvas(art, true);
    PatternCanvasState& s = *canvas.state;
    const int32_t w = size[0], h = size[1];
    const std::vector<uint8_t> initial = canvas.pattern->bits;

    // The whole picture: the pattern with the floating selection put down.
    auto whole = [&] {
      Pattern copy = *canvas.pattern;
      if (const PatternBitmap* floating = s.SelectionBitmap())
        floating->OrInto(copy, s.FloatingPosition().x, s.FloatingPosition().y);
      return PatternBitmap::Of(copy);
    };
    // What a cell shows: ink, overlay, and which frame runs through it.
    struct Look {
      bool ink = false;
      bool overlay = false;
      std::optional<CellRect> frame;
      bool operator==(const Look&) const = default;
    };
    auto picture = [&] {
      std::vector<Look> looks;
      const auto overlay = s.CurrentOverlay();
      const CellRect frame = CellRect::Spanned(s.StartCell(), s.EndCell());
      for (int32_t y = 0; y < 2 * h; ++y)
        for (int32_t x = 0; x < 2 * w; ++x) {
          Look look;
          look.ink = canvas.pattern->Pixel(x, y);
          look.overlay = overlay && overlay->clip.Contains({x, y}) &&
                         overlay->bitmap->Pixel(x - overlay->origin.x, y - overlay->origin.y);
          if (s.FrameRect() && frame.Contains({x, y}) &&
              (x == frame.left || x == frame.right || y == frame.top || y == frame.bottom))
            look.frame = frame;
          looks.push_back(look);
        }
      return looks;
    };
    auto point = [&] { return Point{pick(5 * w + 60) - 20, pick(5 * h + 60) - 20}; };

    for (int step = 0; step < 60; ++step) {
      const PatternBitmap beforeWhole = whole();
      const PatternBitmap beforeSnapshot = s.Snapshot();
      const bool couldUndo = s.CanUndo();
      const std::vector<Look> beforeLooks = picture();
      Damage damage;
      const int32_t op = pick(20);
      if (op < 5)
        damage = s.Press(pick(3) ? L : R, point());
      else if (op < 12)
        damage = s.Move(point());
      else if (op < 15)
        damage = s.Release(pick(3) ? L : R);
      else if (op == 15)
        damage = s.SetTool(static_cast<PatternTool>(pick(4)));
      else if (op == 16)
        damage = s.Undo();
      else if (op == 17)
        damage = s.DeleteSelection();
      else if (op == 18) {
        PatternBitmap paste(1 + pick(2 * w), 1 + pick(2 * h));
        paste.SetPixel(pick(paste.Width()), pick(paste.Height()), true);
        damage = s.PasteBitmap(pick(4) ? &paste : nullptr, point());
      } else {
        damage = pick(2) ? s.ZoomIn() : s.ZoomOut();
      }

      // The row padding is never written.
      ASSERT_EQ(canvas.pattern->bits.size(), initial.size());
      for (int32_t y = 0; y < h; ++y)
        for (int32_t x = w; x < canvas.pattern->Stride() * 8; ++x) {
          const size_t at = size_t(y) * size_t(canvas.pattern->Stride()) + size_t(x / 8);
          ASSERT_EQ(canvas.pattern->bits[at] & (0x80 >> (x % 8)), initial[at] & (0x80 >> (x % 8)));
        }
      if (op == 16 && couldUndo) {
        ASSERT_EQ(PatternBitmap::Of(*canvas.pattern), beforeSnapshot) << "session " << session;
        ASSERT_FALSE(s.HasFloatingSelection());
      } else if (s.CanUndo() && !(s.Snapshot() == beforeSnapshot)) {
        ASSERT_EQ(s.Snapshot(), beforeWhole) << "session " << session << " step " << step;
      }
      if (!damage.whole) {
        const std::vector<Look> afterLooks = picture();
        for (int32_t y = 0; y < 2 * h; ++y)
          for (int32_t x = 0; x < 2 * w; ++x) {
            const size_t at = size_t(y) * size_t(2 * w) + size_t(x);
            if (beforeLooks[at] == afterLooks[at]) continue;
            bool covered = false;
            for (const CellRect& rect : damage.cells) covered = covered || rect.Contains({x, y});
            ASSERT_TRUE(covered) << "cell " << x << "," << y << " op " << op << " session " << session;
          }
      }
    }
    // Undo at the end of any session restores the snapshot exactly.
    if (s.CanUndo()) {
      const PatternBitmap snapshot = s.Snapshot();
      s.Undo();
      ASSERT_EQ(PatternBitmap::Of(*canvas.pattern), snapshot);
    }
  }
}

}  // namespace
}  // namespace zanli
