#include "model/pin_numbers.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <new>

namespace zanli {

namespace {

constexpr size_t kEndBytes = PinNumbers::kEndBytes;

uint32_t LoadEnd(const char* block, size_t index) {
  uint32_t end;
  std::memcpy(&end, block + kEndBytes * index, kEndBytes);
  return end;
}

void StoreEnd(char* block, size_t index, uint32_t end) {
  std::memcpy(block + kEndBytes * index, &end, kEndBytes);
}

}  // namespace

PinNumbers::PinNumbers(std::initializer_list<std::string_view> numbers) : count_(0), bytes_{} {
  Assign(std::span<const std::string_view>(numbers.begin(), numbers.size()));
}

PinNumbers::PinNumbers(std::span<const std::string_view> numbers) : count_(0), bytes_{} { Assign(numbers); }

PinNumbers::PinNumbers(const std::vector<std::string>& numbers) : count_(0), bytes_{} { *this = numbers; }

PinNumbers::PinNumbers(const PinNumbers& other) : count_(other.count_) {
  std::memcpy(bytes_, other.bytes_, sizeof bytes_);
  if (!other.OnHeap()) return;
  const size_t count = size();
  const size_t bytes = kEndBytes * count + LoadEnd(other.HeapBlock(), count - 1);
  count_ = 0;  // owns nothing until the copy is made
  char* block = static_cast<char*>(::operator new(bytes));
  std::memcpy(block, other.HeapBlock(), bytes);
  std::memcpy(bytes_, &block, sizeof block);
  count_ = other.count_;
}

PinNumbers::PinNumbers(PinNumbers&& other) noexcept : count_(other.count_) {
  std::memcpy(bytes_, other.bytes_, sizeof bytes_);
  other.count_ = 0;
}

PinNumbers& PinNumbers::operator=(const PinNumbers& other) {
  if (this != &other) *this = PinNumbers(other);
  return *this;
}

PinNumbers& PinNumbers::operator=(PinNumbers&& other) noexcept {
  if (this == &other) return *this;
  Release();
  count_ = other.count_;
  std::memcpy(bytes_, other.bytes_, sizeof bytes_);
  other.count_ = 0;
  return *this;
}

PinNumbers& PinNumbers::operator=(std::initializer_list<std::string_view> numbers) {
  Assign(std::span<const std::string_view>(numbers.begin(), numbers.size()));
  return *this;
}

PinNumbers& PinNumbers::operator=(const std::vector<std::string>& numbers) {
  Rebuild(numbers.size(), [&](size_t i) { return std::string_view(numbers[i]); });
  return *this;
}

char* PinNumbers::HeapBlock() const {
  char* block;
  std::memcpy(&block, bytes_, sizeof block);
  return block;
}

void PinNumbers::Bounds(size_t index, size_t& begin, size_t& end) const {
  if (OnHeap()) {
    const char* block = HeapBlock();
    end = LoadEnd(block, index);
    begin = index == 0 ? 0 : LoadEnd(block, index - 1);
  } else {
    end = bytes_[index];
    begin = index == 0 ? 0 : bytes_[index - 1];
  }
}

const char* PinNumbers::Text() const {
  return OnHeap() ? HeapBlock() + kEndBytes * size() : reinterpret_cast<const char*>(bytes_) + size();
}

std::string_view PinNumbers::operator[](size_t index) const {
  size_t begin;
  size_t end;
  Bounds(index, begin, end);
  return std::string_view(Text() + begin, end - begin);
}

void PinNumbers::Set(size_t index, std::string_view number) {
  Rebuild(size(), [&](size_t i) { return i == index ? number : (*this)[i]; });
}

void PinNumbers::Resize(size_t count, std::string_view fill) {
  const size_t keep = std::min(size(), count);
  Rebuild(count, [&](size_t i) { return i < keep ? (*this)[i] : fill; });
}

void PinNumbers::Assign(std::span<const std::string_view> numbers) {
  Rebuild(numbers.size(), [&](size_t i) { return numbers[i]; });
}

void PinNumbers::Release() noexcept {
  if (OnHeap()) ::operator delete(HeapBlock());
  count_ = 0;
}

template <typename TextOf>
void PinNumbers::Rebuild(size_t count, const TextOf& textOf) {
  // Offsets are 32-bit; no pin comes near that, but a model built by hand
  // must not wrap them.
  if (count > kCountMask) throw std::bad_alloc();
  size_t total = 0;
  for (size_t i = 0; i < count; ++i) total += textOf(i).size();
  if (total > std::numeric_limits<uint32_t>::max()) throw std::bad_alloc();

  const size_t heapBytes = HeapBytes(count, total);
  unsigned char small[kInlineBytes] = {};
  char* block = heapBytes == 0 ? nullptr : static_cast<char*>(::operator new(heapBytes));
  char* text = block ? block + kEndBytes * count : reinterpret_cast<char*>(small) + count;
  uint32_t end = 0;
  for (size_t i = 0; i < count; ++i) {
    const std::string_view number = textOf(i);
    if (!number.empty()) std::memcpy(text + end, number.data(), number.size());
    end += static_cast<uint32_t>(number.size());
    if (block)
      StoreEnd(block, i, end);
    else
      small[i] = static_cast<unsigned char>(end);
  }

  Release();
  if (block) {
    std::memcpy(bytes_, &block, sizeof block);
    count_ = static_cast<uint32_t>(count) | kOnHeap;
  } else {
    std::memcpy(bytes_, small, sizeof small);
    count_ = static_cast<uint32_t>(count);
  }
}

bool operator==(const PinNumbers& a, const PinNumbers& b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin());
}

bool operator==(const PinNumbers& a, const std::vector<std::string>& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < b.size(); ++i)
    if (a[i] != b[i]) return false;
  return true;
}

}  // namespace zanli
