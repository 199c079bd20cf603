#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "model/library.h"

namespace zanli {

// Fills a fresh library from the bytes of a binary library. Every offset,
// count and length is checked against the bytes first: a malformed file is
// refused, never read out of bounds. Records, images and strings may be
// shared by several references, but what the reader builds from them is held
// to a budget far above any real library, so a small hostile file cannot make
// it build an enormous one.
class BinaryLibraryReader {
 public:
  BinaryLibraryReader(std::string_view bytes, Library& library) : bytes_(bytes), library_(library) {}

  // False on any malformation; the caller then drops the library.
  bool Read();
  // After a failed Read: it was the budget that stopped it.
  bool OverBudget() const { return overBudget_; }

 private:
  bool ReadPatterns();
  bool ReadEntries(int32_t count);
  bool ReadBody(size_t at, PartBody& body);

  // True when [at, at + length) lies within the bytes.
  bool Fits(int64_t at, int64_t length) const;
  // Charges `bytes` of memory to build against the budget; false past it.
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
  size_t budget_ = 0;
  bool overBudget_ = false;
};

}  // namespace zanli
