#include "model/pin_list_allocator.h"

#include <utility>

#include "model/object_pool.h"

namespace zanli {

namespace {

// Sizes in steps of 32 bytes: a list wastes less than the heap's own
// header and rounding would, and eight pools cover every pooled size.
constexpr size_t kStep = 32;
static_assert(PinListAllocator<char>::kPooledBytes % kStep == 0);

template <size_t kClass>
using ListPool = ObjectPool<(kClass + 1) * kStep, alignof(std::max_align_t)>;

template <size_t... kClasses>
void* AllocateFrom(size_t index, std::index_sequence<kClasses...>) {
  void* memory = nullptr;
  ((index == kClasses ? (memory = ListPool<kClasses>::Allocate(), true) : false) || ...);
  return memory;
}

template <size_t... kClasses>
void FreeTo(size_t index, void* memory, std::index_sequence<kClasses...>) noexcept {
  ((index == kClasses ? (ListPool<kClasses>::Free(memory), true) : false) || ...);
}

constexpr auto kClasses = std::make_index_sequence<PinListAllocator<char>::kPooledBytes / kStep>();

}  // namespace

void* AllocatePinList(size_t bytes) {
  if (bytes == 0 || bytes > PinListAllocator<char>::kPooledBytes) return ::operator new(bytes);
  return AllocateFrom((bytes - 1) / kStep, kClasses);
}

void FreePinList(void* memory, size_t bytes) noexcept {
  if (memory == nullptr) return;
  if (bytes == 0 || bytes > PinListAllocator<char>::kPooledBytes) return ::operator delete(memory);
  FreeTo((bytes - 1) / kStep, memory, kClasses);
}

}  // namespace zanli
