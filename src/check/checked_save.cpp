#include "check/checked_save.h"

#include <exception>
#include <new>
#include <system_error>
#include <thread>

#include "check/byte_pipe.h"
#include "check/save_losses.h"
#include "fileio/binary_library_format.h"
#include "fileio/text_library_budget.h"
#include "fileio/text_library_format.h"

namespace zanli {

namespace {

// Whether the file's write ended where the check can judge it: written, or
// refused (or out of memory) by the writer before the file got a byte. A
// file that failed on the disk leaves nothing to judge.
bool Judgeable(WriteFailure failure) {
  switch (failure) {
    case WriteFailure::None:
    case WriteFailure::TooLarge:
    case WriteFailure::Inconsistent:
    case WriteFailure::Unreadable:
    case WriteFailure::OutOfMemory:
      return true;
    case WriteFailure::NotRegularFile:
    case WriteFailure::SymlinkLoop:
    case WriteFailure::ReadOnly:
    case WriteFailure::FolderNotWritable:
    case WriteFailure::BackupFailed:
    case WriteFailure::BackupNameTooLong:
    case WriteFailure::WriteFailed:
      break;
  }
  return false;
}

// Runs the writer's side of a pipe on a thread of its own. However the
// writer ends (written, refused, failed or thrown), it closes the pipe, so
// the reader always sees an end; and the reader's side abandons the pipe
// before the thread is joined, so the writer never waits on a reader that
// has stopped. The reader stays on the calling thread, where the report it
// fills is allocated.
class PipeWriter {
 public:
  template <typename Write>
  PipeWriter(BytePipe& pipe, Write write) : pipe_(pipe) {
    thread_ = std::thread([this, write] {
      try {
        write();
      } catch (...) {
        failure_ = std::current_exception();
      }
      pipe_.Close();
    });
  }
  ~PipeWriter() { Finish(); }
  PipeWriter(const PipeWriter&) = delete;
  PipeWriter& operator=(const PipeWriter&) = delete;

  // Once the reader is done: waits for the writer, and passes on what it threw.
  void Join() {
    Finish();
    if (failure_) std::rethrow_exception(failure_);
  }

 private:
  void Finish() {
    pipe_.Abandon();
    if (thread_.joinable()) thread_.join();
  }

  BytePipe& pipe_;
  std::exception_ptr failure_;
  std::thread thread_;
};

}  // namespace

CheckedSave::CheckedSave(const std::string& path, const Library& library, LibraryFormat format)
    : file_(path, format), losses_(library) {
  written_.format = format;
  if (format == LibraryFormat::Text)
    WriteText(library);
  else
    WriteBinary(library);
}

void CheckedSave::WriteText(const Library& library) {
  std::unique_ptr<BytePipe> pipe;
  std::unique_ptr<PipeWriter> writer;
  try {
    pipe = std::make_unique<BytePipe>();
    writer = std::make_unique<PipeWriter>(*pipe, [this, &library, &pipe] {
      // One pass: a text too large is refused as it ends, costing only
      // the temporary file.
      written_ = file_.WriteLibrary(
          library, [&](std::string_view bytes) { pipe->Write(bytes); }, StagedLibraryFile::TextPasses::One);
    });
  } catch (const std::bad_alloc&) {
  } catch (const std::system_error&) {
    // No second thread to be had.
  }
  if (!writer) {
    // The file is written all the same; the check then writes the text
    // once more into the reader, as it did before the file existed.
    written_ = file_.WriteLibrary(library);
    if (Judgeable(written_.failure)) SaveLosses::Find(library, LibraryFormat::Text, losses_);
    return;
  }
  SaveLosses::JudgeText(
      library,
      [&](TextLibrarySink& sink, WriteFailure& written, std::vector<WriteProblem>& refusals,
          ReadResult& back) {
        back = TextLibraryFormat::Decode(*pipe, TextLibraryBudget::kMaxFileSize, &sink);
        writer->Join();
        written = written_.failure;
        refusals = written_.problems;
        return Judgeable(written);
      },
      losses_);
  // Without the memory to start the check, the writer is done only now.
  writer.reset();
  if (!Judgeable(written_.failure)) losses_ = CheckReport(library);
}

void CheckedSave::WriteBinary(const Library& library) {
  // Small enough to be built whole: the bytes the file gets are decoded.
  ReadResult back;
  written_ =
      file_.WriteLibrary(library, [&](std::string_view bytes) { back = BinaryLibraryFormat::Decode(bytes); });
  if (Judgeable(written_.failure))
    SaveLosses::Judge(library, LibraryFormat::Binary, written_.failure, written_.problems, std::move(back),
                      losses_);
}

WriteResult CheckedSave::Commit() { return file_.Commit(); }

}  // namespace zanli
