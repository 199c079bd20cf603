// Drawing the largest part the attribute dialog allows: 255 × 255 grid steps,
// a pin at every position of every edge (1024 pins), each with a 15-character
// barred name and a number.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "model/part_body.h"
#include "render/rgb_raster.h"
#include "render/symbol_renderer.h"

namespace zanli {
namespace {

constexpr int32_t kSize = 255;
constexpr int32_t kExtent = 10 * kSize + 121;
constexpr Rgb kWhite{255, 255, 255};

std::unique_ptr<PartBody> LargestPart() {
  auto body = std::make_unique<PartBody>();
  body->xSize = kSize;
  body->ySize = kSize;
  const PinEdge edges[] = {PinEdge::Left, PinEdge::Top, PinEdge::Right, PinEdge::Bottom};
  int32_t serial = 0;
  for (PinEdge edge : edges) {
    for (int32_t position = 0; position <= kSize; ++position) {
      auto pin = std::make_unique<PinInfo>(1);
      pin->edge = edge;
      pin->position = position;
      for (int32_t i = 0; i < 15; ++i)
        pin->name += std::string("\\") + static_cast<char>('A' + (serial + i) % 26);
      pin->flags = (serial % 3 == 0) ? (Clock | NegativeLogic) : 0;
      pin->numbers.Set(0, std::string(serial % 2 ? "D" : "H").append(std::to_string(1000 + serial)));
      body->AddPin(std::move(pin));
      ++serial;
    }
  }
  return body;
}

// The whole symbol onto a raster of its full extent, as zanli-cli render does.
void BM_DrawPartFullExtent(benchmark::State& state) {
  const auto body = LargestPart();
  RgbRaster raster(kExtent, kExtent, kWhite);
  for (auto _ : state) {
    SymbolRenderer::DrawPart(raster, nullptr, *body, 0);
    benchmark::DoNotOptimize(raster.Pixels().data());
  }
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(body->pins.size()));
}
BENCHMARK(BM_DrawPartFullExtent)->Unit(benchmark::kMillisecond);

// A 300 × 300 window scrolled to the middle of the left edge, repainting all
// of it: with the clip rectangle most pins are culled before any drawing.
void DrawWindow(benchmark::State& state, bool clip) {
  const auto body = LargestPart();
  RgbRaster raster(300, 300, kWhite);
  const int32_t scrollX = 0, scrollY = kExtent / 2;
  raster.SetOrigin(scrollX, scrollY);
  const ClipRect window{scrollX, scrollY, scrollX + 299, scrollY + 299};
  for (auto _ : state) {
    SymbolRenderer::DrawPart(raster, clip ? &window : nullptr, *body, 0);
    benchmark::DoNotOptimize(raster.Pixels().data());
  }
}
void BM_DrawPartWindowClipped(benchmark::State& state) { DrawWindow(state, true); }
void BM_DrawPartWindowUnclipped(benchmark::State& state) { DrawWindow(state, false); }
BENCHMARK(BM_DrawPartWindowClipped)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DrawPartWindowUnclipped)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace zanli

BENCHMARK_MAIN();
