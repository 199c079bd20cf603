#pragma once

#include <cstddef>
#include <cstdint>

namespace zanli {

// What reading a KiCad symbol library may cost, in one place. Real libraries
// stay far inside: the largest file of the public collection is under 10 MB,
// nests 8 lists deep, and its longest string (a description) is a few hundred
// bytes; a symbol's tree takes about 2 bytes per byte of its text.
struct KicadLimits {
  // Larger files are refused unread. The reader holds the text and one
  // symbol's tree at a time, so a file costs about its size; the bound leaves
  // room for this program's own export of a library of 100,000 parts, whose
  // patterns take one rectangle per run of pixels.
  static constexpr size_t kMaxFileSize = size_t{1} << 30;
  static constexpr size_t kMaxDepth = 64;
  // One token (a name, a string, a number) at most.
  static constexpr size_t kMaxTokenSize = size_t{64} << 10;
  // Nodes of the parsed tree: a fixed allowance plus one per 3 bytes of text,
  // so a file of "()" pairs is refused rather than costing 8 times its size.
  static constexpr size_t kFixedNodes = size_t{1} << 16;
  static constexpr size_t kBytesPerNode = 3;
  static constexpr size_t MaxNodes(size_t textBytes) { return kFixedNodes + textBytes / kBytesPerNode; }

  // Coordinates and lengths are kept in units of 0.0001 mm; a symbol spans a
  // few hundred millimetres, so anything beyond a metre is damage.
  static constexpr int64_t kUnitsPerMm = 10000;
  static constexpr int64_t kMaxCoordinate = 1000 * kUnitsPerMm;
  // One grid step of the library (2.54 mm) and one pattern pixel.
  static constexpr int64_t kGrid = 25400;
  static constexpr int64_t kPixelsPerGrid = 10;
  // Units and body styles a symbol may number.
  static constexpr int32_t kMaxUnit = 9999;
  // The bitmaps of one import's distinct patterns. The whole public
  // collection needs under 4 MB; a file of large stated patterns (the
  // library's own export of a pattern can state up to 32,000 bytes) could
  // otherwise ask for far more than its size.
  static constexpr size_t kMaxPatternBytes = size_t{64} << 20;
  // Points of one polyline or curve.
  static constexpr size_t kMaxPoints = 100000;

  // The library's limits for what an import makes: sides and positions fit a
  // byte, as the attribute dialog and the binary format keep them.
  static constexpr int32_t kMaxBodySide = 255;
  static constexpr int32_t kMaxBlocks = 255;
};

}  // namespace zanli
