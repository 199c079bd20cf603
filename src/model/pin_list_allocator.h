#pragma once

#include <cstddef>
#include <limits>
#include <new>

namespace zanli {

// Memory for the array of one body's pin pointers. A library holds a
// hundred thousand of these, most of a few dozen bytes; from the general
// heap, dropping them costs half of dropping the library (the heap merges
// them all again) and a fresh process faults them in 4 KiB at a time. Up to
// kPooledBytes they come from object pools of a few sizes instead
// (model/object_pool.h), larger ones from the heap.
//
// Stateless, so lists move and swap between bodies as with the standard
// allocator.
void* AllocatePinList(size_t bytes);
void FreePinList(void* memory, size_t bytes) noexcept;

template <typename T>
class PinListAllocator {
 public:
  using value_type = T;
  static constexpr size_t kPooledBytes = 256;

  PinListAllocator() noexcept = default;
  template <typename U>
  PinListAllocator(const PinListAllocator<U>&) noexcept {}

  T* allocate(size_t count) {
    if (count > std::numeric_limits<size_t>::max() / sizeof(T)) throw std::bad_array_new_length();
    return static_cast<T*>(AllocatePinList(count * sizeof(T)));
  }
  void deallocate(T* memory, size_t count) noexcept { FreePinList(memory, count * sizeof(T)); }

  friend bool operator==(const PinListAllocator&, const PinListAllocator&) noexcept { return true; }
};

}  // namespace zanli
