#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "model/part_body.h"
#include "model/pin_info.h"
#include "render/draw_surface.h"

namespace zanli {

// Draws a part's symbol: one unit is one pixel, a grid step is 10 units and
// the body's top-left corner sits at (60, 60). The caller shifts the surface's
// origin by its scroll position; nothing here knows about windows.
class SymbolRenderer {
 public:
  static constexpr int32_t kBodyOrigin = 60;
  static constexpr int32_t kGridStep = 10;
  static constexpr Rgb kBlack{0, 0, 0};
  static constexpr Rgb kBlue{0, 0, 255};
  static constexpr Rgb kRed{255, 0, 0};

  // The point on the body outline where a pin at `position` on `edge` meets it.
  // Positions beyond the body's size are not clamped: such pins still draw.
  static void PinAnchor(const PartBody& body, PinEdge edge, int32_t position, int32_t& x, int32_t& y);

  // The drawing's size: the body plus a margin of 60 units on every side, which
  // holds the pin lines, their marks and their numbers.
  static int64_t DrawingWidth(const PartBody& body) { return int64_t{kGridStep} * body.xSize + 121; }
  static int64_t DrawingHeight(const PartBody& body) { return int64_t{kGridStep} * body.ySize + 121; }

  // The most pixels a whole drawing may have when it is made in memory
  // (zanli-cli render, the picture a Copy offers, any image of a symbol at
  // any zoom): 8 Mi pixels, 24 MiB as RGB. The largest body the binary
  // format holds, 255 × 255 grid steps, draws at 2671 × 2671 pixels
  // (7,134,241) at zoom 1, so every such part fits; larger drawings come
  // only from text libraries and damaged files, and would otherwise cost up
  // to 3 GB (a 3264 × 3264 body). The part view needs no budget: it draws
  // only what is visible.
  static constexpr int64_t kMaxDrawingPixels = int64_t{8} << 20;
  // Whether a width × height image keeps within kMaxDrawingPixels.
  static constexpr bool DrawingFits(int64_t width, int64_t height) {
    return width > 0 && height > 0 && width <= kMaxDrawingPixels / height;
  }

  // The closed black outline, or the body's pattern in black (then no outline).
  static void DrawBody(DrawSurface& surface, const PartBody& body);

  // Backslash notation to display bytes: a backslash bars the next byte (bit
  // 7), "\\" is a barred backslash, a trailing backslash is dropped. Stops
  // after 255 output bytes.
  static std::string ConvertBars(std::string_view name);

  // One pin: its line or mark, its name and its number of 0-based `block`.
  // With a clip rectangle the pin is skipped unless its area touches it.
  static void DrawPin(DrawSurface& surface, const ClipRect* clip, const PartBody& body, const PinInfo& pin,
                      int32_t block);

  // The body, then every pin in list order (later pins draw over earlier ones).
  static void DrawPart(DrawSurface& surface, const ClipRect* clip, const PartBody& body, int32_t block);

  // What the part view repaints after the pin at one position changed, both
  // ends included: along the pin from 50 units outside the edge (49 on the
  // right and bottom edges) to 260 units into the body (261 on the right and
  // bottom edges), across it from 10 units before the pin line to 4 after.
  // It holds the mark, the line, names of up to 32 characters and numbers of
  // up to five.
  static ClipRect PinArea(const PartBody& body, PinEdge edge, int32_t position);
};

}  // namespace zanli
