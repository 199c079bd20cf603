#include "model/pin_list_allocator.h"

#include <array>
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

constexpr size_t kClassCount = PinListAllocator<char>::kPooledBytes / kStep;

// Each size's pool, by (bytes - 1) / kStep.
template <size_t... kClasses>
constexpr auto AllocatorsOf(std::index_sequence<kClasses...>) {
  return std::array<void* (*)(), sizeof...(kClasses)>{&ListPool<kClasses>::Allocate...};
}
template <size_t... kClasses>
constexpr auto FreersOf(std::index_sequence<kClasses...>) {
  return std::array<void (*)(void*) noexcept, sizeof...(kClasses)>{&ListPool<kClasses>::Free...};
}
constexpr auto kAllocate = AllocatorsOf(std::make_index_sequence<kClassCount>());
constexpr auto kFree = FreersOf(std::make_index_sequence<kClassCount>());

}  // namespace

void* AllocatePinList(size_t bytes) {
  if (bytes == 0 || bytes > PinListAllocator<char>::kPooledBytes) return ::operator new(bytes);
  return kAllocate[(bytes - 1) / kStep]();
}

void FreePinList(void* memory, size_t bytes) noexcept {
  if (memory == nullptr) return;
  if (bytes == 0 || bytes > PinListAllocator<char>::kPooledBytes) return ::operator delete(memory);
  kFree[(bytes - 1) / kStep](memory);
}

}  // namespace zanli
