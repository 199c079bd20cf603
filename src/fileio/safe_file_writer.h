#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zanli {

// Writes a file so that a failure at any point leaves the previous file as it
// was: the new contents go to a temporary file in the target's folder, are
// flushed and synced, and only then replace the target by one atomic rename.
// There is no moment at which no file stands under the target's name.
//
// The temporary file has no name until it is complete (where the file system
// allows unnamed files), so a crash leaves nothing behind; otherwise, and for
// the moment between naming it and the rename, it is a hidden
// ".zanli-<hash of the target's name>-<host>-<process>-<random>.tmp" of fixed
// length, which fits beside any target name. The next successful save of
// that target removes the ones a crash left: those whose process has ended
// (or, from another host, untouched for a day), never one that a save
// running at the same moment still owns.
//
// Only a regular file is replaced: a FIFO, device, folder, a loop of links or
// a file the user may not write is refused before anything changes. A
// symlinked target keeps its link: the file it points to is replaced.
class SafeFileWriter {
 public:
  enum class Failure {
    None,
    NotRegularFile,
    SymlinkLoop,
    ReadOnly,
    FolderNotWritable,
    BackupFailed,  // the previous file could not be kept; nothing changed
    WriteFailed,
  };

  explicit SafeFileWriter(std::string path);
  ~SafeFileWriter();  // removes the temporary file unless committed
  SafeFileWriter(const SafeFileWriter&) = delete;
  SafeFileWriter& operator=(const SafeFileWriter&) = delete;

  // Checks the target and creates the temporary file; false says why in
  // GetFailure and Error.
  bool Open();
  // Buffered; false once any write has failed.
  bool Write(const void* data, size_t size);
  bool Write(std::string_view text) { return Write(text.data(), text.size()); }
  // Flushes, syncs and renames the temporary file onto the target. With a
  // backup path, the previous target (if any) is first kept under that name
  // by a hard link (a copy where links are impossible); any error in doing
  // so, including one asking whether there is a previous target, fails the
  // commit before the target changes. When there is surely no previous
  // target, a stale backup is removed once the new file stands. False leaves
  // the target and the backup as they were.
  bool Commit(const std::string& backupPath = {});

  Failure GetFailure() const { return failure_; }

  // Whether a file of that name can exist: its last component within what
  // its folder's file system takes (NAME_MAX where that cannot be asked) and
  // the whole path within PATH_MAX.
  static bool NameFits(const std::string& path);
  static size_t LongestName(const std::string& folder);
  int Error() const { return error_; }  // errno of the failed call, 0 if none

  // Test hooks. The n-th low-level file operation from now on (stat, create,
  // write, sync, link, copy, close, rename, unlink; counted from 1) fails as
  // an I/O error, or with CrashAtOperationForTesting ends the process on the
  // spot with exit code kCrashExitCode, as a kill would; 0 turns the fault
  // off. OperationsForTesting counts the operations done.
  static constexpr int kCrashExitCode = 86;
  static void FailOperationForTesting(int n);
  static void CrashAtOperationForTesting(int n);
  static int OperationsForTesting();
  static void SetBufferSizeForTesting(size_t size);  // 0 restores the default
  // Whether a temporary file could be made without a name; false forces the
  // named way, as on file systems that lack unnamed files.
  static void AllowUnnamedTemporaryForTesting(bool allow);

 private:
  bool Fail(Failure failure, int error);
  bool CreateTemporary(const std::string& folder);
  bool NameTemporary();
  bool KeepBackup(const std::string& backupPath);
  void RemoveStaleTemporaries(const std::string& backupPath) const;
  bool Flush();
  void Discard();

  std::string path_;
  std::string target_;  // path_ with symlinks resolved
  std::string folder_;  // target_'s folder
  std::string tempPath_;
  int fd_ = -1;
  bool unnamed_ = false;
  bool removeBackup_ = false;
  bool committed_ = false;
  Failure failure_ = Failure::None;
  int error_ = 0;
  std::vector<uint8_t> buffer_;
};

}  // namespace zanli
