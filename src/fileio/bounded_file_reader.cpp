#include "fileio/bounded_file_reader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <new>

namespace zanli {

namespace {

class FileDescriptor {
 public:
  explicit FileDescriptor(int fd) : fd_(fd) {}
  ~FileDescriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  int get() const { return fd_; }

 private:
  int fd_;
};

}  // namespace

BoundedFileReader::Result BoundedFileReader::Read(const std::string& path, size_t maxBytes,
                                                  std::string& out) {
  out.clear();
  Result result;
  // Non-blocking, so that opening a FIFO nobody writes to returns at once
  // (and is then refused); a terminal must not become ours either.
  const FileDescriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
  if (file.get() < 0) return {Status::CannotOpen, errno, 0};
  struct stat st;
  if (::fstat(file.get(), &st) != 0) return {Status::ReadError, errno, 0};
  if (!S_ISREG(st.st_mode)) return {Status::NotRegularFile, 0, 0};
  result.size = static_cast<uint64_t>(st.st_size);
  if (result.size > maxBytes) return {Status::TooLarge, 0, result.size};
  try {
    // One byte more than the bound shows a file that grew meanwhile.
    out.resize(static_cast<size_t>(result.size) + 1);
    size_t have = 0;
    for (;;) {
      if (have == out.size()) {
        if (out.size() > maxBytes) return out.clear(), Result{Status::TooLarge, 0, have};
        out.resize(std::min(out.size() * 2, maxBytes + 1));
      }
      const ssize_t n = ::read(file.get(), out.data() + have, out.size() - have);
      if (n < 0 && errno == EINTR) continue;
      if (n < 0) return out.clear(), Result{Status::ReadError, errno, result.size};
      if (n == 0) break;
      have += static_cast<size_t>(n);
    }
    if (have > maxBytes) return out.clear(), Result{Status::TooLarge, 0, have};
    out.resize(have);
  } catch (const std::bad_alloc&) {
    out.clear();
    out.shrink_to_fit();
    return {Status::OutOfMemory, ENOMEM, result.size};
  }
  return result;
}

}  // namespace zanli
