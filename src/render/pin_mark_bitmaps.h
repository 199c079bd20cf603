#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "model/pin_info.h"

namespace zanli {

enum class PinMarkKind : int32_t { Clock = 0, Negative = 1, Both = 2 };

// The clock triangle and negation bubble images, one per kind and edge. Each
// already contains its pin line, so a marked pin draws no separate line.
// Left and right images are 7 rows, top and bottom images 15 rows; all are 16
// pixels wide in storage (2 bytes per row, leftmost pixel in bit 7) and are
// composited at that full size.
class PinMarkBitmaps {
 public:
  struct Image {
    const uint8_t* bits;
    int32_t width;   // stored width: 16
    int32_t height;  // 7 or 15
    int32_t stride;  // 2
  };

  PinMarkBitmaps();
  static const PinMarkBitmaps& Instance();

  // The kind drawn for a pin's flags; false when it has neither mark.
  static bool KindForFlags(int32_t flags, PinMarkKind& kind);

  Image Get(PinMarkKind kind, PinEdge edge) const;

 private:
  // [kind][edge], each 2 bytes × rows.
  std::array<std::array<std::vector<uint8_t>, 4>, 3> images_;
};

}  // namespace zanli
