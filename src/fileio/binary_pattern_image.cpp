#include "fileio/binary_pattern_image.h"

#include <algorithm>

#include "fileio/little_endian.h"

namespace zanli {

namespace {

// The bits of the last stored byte of a row that lie within the width.
uint8_t LastByteMask(int32_t width) {
  return width % 8 == 0 ? 0xFF : static_cast<uint8_t>(0xFF00 >> (width % 8));
}

std::string BlankImage(int32_t width, int32_t height) {
  std::string image;
  le::PutU16(image, static_cast<uint32_t>(width));
  le::PutU16(image, static_cast<uint32_t>(height));
  image.resize(BinaryPatternImage::ByteSize(width, height), '\0');
  return image;
}

}  // namespace

size_t BinaryPatternImage::ByteSize(int32_t width, int32_t height) {
  if (width <= 0 || height <= 0) return kHeaderSize;
  return kHeaderSize + RowBytes(width) * static_cast<size_t>(height);
}

std::string BinaryPatternImage::Pack(const Pattern& pattern) {
  std::string image = BlankImage(pattern.width, pattern.height);
  if (pattern.width <= 0 || pattern.height <= 0) return image;
  const size_t rowBytes = RowBytes(pattern.width);
  const size_t stride = static_cast<size_t>(pattern.Stride());
  const uint8_t mask = LastByteMask(pattern.width);
  for (size_t y = 0; y < static_cast<size_t>(pattern.height); ++y) {
    const size_t from = y * stride;
    if (from >= pattern.bits.size()) break;
    const size_t take = std::min(rowBytes, pattern.bits.size() - from);
    char* row = image.data() + kHeaderSize + y * rowBytes;
    std::copy_n(pattern.bits.begin() + static_cast<std::ptrdiff_t>(from), take, row);
    if (take == rowBytes) row[rowBytes - 1] = static_cast<char>(row[rowBytes - 1] & mask);
  }
  return image;
}

std::string BinaryPatternImage::Reduce(std::string_view image, int factor) {
  const int32_t width = le::I16(image, 0);
  const int32_t height = le::I16(image, 2);
  const int32_t outWidth = width > 0 ? (width + factor - 1) / factor : 0;
  const int32_t outHeight = height > 0 ? (height + factor - 1) / factor : 0;
  std::string out = BlankImage(outWidth, outHeight);
  if (outWidth == 0 || outHeight == 0) return out;
  const size_t rowBytes = RowBytes(width);
  const size_t outRowBytes = RowBytes(outWidth);
  for (int32_t y = 0; y < height; ++y) {
    const char* row = image.data() + kHeaderSize + static_cast<size_t>(y) * rowBytes;
    char* outRow = out.data() + kHeaderSize + static_cast<size_t>(y / factor) * outRowBytes;
    for (int32_t x = 0; x < width; ++x) {
      if (!(static_cast<uint8_t>(row[x / 8]) & (0x80 >> (x % 8)))) continue;
      const int32_t ox = x / factor;
      outRow[ox / 8] = static_cast<char>(outRow[ox / 8] | (0x80 >> (ox % 8)));
    }
  }
  return out;
}

void BinaryPatternImage::Unpack(std::string_view image, Pattern& pattern) {
  if (pattern.width <= 0 || pattern.height <= 0) return;
  const size_t rowBytes = RowBytes(pattern.width);
  const size_t stride = static_cast<size_t>(pattern.Stride());
  for (size_t y = 0; y < static_cast<size_t>(pattern.height); ++y) {
    const char* row = image.data() + kHeaderSize + y * rowBytes;
    std::copy_n(row, rowBytes, pattern.bits.begin() + static_cast<std::ptrdiff_t>(y * stride));
  }
}

}  // namespace zanli
