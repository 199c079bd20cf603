#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <iterator>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace zanli {

// The numbers of a pin, one per block, block 1 first: each empty (no number)
// or the display letter 'D' (shown) or 'H' (hidden) followed by the number
// text.
//
// A library holds a million of these, nearly all with one to four short
// numbers, so they live in one buffer: the end offset of each number, then
// their bytes. Up to kInlineBytes of offsets and text stay inside the object
// (one byte per offset); larger sets take one heap block of 32-bit offsets
// and text. Numbers are read as views, valid until the next change.
//
// Reading follows the standard containers (size, operator[], begin/end, so
// range-for, algorithms and test printers work); changes rebuild the buffer.
class PinNumbers {
 public:
  // Bytes of offsets and text held inside the object.
  static constexpr size_t kInlineBytes = 20;
  // Bytes of one end offset in a heap block.
  static constexpr size_t kEndBytes = sizeof(uint32_t);

  class const_iterator {
   public:
    using iterator_category = std::random_access_iterator_tag;
    using value_type = std::string_view;
    using difference_type = std::ptrdiff_t;
    using pointer = void;
    using reference = std::string_view;

    const_iterator() = default;
    std::string_view operator*() const { return (*numbers_)[index_]; }
    std::string_view operator[](difference_type n) const {
      return (*numbers_)[static_cast<size_t>(static_cast<difference_type>(index_) + n)];
    }
    const_iterator& operator++() { return ++index_, *this; }
    const_iterator operator++(int) { return const_iterator(numbers_, index_++); }
    const_iterator& operator--() { return --index_, *this; }
    const_iterator operator--(int) { return const_iterator(numbers_, index_--); }
    const_iterator& operator+=(difference_type n) {
      index_ = static_cast<size_t>(static_cast<difference_type>(index_) + n);
      return *this;
    }
    const_iterator& operator-=(difference_type n) { return *this += -n; }
    friend const_iterator operator+(const_iterator it, difference_type n) { return it += n; }
    friend const_iterator operator+(difference_type n, const_iterator it) { return it += n; }
    friend const_iterator operator-(const_iterator it, difference_type n) { return it -= n; }
    friend difference_type operator-(const const_iterator& a, const const_iterator& b) {
      return static_cast<difference_type>(a.index_) - static_cast<difference_type>(b.index_);
    }
    friend bool operator==(const const_iterator& a, const const_iterator& b) { return a.index_ == b.index_; }
    friend auto operator<=>(const const_iterator& a, const const_iterator& b) {
      return a.index_ <=> b.index_;
    }

   private:
    friend class PinNumbers;
    const_iterator(const PinNumbers* numbers, size_t index) : numbers_(numbers), index_(index) {}
    const PinNumbers* numbers_ = nullptr;
    size_t index_ = 0;
  };
  using iterator = const_iterator;
  using value_type = std::string_view;
  using size_type = size_t;

  PinNumbers() noexcept : count_(0), bytes_{} {}
  // `count` empty numbers.
  // Inline: every pin a reader makes starts here.
  explicit PinNumbers(size_t count) : count_(0), bytes_{} {
    if (count <= kInlineBytes)
      count_ = static_cast<uint32_t>(count);  // every end offset 0
    else
      Resize(count);
  }
  PinNumbers(std::initializer_list<std::string_view> numbers);
  explicit PinNumbers(std::span<const std::string_view> numbers);
  explicit PinNumbers(const std::vector<std::string>& numbers);
  PinNumbers(const PinNumbers& other);
  PinNumbers(PinNumbers&& other) noexcept;
  PinNumbers& operator=(const PinNumbers& other);
  PinNumbers& operator=(PinNumbers&& other) noexcept;
  PinNumbers& operator=(std::initializer_list<std::string_view> numbers);
  PinNumbers& operator=(const std::vector<std::string>& numbers);
  // Inline: dropping a library runs it for a million pins, nearly all of
  // whose numbers live in the object.
  ~PinNumbers() {
    if (OnHeap()) Release();
  }

  size_t size() const { return count_ & kCountMask; }
  bool empty() const { return size() == 0; }
  // Number `index` (below size()).
  std::string_view operator[](size_t index) const;
  const_iterator begin() const { return const_iterator(this, 0); }
  const_iterator end() const { return const_iterator(this, size()); }

  void Set(size_t index, std::string_view number);
  // Keeps the first min(size(), count) numbers; new ones are `fill`.
  void Resize(size_t count, std::string_view fill = {});
  // Replaces every number; the views may point into this object.
  void Assign(std::span<const std::string_view> numbers);
  // Makes number `index`, which must be empty as every one after it is,
  // `mark` followed by `text`, if the numbers still fit inside the object:
  // how a reader fills numbers in order, copying each text once. False (and
  // nothing changed) otherwise.
  // Always inline: a reader calls it for nearly every number of a library,
  // and GCC otherwise leaves it a call out of the reader's pin loop.
  [[gnu::always_inline]] bool FillInOrder(size_t index, char mark, std::string_view text) {
    const size_t count = size();
    if (OnHeap() || index >= count) return false;
    const size_t begin = index == 0 ? 0 : bytes_[index - 1];
    if (count + begin + 1 + text.size() > kInlineBytes) return false;
    char* out = reinterpret_cast<char*>(bytes_) + count + begin;
    *out = mark;
    CopyShort(out + 1, text.data(), text.size());
    // Every later number ends here too: they stay empty.
    const auto end = static_cast<unsigned char>(begin + 1 + text.size());
    SetShort(bytes_ + index, end, count - index);
    return true;
  }

  // Heap bytes that `count` numbers of `textBytes` bytes in all take (0 when
  // they fit in the object), without the allocator's own bookkeeping.
  // Inline: a reader charges every pin's numbers.
  static size_t HeapBytes(size_t count, size_t textBytes) {
    return count + textBytes <= kInlineBytes ? 0 : kEndBytes * count + textBytes;
  }

  friend bool operator==(const PinNumbers& a, const PinNumbers& b);
  friend bool operator==(const PinNumbers& a, const std::vector<std::string>& b);

 private:
  // The top bit of count_ says the numbers live on the heap.
  static constexpr uint32_t kOnHeap = 0x80000000u;
  static constexpr uint32_t kCountMask = ~kOnHeap;

  bool OnHeap() const { return (count_ & kOnHeap) != 0; }
  // Copy or set at most 24 bytes through fixed-size moves that may overlap:
  // numbers are a few bytes of every length, and a library call for each
  // would cost more than its bytes.
  static void CopyShort(char* to, const char* from, size_t size) {
    if (size >= 8) {
      std::memcpy(to, from, 8);
      if (size > 16) std::memcpy(to + 8, from + 8, 8);
      std::memcpy(to + size - 8, from + size - 8, 8);
    } else if (size >= 4) {
      std::memcpy(to, from, 4);
      std::memcpy(to + size - 4, from + size - 4, 4);
    } else if (size > 0) {
      to[0] = from[0];
      to[size / 2] = from[size / 2];
      to[size - 1] = from[size - 1];
    }
  }
  static void SetShort(unsigned char* to, unsigned char value, size_t size) {
    if (size >= 8) {
      std::memset(to, value, 8);
      if (size > 16) std::memset(to + 8, value, 8);
      std::memset(to + size - 8, value, 8);
    } else if (size >= 4) {
      std::memset(to, value, 4);
      std::memset(to + size - 4, value, 4);
    } else if (size > 0) {
      to[0] = value;
      to[size / 2] = value;
      to[size - 1] = value;
    }
  }
  char* HeapBlock() const;
  // Start and end offset of number `index` in the text.
  void Bounds(size_t index, size_t& begin, size_t& end) const;
  const char* Text() const;
  void Release() noexcept;
  // Builds the numbers that `textOf(i)` gives for i below `count` into new
  // storage, then drops the old; `textOf` may read the old storage.
  template <typename TextOf>
  void Rebuild(size_t count, const TextOf& textOf);

  uint32_t count_;
  // Inline: one end offset per number, then the text. On the heap: the
  // block's address; the block holds 32-bit end offsets, then the text.
  unsigned char bytes_[kInlineBytes];
};

static_assert(sizeof(PinNumbers) == 24, "a pin's numbers should cost three words");

}  // namespace zanli
