#pragma once

#include <algorithm>
#include <cstddef>
#include <mutex>
#include <new>
#include <vector>

namespace zanli {

// `bytes` (a multiple of `align`, itself a power of two of at least a page)
// aligned to `align`, which the system is asked to back with large pages;
// never given back. Throws std::bad_alloc when there is none.
void* AllocateLargeRegion(size_t bytes, size_t align);

// Memory for the many small objects of one type that a library is made of
// (a million pins in a large one). Allocated one by one from the general
// heap, they cost a third of the time of reading a file and most of that of
// dropping the library; here they are cut from slabs of kBatch slots, and a
// freed slot goes on a list of the freeing thread, from which the next
// object of the type is taken.
// Whole chains of kBatch free slots move between threads through one locked
// store, so neither allocating nor freeing takes a lock but once per kBatch
// objects. Slabs are cut from regions that grow with the pool up to 2 MiB,
// which the system is asked to back with large pages: a fresh process that
// reads a large library then takes one page fault per 2 MiB instead of one
// per 4 KiB, and a page fault costs more than reading its 4 KiB. Regions
// are kept for reuse until the process ends.
//
// Under AddressSanitizer the pool steps aside (every object comes from the
// general heap), so that the sanitizer still sees each object's lifetime.
template <size_t kSize, size_t kAlign>
class ObjectPool {
 public:
  static constexpr size_t kBatch = 256;

  // Memory for one object; throws std::bad_alloc when there is none.
  static void* Allocate() {
    if constexpr (kBypass) return ::operator new(kSize);
    Cache& cache = cache_;
    if (cache.head == nullptr) {
      if (cache.flushed) return AllocateShared();
      flusher_.Touch();
      Refill(cache);
    }
    Slot* slot = cache.head;
    cache.head = slot->next;
    --cache.count;
    return slot;
  }

  static void Free(void* memory) noexcept {
    if constexpr (kBypass) return ::operator delete(memory);
    if (memory == nullptr) return;
    Cache& cache = cache_;
    if (cache.flushed) return FreeShared(static_cast<Slot*>(memory));
    if (cache.head == nullptr && cache.spare == nullptr) flusher_.Touch();
    Slot* slot = static_cast<Slot*>(memory);
    slot->next = cache.head;
    cache.head = slot;
    if (++cache.count < kBatch) return;
    // A full chain: it becomes the spare, and an older spare goes to the
    // store for other threads.
    if (cache.spare != nullptr) Store(cache.spare, kBatch);
    cache.spare = cache.head;
    cache.head = nullptr;
    cache.count = 0;
  }

 private:
#if defined(__SANITIZE_ADDRESS__)
  static constexpr bool kBypass = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
  static constexpr bool kBypass = true;
#else
  static constexpr bool kBypass = false;
#endif
#else
  static constexpr bool kBypass = false;
#endif

  struct Slot {
    Slot* next;
  };
  static constexpr size_t kSlotAlign = kAlign > alignof(Slot) ? kAlign : alignof(Slot);
  static constexpr size_t kSlotSize =
      ((kSize > sizeof(Slot) ? kSize : sizeof(Slot)) + kSlotAlign - 1) / kSlotAlign * kSlotAlign;

  // A thread's free slots: `head` (count of them) and one full chain in
  // reserve. Plain data, so that it outlives every destructor of its thread.
  struct Cache {
    Slot* head;
    size_t count;
    Slot* spare;
    bool flushed;  // the thread is ending: everything goes to the store
  };

  struct Chain {
    Slot* head;
    size_t count;
  };

  struct Shared {
    std::mutex mutex;
    std::vector<Chain> chains;
    std::vector<void*> regions;  // kept for the life of the process
    char* next = nullptr;        // the unused rest of the last region
    size_t left = 0;
    size_t total = 0;  // bytes of all regions
  };

  static constexpr size_t kSlabBytes = kSlotSize * kBatch;
  static constexpr size_t kLargeRegion = size_t{2} << 20;
  static_assert(kSlabBytes <= kLargeRegion / 8, "a region should hold several slabs");

  // Hands the thread's slots to the store when the thread ends.
  struct Flusher {
    // Makes sure the thread's flusher exists, so that it runs at the end.
    void Touch() { armed = true; }
    bool armed = false;
    ~Flusher() {
      Cache& cache = cache_;
      if (cache.head != nullptr) Store(cache.head, cache.count);
      if (cache.spare != nullptr) Store(cache.spare, kBatch);
      cache = Cache{nullptr, 0, nullptr, true};
    }
  };

  // Never destroyed: objects may be freed by destructors of static objects
  // that run after it would have been.
  static Shared& SharedStore() {
    static Shared* const shared = new Shared;
    return *shared;
  }

  static void Store(Slot* head, size_t count) {
    Shared& shared = SharedStore();
    const std::lock_guard<std::mutex> lock(shared.mutex);
    try {
      shared.chains.push_back(Chain{head, count});
    } catch (const std::bad_alloc&) {
      // Without room to list the chain its slots stay unused; nothing is
      // lost but that memory.
    }
  }

  // Refills an empty cache from its spare, the store or a new slab.
  static void Refill(Cache& cache) {
    if (cache.spare != nullptr) {
      cache.head = cache.spare;
      cache.count = kBatch;
      cache.spare = nullptr;
      return;
    }
    Shared& shared = SharedStore();
    const std::lock_guard<std::mutex> lock(shared.mutex);
    if (!shared.chains.empty()) {
      const Chain chain = shared.chains.back();
      shared.chains.pop_back();
      cache.head = chain.head;
      cache.count = chain.count;
      return;
    }
    if (shared.left < kSlabBytes) AddRegion(shared);
    char* const slab = shared.next;
    shared.next += kSlabBytes;
    shared.left -= kSlabBytes;
    Slot* head = nullptr;
    for (size_t i = kBatch; i-- > 0;) {
      Slot* slot = reinterpret_cast<Slot*>(slab + i * kSlotSize);
      slot->next = head;
      head = slot;
    }
    cache.head = head;
    cache.count = kBatch;
  }

  // Small pools stay small: a region is as large as all before it, from 64
  // KiB (no large page for them) to 2 MiB (aligned, to be one large page).
  static void AddRegion(Shared& shared) {
    const size_t bytes =
        std::clamp(shared.total, std::max<size_t>(kSlabBytes, size_t{64} << 10), kLargeRegion);
    shared.regions.reserve(shared.regions.size() + 1);  // may throw, before the region exists
    char* const region =
        static_cast<char*>(bytes == kLargeRegion ? AllocateLargeRegion(bytes, kLargeRegion)
                                                 : ::operator new (bytes, std::align_val_t{kSlotAlign}));
    shared.regions.push_back(region);
    shared.next = region;
    shared.left = bytes;
    shared.total += bytes;
  }

  // A thread that has ended its cache takes slots from the store itself.
  static void* AllocateShared() {
    Cache local{nullptr, 0, nullptr, false};
    Refill(local);
    Slot* slot = local.head;
    if (slot->next != nullptr) Store(slot->next, local.count - 1);
    return slot;
  }

  static void FreeShared(Slot* slot) {
    slot->next = nullptr;
    Store(slot, 1);
  }

  static thread_local Cache cache_;
  static thread_local Flusher flusher_;
};

template <size_t kSize, size_t kAlign>
thread_local
    typename ObjectPool<kSize, kAlign>::Cache ObjectPool<kSize, kAlign>::cache_{nullptr, 0, nullptr, false};
template <size_t kSize, size_t kAlign>
thread_local typename ObjectPool<kSize, kAlign>::Flusher ObjectPool<kSize, kAlign>::flusher_;

}  // namespace zanli
