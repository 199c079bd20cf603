#pragma once

#include <cstdint>
#include <vector>

#include "pattern/shape_rasterizer.h"

namespace zanli {

class Pattern;

// A monochrome bitmap in the pattern row layout: rows top to bottom, each
// padded to whole 16-bit words, the leftmost pixel in bit 7 of the row's first
// byte, a set bit is ink. The canvas keeps its floating selection, its
// rubber-band overlay and its undo snapshot in this form, so that moving bits
// between them and a Pattern never converts anything.
class PatternBitmap {
 public:
  // 0 × 0.
  PatternBitmap() = default;
  // All clear; a negative size is taken as 0.
  PatternBitmap(int32_t width, int32_t height);

  // A copy of the pattern's bitmap; empty when the pattern's buffer is short
  // of its size.
  static PatternBitmap Of(const Pattern& pattern);

  int32_t Width() const { return width_; }
  int32_t Height() const { return height_; }
  int32_t Stride() const { return stride_; }
  bool Empty() const { return width_ == 0 || height_ == 0; }

  // Outside the bitmap: Pixel is false and SetPixel does nothing.
  bool Pixel(int32_t x, int32_t y) const;
  void SetPixel(int32_t x, int32_t y, bool ink);
  void Clear();

  // The w × h pixels whose top-left pixel is (x, y); pixels that lie outside
  // this bitmap come out clear.
  PatternBitmap Region(int32_t x, int32_t y, int32_t w, int32_t h) const;

  // ORs the set pixels into the pattern with this bitmap's top-left pixel at
  // (x, y); the part that falls outside the pattern is dropped. Set pixels of
  // the pattern under clear pixels here stay set.
  void OrInto(Pattern& target, int32_t x, int32_t y) const;

  // Writes the bits back into a pattern of the same size. Returns false and
  // changes nothing when the sizes differ.
  bool CopyTo(Pattern& target) const;

  // A view for the shape rasterizer's pixel setter.
  ShapeRasterizer::Bitmap RasterTarget();

  // Gives the pattern a new size keeping the top-left overlap: whole bytes of
  // each row are copied and the last copied byte keeps only the pixels that
  // both the old and the new width hold, so old row padding never turns into
  // ink. Rows and columns beyond the old size come out clear. Sizes below 1
  // are refused (false, nothing changed).
  static bool ResizePattern(Pattern& pattern, int32_t width, int32_t height);

  // Same size and the same pixels within the width; padding is ignored.
  friend bool operator==(const PatternBitmap& a, const PatternBitmap& b);

 private:
  int32_t width_ = 0;
  int32_t height_ = 0;
  int32_t stride_ = 0;
  std::vector<uint8_t> bits_;
};

}  // namespace zanli
