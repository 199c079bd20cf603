#include "render/pin_mark_bitmaps.h"

namespace zanli {

namespace {

constexpr int32_t kLong = 15;   // along the pin
constexpr int32_t kShort = 7;   // across it; row 3 is the pin line
constexpr int32_t kStride = 2;  // every image is 16 pixels wide in storage

// Left-edge images: the pin line comes in from the left, column 10 lies on the
// body edge; the triangle points into the body, the bubble sits outside it.
constexpr const char* kLeftImages[3][kShort] = {
    {"..........##...",  //
     "..........#.#..",  //
     "..........#..#.",  //
     "###########...#",  //
     "..........#..#.",  //
     "..........#.#..",  //
     "..........##..."},
    {"......###......",  //
     ".....#...#.....",  //
     "....#.....#....",  //
     "#####.....#....",  //
     "....#.....#....",  //
     ".....#...#.....",  //
     "......###......"},
    {"......###.##...",  //
     ".....#...##.#..",  //
     "....#.....#..#.",  //
     "#####.....#...#",  //
     "....#.....#..#.",  //
     ".....#...##.#..",  //
     "......###.##..."},
};

void SetBit(std::vector<uint8_t>& image, int32_t x, int32_t y) {
  image[static_cast<size_t>(y * kStride + x / 8)] |= static_cast<uint8_t>(0x80 >> (x % 8));
}

}  // namespace

PinMarkBitmaps::PinMarkBitmaps() {
  for (size_t kind = 0; kind < 3; ++kind) {
    auto& left = images_[kind][static_cast<size_t>(PinEdge::Left)];
    auto& top = images_[kind][static_cast<size_t>(PinEdge::Top)];
    auto& right = images_[kind][static_cast<size_t>(PinEdge::Right)];
    auto& bottom = images_[kind][static_cast<size_t>(PinEdge::Bottom)];
    left.assign(kShort * kStride, 0);
    right.assign(kShort * kStride, 0);
    top.assign(kLong * kStride, 0);
    bottom.assign(kLong * kStride, 0);
    // The other edges are exact transpositions and mirrors of the left image.
    for (int32_t y = 0; y < kShort; ++y) {
      for (int32_t x = 0; x < kLong; ++x) {
        if (kLeftImages[kind][y][x] != '#') continue;
        SetBit(left, x, y);
        SetBit(right, kLong - 1 - x, y);
        SetBit(top, y, x);
        SetBit(bottom, y, kLong - 1 - x);
      }
    }
  }
}

const PinMarkBitmaps& PinMarkBitmaps::Instance() {
  static const PinMarkBitmaps bitmaps;
  return bitmaps;
}

bool PinMarkBitmaps::KindForFlags(int32_t flags, PinMarkKind& kind) {
  const bool clock = (flags & PinFlag::Clock) != 0;
  const bool negative = (flags & PinFlag::NegativeLogic) != 0;
  if (!clock && !negative) return false;
  kind = clock && negative ? PinMarkKind::Both : clock ? PinMarkKind::Clock : PinMarkKind::Negative;
  return true;
}

PinMarkBitmaps::Image PinMarkBitmaps::Get(PinMarkKind kind, PinEdge edge) const {
  const size_t k = static_cast<size_t>(kind);
  const size_t e = static_cast<size_t>(edge) & 3;
  const auto& image = images_[k][e];
  return Image{image.data(), 16, static_cast<int32_t>(image.size()) / kStride, kStride};
}

}  // namespace zanli
