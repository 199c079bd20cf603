// The part view driven through real key, mouse and focus events on the
// offscreen platform, and compared pixel for pixel with the core raster.
#include "app/part_view.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QLineEdit>
#include <QPaintEvent>
#include <QPixmap>
#include <QScreen>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QWidget>
#include <memory>
#include <string>
#include <vector>

#include "model/part_body.h"
#include "model/pattern.h"
#include "model/pin_info.h"
#include "render/rgb_raster.h"
#include "render/symbol_renderer.h"
#include "support/library_builder.h"
#include "support/widget_events.h"

namespace zanli {
namespace {

using testing::PaintRecorder;
using testing::Settle;

const char* EdgeName(PinEdge e) {
  switch (e) {
    case PinEdge::Left:
      return "Left";
    case PinEdge::Top:
      return "Top";
    case PinEdge::Right:
      return "Right";
    case PinEdge::Bottom:
      return "Bottom";
  }
  return "?";
}

void AddPin(PartBody& body, PinEdge edge, int32_t position, const std::string& name, int32_t flags,
            std::vector<std::string> numbers) {
  numbers.resize(static_cast<size_t>(body.blockCount));
  testing::AddPin(body, name, edge, position, std::move(numbers), flags);
}

class PartViewTest : public ::testing::Test {
 protected:
  void SetUp() override {
    window_.resize(460, 360);
    view_ = new PartView(&window_);
    view_->setGeometry(0, 0, 400, 300);
    other_ = new QLineEdit(&window_);
    other_->setGeometry(0, 320, 100, 24);
    window_.show();
    window_.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window_));
    Settle();
  }

  void Show(int32_t x, int32_t y) {
    body_.xSize = x;
    body_.ySize = y;
    view_->SetPart(&body_);
    Settle();
  }

  // What the viewport shows right now: the window's backing store, so that
  // scrolled and partly repainted contents are checked, not a fresh render.
  QImage Shown() {
    Settle();
    const QPoint at = view_->viewport()->mapTo(&window_, QPoint(0, 0));
    QPixmap pixmap = window_.screen()->grabWindow(window_.winId(), at.x(), at.y(), view_->viewport()->width(),
                                                  view_->viewport()->height());
    QImage image = pixmap.toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(image.size(), view_->viewport()->size()) << "the backing store could not be read";
    if (!qEnvironmentVariableIsEmpty("ZANLI_VIEW_TEST_DUMP"))
      image.save(qEnvironmentVariable("ZANLI_VIEW_TEST_DUMP") + QString::number(dumpCount_++) + ".png");
    return image;
  }

  int dumpCount_ = 0;

  PartBody body_;  // outlives the view, which refers to it to the end
  QWidget window_;
  PartView* view_ = nullptr;
  QLineEdit* other_ = nullptr;
};

struct Cursor {
  PinEdge edge;
  int32_t position;
};

TEST_F(PartViewTest, ArrowKeysWalkTheOutlineAndJumpAcross) {
  Show(3, 2);  // X = 3, Y = 2
  struct Row {
    Cursor from;
    Qt::Key key;
    Cursor to;
  };
  using enum PinEdge;
  const Row rows[] = {
      {{Top, 2}, Qt::Key_Left, {Top, 1}},     {{Bottom, 1}, Qt::Key_Left, {Bottom, 0}},
      {{Top, 0}, Qt::Key_Left, {Left, 0}},    {{Bottom, 0}, Qt::Key_Left, {Left, 2}},
      {{Right, 1}, Qt::Key_Left, {Left, 1}},  {{Left, 1}, Qt::Key_Left, {Left, 1}},
      {{Left, 2}, Qt::Key_Up, {Left, 1}},     {{Right, 1}, Qt::Key_Up, {Right, 0}},
      {{Left, 0}, Qt::Key_Up, {Top, 0}},      {{Right, 0}, Qt::Key_Up, {Top, 3}},
      {{Bottom, 2}, Qt::Key_Up, {Top, 2}},    {{Top, 1}, Qt::Key_Up, {Top, 1}},
      {{Top, 0}, Qt::Key_Right, {Top, 1}},    {{Bottom, 2}, Qt::Key_Right, {Bottom, 3}},
      {{Top, 3}, Qt::Key_Right, {Right, 0}},  {{Bottom, 3}, Qt::Key_Right, {Right, 2}},
      {{Left, 2}, Qt::Key_Right, {Right, 2}}, {{Right, 1}, Qt::Key_Right, {Right, 1}},
      {{Left, 0}, Qt::Key_Down, {Left, 1}},   {{Right, 1}, Qt::Key_Down, {Right, 2}},
      {{Left, 2}, Qt::Key_Down, {Bottom, 0}}, {{Right, 2}, Qt::Key_Down, {Bottom, 3}},
      {{Top, 1}, Qt::Key_Down, {Bottom, 1}},  {{Bottom, 1}, Qt::Key_Down, {Bottom, 1}},
  };
  for (const Row& row : rows) {
    const char* keyName = row.key == Qt::Key_Left    ? "Left"
                          : row.key == Qt::Key_Up    ? "Up"
                          : row.key == Qt::Key_Right ? "Right"
                                                     : "Down";
    SCOPED_TRACE(::testing::Message()
                 << EdgeName(row.from.edge) << " " << row.from.position << " key " << keyName);
    view_->SetCursor(row.from.edge, row.from.position);
    ASSERT_EQ(view_->CursorEdge(), row.from.edge);
    ASSERT_EQ(view_->CursorPosition(), row.from.position);
    Settle();
    QSignalSpy spy(view_, &PartView::cursorMoved);
    QTest::keyClick(view_, row.key);
    EXPECT_EQ(view_->CursorEdge(), row.to.edge);
    EXPECT_EQ(view_->CursorPosition(), row.to.position);
    EXPECT_EQ(spy.count(), 0) << "the notification must be queued";
    Settle();
    const bool moved = row.from.edge != row.to.edge || row.from.position != row.to.position;
    EXPECT_EQ(spy.count(), moved ? 1 : 0);
  }
}

TEST_F(PartViewTest, ClicksPickPositionsByStripsAndTheCornerRule) {
  Show(2, 2);  // right strip x 86..94, bottom strip y 86..94
  struct Row {
    QPoint point;
    bool hit;
    Cursor to;
  };
  using enum PinEdge;
  const Row rows[] = {
      {{50, 61}, true, {Left, 0}},  {{50, 45}, false, {}},         {{50, 46}, true, {Left, 0}},
      {{50, 64}, true, {Left, 0}},  {{50, 65}, true, {Left, 1}},   {{50, 84}, true, {Left, 2}},
      {{50, 85}, false, {}},        {{50, 50}, true, {Left, 0}},   {{46, 80}, true, {Left, 2}},
      {{45, 80}, false, {}},        {{55, 80}, false, {}},         {{70, 50}, true, {Top, 1}},
      {{90, 50}, false, {}},        {{90, 70}, true, {Right, 1}},  {{94, 75}, true, {Right, 2}},
      {{95, 75}, false, {}},        {{66, 90}, true, {Bottom, 1}}, {{84, 90}, true, {Bottom, 2}},
      {{90, 84}, true, {Right, 2}}, {{90, 90}, false, {}},         {{50, 90}, false, {}},
      {{75, 75}, false, {}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(::testing::Message() << "click at " << row.point.x() << "," << row.point.y());
    view_->SetCursor(Top, 0);  // not hit by any row above
    Settle();
    QSignalSpy spy(view_, &PartView::cursorMoved);
    QTest::mouseClick(view_->viewport(), Qt::LeftButton, {}, row.point);
    const PartView::Hit hit = view_->HitTest(row.point.x(), row.point.y());
    EXPECT_EQ(hit.hit, row.hit);
    const Cursor expected = row.hit ? row.to : Cursor{Top, 0};
    EXPECT_EQ(view_->CursorEdge(), expected.edge);
    EXPECT_EQ(view_->CursorPosition(), expected.position);
    EXPECT_EQ(spy.count(), 0);
    Settle();
    EXPECT_EQ(spy.count(), row.hit ? 1 : 0);
  }

  // A click on the cursor's own position changes nothing and tells no one.
  view_->SetCursor(Left, 1);
  Settle();
  QSignalSpy spy(view_, &PartView::cursorMoved);
  QTest::mouseClick(view_->viewport(), Qt::LeftButton, {}, QPoint(50, 70));
  Settle();
  EXPECT_EQ(spy.count(), 0);
  EXPECT_EQ(view_->CursorEdge(), Left);
  EXPECT_EQ(view_->CursorPosition(), 1);
}

TEST_F(PartViewTest, WithoutAPartKeysAndClicksOnlyTakeTheFocus) {
  view_->SetPart(nullptr);
  view_->SetCursor(PinEdge::Right, 1);
  view_->SetBlock(1);
  other_->setFocus();
  Settle();
  ASSERT_TRUE(other_->hasFocus());
  QSignalSpy spy(view_, &PartView::cursorMoved);
  QTest::mouseClick(view_->viewport(), Qt::LeftButton, {}, QPoint(50, 61));
  EXPECT_TRUE(view_->hasFocus());
  for (Qt::Key key : {Qt::Key_Left, Qt::Key_Up, Qt::Key_Right, Qt::Key_Down}) QTest::keyClick(view_, key);
  Settle();
  EXPECT_EQ(spy.count(), 0);
  EXPECT_EQ(view_->CursorEdge(), PinEdge::Left);
  EXPECT_EQ(view_->CursorPosition(), 0);
  EXPECT_EQ(view_->GetBlock(), 0);
  EXPECT_FALSE(view_->HitTest(50, 61).hit);
  // Only the white background shows.
  const QImage shown = Shown();
  for (int y = 0; y < shown.height(); y += 7)
    for (int x = 0; x < shown.width(); x += 7) ASSERT_EQ(shown.pixel(x, y), qRgb(255, 255, 255));
}

TEST_F(PartViewTest, SetCursorAndSetBlockIgnoreOutOfRangeValues) {
  body_.blockCount = 2;
  Show(3, 2);
  view_->SetCursor(PinEdge::Top, 3);
  EXPECT_EQ(view_->CursorEdge(), PinEdge::Top);
  view_->SetCursor(PinEdge::Left, 3);  // Left runs 0..2 only
  view_->SetCursor(PinEdge::Bottom, -1);
  view_->SetCursor(static_cast<PinEdge>(4), 0);
  EXPECT_EQ(view_->CursorEdge(), PinEdge::Top);
  EXPECT_EQ(view_->CursorPosition(), 3);
  view_->SetBlock(1);
  view_->SetBlock(2);
  view_->SetBlock(-1);
  EXPECT_EQ(view_->GetBlock(), 1);
  // A new part starts afresh.
  view_->SetPart(&body_);
  EXPECT_EQ(view_->CursorEdge(), PinEdge::Left);
  EXPECT_EQ(view_->CursorPosition(), 0);
  EXPECT_EQ(view_->GetBlock(), 0);
}

TEST_F(PartViewTest, CursorMovesScrollTheMarkerIntoView) {
  view_->resize(200, 150);
  Show(30, 20);  // drawing 421 × 321
  const int cw = view_->viewport()->width(), ch = view_->viewport()->height();
  ASSERT_LT(cw, 421);
  ASSERT_LT(ch, 321);
  QScrollBar* hbar = view_->horizontalScrollBar();
  QScrollBar* vbar = view_->verticalScrollBar();
  EXPECT_EQ(hbar->maximum(), 421 - cw);
  EXPECT_EQ(vbar->maximum(), 321 - ch);
  EXPECT_EQ(hbar->pageStep(), cw);

  view_->setFocus();
  QTest::keyClick(view_, Qt::Key_Right);  // Left 0 -> Right 0: fully right
  EXPECT_EQ(view_->ScrollX(), 421 - cw);
  EXPECT_EQ(view_->ScrollY(), 0);  // anchor 60 already well inside
  EXPECT_EQ(hbar->value(), view_->ScrollX());
  EXPECT_EQ(vbar->value(), view_->ScrollY());

  // Walking down the right edge keeps the anchor 20 pixels above the bottom.
  for (int i = 0; i < 15; ++i) QTest::keyClick(view_, Qt::Key_Down);
  EXPECT_EQ(view_->ScrollY(), 10 * 15 + 60 - ch + 20);
  QTest::keyClick(view_, Qt::Key_Left);  // Right 15 -> Left 15: fully left
  EXPECT_EQ(view_->ScrollX(), 0);
  EXPECT_EQ(hbar->value(), 0);
  QTest::keyClick(view_, Qt::Key_Down);  // the 20-pixel margin scrolls along by one step
  EXPECT_EQ(view_->ScrollY(), 10 * 15 + 60 - ch + 20 + 10);

  // The drawing at the final position is the core raster's (see the pixel
  // test); here only that a later move back up scrolls up again.
  for (int i = 0; i < 16; ++i) QTest::keyClick(view_, Qt::Key_Up);
  EXPECT_EQ(view_->CursorEdge(), PinEdge::Left);
  EXPECT_EQ(view_->CursorPosition(), 0);
  EXPECT_EQ(view_->ScrollY(), 40);
  EXPECT_FALSE(view_->ScrollIntoView(PinEdge::Left, 0));
}

TEST_F(PartViewTest, ScrollBarRequestsStepClampAndTakeTheFocus) {
  view_->resize(200, 150);
  Show(30, 20);
  other_->setFocus();
  Settle();
  QScrollBar* hbar = view_->horizontalScrollBar();
  hbar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
  EXPECT_TRUE(view_->hasFocus());
  EXPECT_EQ(view_->ScrollX(), 20);
  hbar->triggerAction(QAbstractSlider::SliderPageStepAdd);
  EXPECT_EQ(view_->ScrollX(), 120);
  hbar->triggerAction(QAbstractSlider::SliderSingleStepSub);
  EXPECT_EQ(view_->ScrollX(), 100);
  hbar->triggerAction(QAbstractSlider::SliderToMaximum);  // not a request the view takes
  EXPECT_EQ(view_->ScrollX(), 100);
  for (int i = 0; i < 5; ++i) hbar->triggerAction(QAbstractSlider::SliderPageStepAdd);
  EXPECT_EQ(view_->ScrollX(), hbar->maximum());
  for (int i = 0; i < 6; ++i) hbar->triggerAction(QAbstractSlider::SliderPageStepSub);
  EXPECT_EQ(view_->ScrollX(), 0);
  QScrollBar* vbar = view_->verticalScrollBar();
  vbar->setSliderPosition(55);  // a thumb drag
  EXPECT_EQ(view_->ScrollY(), 55);
  EXPECT_EQ(vbar->value(), 55);

  // Growing the window pulls the position back so no empty space shows.
  view_->resize(400, 300);
  Settle();
  EXPECT_EQ(view_->ScrollY(), std::max(0, 321 - view_->viewport()->height()));
}

TEST_F(PartViewTest, FocusFillsTheMarkerAndItsLossHollowsIt) {
  Show(2, 2);
  other_->setFocus();
  Settle();
  // Left 0: marker centred at (10, 60).
  QImage shown = Shown();
  EXPECT_EQ(shown.pixel(10, 60), qRgb(255, 255, 255));
  EXPECT_EQ(shown.pixel(6, 56), qRgb(0, 0, 255));
  EXPECT_EQ(shown.pixel(14, 64), qRgb(0, 0, 255));
  EXPECT_EQ(shown.pixel(15, 65), qRgb(255, 255, 255));
  view_->setFocus();
  shown = Shown();
  for (int y = 56; y <= 64; ++y)
    for (int x = 6; x <= 14; ++x) ASSERT_EQ(shown.pixel(x, y), qRgb(0, 0, 255)) << x << "," << y;
  other_->setFocus();
  shown = Shown();
  EXPECT_EQ(shown.pixel(10, 60), qRgb(255, 255, 255));
  EXPECT_EQ(shown.pixel(6, 60), qRgb(0, 0, 255));
}

TEST_F(PartViewTest, RepaintsOnlyTheChangedRectangles) {
  Show(4, 3);
  view_->setFocus();
  Settle();
  PaintRecorder recorder;
  view_->viewport()->installEventFilter(&recorder);

  // A key move repaints the old and the new marker only.
  QTest::keyClick(view_, Qt::Key_Down);  // Left 0 -> Left 1
  Settle();
  EXPECT_EQ(recorder.region, QRegion(6, 56, 9, 9) + QRegion(6, 66, 9, 9));
  recorder.region = QRegion();
  QTest::keyClick(view_, Qt::Key_Right);  // Left 1 -> Right 1, marker at (150, 70)
  Settle();
  EXPECT_EQ(recorder.region, QRegion(6, 66, 9, 9) + QRegion(146, 66, 9, 9));
  view_->viewport()->removeEventFilter(&recorder);
}

// The view's drawing equals what the core raster draws for the same part and
// block, each pixel a zoom × zoom square, apart from the grid frame (drawn
// only where the renderer leaves the background) and the cursor marker.
void ExpectSameAsRaster(PartView& view, const QImage& shown, const PartBody& body, int32_t block) {
  const int zoom = view.Zoom();
  RgbRaster raster(shown.width() / zoom + 1, shown.height() / zoom + 1, Rgb{255, 255, 255});
  raster.SetOrigin(view.ScrollX(), view.ScrollY());
  SymbolRenderer::DrawPart(raster, nullptr, body, block);
  int64_t markerX = 0, markerY = 0;
  const int64_t along = 60 + 10 * view.CursorPosition();
  switch (view.CursorEdge()) {
    case PinEdge::Left:
      markerX = 10, markerY = along;
      break;
    case PinEdge::Top:
      markerX = along, markerY = 10;
      break;
    case PinEdge::Right:
      markerX = 110 + 10 * body.xSize, markerY = along;
      break;
    case PinEdge::Bottom:
      markerX = along, markerY = 110 + 10 * body.ySize;
      break;
  }
  const QRect marker(int(markerX - 4), int(markerY - 4), 9, 9);  // logical
  const int32_t right = 60 + 10 * body.xSize, bottom = 60 + 10 * body.ySize;
  int inked = 0, green = 0, mismatches = 0;
  for (int y = 0; y < shown.height(); ++y) {
    for (int x = 0; x < shown.width(); ++x) {
      const int lx = x / zoom + view.ScrollX(), ly = y / zoom + view.ScrollY();
      if (marker.contains(lx, ly)) continue;
      const QRgb got = shown.pixel(x, y);
      const Rgb want = raster.At(x / zoom, y / zoom);
      if (got == qRgb(0, 255, 0)) {
        ++green;
        // Green only on the frame or a tick, and only where nothing was drawn.
        const bool onFrame = ((lx == 60 || lx == right) && ly >= 60 && ly <= bottom) ||
                             ((ly == 60 || ly == bottom) && lx >= 60 && lx <= right);
        const bool onTick = (ly % 10 == 0 && ly >= 60 && ly <= bottom &&
                             ((lx >= 50 && lx < 60) || (lx > right && lx <= right + 10))) ||
                            (lx % 10 == 0 && lx >= 60 && lx <= right &&
                             ((ly >= 50 && ly < 60) || (ly > bottom && ly <= bottom + 10)));
        if (!(onFrame || onTick) || !(want == Rgb{255, 255, 255})) {
          if (++mismatches < 10) ADD_FAILURE() << "stray green at " << lx << "," << ly;
        }
        continue;
      }
      if (!(want == Rgb{255, 255, 255})) ++inked;
      if (got != qRgb(want.r, want.g, want.b) && ++mismatches < 10)
        ADD_FAILURE() << "pixel " << lx << "," << ly << " shows " << std::hex << got << " raster "
                      << int(want.r) << "," << int(want.g) << "," << int(want.b);
    }
  }
  EXPECT_EQ(mismatches, 0);
  EXPECT_GT(inked, 200) << "the comparison must cover a real drawing";
  EXPECT_GT(green, 20) << "the grid frame must show somewhere";
}

// Two blocks; every mark, barred letters, hidden and near-body numbers.
void AddSamplePins(PartBody& body) {
  body.blockCount = 2;
  AddPin(body, PinEdge::Left, 1, "\\R\\S\\T", 0, {"D12", "D3"});
  AddPin(body, PinEdge::Left, 3, "CLK", PinFlag::Clock, {"H7", "D8"});
  AddPin(body, PinEdge::Top, 2, "EN", PinFlag::NegativeLogic, {"D1", "D2"});
  AddPin(body, PinEdge::Right, 4, "Q", PinFlag::Clock | PinFlag::NegativeLogic, {"D100", ""});
  AddPin(body, PinEdge::Bottom, 5, "GND", PinFlag::NumberNearBody, {"D9", "H10"});
  AddPin(body, PinEdge::Right, 14, "LAST_PIN_NAME", 0, {"D55", "D56"});
  AddPin(body, PinEdge::Bottom, 22, "B", PinFlag::Clock, {"D4", "D5"});
}

TEST_F(PartViewTest, DrawsPixelForPixelWhatTheCoreRasterDraws) {
  view_->resize(220, 170);
  AddSamplePins(body_);
  Show(25, 16);
  view_->SetBlock(1);
  view_->setFocus();

  {
    SCOPED_TRACE("unscrolled");
    ExpectSameAsRaster(*view_, Shown(), body_, 1);
  }
  // Scrolled by cursor moves, so the shown image is made of scrolled and
  // partly repainted pieces.
  QTest::keyClick(view_, Qt::Key_Right);
  for (int i = 0; i < 12; ++i) QTest::keyClick(view_, Qt::Key_Down);
  ASSERT_GT(view_->ScrollX(), 0);
  ASSERT_GT(view_->ScrollY(), 0);
  {
    SCOPED_TRACE("scrolled to the right edge");
    ExpectSameAsRaster(*view_, Shown(), body_, 1);
  }
  for (int i = 0; i < 6; ++i) QTest::keyClick(view_, Qt::Key_Down);  // around the corner onto Bottom
  view_->verticalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepSub);
  view_->horizontalScrollBar()->triggerAction(QAbstractSlider::SliderPageStepSub);
  {
    SCOPED_TRACE("bottom edge after bar requests");
    ExpectSameAsRaster(*view_, Shown(), body_, 1);
  }

  // A pattern replaces the outline; the pins still draw over it.
  Pattern pattern("P", 251, 161);
  for (int32_t y = 0; y < 161; ++y)
    for (int32_t x = 0; x < 251; ++x)
      if (x == 0 || y == 0 || x == 250 || y == 160 || (x + y) % 7 == 0) pattern.SetPixel(x, y, true);
  body_.pattern = &pattern;
  view_->SetPart(&body_);
  QTest::keyClick(view_, Qt::Key_Right);
  for (int i = 0; i < 8; ++i) QTest::keyClick(view_, Qt::Key_Down);
  {
    SCOPED_TRACE("pattern");
    ExpectSameAsRaster(*view_, Shown(), body_, 0);
  }
  view_->SetPart(nullptr);
  body_.pattern = nullptr;
}

// --- zoom ---

TEST_F(PartViewTest, ZoomedClicksLandWhereTheLogicalRulesSay) {
  // Strip borders and crossings of a small part, and of a large one whose
  // far corner is reached by scrolling; every corner pixel of each square.
  const std::vector<QPoint> small{{50, 45}, {50, 46}, {50, 64}, {50, 65}, {45, 80}, {55, 80}, {70, 50},
                                  {90, 50}, {94, 75}, {95, 75}, {84, 90}, {90, 84}, {90, 90}, {50, 50}};
  const std::vector<QPoint> large{{370, 254}, {370, 255}, {365, 260}, {374, 266}, {375, 250},
                                  {356, 270}, {354, 270}, {360, 275}, {365, 269}};
  for (int zoom : {2, 3}) {
    for (const auto& [size, points] : {std::pair{QSize(2, 2), small}, std::pair{QSize(30, 20), large}}) {
      Show(size.width(), size.height());
      view_->SetZoom(zoom);
      view_->ScrollIntoView(PinEdge::Bottom, size.width());
      for (const QPoint& p : points) {
        const PartView::Hit want = view_->HitTest(p.x(), p.y());
        for (const QPoint corner : {QPoint(0, 0), QPoint(zoom - 1, zoom - 1), QPoint(0, zoom - 1)}) {
          const QPoint device = (p - QPoint(view_->ScrollX(), view_->ScrollY())) * zoom + corner;
          SCOPED_TRACE(::testing::Message() << "zoom " << zoom << " at " << p.x() << "," << p.y());
          ASSERT_TRUE(view_->viewport()->rect().contains(device));
          view_->SetCursor(PinEdge::Top, 0);  // no point above picks it
          QTest::mouseClick(view_->viewport(), Qt::LeftButton, {}, device);
          EXPECT_EQ(view_->CursorEdge(), want.hit ? want.edge : PinEdge::Top);
          EXPECT_EQ(view_->CursorPosition(), want.hit ? want.position : 0);
        }
      }
    }
  }
  EXPECT_GT(view_->ScrollY(), 150) << "the large part's points were reached through a scroll";
}

TEST_F(PartViewTest, APartShownMagnifiedHasItsBodysTopLeftCornerInView) {
  view_->resize(220, 170);
  for (int zoom : {1, 2, 3, 4}) {
    view_->SetZoom(zoom);
    Show(25, 16);
    // The body's corner is 60 drawing units in from the drawing's.
    const QPoint corner = (QPoint(60, 60) - QPoint(view_->ScrollX(), view_->ScrollY())) * zoom;
    EXPECT_TRUE(view_->viewport()->rect().contains(corner))
        << zoom << ": " << corner.x() << "," << corner.y();
  }
}

TEST_F(PartViewTest, ZoomedDrawingIsTheUnzoomedOneMagnified) {
  view_->resize(220, 170);
  AddSamplePins(body_);
  Show(25, 16);
  view_->SetBlock(1);
  view_->setFocus();
  const QImage plain = Shown();
  view_->SetZoom(2);  // around the marker at Left 0: scrolls down a little
  const QImage zoomed = Shown();
  const QPoint scroll(view_->ScrollX(), view_->ScrollY());
  ASSERT_TRUE(plain.rect().contains(QPoint(zoomed.width(), zoomed.height()) / 2 + scroll));
  int mismatches = 0;
  for (int y = 0; y < zoomed.height(); ++y)
    for (int x = 0; x < zoomed.width(); ++x)
      if (zoomed.pixel(x, y) != plain.pixel(QPoint(x / 2, y / 2) + scroll) && ++mismatches < 10)
        ADD_FAILURE() << "device " << x << "," << y;
  EXPECT_EQ(mismatches, 0);

  // At 3×, made of scrolled pieces and partial repaints, still the core
  // raster's picture magnified.
  view_->SetZoom(3);
  QTest::keyClick(view_, Qt::Key_Right);
  for (int i = 0; i < 12; ++i) QTest::keyClick(view_, Qt::Key_Down);
  view_->verticalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);  // onto Right 14's pin
  view_->horizontalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepSub);
  ExpectSameAsRaster(*view_, Shown(), body_, 1);
}

TEST_F(PartViewTest, CtrlWheelZoomsAroundTheMarkerAndScrollingCountsInLogicalUnits) {
  view_->resize(200, 150);
  Show(30, 20);  // drawing 421 × 321
  view_->setFocus();
  QTest::keyClick(view_, Qt::Key_Right);
  for (int i = 0; i < 15; ++i) QTest::keyClick(view_, Qt::Key_Down);  // Right 15, marker centre (410, 210)
  QSignalSpy spy(view_, &PartView::zoomChanged);
  auto wheel = [this](int delta, Qt::KeyboardModifiers modifiers = Qt::ControlModifier) {
    QWheelEvent event(QPointF(20, 20), QPointF(), QPoint(), QPoint(0, delta), Qt::NoButton, modifiers,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(view_->viewport(), &event);
  };
  // The marker's top-left device pixel on the right edge.
  auto marker = [this] {
    const QPoint logical(406, 56 + 10 * view_->CursorPosition());
    return (logical - QPoint(view_->ScrollX(), view_->ScrollY())) * view_->Zoom();
  };
  for (const auto& [notches, expected] :
       {std::pair{1, 2}, {1, 3}, {1, 4}, {1, 4}, {-1, 3}, {-1, 2}, {-1, 1}, {-1, 1}, {1, 2}, {1, 3}}) {
    wheel(notches * 120);
    EXPECT_EQ(view_->Zoom(), expected);
    EXPECT_TRUE(view_->viewport()->rect().contains(QRect(marker(), QSize(9, 9) * expected)));
  }
  EXPECT_EQ(spy.count(), 8);
  wheel(-60);  // half a notch of a fine wheel: nothing yet
  EXPECT_EQ(view_->Zoom(), 3);

  // At 3× ranges, pages, steps and the 20-unit margin are logical units.
  const int cw = view_->viewport()->width() / 3, ch = view_->viewport()->height() / 3;
  EXPECT_EQ(view_->horizontalScrollBar()->maximum(), 421 - cw);
  EXPECT_EQ(view_->verticalScrollBar()->pageStep(), ch);
  view_->verticalScrollBar()->setSliderPosition(0);
  QTest::keyClick(view_, Qt::Key_Up);  // Right 14, anchor 200
  EXPECT_EQ(view_->ScrollX(), 421 - cw);
  EXPECT_EQ(view_->ScrollY(), 200 - ch + 20);
  view_->verticalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
  EXPECT_EQ(view_->ScrollY(), 200 - ch + 40);
  wheel(-120, Qt::NoModifier);  // scrolls, does not zoom
  EXPECT_GT(view_->ScrollY(), 200 - ch + 40);
  EXPECT_EQ(view_->Zoom(), 3);
  EXPECT_TRUE(view_->ScrollIntoView(PinEdge::Right, 14));
  Settle();

  // The marker is a 27-pixel square, hollow with a 3-pixel border without
  // the focus; it and a pin repaint their rectangles magnified.
  PaintRecorder recorder;
  view_->viewport()->installEventFilter(&recorder);
  other_->setFocus();
  QImage shown = Shown();
  const QPoint m = marker();
  EXPECT_EQ(recorder.region, QRegion(QRect(m, QSize(27, 27))));
  EXPECT_EQ(shown.pixel(m + QPoint(2, 13)), qRgb(0, 0, 255));
  EXPECT_EQ(shown.pixel(m + QPoint(3, 13)), qRgb(255, 255, 255));
  EXPECT_EQ(shown.pixel(m + QPoint(24, 24)), qRgb(0, 0, 255));
  EXPECT_NE(shown.pixel(m + QPoint(27, 13)), qRgb(0, 0, 255));
  recorder.region = QRegion();
  view_->InvalidatePin(PinEdge::Right, 14);  // logical x 99 … 410, y 190 … 205
  Settle();
  const QPoint scroll(view_->ScrollX(), view_->ScrollY());
  EXPECT_EQ(recorder.region, QRegion(QRect((QPoint(99, 190) - scroll) * 3, QSize(311, 15) * 3)) &
                                 QRegion(view_->viewport()->rect()));
  view_->viewport()->removeEventFilter(&recorder);
  view_->SetZoom(0);
  EXPECT_EQ(view_->Zoom(), 1);
  view_->SetZoom(9);
  EXPECT_EQ(view_->Zoom(), 4);
}

}  // namespace
}  // namespace zanli
