#include "check/byte_pipe.h"

#include <algorithm>
#include <cstring>

namespace zanli {

BytePipe::BytePipe(size_t capacity) : ring_(std::max<size_t>(capacity, 1)) {}

bool BytePipe::Write(std::string_view bytes) {
  std::unique_lock lock(mutex_);
  while (!bytes.empty()) {
    writable_.wait(lock, [&] { return abandoned_ || held_ < ring_.size(); });
    if (abandoned_) return false;
    // The free space may wrap: fill up to the ring's end, then go round.
    const size_t end = (start_ + held_) % ring_.size();
    const size_t n = std::min({bytes.size(), ring_.size() - held_, ring_.size() - end});
    std::memcpy(ring_.data() + end, bytes.data(), n);
    held_ += n;
    bytes.remove_prefix(n);
    readable_.notify_one();
  }
  return !abandoned_;
}

void BytePipe::Close() {
  {
    const std::lock_guard lock(mutex_);
    closed_ = true;
  }
  readable_.notify_one();
}

size_t BytePipe::Read(char* out, size_t size) {
  std::unique_lock lock(mutex_);
  readable_.wait(lock, [&] { return held_ > 0 || closed_; });
  const size_t n = std::min({size, held_, ring_.size() - start_});
  std::memcpy(out, ring_.data() + start_, n);
  start_ = (start_ + n) % ring_.size();
  held_ -= n;
  if (n > 0) writable_.notify_one();
  return n;
}

void BytePipe::Abandon() {
  {
    const std::lock_guard lock(mutex_);
    abandoned_ = true;
  }
  writable_.notify_one();
}

}  // namespace zanli
