#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>

#include "model/library.h"

namespace zanli {

// Fills a cleared library from the bytes of a binary library. Every offset,
// count and length is checked against the bytes first: a malformed file is
// refused, never read out of bounds. Part records and full-size images may
// not overlap one another, and decoded strings are held to a budget, so a
// small hostile file cannot make the reader build an enormous library.
class BinaryLibraryReader {
 public:
  BinaryLibraryReader(std::string_view bytes, Library& library) : bytes_(bytes), library_(library) {}

  // False on any malformation; the caller then clears the library.
  bool Read();

 private:
  bool ReadPatterns();
  bool ReadEntries(int32_t count);
  bool ReadBody(size_t at, PartBody& body);

  // True when [at, at + length) lies within the bytes.
  bool Fits(int64_t at, int64_t length) const;
  // Marks [start, end) as used; false when it overlaps a range marked before.
  static bool Claim(std::map<size_t, size_t>& ranges, size_t start, size_t end);
  bool Spend(size_t bytes);
  // NUL-terminated string at `offset` within the string pool.
  bool PoolString(int64_t offset, std::string& out);
  // Length-prefixed pin name at `offset` within the string pool.
  bool PoolPinName(int64_t offset, std::string& out);

  std::string_view bytes_;
  Library& library_;
  int64_t patternTableAt_ = 0;
  int64_t bitmapsAt_ = 0;
  int64_t poolAt_ = 0;
  std::map<size_t, size_t> images_;
  std::map<size_t, size_t> records_;
  size_t stringBudget_ = 0;
};

}  // namespace zanli
