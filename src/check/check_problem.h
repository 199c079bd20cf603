#pragma once

#include <cstddef>
#include <cstdint>

#include "model/pin_info.h"

namespace zanli {

// How much a problem matters. Error: the save is refused, the saved file
// could not be opened again, or the part is wrong for a schematic (a pin
// number used twice in one block, a pin hidden under another). Warning: data
// changes on saving, or something the editor cannot show or reach as meant.
// Info: worth knowing, harmless (a pattern no part uses).
enum class CheckSeverity { Error, Warning, Info };

// What a problem is. Each kind has a fixed severity (SeverityOf) and a stable
// identifier (KindId) that scripts and the JSON output rely on; the comment
// says which fields of CheckProblem it fills besides the subject.
enum class CheckKind {
  // The binary writer refuses the library (message 103): value is what the
  // library needs, limit what the format holds (for ranges, the top).
  // "before" and "after" are the values CheckReport::Before and ::After give.
  RefusedPatternSide,       // pattern; before = "WxH"; a side outside 1..limit
  RefusedPatternImage,      // pattern; before = "WxH"; image bytes over limit
  RefusedBitmapArea,        // pattern whose images pass the area's limit
  RefusedXSize,             // part: xSize outside 1..limit
  RefusedYSize,             // part: ySize outside 1..limit
  RefusedBlockCount,        // part: blockCount outside 1..limit
  RefusedPinCount,          // part
  RefusedPartRecordSize,    // part: its record's bytes
  RefusedPinPosition,       // pin: position outside 0..limit
  RefusedPinNameLength,     // pin: stored characters
  RefusedPartRecordArea,    // part whose record passes the area's limit
  RefusedStringPool,        // the pattern, part, pin or entry whose string passes the limit
  RefusedEntryCount,        // no subject
  RefusedFileSize,          // no subject
  RefusedEntryWithoutBody,  // entry whose body is missing (message 104; the text writer too)
  // The file would be written but its reader would refuse it: nothing of it
  // could be opened again.
  UnreadableEmptyPartName,     // entry
  UnreadableEmptyPatternName,  // pattern
  UnreadablePartSize,          // part; before = "XxY", limit = the largest side read
  UnreadableBlockCount,        // part; value = blockCount, limit = the most blocks read
  UnreadablePatternSize,       // pattern; before = "WxH", limit = the largest side read
  UnreadableLongName,          // entry, pattern or part; value = the length, limit = the longest field read
  UnreadableTooLarge,          // no subject; value = what reading would build, limit = the budget
  Unreadable,                  // no cause found among the above; no subject
  // The save check could not run for want of memory: nothing is known about
  // what a save would change, and nothing says it cannot be done.
  SaveNotChecked,  // no subject
  // Saving and reading back changes the library (before -> after). The
  // "back" fields name where the changed value sits in the library the saved
  // file gives back.
  EntryLost,           // entry; before = its name
  EntryAdded,          // backEntry; after = the name that appears
  EntryRenamed,        // entry, backEntry; before, after = names
  AliasChanged,        // entry; partOf, backPartOf; before, after = their names ("" = its own body)
  PatternLost,         // pattern
  PatternAdded,        // backPattern; after = the name
  PatternRenamed,      // pattern, backPattern; before, after = names
  PatternSizeChanged,  // pattern, backPattern; before, after = "WxH"
  PatternBitsChanged,  // pattern; value = the first row that differs (1-based)
  PartPatternChanged,  // part, backEntry; before, after = pattern names ("" = none)
  PartSizeChanged,     // part, backEntry; before, after = "XxY"
  BlockCountChanged,   // part, backEntry; before, after = decimal
  PrefixChanged,       // part, backEntry; before, after = prefixes
  PinLost,             // pin
  PinAdded,            // part, backEntry, backPin; movedEdge and movedPosition = where the new pin sits
  PinMoved,            // pin; movedEdge and movedPosition = where it comes back
  PinNameChanged,      // pin, backEntry, backPin; before, after = names
  PinFlagsChanged,     // pin; value, limit = the flags before and after
  PinNumberChanged,    // pin and block, backEntry, backPin; before, after = the number strings
  // Design problems, found by LibraryCheck.
  PinOutsideBody,        // pin; limit = the edge's last position
  PinsAtOnePosition,     // the later pin at an edge and position already taken
  DuplicatePinNumber,    // the later pin and the block; before = the number text
  PartlyNumberedPin,     // pin; block = the first block without a number
  PatternTooSmall,       // part and its pattern; before = the pattern's "WxH", after = the body's "WxH"
  UnusedPattern,         // pattern
  InvalidPartName,       // entry
  DuplicatePartName,     // the later entry of the name
  InvalidPatternName,    // pattern
  DuplicatePatternName,  // the later pattern of the name
  PinNameUndrawable,     // pin; before = the name
  PinNumberUndrawable,   // pin and block; before = the number string
};

constexpr int kCheckKindCount = static_cast<int>(CheckKind::PinNumberUndrawable) + 1;

CheckSeverity SeverityOf(CheckKind kind);
// Whether the kind means the save cannot give a readable file at all (the
// writer refuses, or its reader would), rather than a change on the way.
bool IsSaveRefusal(CheckKind kind);
// The kind's stable name in lower case with underscores, e.g. "pin_number_changed".
const char* KindId(CheckKind kind);
// "error", "warning", "info".
const char* SeverityId(CheckSeverity severity);

// One problem: what, where, and the values involved. It holds no text: its
// subject is a place in the library checked (indexes into Library::entries,
// ::bodies and ::patterns, and the pin's index in its body), and a changed
// value is a place in the library the saved file gives back, which the
// CheckReport keeps. CheckReport::Before and ::After, and CheckProblemText,
// make the words from those places when the problem is shown, so a problem
// costs the same whatever the length of the names it concerns.
//
// The subject locates the problem so the editor can show it: entryIndex is
// the row in Library::entries to select (for a body, the part: the first
// entry naming it), pinEdge and pinPosition put the pin cursor on the pin.
// Fields that do not apply keep their defaults (kNone, 0).
struct CheckProblem {
  static constexpr size_t kNone = static_cast<size_t>(-1);

  CheckKind kind = CheckKind::Unreadable;

  size_t entryIndex = kNone;    // in Library::entries
  size_t bodyIndex = kNone;     // in Library::bodies; also for a body no entry names
  size_t patternIndex = kNone;  // in Library::patterns
  size_t pinIndex = kNone;      // in the body's pins
  PinEdge pinEdge = PinEdge::Left;
  int32_t pinPosition = 0;
  int32_t block = 0;  // 1-based; 0 when no block is concerned

  // AliasChanged: the entry whose body this one shares, kNone for its own.
  size_t partOf = kNone;
  // In the library the saved file gives back: the entry the subject's entry
  // becomes (or, for AliasChanged, the one whose body it shares there), the
  // pattern and the pin.
  size_t backEntryIndex = kNone;
  size_t backPartOf = kNone;
  size_t backPatternIndex = kNone;
  size_t backPinIndex = kNone;

  int64_t value = 0;
  int64_t limit = 0;
  PinEdge movedEdge = PinEdge::Left;
  int32_t movedPosition = 0;

  CheckSeverity Severity() const { return SeverityOf(kind); }
  bool HasEntry() const { return entryIndex != kNone; }
  bool HasPattern() const { return patternIndex != kNone; }
  bool HasPin() const { return pinIndex != kNone; }
};

}  // namespace zanli
