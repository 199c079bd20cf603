#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

#include "fileio/library_file_result.h"
#include "model/library.h"

namespace zanli {

// Library files: the one place that picks the format by the file's name,
// checks the file itself, reads or writes it with the format's codec and
// says why it failed. The editor and zanli-cli both go through it, and
// LibraryFileMessages turns its results into the user's texts.
//
// Reading never touches a library anyone holds: a fresh one comes back, and
// only on success.
//   ReadResult read = LibraryFile::Read(path);
//   if (!read.Ok())  -> LibraryFileMessages::ReadFailure(read, shownPath); the open library stays
//   else             -> take *read.library (LibraryFile::ReplaceContents into one that must stay
//                       where it is); if read.missingTrailer, LibraryFileMessages::MissingTrailer()
//
// Writing refuses, before anything on disk changes, what the format cannot
// hold or its reader could not read back, and targets that are not a
// writable regular file (symlinks to one are followed). A binary save keeps
// the previous file as ".$ib" and stops if it cannot.
//   WriteResult written = LibraryFile::Write(path, library);
//   if (!written.Ok()) -> LibraryFileMessages::WriteFailure(written, shownPath, decodeName)
//
// Failures are results, never exceptions: running out of memory included.
class LibraryFile {
 public:
  // ".LB3" in any case is the text format; every other name is binary.
  static LibraryFormat FormatOf(std::string_view path);
  // The largest file of the format that is read at all.
  static size_t MaxFileSize(LibraryFormat format);

  static ReadResult Read(const std::string& path);
  static ReadResult Read(const std::string& path, LibraryFormat format);

  static WriteResult Write(const std::string& path, const Library& library);
  static WriteResult Write(const std::string& path, const Library& library, LibraryFormat format);

  // Any other file (a clipboard block, say) with the same care: LoadBytes
  // reads a regular file of at most `maxBytes` (the result's failure says
  // why not; it carries no library); SaveBytes replaces the file as Write
  // does, keeping the previous one under `backupPath` when one is given.
  static ReadResult LoadBytes(const std::string& path, size_t maxBytes, std::string& out);
  static WriteResult SaveBytes(const std::string& path, std::string_view bytes,
                               const std::string& backupPath = {});
  // SaveBytes for a file made piece by piece, never held whole: `produce`
  // writes through the function it is given (false once a write failed) and
  // returns whether it finished. Only a finished file replaces the previous
  // one; when `produce` gives up without a failed write, nothing changes and
  // the result is Ok (the caller knows it gave up).
  using ByteWriter = std::function<bool(std::string_view bytes)>;
  static WriteResult SaveStreamed(const std::string& path,
                                  const std::function<bool(const ByteWriter&)>& produce);

  // Clears `target` (document fields included) and moves the patterns,
  // bodies and entries of `source` into it.
  static void ReplaceContents(Library& target, Library& source);
};

}  // namespace zanli
