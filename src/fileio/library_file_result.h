#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "model/library.h"

// The results of reading and writing library files: plain data, so the
// editor and zanli-cli can decide what to show. LibraryFileMessages turns
// them into the user's texts.
namespace zanli {

enum class LibraryFormat { Text, Binary };

enum class ReadFailure {
  None,
  CannotOpen,      // open() failed; `error` says why
  NotRegularFile,  // a FIFO, device, folder or socket: never read, so never blocks
  FileTooLarge,    // beyond the format's file size bound, refused unread
  ReadError,       // a read() failed; `error` says why
  Malformed,       // the bytes are not a library of the format
  OverBudget,      // the library would need more memory than its file justifies
  OutOfMemory,
};

struct ReadResult {
  // Set only on success: a library nobody else holds.
  std::unique_ptr<Library> library;
  ReadFailure failure = ReadFailure::None;
  int error = 0;  // errno where the system gave one
  LibraryFormat format = LibraryFormat::Binary;
  size_t sizeLimit = 0;  // the bound a FileTooLarge file passed
  // A text library whose closing line is missing: read, but maybe cut off.
  bool missingTrailer = false;

  bool Ok() const { return library != nullptr; }
};

// One reason a library cannot be written in a format, and where.
struct WriteProblem {
  enum class Kind {
    // The data is too large for the format (message 103).
    PatternSize,     // a side outside the format's range
    PatternImage,    // one pattern's stored image
    BitmapArea,      // the pattern images together
    BodySize,        // a size or the block count outside the format's range
    PinCount,        // pins of one body
    PinPosition,     // a pin position that does not fit a byte
    PinName,         // a pin name longer than its length byte can say
    PartRecord,      // one part record
    PartRecordArea,  // the part records together
    StringPool,      // the strings together
    EntryCount,      // parts and aliases together
    FileSize,        // the whole file
    ReadBudget,      // what the text reader would build from the file
    // The library contradicts itself (message 104).
    MissingBody,  // an entry whose body is not in the library
    // The format's reader would refuse the file (message 104 with the names).
    EmptyEntryName,
    EmptyPatternName,
    LongName,  // a name or pin field longer than the reader takes
  };
  enum class Subject { Library, Entry, Pattern, Body };

  Kind kind = Kind::FileSize;
  Subject subject = Subject::Library;
  size_t index = 0;      // position in Library::entries, ::patterns or ::bodies
  std::string name;      // the subject's name: Shift-JIS bytes, as in the model
  std::string partName;  // for an alias: its part's name, likewise
  int64_t value = 0;     // the size, count or position found
  int64_t limit = 0;     // the most the format takes (the least, for a size below 1)
  // For a pin's position or name: its place in the body's pins.
  static constexpr size_t kNoPin = static_cast<size_t>(-1);
  size_t pinIndex = kNoPin;
};

enum class WriteFailure {
  None,
  TooLarge,      // message 103; `problems` say which limit, where
  Inconsistent,  // message 104
  Unreadable,    // the reader would refuse the file; `problems` name the entries
  OutOfMemory,
  NotRegularFile,     // the target is a FIFO, device, folder or socket
  SymlinkLoop,        // the target's name leads into a loop of links
  ReadOnly,           // the target may not be written; Save As still can
  FolderNotWritable,  // no new file can be made in the target's folder
  BackupFailed,       // the previous file could not be kept as ".$ib"; nothing changed
  BackupNameTooLong,  // the ".$ib" name would not fit the file system: refused before writing
  WriteFailed,        // message 105; `error` says why
};

struct WriteResult {
  WriteFailure failure = WriteFailure::None;
  int error = 0;  // errno where the system gave one
  LibraryFormat format = LibraryFormat::Binary;
  std::vector<WriteProblem> problems;

  bool Ok() const { return failure == WriteFailure::None; }
};

}  // namespace zanli
