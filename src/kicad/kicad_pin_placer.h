#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "kicad/kicad_symbol_library.h"
#include "model/pin_info.h"

namespace zanli {

// Where a symbol's pins go on a library body. A pin stands on the side it
// points from (pointing right: the left side); its connection point, one grid
// step outside the body, gives its place along that side. The body's edges
// lie one step inside the side lines of the pins; a side without pins takes
// its edge from the drawing's extent (snapped outwards to the pins' grid), and
// every side reaches the pins of the sides across it.
//
// When all connection points lie on one 2.54 mm grid, each on its side's line
// and within the body, nothing moves: the symbol imports exactly. Otherwise
// each pin moves to its side's line (the line most of the side's pins share)
// and to the nearest free place in its order along the side, and the result
// says how far the farthest one went.
class KicadPinPlacer {
 public:
  struct Pin {
    PinEdge edge = PinEdge::Left;
    KicadPoint at;  // the connection point
    // A pin of another unit (the power pins that every block shows): only its
    // place along the side counts, and it moves only along the side.
    bool attached = false;
  };
  struct Box {
    bool valid = false;
    KicadPoint min;
    KicadPoint max;
  };
  // A body the file states (the library's own export does): used when the
  // pins agree with it.
  struct Body {
    bool valid = false;
    int64_t left = 0;
    int64_t top = 0;
    int32_t xSize = 0;
    int32_t ySize = 0;
  };
  struct Placed {
    int32_t position = 0;
    KicadPoint at;      // the connection point it gets
    int64_t moved = 0;  // how far it went, in 0.0001 mm
  };
  struct Result {
    // A side would need more places than a body can have; `places` says how
    // many, and nothing else is set.
    bool refused = false;
    int64_t places = 0;
    int32_t xSize = 1;
    int32_t ySize = 1;
    int64_t left = 0;  // the body's top-left corner in the symbol's frame
    int64_t top = 0;
    std::vector<Placed> pins;  // in the order given
    int64_t largestMove = 0;
    size_t movedPins = 0;
  };

  static Result Place(const std::vector<Pin>& pins, const Box& drawing, const Body& stated);
};

}  // namespace zanli
