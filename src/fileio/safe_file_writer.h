#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zanli {

// Writes a file so that a failure at any point leaves the previous file as it
// was: the new contents go to a temporary file beside the target, are flushed
// and synced, and only then replace the target by one atomic rename. There is
// no moment at which no file stands under the target's name. A symlinked
// target keeps its link: the file it points to is replaced.
class SafeFileWriter {
 public:
  explicit SafeFileWriter(std::string path);
  ~SafeFileWriter();  // removes the temporary file unless committed
  SafeFileWriter(const SafeFileWriter&) = delete;
  SafeFileWriter& operator=(const SafeFileWriter&) = delete;

  // Creates the temporary file. False when the directory is not writable.
  bool Open();
  // Buffered; false once any write has failed.
  bool Write(const void* data, size_t size);
  bool Write(std::string_view text) { return Write(text.data(), text.size()); }
  // Flushes, syncs and renames the temporary file onto the target. With a
  // backup path, the previous target (if any) is first kept under that name
  // by a hard link (a copy where links are impossible); when there is no
  // previous target a stale backup is removed. False leaves the target as it
  // was.
  bool Commit(const std::string& backupPath = {});

  // Test hooks. The n-th low-level file operation from now on (create, write,
  // sync, close, link, copy, rename; counted from 1) fails as an I/O error;
  // 0 turns the fault off. OperationsForTesting counts the operations done.
  static void FailOperationForTesting(int n);
  static int OperationsForTesting();
  static void SetBufferSizeForTesting(size_t size);  // 0 restores the default

 private:
  bool Flush();
  void Discard();

  std::string path_;
  std::string target_;  // path_ with symlinks resolved
  std::string tempPath_;
  int fd_ = -1;
  bool failed_ = false;
  bool committed_ = false;
  std::vector<uint8_t> buffer_;
};

// Reads a whole file into `out`. False when it cannot be opened or read.
bool ReadWholeFile(const std::string& path, std::string& out);

}  // namespace zanli
