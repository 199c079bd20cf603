#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "model/pin_info.h"
#include "model/pin_list_allocator.h"

namespace zanli {

class Pattern;

// Everything of a body but its pins: what a part's attribute dialog sets.
struct PartAttributes {
  std::string numberPrefix;
  int32_t xSize = 2;
  int32_t ySize = 2;
  int32_t blockCount = 1;
  Pattern* pattern = nullptr;

  friend bool operator==(const PartAttributes&, const PartAttributes&) = default;
};

// The shared body of a part and all its aliases.
class PartBody final {
 public:
  PartBody();
  PartBody(const PartBody&) = delete;
  PartBody& operator=(const PartBody&) = delete;

  // From the pool of objects of this size (model/object_pool.h).
  static void* operator new(std::size_t size);
  static void operator delete(void* memory) noexcept;

  // Resizes every pin's numbers to n blocks: the first min(old, n) numbers are
  // kept and new blocks get "D" (shown, empty).
  void SetBlockCount(int32_t n);

  // The first pin in `pins` on that edge at that position; files may hold
  // duplicates, and the earlier one wins.
  PinInfo* FindPin(PinEdge edge, int32_t position) const;

  // A copy with pins of its own and the same pattern, which it does not own.
  std::unique_ptr<PartBody> Clone() const;

  PartAttributes Attributes() const { return {numberPrefix, xSize, ySize, blockCount, pattern}; }

  PinInfo* AddPin(std::unique_ptr<PinInfo> pin);
  // Takes the pin out of `pins` and destroys it; false when it is not ours.
  bool RemovePin(const PinInfo* pin);

  std::string numberPrefix = "U";
  int32_t xSize = 2;
  int32_t ySize = 2;
  int32_t blockCount = 1;
  Pattern* pattern = nullptr;  // not owned; an element of Library::patterns
  std::vector<std::unique_ptr<PinInfo>, PinListAllocator<std::unique_ptr<PinInfo>>> pins;
};

}  // namespace zanli
