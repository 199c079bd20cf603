#include "fileio/bounded_file_reader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <new>

namespace zanli {

BoundedFileReader::BoundedFileReader(const std::string& path, size_t maxBytes) : maxBytes_(maxBytes) {
  // Non-blocking, so that opening a FIFO nobody writes to returns at once
  // (and is then refused); a terminal must not become ours either.
  fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
  if (fd_ < 0) {
    result_ = {Status::CannotOpen, errno, 0};
    return;
  }
  struct stat st;
  if (::fstat(fd_, &st) != 0)
    result_ = {Status::ReadError, errno, 0};
  else if (!S_ISREG(st.st_mode))
    result_ = {Status::NotRegularFile, 0, 0};
  else if (static_cast<uint64_t>(st.st_size) > maxBytes)
    result_ = {Status::TooLarge, 0, static_cast<uint64_t>(st.st_size)};
  else
    result_.size = static_cast<uint64_t>(st.st_size);
}

BoundedFileReader::~BoundedFileReader() {
  if (fd_ >= 0) ::close(fd_);
}

size_t BoundedFileReader::ReadSome(char* out, size_t size) {
  if (result_.status != Status::Ok || size == 0) return 0;
  for (;;) {
    const ssize_t n = ::read(fd_, out, size);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      result_ = {Status::ReadError, errno, result_.size};
      return 0;
    }
    done_ += static_cast<uint64_t>(n);
    if (done_ > maxBytes_) {
      result_ = {Status::TooLarge, 0, done_};
      return 0;
    }
    return static_cast<size_t>(n);
  }
}

BoundedFileReader::Result BoundedFileReader::Read(const std::string& path, size_t maxBytes,
                                                  std::string& out) {
  out.clear();
  BoundedFileReader file(path, maxBytes);
  if (file.GetResult().status != Status::Ok) return file.GetResult();
  try {
    // One byte more than the bound shows a file that grew meanwhile.
    out.resize(static_cast<size_t>(file.GetResult().size) + 1);
    size_t have = 0;
    for (;;) {
      if (have == out.size()) out.resize(std::min(out.size() * 2, maxBytes + 1));
      const size_t n = file.ReadSome(out.data() + have, out.size() - have);
      if (n == 0) break;
      have += n;
    }
    if (file.GetResult().status != Status::Ok) return out.clear(), file.GetResult();
    out.resize(have);
  } catch (const std::bad_alloc&) {
    out.clear();
    out.shrink_to_fit();
    return {Status::OutOfMemory, ENOMEM, file.GetResult().size};
  }
  return file.GetResult();
}

}  // namespace zanli
