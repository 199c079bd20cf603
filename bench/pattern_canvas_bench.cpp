// A rubber-band drag across the largest pattern the size dialog allows
// (201 × 151 pixels) at zoom 5: 200 mouse moves from the top-left corner to
// the bottom-right one, each to a new cell. Times each move through the canvas
// state machine and counts the logical pixels it asks the widget to repaint;
// the run fails if a move reports anything beyond the rubber band's old and
// new boxes. The repaint counters are logical pixels, the union of what a
// move reports, against the whole canvas.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <vector>

#include "model/pattern.h"
#include "pattern/pattern_canvas_state.h"

namespace zanli {
namespace {

using CellRect = PatternCanvasState::CellRect;

constexpr int32_t kWidth = 201;
constexpr int32_t kHeight = 151;
constexpr int32_t kMoves = 200;

using PixelRect = PatternCanvasState::PixelRect;

int64_t Area(const PixelRect& rect) {
  return std::max(0, rect.right - rect.left) * int64_t{std::max(0, rect.bottom - rect.top)};
}

// The widget's repaint region is the union of what a step reports.
int64_t UnionArea(const std::vector<PixelRect>& rects) {
  if (rects.size() == 1) return Area(rects[0]);
  const PixelRect& a = rects[0];
  const PixelRect& b = rects[1];
  const PixelRect both{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
                       std::min(a.bottom, b.bottom)};
  return Area(a) + Area(b) - Area(both);
}

void RubberBandDrag(benchmark::State& state, PatternTool tool) {
  Pattern pattern("BENCH", kWidth, kHeight);
  PatternCanvasState canvas;
  canvas.LoadPattern(&pattern);
  canvas.SetTool(tool);
  const PatternCanvasState::Cell start{0, 0};
  std::vector<PatternCanvasState::Point> path;
  for (int32_t i = 1; i <= kMoves; ++i)
    path.push_back(canvas.CellCentre({i * (kWidth - 1) / kMoves, i * (kHeight - 1) / kMoves}));

  int64_t repainted = 0, worst = 0, moves = 0;
  for (auto _ : state) {
    state.PauseTiming();
    canvas.Undo();  // each drag starts on the same blank picture
    canvas.Press(PatternCanvasState::Button::Left, canvas.CellCentre(start));
    state.ResumeTiming();
    for (const auto& point : path) {
      const CellRect before = CellRect::Spanned(canvas.StartCell(), canvas.EndCell());
      const auto damage = canvas.Move(point);
      const CellRect after = CellRect::Spanned(canvas.StartCell(), canvas.EndCell());
      std::vector<PixelRect> pixels;
      for (const CellRect& rect : damage.cells) {
        if (!(rect == before || rect == after) || damage.whole || damage.cells.size() > 2) {
          state.SkipWithError("a move repainted more than the rubber band's old and new boxes");
          return;
        }
        pixels.push_back(canvas.RepaintPixels(rect));
      }
      const int64_t area = pixels.empty() ? 0 : UnionArea(pixels);
      repainted += area;
      worst = std::max(worst, area);
      ++moves;
    }
    state.PauseTiming();
    canvas.Release(PatternCanvasState::Button::Left);
    state.ResumeTiming();
  }
  const PixelRect whole{0, 0, canvas.ContentWidth(), canvas.ContentHeight()};
  state.counters["per_move"] =
      benchmark::Counter(kMoves, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
  state.counters["repaint_px_avg"] = static_cast<double>(repainted) / static_cast<double>(moves);
  state.counters["repaint_px_max"] = static_cast<double>(worst);
  state.counters["canvas_px"] = static_cast<double>(Area(whole));
}

void BM_LineRubberBandDrag(benchmark::State& state) { RubberBandDrag(state, PatternTool::Line); }
BENCHMARK(BM_LineRubberBandDrag)->Unit(benchmark::kMicrosecond);

void BM_EllipseRubberBandDrag(benchmark::State& state) { RubberBandDrag(state, PatternTool::Ellipse); }
BENCHMARK(BM_EllipseRubberBandDrag)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace zanli

BENCHMARK_MAIN();
