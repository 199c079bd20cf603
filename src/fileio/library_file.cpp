#include "fileio/library_file.h"

#include <cerrno>
#include <new>

#include "fileio/binary_library_format.h"
#include "fileio/binary_library_layout.h"
#include "fileio/bounded_file_reader.h"
#include "fileio/staged_library_file.h"
#include "fileio/text_library_budget.h"
#include "fileio/text_library_format.h"
#include "fileio/text_line_reader.h"

namespace zanli {

namespace {

ReadFailure FailureOf(BoundedFileReader::Status status) {
  switch (status) {
    case BoundedFileReader::Status::Ok:
      return ReadFailure::None;
    case BoundedFileReader::Status::CannotOpen:
      return ReadFailure::CannotOpen;
    case BoundedFileReader::Status::NotRegularFile:
      return ReadFailure::NotRegularFile;
    case BoundedFileReader::Status::TooLarge:
      return ReadFailure::FileTooLarge;
    case BoundedFileReader::Status::OutOfMemory:
      return ReadFailure::OutOfMemory;
    case BoundedFileReader::Status::ReadError:
      break;
  }
  return ReadFailure::ReadError;
}

// A file's bytes for the text reader, a window at a time.
class FileSource : public TextLineReader::Source {
 public:
  explicit FileSource(BoundedFileReader& file) : file_(file) {}
  size_t Read(char* out, size_t size) override { return file_.ReadSome(out, size); }

 private:
  BoundedFileReader& file_;
};

ReadResult FailedRead(const BoundedFileReader::Result& file, size_t maxBytes) {
  ReadResult result;
  result.failure = FailureOf(file.status);
  result.error = file.error;
  if (result.failure == ReadFailure::FileTooLarge) result.sizeLimit = maxBytes;
  return result;
}

}  // namespace

LibraryFormat LibraryFile::FormatOf(std::string_view path) {
  const size_t slash = path.rfind('/');
  const std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
  const size_t dot = name.rfind('.');
  if (dot == std::string_view::npos || name.size() - dot != 4) return LibraryFormat::Binary;
  const std::string_view extension = name.substr(dot + 1);
  const auto upper = [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; };
  const bool text = upper(extension[0]) == 'L' && upper(extension[1]) == 'B' && extension[2] == '3';
  return text ? LibraryFormat::Text : LibraryFormat::Binary;
}

size_t LibraryFile::MaxFileSize(LibraryFormat format) {
  return format == LibraryFormat::Text ? TextLibraryBudget::kMaxFileSize : binary_layout::kMaxReadSize;
}

ReadResult LibraryFile::Read(const std::string& path) { return Read(path, FormatOf(path)); }

ReadResult LibraryFile::Read(const std::string& path, LibraryFormat format) {
  const size_t maxBytes = MaxFileSize(format);
  ReadResult result;
  if (format == LibraryFormat::Text) {
    // Streamed: the model is built while the file is read, never beside
    // all of its bytes.
    BoundedFileReader file(path, maxBytes);
    if (file.GetResult().status == BoundedFileReader::Status::Ok) {
      FileSource source(file);
      result = TextLibraryFormat::Decode(source, static_cast<size_t>(file.GetResult().size));
    }
    // A file that failed mid-way was read only in part: what came of it
    // does not count.
    if (file.GetResult().status != BoundedFileReader::Status::Ok)
      result = FailedRead(file.GetResult(), maxBytes);
  } else {
    std::string bytes;
    result = LoadBytes(path, maxBytes, bytes);
    if (result.failure == ReadFailure::None) result = BinaryLibraryFormat::Decode(bytes);
  }
  result.format = format;
  if (result.failure == ReadFailure::FileTooLarge) result.sizeLimit = maxBytes;
  return result;
}

ReadResult LibraryFile::LoadBytes(const std::string& path, size_t maxBytes, std::string& out) {
  const BoundedFileReader::Result file = BoundedFileReader::Read(path, maxBytes, out);
  return FailedRead(file, maxBytes);
}

WriteResult LibraryFile::Write(const std::string& path, const Library& library) {
  return Write(path, library, FormatOf(path));
}

WriteResult LibraryFile::Write(const std::string& path, const Library& library, LibraryFormat format) {
  StagedLibraryFile file(path, format);
  const WriteResult written = file.WriteLibrary(library);
  return written.Ok() ? file.Commit() : written;
}

WriteResult LibraryFile::SaveBytes(const std::string& path, std::string_view bytes,
                                   const std::string& backupPath) {
  StagedLibraryFile file(path, backupPath);
  return file.Open() && file.Append(bytes) ? file.Commit() : file.Result();
}

WriteResult LibraryFile::SaveStreamed(const std::string& path,
                                      const std::function<bool(const ByteWriter&)>& produce) {
  StagedLibraryFile file(path, std::string());
  if (!file.Open()) return file.Result();
  bool writeFailed = false;
  bool finished = false;
  try {
    finished = produce([&](std::string_view bytes) {
      writeFailed = writeFailed || !file.Append(bytes);
      return !writeFailed;
    });
  } catch (const std::bad_alloc&) {
    WriteResult result;
    result.failure = WriteFailure::OutOfMemory;
    result.error = ENOMEM;
    return result;
  }
  // A producer that gave up without a failed write changes nothing.
  if (writeFailed || !finished) return file.Result();
  return file.Commit();
}

void LibraryFile::ReplaceContents(Library& target, Library& source) {
  target.Clear();
  target.patterns.swap(source.patterns);
  target.bodies.swap(source.bodies);
  target.entries.swap(source.entries);
}

}  // namespace zanli
