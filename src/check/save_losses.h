#pragma once

#include "check/check_report.h"
#include "check/library_format.h"
#include "model/library.h"

namespace zanli {

// What saving a library in a format and opening the file again would change.
//
// The library is written by the format's own writer and read back by the
// format's own reader (the text goes from one to the other a window at a
// time, never held whole), and the two libraries are compared entry by
// entry and pin by pin, so the answer never disagrees with what a save does.
// The editor asks before a save when the list is not empty; LibraryCheck
// lists the same problems for the format the library is saved in.
//
// Not reported, because no user can see them: the order of
// Library::bodies, bodies that no entry names, the padding bits of pattern
// rows, and an empty number string against a lone "D" (both show no number).
class SaveLosses {
 public:
  // Library::entries must be current, as for a save. The report is empty
  // when the save keeps everything. When the writer refuses, or the reader
  // would refuse the file, only the causes are reported (there is nothing to
  // compare); otherwise the changes follow in library order: patterns, then
  // each entry with its body and its pins, within the report's bound. Time
  // and memory are linear in the library's size: one write and one read of
  // it, and the library read back, which the report keeps when a change
  // refers to it.
  // Without the memory for all that, the one problem SaveNotChecked: not
  // knowing is no refusal.
  static CheckReport Find(const Library& library, LibraryFormat format);
  // The same, added to `report` (which must refer to `library`).
  static void Find(const Library& library, LibraryFormat format, CheckReport& report);

  // The verdict once the format's writer has run (`written`: None, a
  // refusal with its `refusals`, or OutOfMemory) and its reader has read
  // what it wrote (`back`), added to `report` as Find adds it. CheckedSave
  // gets both from the file it saves.
  static void Judge(const Library& library, LibraryFormat format, WriteFailure written,
                    const std::vector<WriteProblem>& refusals, ReadResult back, CheckReport& report);

 private:
  // Runs `check`, which throws std::bad_alloc when memory runs out.
  template <typename Check>
  static void Guarded(CheckReport& report, const Check& check);
  static void FindOrThrow(const Library& library, LibraryFormat format, CheckReport& report);
  static void JudgeOrThrow(const Library& library, LibraryFormat format, WriteFailure written,
                           const std::vector<WriteProblem>& refusals, ReadResult& back, CheckReport& report);
};

}  // namespace zanli
