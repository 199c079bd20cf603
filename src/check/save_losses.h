#pragma once

#include <vector>

#include "check/check_problem.h"
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
  // Library::entries must be current, as for a save. The result is empty when
  // the save keeps everything. When the writer refuses, or the reader would
  // refuse the file, only the causes are reported (there is nothing to
  // compare); otherwise the changes follow in library order: patterns, then
  // each entry with its body and its pins. Time and memory are linear in the
  // library's size: one write and one read of it, and a second library while
  // it runs.
  // Without the memory for that, the one problem RefusedWrite.
  static std::vector<CheckProblem> Find(const Library& library, LibraryFormat format);

 private:
  static std::vector<CheckProblem> FindOrThrow(const Library& library, LibraryFormat format);
};

}  // namespace zanli
