#include "fileio/binary_library_format.h"

#include <new>

#include "fileio/binary_library_layout.h"
#include "fileio/binary_library_reader.h"
#include "fileio/binary_library_writer.h"
#include "fileio/library_file.h"

namespace zanli {

ReadResult BinaryLibraryFormat::Decode(std::string_view bytes) {
  ReadResult result;
  result.format = LibraryFormat::Binary;
  if (bytes.size() > binary_layout::kMaxReadSize) {
    result.failure = ReadFailure::FileTooLarge;
    return result;
  }
  try {
    auto library = std::make_unique<Library>();
    BinaryLibraryReader reader(bytes, *library);
    if (reader.Read())
      result.library = std::move(library);
    else
      result.failure = reader.OverBudget() ? ReadFailure::OverBudget : ReadFailure::Malformed;
  } catch (const std::bad_alloc&) {
    result.failure = ReadFailure::OutOfMemory;
  }
  return result;
}

bool BinaryLibraryFormat::ReadBytes(std::string_view bytes, Library& library) {
  ReadResult result = Decode(bytes);
  if (!result.Ok()) return false;
  LibraryFile::ReplaceContents(library, *result.library);
  return true;
}

BinaryWriteResult BinaryLibraryFormat::Encode(const Library& library, std::string& out,
                                              WriteProblem* problem) {
  std::string bytes;
  BinaryLibraryWriter writer(library);
  const BinaryWriteResult result = writer.Encode(bytes);
  if (result == BinaryWriteResult::Ok)
    out = std::move(bytes);
  else if (problem != nullptr)
    *problem = writer.Problem();
  return result;
}

std::string BinaryLibraryFormat::BackupPath(const std::string& path) {
  const size_t slash = path.rfind('/');
  const size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
  const size_t dot = path.rfind('.');
  const bool hasExtension = dot != std::string::npos && dot >= nameStart;
  return (hasExtension ? path.substr(0, dot) : path) + ".$ib";
}

bool BinaryLibraryFormat::Read(const std::string& path, Library& library) {
  ReadResult result = LibraryFile::Read(path, LibraryFormat::Binary);
  if (!result.Ok()) return false;
  LibraryFile::ReplaceContents(library, *result.library);
  return true;
}

BinaryWriteResult BinaryLibraryFormat::Write(const std::string& path, const Library& library) {
  switch (LibraryFile::Write(path, library, LibraryFormat::Binary).failure) {
    case WriteFailure::None:
      return BinaryWriteResult::Ok;
    case WriteFailure::TooLarge:
      return BinaryWriteResult::TooLarge;
    case WriteFailure::Inconsistent:
      return BinaryWriteResult::Inconsistent;
    default:
      return BinaryWriteResult::WriteFailed;
  }
}

}  // namespace zanli
