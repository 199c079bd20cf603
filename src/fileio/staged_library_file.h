#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "fileio/library_file_result.h"
#include "model/library.h"

namespace zanli {

class SafeFileWriter;

// A file written beside its target but not yet in its place, so that a
// caller can still decide against it: Commit puts it in place in one atomic
// step (keeping the previous file under the backup path when there is one);
// without a commit, destruction removes it and the target stays as it was.
// LibraryFile's writes are this with the commit right after the write; the
// save check (CheckedSave) asks the user in between.
//
// Failures are results, never exceptions: running out of memory included.
class StagedLibraryFile {
 public:
  // Receives each piece of a library's bytes once the file has it.
  using Tap = std::function<void(std::string_view bytes)>;

  // A library file: the binary format keeps the previous file as ".$ib".
  StagedLibraryFile(const std::string& path, LibraryFormat format);
  // Any other file, with the previous one kept under `backupPath` if given.
  StagedLibraryFile(const std::string& path, const std::string& backupPath);
  ~StagedLibraryFile();
  StagedLibraryFile(const StagedLibraryFile&) = delete;
  StagedLibraryFile& operator=(const StagedLibraryFile&) = delete;

  // How the text is written: measured by a first pass that keeps nothing,
  // so that a text too large never reaches the disk; or in one pass that
  // refuses it once written, costing a temporary file that goes.
  enum class TextPasses { MeasureFirst, One };

  // Writes `library` in the format, refusing what the format cannot hold or
  // its reader could not read back, or a backup name the file system cannot
  // hold, before the disk sees a byte (but a text too large, after one
  // pass). The text goes to the file a piece at a time, never held whole;
  // the binary file is built in memory and written at once. Each piece
  // reaches `tap` only after the file took it, so the tap sees exactly the
  // file's bytes, unless a write failed.
  WriteResult WriteLibrary(const Library& library, const Tap& tap = {},
                           TextPasses passes = TextPasses::MeasureFirst);

  // The same for bytes made elsewhere: Open creates the temporary file,
  // Append adds to it; both false once anything failed (Result says what).
  bool Open();
  bool Append(std::string_view bytes);
  // None so far, or the first failure.
  WriteResult Result() const { return result_; }

  // Puts the written file in place; only after a write that succeeded.
  WriteResult Commit();

 private:
  bool Fail(WriteFailure failure, int error);
  bool FailFromWriter();

  std::string path_;
  std::string backupPath_;
  std::unique_ptr<SafeFileWriter> writer_;
  WriteResult result_;
};

}  // namespace zanli
