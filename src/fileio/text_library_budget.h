#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "model/library.h"

namespace zanli {

// What reading a text library may build. The text format sets no limit on
// pattern sizes, block counts or pins, so a few hundred bytes can ask for
// gigabytes ("X:32767,Y:32767" is a 134 MB bitmap; an empty pin of a
// 256-block part costs over 1 KB in 11 bytes of text). The reader therefore
// charges what it builds against a budget proportional to the file's size
// plus a fixed allowance, and refuses the file once it is spent.
//
// Real libraries stay far inside it: the example libraries are 4 KB of text,
// a binary library tops out at 64 KB (about 200 KB as text), and the
// 100,000-part text library of the benchmarks is 36 MB of text holding 3
// bytes of model per byte of file. What the writer produces holds at most
// about 10.5 bytes per byte of text (alias lines and empty parts, whose
// entries are indexed by name), so 16 per byte keeps every file it writes
// readable, and the writer checks that (TextLibraryFormat::Examine) before
// it keeps a file.
class TextLibraryBudget {
 public:
  // Larger files are refused unread.
  static constexpr size_t kMaxFileSize = size_t{64} << 20;
  static constexpr size_t kFixedAllowance = size_t{32} << 20;
  static constexpr size_t kPerInputByte = 16;

  static constexpr size_t ForInput(size_t bytes) { return kFixedAllowance + kPerInputByte * bytes; }

  // The model memory of each object the reader makes, with its share of the
  // containers and indexes that hold it; strings are charged apart. Inline:
  // the reader charges every pin and number.
  static size_t PatternCost(int32_t width, int32_t height) {
    const size_t bits = static_cast<size_t>(Pattern::StrideFor(width)) * static_cast<size_t>(height);
    return sizeof(Pattern) + kAllocation + kListSlot + kIndexSlot + bits + kAllocation;
  }
  static size_t PinCost() { return sizeof(PinInfo) + kAllocation + kListSlot; }
  // A pin's `count` numbers of `textBytes` bytes in all.
  static size_t NumbersCost(size_t count, size_t textBytes) {
    const size_t heap = PinNumbers::HeapBytes(count, textBytes);
    return heap == 0 ? 0 : heap + kAllocation;
  }
  static size_t BodyCost() { return sizeof(PartBody) + kAllocation + kListSlot; }
  static size_t EntryCost() { return sizeof(PartEntry) + kAllocation + kListSlot + kIndexSlot; }
  // Heap bytes of a string of that length (short ones live in the object).
  static size_t StringCost(size_t length) {
    return length < sizeof(std::string) / 2 ? 0 : length + 1 + kAllocation;
  }

  explicit TextLibraryBudget(size_t inputBytes) : left_(ForInput(inputBytes)) {}
  // Charges `bytes`; false (and nothing charged) when they are not left.
  bool Spend(size_t bytes) {
    if (bytes > left_) return false;
    left_ -= bytes;
    return true;
  }

 private:
  // Every object is one allocation, with the allocator's own bookkeeping.
  static constexpr size_t kAllocation = 16;
  // A pointer in a vector that grows by doubling, counted with the moment
  // both the old and the new array are held.
  static constexpr size_t kListSlot = 3 * sizeof(void*);
  // A name in a FirstMatchIndex: a table at most half full that doubles.
  static constexpr size_t kIndexSlot = 4 * (sizeof(std::string_view) + 2 * sizeof(void*) + sizeof(size_t));

  size_t left_;
};

}  // namespace zanli
