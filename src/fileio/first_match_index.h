#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <limits>
#include <stdexcept>
#include <vector>

namespace zanli {

// Maps keys to the value first recorded under them: a later Insert with a key
// already present changes nothing, so lookups give the first match in the
// order of insertion. Keys are stored as given (string views must outlive
// the index).
//
// The keys and values sit in a list in the order of insertion; the table
// that finds them is open addressing over 8-byte slots (32 bits of the hash
// and a place in the list), so that a probe stays within a cache line and
// growing the table moves slots, never keys, and hashes nothing again.
template <typename Key, typename Value, typename Hash = std::hash<Key>>
class FirstMatchIndex {
 public:
  explicit FirstMatchIndex(size_t expected = 0) {
    items_.reserve(expected);
    Rehash(CapacityFor(expected));
  }

  // Records `value` under `key` unless the key is there already; returns the
  // value now recorded under it.
  Value Insert(const Key& key, Value value) {
    if ((items_.size() + 1) * 2 > slots_.size()) Rehash(slots_.size() * 2);
    const uint32_t hash = HashOf(key);
    for (size_t i = hash & mask_;; i = (i + 1) & mask_) {
      Slot& slot = slots_[i];
      if (slot.item == 0) {
        if (items_.size() >= kMaxItems) throw std::length_error("FirstMatchIndex");
        items_.push_back(Item{key, value});  // may throw; the table is unchanged then
        slot = Slot{hash, static_cast<uint32_t>(items_.size())};
        return value;
      }
      if (slot.hash == hash && items_[slot.item - 1].key == key) return items_[slot.item - 1].value;
    }
  }

  // Starts loading the slot where `key` would go, so that an Insert or Find
  // a little later does not wait for memory: a large table misses the
  // cache on nearly every key.
  void Prefetch(const Key& key) const {
#if defined(__GNUC__)
    __builtin_prefetch(&slots_[HashOf(key) & mask_]);
#else
    (void)key;
#endif
  }

  // The first value recorded under `key`, or `absent`.
  Value Find(const Key& key, Value absent = Value{}) const {
    const uint32_t hash = HashOf(key);
    for (size_t i = hash & mask_;; i = (i + 1) & mask_) {
      const Slot& slot = slots_[i];
      if (slot.item == 0) return absent;
      if (slot.hash == hash && items_[slot.item - 1].key == key) return items_[slot.item - 1].value;
    }
  }

 private:
  struct Slot {
    uint32_t hash = 0;
    uint32_t item = 0;  // 1 + the place in items_, or 0 for an empty slot
  };
  struct Item {
    Key key;
    Value value;
  };
  static constexpr size_t kMaxItems = std::numeric_limits<uint32_t>::max();

  // Pointer hashes are the addresses themselves, whose low bits are always
  // zero; mixing spreads them over the table.
  static uint32_t HashOf(const Key& key) {
    uint64_t h = Hash{}(key);
    h ^= h >> 33;
    h *= 0xff51afd7ed558ccdULL;
    h ^= h >> 33;
    return static_cast<uint32_t>(h);
  }

  static size_t CapacityFor(size_t expected) {
    size_t capacity = 16;
    while (capacity < expected * 2) capacity *= 2;
    return capacity;
  }

  void Rehash(size_t capacity) {
    std::vector<Slot> slots(capacity);
    const size_t mask = capacity - 1;
    for (const Slot& slot : slots_) {
      if (slot.item == 0) continue;
      size_t i = slot.hash & mask;
      while (slots[i].item != 0) i = (i + 1) & mask;
      slots[i] = slot;
    }
    slots_ = std::move(slots);
    mask_ = mask;
  }

  std::vector<Slot> slots_;
  std::vector<Item> items_;
  size_t mask_ = 0;
};

}  // namespace zanli
