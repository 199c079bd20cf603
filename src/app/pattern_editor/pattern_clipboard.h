#pragma once

#include <QImage>
#include <cstdint>
#include <optional>

#include "pattern/pattern_bitmap.h"

namespace zanli {

// Pattern pictures on the system clipboard. Copy offers a monochrome picture,
// black ink on white, which every painting program reads; paste takes
// whatever picture another program offers in any format Qt reads.
class PatternClipboard {
 public:
  // The top-left part of the picture that fits maxWidth × maxHeight. A pixel
  // is clear when it is exactly white or fully transparent, set otherwise, so
  // a light background that is not pure white comes out as ink.
  static PatternBitmap FromImage(const QImage& image, int32_t maxWidth, int32_t maxHeight);

  static void Put(const PatternBitmap& bitmap);
  // Whether another program (or this one) offers a picture.
  static bool Offered();
  // The offered picture converted as FromImage does; nothing when no picture
  // is offered or it cannot be read.
  static std::optional<PatternBitmap> Take(int32_t maxWidth, int32_t maxHeight);
};

}  // namespace zanli
