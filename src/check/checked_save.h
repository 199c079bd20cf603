#pragma once

#include <string>

#include "check/check_report.h"
#include "check/library_format.h"
#include "fileio/staged_library_file.h"
#include "model/library.h"

namespace zanli {

// A save that checks the very file it writes, in one pass of work: the
// library is written once, to the temporary file that is to replace the
// target, and the format's reader reads those same bytes back as they are
// written (the text written on a second thread and fed through a BytePipe
// to SaveLosses::JudgeText, which compares it part by part as it comes; the
// binary file, built in memory, right after, for SaveLosses::Judge). The caller
// learns what the save would change before the target does:
//   CheckedSave save(path, library, format);
//   if (!save.Written().Ok())  -> LibraryFileMessages::WriteFailure; nothing changed
//   ask about save.Losses(), then save.Commit() (the same result as
//   LibraryFile::Write) or let it go (the target stays, the temporary file
//   is removed)
//
// Losses() is what SaveLosses::Find reports for the library and format: a
// writer's refusal, the reader's, the changes, or SaveNotChecked when
// memory ran out. After a write that failed on the disk it is empty: there
// is no file to judge. The library must stay as it is while the save lives.
//
// The text is written in one pass, so a text too large for the reader is
// refused once written, at the cost of a temporary file that goes. The
// text is read back and compared on the calling thread.
class CheckedSave {
 public:
  CheckedSave(const std::string& path, const Library& library, LibraryFormat format);
  CheckedSave(const CheckedSave&) = delete;
  CheckedSave& operator=(const CheckedSave&) = delete;

  const WriteResult& Written() const { return written_; }
  const CheckReport& Losses() const { return losses_; }

  // Puts the file in place (the binary format keeping the previous one as
  // ".$ib"); only once.
  WriteResult Commit();

 private:
  void WriteText(const Library& library);
  void WriteBinary(const Library& library);

  StagedLibraryFile file_;
  WriteResult written_;
  CheckReport losses_;
};

}  // namespace zanli
