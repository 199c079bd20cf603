#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "model/pattern.h"

namespace zanli {

// A pattern bitmap as the binary library stores it: int16 width, int16
// height, then the rows packed to whole bytes (not words), leftmost pixel in
// bit 7, the bits beyond the width 0.
class BinaryPatternImage {
 public:
  static constexpr size_t kHeaderSize = 4;

  static size_t RowBytes(int32_t width) { return static_cast<size_t>((width + 7) / 8); }
  // The stored size of a width × height image, header included.
  static size_t ByteSize(int32_t width, int32_t height);

  // The full-size image of `pattern`. Its padding bits are not copied, and
  // rows the pattern's bits do not reach read as blank.
  static std::string Pack(const Pattern& pattern);
  // An image a factor smaller in each direction, rounded up: a pixel is set
  // when any pixel of its factor × factor block of `image` is set.
  static std::string Reduce(std::string_view image, int factor);
  // Copies the rows of `image` (whose header gave `pattern`'s size) into the
  // pattern; the memory padding stays 0. `image` must hold ByteSize bytes.
  static void Unpack(std::string_view image, Pattern& pattern);
};

}  // namespace zanli
