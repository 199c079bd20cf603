#include "fileio/safe_file_writer.h"

#include <dirent.h>
#include <fcntl.h>
#include <limits.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <memory>
#include <new>
#include <random>

namespace zanli {

namespace {

constexpr size_t kDefaultBufferSize = 64 * 1024;
constexpr int kMaxLinkHops = 40;

int gFailAt = 0;
int gCrashAt = 0;
int gOperations = 0;
size_t gBufferSize = kDefaultBufferSize;
bool gAllowUnnamed = true;

// Counts one low-level operation; true when the test hook makes it fail.
bool InjectedFault() {
  ++gOperations;
  if (gCrashAt > 0 && gOperations == gCrashAt) ::_exit(SafeFileWriter::kCrashExitCode);
  if (gFailAt > 0 && gOperations == gFailAt) {
    errno = EIO;
    return true;
  }
  return false;
}

// The system calls a save makes, each counted by the test hook.
int Stat(const std::string& path, struct stat& st) {
  return InjectedFault() ? -1 : ::stat(path.c_str(), &st);
}
int Link(const std::string& from, const std::string& to) {
  return InjectedFault() ? -1 : ::link(from.c_str(), to.c_str());
}
int Rename(const std::string& from, const std::string& to) {
  return InjectedFault() ? -1 : ::rename(from.c_str(), to.c_str());
}
int Close(int fd) {
  if (InjectedFault()) {
    ::close(fd);
    errno = EIO;
    return -1;
  }
  return ::close(fd);
}
int Sync(int fd) { return InjectedFault() ? -1 : ::fsync(fd); }
int Unlink(const std::string& path) { return InjectedFault() ? -1 : ::unlink(path.c_str()); }
int Create(const std::string& path, int flags) {
  return InjectedFault() ? -1 : ::open(path.c_str(), flags | O_CLOEXEC, 0666);
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

std::string FolderOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

std::string NameOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string Join(const std::string& folder, const std::string& name) {
  return folder == "/" ? "/" + name : folder + "/" + name;
}

// Follows the links of the last component, as opening the path would; a
// chain that does not end in kMaxLinkHops is left where it stopped (stat has
// already refused loops).
std::string ResolveSymlinks(std::string path) {
  for (int hop = 0; hop < kMaxLinkHops; ++hop) {
    struct stat st;
    if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) break;
    std::string link(static_cast<size_t>(st.st_size > 0 ? st.st_size : 4096), '\0');
    const ssize_t n = ::readlink(path.c_str(), link.data(), link.size());
    if (n <= 0 || static_cast<size_t>(n) > link.size()) break;
    link.resize(static_cast<size_t>(n));
    path = link[0] == '/' ? link : Join(FolderOf(path), link);
  }
  return path;
}

uint64_t Fnv1a(std::string_view text) {
  uint64_t hash = 14695981039346656037ull;
  for (unsigned char c : text) hash = (hash ^ c) * 1099511628211ull;
  return hash;
}

// This machine, as the temporary names tell it: processes of another one
// sharing the folder are not ours to judge.
uint32_t HostTag() {
  char host[256] = {};
  if (::gethostname(host, sizeof host - 1) != 0) return 0;
  return static_cast<uint32_t>(Fnv1a(host));
}

// The temporary names of one target: ".zanli-", 16 hex digits of a hash of
// its name, "-", 8 of the host, 8 of the process that owns it, 8 random ones,
// ".tmp": 59 bytes whatever the name. The owner in the name is what lets
// one save tidy up after another that crashed without touching the files of
// one that is running.
std::string TemporaryPrefix(const std::string& targetName) {
  char prefix[32];
  std::snprintf(prefix, sizeof prefix, ".zanli-%016llx-", static_cast<unsigned long long>(Fnv1a(targetName)));
  return prefix;
}

std::string TemporaryName(const std::string& targetName) {
  static std::mt19937 random{std::random_device{}() ^ static_cast<unsigned>(::getpid())};
  char suffix[40];
  std::snprintf(suffix, sizeof suffix, "%08x-%08x-%08x.tmp", static_cast<unsigned>(HostTag()),
                static_cast<unsigned>(::getpid()), static_cast<unsigned>(random()));
  return TemporaryPrefix(targetName) + suffix;
}

bool IsHex(std::string_view text) {
  for (char c : text)
    if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'))) return false;
  return true;
}

uint32_t HexValue(std::string_view digits) {
  uint32_t value = 0;
  for (char c : digits) value = value * 16 + static_cast<uint32_t>(c <= '9' ? c - '0' : c - 'a' + 10);
  return value;
}

// How long a temporary of another machine may sit untouched before it
// counts as left by a crash: far longer than any save takes.
constexpr time_t kForeignTemporaryAge = 24 * 60 * 60;

// Whether `name` is a temporary file of `targetName` that no running save
// can own: one of this host whose process has ended, one of another host
// untouched for a day, or one of the names earlier versions used
// (".zanli-HASH-XXXXXXXX.tmp", "NAME.zanli-XXXXXXXX.tmp", "NAME.zanli-tmp"),
// which tell no owner.
bool IsStaleTemporaryOf(const std::string& folder, std::string_view name, const std::string& targetName) {
  const std::string prefix = TemporaryPrefix(targetName);
  const bool ours = name.size() > prefix.size() && name.substr(0, prefix.size()) == prefix &&
                    name.substr(name.size() - 4) == ".tmp";
  const std::string_view tags = ours ? name.substr(prefix.size(), name.size() - prefix.size() - 4) : "";
  if (tags.size() == 26 && tags[8] == '-' && tags[17] == '-' && IsHex(tags.substr(0, 8)) &&
      IsHex(tags.substr(9, 8)) && IsHex(tags.substr(18))) {
    const auto pid = static_cast<pid_t>(HexValue(tags.substr(9, 8)));
    if (HexValue(tags.substr(0, 8)) == HostTag())
      return pid != ::getpid() && ::kill(pid, 0) != 0 && errno == ESRCH;
    struct stat st;
    return ::lstat(Join(folder, std::string(name)).c_str(), &st) == 0 &&
           st.st_ctime + kForeignTemporaryAge < ::time(nullptr);
  }
  if (tags.size() == 8 && IsHex(tags)) return true;
  const std::string legacy = targetName + ".zanli-";
  if (name.size() == legacy.size() + 12 && name.substr(0, legacy.size()) == legacy &&
      name.substr(name.size() - 4) == ".tmp" && IsHex(name.substr(legacy.size(), 8)))
    return true;
  return name == targetName + ".zanli-tmp";
}

// Removes what IsStaleTemporaryOf finds for any of `targetNames` in `folder`.
void RemoveTemporariesOf(const std::string& folder, const std::vector<std::string>& targetNames) {
  // Closed however the scan ends: collecting names may run out of memory.
  const std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(folder.c_str()), ::closedir);
  if (!dir) return;
  std::vector<std::string> stale;
  while (const dirent* entry = ::readdir(dir.get()))
    for (const std::string& target : targetNames)
      if (IsStaleTemporaryOf(folder, entry->d_name, target)) stale.emplace_back(entry->d_name);
  for (const std::string& name : stale) ::unlink(Join(folder, name).c_str());
}

bool CopyFile(const std::string& from, const std::string& to) {
  const int in = ::open(from.c_str(), O_RDONLY | O_CLOEXEC);
  if (in < 0) return false;
  const int out = Create(to, O_WRONLY | O_CREAT | O_EXCL);
  bool ok = out >= 0;
  static uint8_t chunk[65536];
  while (ok) {
    const ssize_t n = ::read(in, chunk, sizeof chunk);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      ok = n == 0;
      break;
    }
    ok = WriteAll(out, chunk, static_cast<size_t>(n));
  }
  int error = errno;
  if (ok && Sync(out) != 0) ok = false, error = errno;
  if (out >= 0 && Close(out) != 0 && ok) ok = false, error = errno;
  ::close(in);
  if (!ok && out >= 0) ::unlink(to.c_str());
  errno = error;
  return ok;
}

// Errors that say hard links are not to be had here, rather than that
// something went wrong.
bool CannotLink(int error) {
  return error == EXDEV || error == EPERM || error == EMLINK || error == EOPNOTSUPP || error == ENOSYS;
}

bool IsPermissionError(int error) { return error == EACCES || error == EPERM || error == EROFS; }

}  // namespace

size_t SafeFileWriter::LongestName(const std::string& folder) {
  errno = 0;
  const long longest = ::pathconf(folder.c_str(), _PC_NAME_MAX);
  return longest > 0 ? static_cast<size_t>(longest) : NAME_MAX;
}

bool SafeFileWriter::NameFits(const std::string& path) {
  return NameOf(path).size() <= LongestName(FolderOf(path)) && path.size() < PATH_MAX;
}

void SafeFileWriter::FailOperationForTesting(int n) {
  gFailAt = n;
  gCrashAt = 0;
  gOperations = 0;
}

void SafeFileWriter::CrashAtOperationForTesting(int n) {
  gCrashAt = n;
  gFailAt = 0;
  gOperations = 0;
}

int SafeFileWriter::OperationsForTesting() { return gOperations; }

void SafeFileWriter::SetBufferSizeForTesting(size_t size) { gBufferSize = size ? size : kDefaultBufferSize; }

void SafeFileWriter::AllowUnnamedTemporaryForTesting(bool allow) { gAllowUnnamed = allow; }

SafeFileWriter::SafeFileWriter(std::string path) : path_(std::move(path)) {}

SafeFileWriter::~SafeFileWriter() { Discard(); }

bool SafeFileWriter::Fail(Failure failure, int error) {
  if (failure_ == Failure::None) {
    failure_ = failure;
    error_ = error;
  }
  Discard();
  return false;
}

bool SafeFileWriter::Open() {
  struct stat st;
  const bool exists = Stat(path_, st) == 0;
  if (!exists) {
    // No file yet is fine (the folder may still be missing: creating says
    // so); any other answer means the target cannot be judged safely.
    if (errno == ELOOP) return Fail(Failure::SymlinkLoop, errno);
    if (errno != ENOENT) return Fail(Failure::WriteFailed, errno);
  } else if (!S_ISREG(st.st_mode)) {
    // Replacing a FIFO or a device by a regular file would break whatever
    // uses it; a folder cannot be replaced at all.
    return Fail(Failure::NotRegularFile, 0);
  } else if ((st.st_mode & 0222) == 0 || ::faccessat(AT_FDCWD, path_.c_str(), W_OK, AT_EACCESS) != 0) {
    // The folder may allow replacing it, but the owner (or the mode) says no.
    return Fail(Failure::ReadOnly, (st.st_mode & 0222) == 0 ? EACCES : errno);
  }
  target_ = ResolveSymlinks(path_);
  folder_ = FolderOf(target_);
  if (!CreateTemporary(folder_)) return false;
  // A replaced file keeps its permissions.
  if (exists) ::fchmod(fd_, st.st_mode & 07777);
  buffer_.reserve(gBufferSize);
  return true;
}

bool SafeFileWriter::CreateTemporary(const std::string& folder) {
  if (gAllowUnnamed) {
    fd_ = Create(folder, O_TMPFILE | O_WRONLY);
    if (fd_ >= 0) {
      // It can be named later only through /proc; without it, use a name now.
      char self[64];
      std::snprintf(self, sizeof self, "/proc/self/fd/%d", fd_);
      if (::access(self, F_OK) == 0) {
        unnamed_ = true;
        return true;
      }
      ::close(fd_);
      fd_ = -1;
    } else if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL) {
      // Unnamed files are supported, so this is the folder's answer.
      return Fail(IsPermissionError(errno) ? Failure::FolderNotWritable : Failure::WriteFailed, errno);
    }
  }
  const std::string name = NameOf(target_);
  for (int attempt = 0; attempt < 16; ++attempt) {
    tempPath_ = Join(folder, TemporaryName(name));
    fd_ = Create(tempPath_, O_WRONLY | O_CREAT | O_EXCL);
    if (fd_ >= 0) return true;
    if (errno != EEXIST) break;
  }
  const int error = errno;
  tempPath_.clear();
  return Fail(IsPermissionError(error) ? Failure::FolderNotWritable : Failure::WriteFailed, error);
}

bool SafeFileWriter::Write(const void* data, size_t size) {
  if (failure_ != Failure::None) return false;
  if (fd_ < 0) return Fail(Failure::WriteFailed, EBADF);  // not opened
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
  if (failure_ != Failure::None) return false;
  if (fd_ < 0) return Fail(Failure::WriteFailed, EBADF);
  if (!buffer_.empty() && !WriteAll(fd_, buffer_.data(), buffer_.size()))
    return Fail(Failure::WriteFailed, errno);
  buffer_.clear();
  return true;
}

bool SafeFileWriter::Commit(const std::string& backupPath) {
  if (!Flush()) return false;
  if (Sync(fd_) != 0) return Fail(Failure::WriteFailed, errno);
  if (!backupPath.empty() && !KeepBackup(backupPath)) return false;
  if (unnamed_ && !NameTemporary()) return false;
  const int fd = fd_;
  fd_ = -1;
  if (Close(fd) != 0) return Fail(Failure::WriteFailed, errno);
  if (Rename(tempPath_, target_) != 0) return Fail(Failure::WriteFailed, errno);
  committed_ = true;
  tempPath_.clear();
  if (removeBackup_) Unlink(backupPath);

  // Make the rename itself durable; the new file is complete either way.
  const int folder = ::open(folder_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (folder >= 0) {
    ::fsync(folder);
    ::close(folder);
  }
  // Tidying up is no part of the save: the file is in place, whatever happens.
  try {
    RemoveStaleTemporaries(backupPath);
  } catch (const std::bad_alloc&) {
  }
  return true;
}

bool SafeFileWriter::NameTemporary() {
  char self[64];
  std::snprintf(self, sizeof self, "/proc/self/fd/%d", fd_);
  const std::string name = NameOf(target_);
  for (int attempt = 0; attempt < 16; ++attempt) {
    tempPath_ = Join(folder_, TemporaryName(name));
    if (InjectedFault()) break;
    if (::linkat(AT_FDCWD, self, AT_FDCWD, tempPath_.c_str(), AT_SYMLINK_FOLLOW) == 0) {
      unnamed_ = false;
      return true;
    }
    if (errno != EEXIST) break;
  }
  const int error = errno;
  tempPath_.clear();
  return Fail(Failure::WriteFailed, error);
}

bool SafeFileWriter::KeepBackup(const std::string& backupPath) {
  struct stat st;
  if (Stat(target_, st) != 0) {
    if (errno != ENOENT) return Fail(Failure::BackupFailed, errno);
    // Surely no previous file: a backup of something else would mislead,
    // but it goes only once the new file stands, in case it is all there is.
    removeBackup_ = true;
    return true;
  }
  // Kept under a temporary name first, so the backup is never half made.
  std::string staging;
  bool made = false;
  for (int attempt = 0; attempt < 16 && !made; ++attempt) {
    staging = Join(FolderOf(backupPath), TemporaryName(NameOf(backupPath)));
    // File systems without hard links (or a target on another one): a copy.
    made = Link(target_, staging) == 0 || (CannotLink(errno) && CopyFile(target_, staging));
    if (!made && errno != EEXIST) break;
  }
  if (made && Rename(staging, backupPath) == 0) {
    // A backup that is already a link to the target (a save that failed
    // after this step) makes the rename a no-op that leaves the staging link.
    ::unlink(staging.c_str());
    return true;
  }
  const int error = errno;
  if (made) ::unlink(staging.c_str());
  return Fail(Failure::BackupFailed, error);
}

void SafeFileWriter::RemoveStaleTemporaries(const std::string& backupPath) const {
  RemoveTemporariesOf(folder_, {NameOf(target_)});
  if (!backupPath.empty()) RemoveTemporariesOf(FolderOf(backupPath), {NameOf(backupPath)});
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
}

}  // namespace zanli
