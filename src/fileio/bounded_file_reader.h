#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace zanli {

// Reads a regular file of at most a given size, whole or piece by piece.
// Whatever is not a regular file (a FIFO without a writer, a device that
// streams forever, a folder) is refused without blocking, and a file over the
// bound is refused before a byte of it is read, so neither can cost more than
// the bound. A file that grows past the bound while it is read fails then.
class BoundedFileReader {
 public:
  enum class Status { Ok, CannotOpen, NotRegularFile, TooLarge, ReadError, OutOfMemory };

  struct Result {
    Status status = Status::Ok;
    int error = 0;      // errno of the failed call
    uint64_t size = 0;  // the file's size where it is known
  };

  // Opens `path`; GetResult() says whether it could.
  BoundedFileReader(const std::string& path, size_t maxBytes);
  ~BoundedFileReader();
  BoundedFileReader(const BoundedFileReader&) = delete;
  BoundedFileReader& operator=(const BoundedFileReader&) = delete;

  // Ok (with the size the file had when opened) until something fails.
  const Result& GetResult() const { return result_; }
  // Up to `size` further bytes into `out`; how many. 0 at the end of the
  // file and once anything has failed.
  size_t ReadSome(char* out, size_t size);

  // The whole file: `out` holds the bytes only when the status is Ok.
  static Result Read(const std::string& path, size_t maxBytes, std::string& out);

 private:
  int fd_ = -1;
  size_t maxBytes_;
  uint64_t done_ = 0;
  Result result_;
};

}  // namespace zanli
