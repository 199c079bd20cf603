#include "fileio/library_file.h"

#include <cerrno>
#include <new>

#include "fileio/binary_library_format.h"
#include "fileio/binary_library_layout.h"
#include "fileio/bounded_file_reader.h"
#include "fileio/safe_file_writer.h"
#include "fileio/text_library_budget.h"
#include "fileio/text_library_format.h"
#include "fileio/text_line_reader.h"
#include "fileio/text_line_writer.h"

namespace zanli {

namespace {

WriteFailure FailureOf(SafeFileWriter::Failure failure) {
  switch (failure) {
    case SafeFileWriter::Failure::None:
      return WriteFailure::None;
    case SafeFileWriter::Failure::NotRegularFile:
      return WriteFailure::NotRegularFile;
    case SafeFileWriter::Failure::SymlinkLoop:
      return WriteFailure::SymlinkLoop;
    case SafeFileWriter::Failure::ReadOnly:
      return WriteFailure::ReadOnly;
    case SafeFileWriter::Failure::FolderNotWritable:
      return WriteFailure::FolderNotWritable;
    case SafeFileWriter::Failure::BackupFailed:
      return WriteFailure::BackupFailed;
    case SafeFileWriter::Failure::WriteFailed:
      break;
  }
  return WriteFailure::WriteFailed;
}

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

// The binary file's bytes, or the refusal.
WriteFailure EncodeBinary(const Library& library, std::string& bytes, std::vector<WriteProblem>& problems) {
  WriteProblem problem;
  switch (BinaryLibraryFormat::Encode(library, bytes, &problem)) {
    case BinaryWriteResult::Ok:
      return WriteFailure::None;
    case BinaryWriteResult::TooLarge:
      problems.push_back(std::move(problem));
      return WriteFailure::TooLarge;
    case BinaryWriteResult::Inconsistent:
      problems.push_back(std::move(problem));
      return WriteFailure::Inconsistent;
    case BinaryWriteResult::WriteFailed:
      break;
  }
  return WriteFailure::WriteFailed;
}

// Streams text into a file that it creates only when the first bytes come,
// so that a library refused before writing never touches the disk.
class TextFileSink : public TextLineWriter::Sink {
 public:
  explicit TextFileSink(SafeFileWriter& file) : file_(file) {}
  bool Append(std::string_view bytes) override {
    if (!opened_) {
      if (!file_.Open()) return false;
      opened_ = true;
    }
    return file_.Write(bytes);
  }

 private:
  SafeFileWriter& file_;
  bool opened_ = false;
};

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

// The result of a writer that failed.
void Failed(const SafeFileWriter& writer, WriteResult& result) {
  result.failure = FailureOf(writer.GetFailure());
  result.error = writer.Error();
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
  WriteResult result;
  result.format = format;
  try {
    if (format == LibraryFormat::Text) {
      // Streamed: a large text is never held whole. Without a commit the
      // writer's destructor removes the temporary file.
      SafeFileWriter writer(path);
      TextFileSink sink(writer);
      result.failure = TextLibraryFormat::Encode(library, sink, result.problems);
      if (result.failure == WriteFailure::WriteFailed ||
          (result.failure == WriteFailure::None && !writer.Commit()))
        Failed(writer, result);
      return result;
    }
    std::string bytes;
    result.failure = EncodeBinary(library, bytes, result.problems);
    if (result.failure != WriteFailure::None) return result;
    WriteResult saved = SaveBytes(path, bytes, BinaryLibraryFormat::BackupPath(path));
    saved.format = format;
    return saved;
  } catch (const std::bad_alloc&) {
    result.problems.clear();
    result.failure = WriteFailure::OutOfMemory;
    result.error = ENOMEM;
  }
  return result;
}

WriteResult LibraryFile::SaveBytes(const std::string& path, std::string_view bytes,
                                   const std::string& backupPath) {
  WriteResult result;
  // A file saved once without its backup (there was no previous file) could
  // never be saved again: refused now, with the reason.
  if (!backupPath.empty() && !SafeFileWriter::NameFits(backupPath)) {
    result.failure = WriteFailure::BackupNameTooLong;
    result.error = ENAMETOOLONG;
    return result;
  }
  try {
    // Without a commit the writer's destructor removes the temporary file,
    // and the previous file stays as it was.
    SafeFileWriter writer(path);
    if (writer.Open() && writer.Write(bytes) && writer.Commit(backupPath)) return result;
    Failed(writer, result);
  } catch (const std::bad_alloc&) {
    result.failure = WriteFailure::OutOfMemory;
    result.error = ENOMEM;
  }
  return result;
}

WriteResult LibraryFile::SaveStreamed(const std::string& path,
                                      const std::function<bool(const ByteWriter&)>& produce) {
  WriteResult result;
  try {
    SafeFileWriter writer(path);
    if (!writer.Open()) {
      Failed(writer, result);
      return result;
    }
    bool writeFailed = false;
    const bool finished = produce([&](std::string_view bytes) {
      writeFailed = writeFailed || !writer.Write(bytes);
      return !writeFailed;
    });
    if (writeFailed || (finished && !writer.Commit())) Failed(writer, result);
  } catch (const std::bad_alloc&) {
    result.failure = WriteFailure::OutOfMemory;
    result.error = ENOMEM;
  }
  return result;
}

void LibraryFile::ReplaceContents(Library& target, Library& source) {
  target.Clear();
  target.patterns.swap(source.patterns);
  target.bodies.swap(source.bodies);
  target.entries.swap(source.entries);
}

}  // namespace zanli
