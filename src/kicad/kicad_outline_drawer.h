#pragma once

#include <cstdint>
#include <vector>

#include "kicad/kicad_pin_placer.h"
#include "kicad/kicad_symbol_library.h"

namespace zanli {

class Pattern;

// A symbol's drawing as a pattern bitmap, at 10 pixels per grid step: lines,
// rectangles, circles, arcs and curves (curves and arcs as short segments),
// with solid ("outline") fills. Texts are not drawn. Pixel (0, 0) lies on the
// body's top-left corner; what falls outside the bitmap is cut off.
class KicadOutlineDrawer {
 public:
  struct Segment {
    KicadPoint from;
    KicadPoint to;
  };

  // The extent of the drawing, texts left out.
  static KicadPinPlacer::Box Extent(const std::vector<const KicadGraphic*>& graphics);
  // One rectangle (or closed four-sided polyline) with its edges on the axes
  // and no solid fill: a body the library draws as its plain outline.
  static bool IsPlainRectangle(const std::vector<const KicadGraphic*>& graphics);

  // Draws the graphics and the extra segments (the inner parts of pins that
  // are longer than one step) into `pattern`, whose top-left pixel lies at
  // (left, top). True when some of it fell outside and was cut off.
  static bool Draw(const std::vector<const KicadGraphic*>& graphics, const std::vector<Segment>& segments,
                   int64_t left, int64_t top, Pattern& pattern);
};

}  // namespace zanli
