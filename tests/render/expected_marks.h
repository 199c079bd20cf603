#pragma once

#include "raster_ink.h"
#include "render/pin_mark_bitmaps.h"

namespace zanli::test {

// The left-edge marks as designed; the other edges must follow from them.
inline const char* const kLeftArt[3][7] = {
    {"..........##...", "..........#.#..", "..........#..#.", "###########...#", "..........#..#.",
     "..........#.#..", "..........##..."},
    {"......###......", ".....#...#.....", "....#.....#....", "#####.....#....", "....#.....#....",
     ".....#...#.....", "......###......"},
    {"......###.##...", ".....#...##.#..", "....#.....#..#.", "#####.....#...#", "....#.....#..#.",
     ".....#...##.#..", "......###.##..."},
};

// The set pixels of the stored image for (kind, edge), derived from the
// left-edge art by transposing and mirroring.
inline PointSet ExpectedMark(PinMarkKind kind, PinEdge edge) {
  PointSet points;
  for (int32_t y = 0; y < 7; ++y)
    for (int32_t x = 0; x < 15; ++x) {
      if (kLeftArt[static_cast<int>(kind)][y][x] != '#') continue;
      switch (edge) {
        case PinEdge::Left:
          points.insert({x, y});
          break;
        case PinEdge::Right:
          points.insert({14 - x, y});
          break;
        case PinEdge::Top:
          points.insert({y, x});
          break;
        case PinEdge::Bottom:
          points.insert({y, 14 - x});
          break;
      }
    }
  return points;
}

}  // namespace zanli::test
