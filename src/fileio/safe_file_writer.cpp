#include "fileio/safe_file_writer.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <system_error>

namespace zanli {

namespace {

constexpr size_t kDefaultBufferSize = 64 * 1024;

int gFailAt = 0;
int gOperations = 0;
size_t gBufferSize = kDefaultBufferSize;

// Counts one low-level operation; true when the test hook makes it fail.
bool InjectedFault() {
  ++gOperations;
  if (gFailAt > 0 && --gFailAt == 0) {
    errno = EIO;
    return true;
  }
  return false;
}

std::string ResolveSymlinks(const std::string& path) {
  namespace fs = std::filesystem;
  std::error_code ec;
  fs::path p(path);
  for (int depth = 0; depth < 40; ++depth) {
    if (!fs::is_symlink(fs::symlink_status(p, ec))) break;
    fs::path link = fs::read_symlink(p, ec);
    if (ec) break;
    p = link.is_absolute() ? link : p.parent_path() / link;
  }
  return p.string();
}

bool WriteAll(int fd, const uint8_t* data, size_t size) {
  while (size > 0) {
    if (InjectedFault()) return false;
    ssize_t n = ::write(fd, data, size);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    data += n;
    size -= static_cast<size_t>(n);
  }
  return true;
}

// Keeps `from` under the name `to` without a moment where `to` is half made:
// a hard link (or a copy) under a temporary name, then a rename.
bool KeepBackup(const std::string& from, const std::string& to) {
  std::string staging = to + ".zanli-tmp";
  ::unlink(staging.c_str());
  bool made = false;
  if (InjectedFault()) return false;
  if (::link(from.c_str(), staging.c_str()) == 0) {
    made = true;
  } else {
    // File systems without hard links: copy instead.
    int in = ::open(from.c_str(), O_RDONLY | O_CLOEXEC);
    if (in < 0) return false;
    int out = ::open(staging.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (out >= 0) {
      uint8_t chunk[65536];
      made = true;
      for (;;) {
        ssize_t n = ::read(in, chunk, sizeof chunk);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 || (n > 0 && !WriteAll(out, chunk, static_cast<size_t>(n)))) {
          made = false;
          break;
        }
        if (n == 0) break;
      }
      if (::close(out) != 0) made = false;
    }
    ::close(in);
  }
  if (made && !InjectedFault() && ::rename(staging.c_str(), to.c_str()) == 0) return true;
  ::unlink(staging.c_str());
  return false;
}

}  // namespace

void SafeFileWriter::FailOperationForTesting(int n) {
  gFailAt = n;
  gOperations = 0;
}

int SafeFileWriter::OperationsForTesting() { return gOperations; }

void SafeFileWriter::SetBufferSizeForTesting(size_t size) { gBufferSize = size ? size : kDefaultBufferSize; }

SafeFileWriter::SafeFileWriter(std::string path) : path_(std::move(path)) {}

SafeFileWriter::~SafeFileWriter() { Discard(); }

bool SafeFileWriter::Open() {
  target_ = ResolveSymlinks(path_);
  std::random_device random;
  for (int attempt = 0; attempt < 16; ++attempt) {
    char suffix[32];
    std::snprintf(suffix, sizeof suffix, ".zanli-%08x.tmp", static_cast<unsigned>(random()));
    tempPath_ = target_ + suffix;
    if (InjectedFault()) return failed_ = true, false;
    fd_ = ::open(tempPath_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd_ >= 0) break;
    if (errno != EEXIST) break;
  }
  if (fd_ < 0) {
    tempPath_.clear();
    failed_ = true;
    return false;
  }
  // A replaced file keeps its permissions.
  struct stat st;
  if (::stat(target_.c_str(), &st) == 0) ::fchmod(fd_, st.st_mode & 07777);
  buffer_.reserve(gBufferSize);
  return true;
}

bool SafeFileWriter::Write(const void* data, size_t size) {
  if (failed_ || fd_ < 0) return false;
  const uint8_t* bytes = static_cast<const uint8_t*>(data);
  while (size > 0) {
    size_t room = gBufferSize - buffer_.size();
    size_t take = size < room ? size : room;
    buffer_.insert(buffer_.end(), bytes, bytes + take);
    bytes += take;
    size -= take;
    if (buffer_.size() >= gBufferSize && !Flush()) return false;
  }
  return true;
}

bool SafeFileWriter::Flush() {
  if (failed_ || fd_ < 0) return false;
  if (!buffer_.empty() && !WriteAll(fd_, buffer_.data(), buffer_.size())) failed_ = true;
  buffer_.clear();
  return !failed_;
}

bool SafeFileWriter::Commit(const std::string& backupPath) {
  if (!Flush()) return Discard(), false;
  if (InjectedFault() || ::fsync(fd_) != 0) return Discard(), false;
  int fd = fd_;
  fd_ = -1;
  if (InjectedFault()) {
    ::close(fd);
    return Discard(), false;
  }
  if (::close(fd) != 0) return Discard(), false;

  if (!backupPath.empty()) {
    struct stat st;
    if (::stat(target_.c_str(), &st) == 0) {
      if (!KeepBackup(target_, backupPath)) return Discard(), false;
    } else {
      ::unlink(backupPath.c_str());
    }
  }
  if (InjectedFault() || ::rename(tempPath_.c_str(), target_.c_str()) != 0) return Discard(), false;
  committed_ = true;
  tempPath_.clear();

  // Make the rename itself durable; the new file is complete either way.
  std::string dir = std::filesystem::path(target_).parent_path().string();
  int dfd = ::open(dir.empty() ? "." : dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dfd >= 0) {
    ::fsync(dfd);
    ::close(dfd);
  }
  return true;
}

void SafeFileWriter::Discard() {
  if (fd_ >= 0) {
    ::close(fd_);
    fd_ = -1;
  }
  if (!committed_ && !tempPath_.empty()) {
    ::unlink(tempPath_.c_str());
    tempPath_.clear();
  }
  failed_ = true;
}

bool ReadWholeFile(const std::string& path, std::string& out) {
  out.clear();
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  struct stat st;
  if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size > 0)
    out.reserve(static_cast<size_t>(st.st_size));
  char chunk[65536];
  bool ok = true;
  for (;;) {
    ssize_t n = ::read(fd, chunk, sizeof chunk);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      ok = false;
      break;
    }
    if (n == 0) break;
    out.append(chunk, static_cast<size_t>(n));
  }
  ::close(fd);
  return ok;
}

}  // namespace zanli
