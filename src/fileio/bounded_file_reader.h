#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace zanli {

// Reads a whole regular file of at most a given size. Whatever is not a
// regular file (a FIFO without a writer, a device that streams forever, a
// folder) is refused without blocking, and a file over the bound is refused
// before a byte of it is read, so neither can cost more than the bound.
class BoundedFileReader {
 public:
  enum class Status { Ok, CannotOpen, NotRegularFile, TooLarge, ReadError, OutOfMemory };

  struct Result {
    Status status = Status::Ok;
    int error = 0;      // errno of the failed call
    uint64_t size = 0;  // the file's size where it is known
  };

  // `out` holds the bytes only when the status is Ok.
  static Result Read(const std::string& path, size_t maxBytes, std::string& out);
};

}  // namespace zanli
