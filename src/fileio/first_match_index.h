#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

namespace zanli {

// Maps keys to the value first recorded under them: a later Insert with a key
// already present changes nothing, so lookups give the first match in the
// order of insertion. Open addressing in one flat table, so building and
// dropping the index costs a single allocation instead of one per key. Keys
// are stored as given (string views must outlive the index).
template <typename Key, typename Value, typename Hash = std::hash<Key>>
class FirstMatchIndex {
 public:
  explicit FirstMatchIndex(size_t expected = 0) { Rehash(CapacityFor(expected)); }

  // Records `value` under `key` unless the key is there already; returns the
  // value now recorded under it.
  Value Insert(const Key& key, Value value) {
    if ((used_ + 1) * 2 > slots_.size()) Rehash(slots_.size() * 2);
    const size_t hash = HashOf(key);
    for (size_t i = hash & mask_;; i = (i + 1) & mask_) {
      Slot& slot = slots_[i];
      if (!slot.used) {
        slot = Slot{key, value, hash, true};
        ++used_;
        return value;
      }
      if (slot.hash == hash && slot.key == key) return slot.value;
    }
  }

  // The first value recorded under `key`, or `absent`.
  Value Find(const Key& key, Value absent = Value{}) const {
    const size_t hash = HashOf(key);
    for (size_t i = hash & mask_;; i = (i + 1) & mask_) {
      const Slot& slot = slots_[i];
      if (!slot.used) return absent;
      if (slot.hash == hash && slot.key == key) return slot.value;
    }
  }

 private:
  struct Slot {
    Key key{};
    Value value{};
    size_t hash = 0;
    bool used = false;
  };

  // Pointer hashes are the addresses themselves, whose low bits are always
  // zero; mixing spreads them over the table.
  static size_t HashOf(const Key& key) {
    uint64_t h = Hash{}(key);
    h ^= h >> 33;
    h *= 0xff51afd7ed558ccdULL;
    h ^= h >> 33;
    return static_cast<size_t>(h);
  }

  static size_t CapacityFor(size_t expected) {
    size_t capacity = 16;
    while (capacity < expected * 2) capacity *= 2;
    return capacity;
  }

  void Rehash(size_t capacity) {
    std::vector<Slot> old = std::move(slots_);
    slots_.assign(capacity, Slot{});
    mask_ = capacity - 1;
    for (const Slot& slot : old) {
      if (!slot.used) continue;
      size_t i = slot.hash & mask_;
      while (slots_[i].used) i = (i + 1) & mask_;
      slots_[i] = slot;
    }
  }

  std::vector<Slot> slots_;
  size_t mask_ = 0;
  size_t used_ = 0;
};

}  // namespace zanli
