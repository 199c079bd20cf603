#include "fileio/staged_library_file.h"

#include <cerrno>
#include <new>

#include "fileio/binary_library_format.h"
#include "fileio/safe_file_writer.h"
#include "fileio/text_library_format.h"
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

// Streams text into the file, which is created only when the first bytes
// come, so that a library refused before writing never touches the disk.
class TextFileSink : public TextLineWriter::Sink {
 public:
  TextFileSink(StagedLibraryFile& file, const StagedLibraryFile::Tap& tap) : file_(file), tap_(tap) {}
  bool Append(std::string_view bytes) override {
    if (!file_.Append(bytes)) return false;
    if (tap_) tap_(bytes);
    return true;
  }

 private:
  StagedLibraryFile& file_;
  const StagedLibraryFile::Tap& tap_;
};

}  // namespace

// Running out of memory here is a result too: every later step refuses.
StagedLibraryFile::StagedLibraryFile(const std::string& path, LibraryFormat format) {
  result_.format = format;
  try {
    path_ = path;
    if (format == LibraryFormat::Binary) backupPath_ = BinaryLibraryFormat::BackupPath(path);
  } catch (const std::bad_alloc&) {
    Fail(WriteFailure::OutOfMemory, ENOMEM);
  }
}

StagedLibraryFile::StagedLibraryFile(const std::string& path, const std::string& backupPath) {
  try {
    path_ = path;
    backupPath_ = backupPath;
  } catch (const std::bad_alloc&) {
    Fail(WriteFailure::OutOfMemory, ENOMEM);
  }
}

// Without a commit the writer's destructor removes the temporary file.
StagedLibraryFile::~StagedLibraryFile() = default;

bool StagedLibraryFile::Fail(WriteFailure failure, int error) {
  if (result_.failure == WriteFailure::None) {
    result_.failure = failure;
    result_.error = error;
  }
  return false;
}

bool StagedLibraryFile::FailFromWriter() { return Fail(FailureOf(writer_->GetFailure()), writer_->Error()); }

bool StagedLibraryFile::Open() {
  if (result_.failure != WriteFailure::None) return false;
  if (writer_) return true;
  // A file saved once without its backup (there was no previous file) could
  // never be saved again: refused now, with the reason.
  if (!backupPath_.empty() && !SafeFileWriter::NameFits(backupPath_))
    return Fail(WriteFailure::BackupNameTooLong, ENAMETOOLONG);
  try {
    writer_ = std::make_unique<SafeFileWriter>(path_);
    return writer_->Open() || FailFromWriter();
  } catch (const std::bad_alloc&) {
    return Fail(WriteFailure::OutOfMemory, ENOMEM);
  }
}

bool StagedLibraryFile::Append(std::string_view bytes) {
  if (!Open()) return false;
  return writer_->Write(bytes) || FailFromWriter();
}

WriteResult StagedLibraryFile::WriteLibrary(const Library& library, const Tap& tap, TextPasses passes) {
  if (result_.failure != WriteFailure::None) return result_;
  try {
    if (result_.format == LibraryFormat::Text) {
      TextFileSink sink(*this, tap);
      const WriteFailure failure = passes == TextPasses::One
                                       ? TextLibraryFormat::EncodeOnce(library, sink, result_.problems)
                                       : TextLibraryFormat::Encode(library, sink, result_.problems);
      // A failed write has set the writer's reason already.
      if (failure != WriteFailure::None && failure != WriteFailure::WriteFailed) Fail(failure, 0);
      return result_;
    }
    std::string bytes;
    if (const WriteFailure refused = EncodeBinary(library, bytes, result_.problems);
        refused != WriteFailure::None) {
      Fail(refused, 0);
      return result_;
    }
    if (Open() && Append(bytes) && tap) tap(bytes);
  } catch (const std::bad_alloc&) {
    result_.problems.clear();
    Fail(WriteFailure::OutOfMemory, ENOMEM);
  }
  return result_;
}

WriteResult StagedLibraryFile::Commit() {
  if (result_.failure != WriteFailure::None) return result_;
  try {
    if (!writer_)
      Fail(WriteFailure::WriteFailed, EBADF);  // nothing was written
    else if (!writer_->Commit(backupPath_))
      FailFromWriter();
  } catch (const std::bad_alloc&) {
    Fail(WriteFailure::OutOfMemory, ENOMEM);
  }
  return result_;
}

}  // namespace zanli
