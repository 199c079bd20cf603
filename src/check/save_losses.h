#pragma once

#include <functional>
#include <vector>

#include "check/check_report.h"
#include "check/library_format.h"
#include "fileio/text_library_sink.h"
#include "model/library.h"

namespace zanli {

// What saving a library in a format and opening the file again would change.
//
// The library is written by the format's own writer and read back by the
// format's own reader, and what comes back is compared with it entry by
// entry and pin by pin, so the answer never disagrees with what a save does.
// The text goes from one to the other a window at a time, never held whole,
// and is compared part by part as it is read, holding one part of it; only
// when its entries do not pair by position (one renamed, lost, added or
// sharing another body) is it read back whole and compared as the binary
// library is.
//
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
  // is linear in the library's size: one write and one read of it. Memory
  // is what the reader holds of what it reads back (for the text, its
  // patterns and entry names and one part; the whole library when compared
  // whole), which the report keeps in part when a change refers to it.
  // Without the memory for all that, the one problem SaveNotChecked: not
  // knowing is no refusal.
  static CheckReport Find(const Library& library, LibraryFormat format);
  // The same, added to `report` (which must refer to `library`).
  static void Find(const Library& library, LibraryFormat format, CheckReport& report);
  // The same by reading the file back whole and comparing the two libraries.
  static void FindWhole(const Library& library, LibraryFormat format, CheckReport& report);

  // One writing of the text that reads it back as it goes: writes the text
  // of the library given to JudgeText and reads it into `sink` with
  // TextLibraryFormat's reader, then sets what the writer made of it
  // (`written`, `refusals`) and what the reader gave (`back`). False when
  // there is nothing to judge (the file failed on the disk).
  using TextRound = std::function<bool(TextLibrarySink& sink, WriteFailure& written,
                                       std::vector<WriteProblem>& refusals, ReadResult& back)>;
  // Find for the text, with the writing and reading left to `round`, added
  // to `report`; the text is written a second time only when it must be
  // compared whole. CheckedSave's round is the file it saves.
  static void JudgeText(const Library& library, const TextRound& round, CheckReport& report);

  // The verdict once the format's writer has run (`written`: None, a
  // refusal with its `refusals`, or OutOfMemory) and its reader has read
  // what it wrote whole (`back`), added to `report` as FindWhole adds it.
  // CheckedSave gets both from the binary file it saves.
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
