#pragma once

#include <condition_variable>
#include <cstddef>
#include <mutex>
#include <string_view>
#include <vector>

#include "fileio/text_line_reader.h"

namespace zanli {

// Bytes handed from one thread that writes them to another that reads them,
// through a ring of fixed size allocated up front: writing never allocates,
// and the writer waits only while the ring is full and the reader still
// reads. Either side may stop early without leaving the other waiting: the
// writer's Close ends the input where it stands (after a failed write too),
// and the reader's Abandon (a reader that refused the input, or finished
// before its end) turns every later write into nothing.
class BytePipe : public TextLineReader::Source {
 public:
  static constexpr size_t kDefaultCapacity = size_t{1} << 20;

  explicit BytePipe(size_t capacity = kDefaultCapacity);
  BytePipe(const BytePipe&) = delete;
  BytePipe& operator=(const BytePipe&) = delete;

  // The writer's side. Write waits for room; false once the reader has
  // abandoned the pipe (the bytes are dropped).
  bool Write(std::string_view bytes);
  void Close();

  // The reader's side: up to `size` bytes, waiting for some; 0 at the end.
  size_t Read(char* out, size_t size) override;
  void Abandon();

 private:
  std::mutex mutex_;
  std::condition_variable readable_;
  std::condition_variable writable_;
  std::vector<char> ring_;
  size_t start_ = 0;  // of the bytes not yet read
  size_t held_ = 0;
  bool closed_ = false;
  bool abandoned_ = false;
};

}  // namespace zanli
