#include "check/checked_save.h"

#include <gtest/gtest.h>

#include <optional>
#include <thread>

#include "../../bench/bench_library.h"
#include "check/byte_pipe.h"
#include "check/save_losses.h"
#include "check_test_support.h"
#include "fileio/allocation_failure.h"
#include "fileio/binary_library_format.h"
#include "fileio/binary_test_support.h"
#include "fileio/library_file.h"
#include "fileio/safe_file_writer.h"
#include "fileio/text_library_budget.h"
#include "fileio/text_library_format.h"
#include "support/fuzz_inputs.h"

namespace zanli {
namespace {

using check_test::CheckedSummaries;
using check_test::Summaries;
using testing::BuildCleanLibrary;
using testing::Slurp;
using testing::Spit;
using testing::TempDir;
namespace fs = std::filesystem;

// Every library the fuzzers' committed inputs give, saved in both formats:
// the file's own check says what the check in memory says.
TEST(CheckedSave, AgreesWithTheSaveCheckOnTheFuzzersLibraries) {
  TempDir dir;
  size_t compared = 0;
  const auto compare = [&](const ReadResult& read, const fs::path& input) {
    if (!read.Ok()) return;
    for (LibraryFormat format : {LibraryFormat::Text, LibraryFormat::Binary}) {
      const std::string path =
          (dir.path() / (format == LibraryFormat::Text ? "out.LB3" : "out.LIB")).string();
      EXPECT_EQ(CheckedSummaries(*read.library, format, path),
                Summaries(SaveLosses::Find(*read.library, format)))
          << input;
      ++compared;
    }
  };
  for (const char* folder : {"corpus", "regressions"}) {
    for (const auto& input : testing::FuzzInputs(folder, "text_library_fuzzer"))
      compare(TextLibraryFormat::Decode(input.bytes), input.path);
    for (const auto& input : testing::FuzzInputs(folder, "binary_library_fuzzer"))
      compare(BinaryLibraryFormat::Decode(input.bytes), input.path);
    // Its first byte picks the format the rest is read in.
    for (const auto& input : testing::FuzzInputs(folder, "library_check_fuzzer")) {
      if (input.bytes.empty()) continue;
      const std::string_view rest = std::string_view(input.bytes).substr(1);
      compare(input.bytes[0] & 1 ? BinaryLibraryFormat::Decode(rest) : TextLibraryFormat::Decode(rest),
              input.path);
    }
  }
  EXPECT_GE(compared, 20u);
}

// The new file waits beside the target (named here, as where the file
// system has no unnamed files) until the caller commits; without a commit
// it goes and the target is as it was.
TEST(CheckedSave, OnlyACommitReplacesTheTarget) {
  Library library;
  BuildCleanLibrary(library);
  std::string binary;
  ASSERT_EQ(BinaryLibraryFormat::Encode(library, binary), BinaryWriteResult::Ok);
  const struct {
    const char* name;
    bool commit;
    std::string written;  // what the target holds afterwards
    const char* backup;   // the ".$ib" file's content afterwards, or none
  } cases[] = {
      {"a.LB3", true, TextLibraryFormat::WriteBytes(library), nullptr},
      {"a.LB3", false, "previous", nullptr},
      {"a.LIB", true, binary, "previous"},
      {"a.LIB", false, "previous", nullptr},
  };
  SafeFileWriter::AllowUnnamedTemporaryForTesting(false);
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.name) + (c.commit ? " committed" : " left"));
    TempDir dir;
    const fs::path target = dir.path() / c.name;
    Spit(target, "previous");
    {
      CheckedSave save(target.string(), library, LibraryFile::FormatOf(c.name));
      ASSERT_TRUE(save.Written().Ok());
      EXPECT_TRUE(save.Losses().Empty());
      EXPECT_EQ(Slurp(target), "previous");
      ASSERT_EQ(dir.Names().size(), 2u);  // the target and the new file
      if (c.commit) {
        EXPECT_TRUE(save.Commit().Ok());
      }
    }
    EXPECT_EQ(Slurp(target), c.written);
    const fs::path backup = BinaryLibraryFormat::BackupPath(target.string());
    EXPECT_EQ(fs::exists(backup), c.backup != nullptr);
    if (c.backup) {
      EXPECT_EQ(Slurp(backup), c.backup);
    }
    EXPECT_EQ(dir.Names().size(), c.backup ? 2u : 1u);
  }
  SafeFileWriter::AllowUnnamedTemporaryForTesting(true);
}

// Written in one pass, a text too large for its reader is refused once the
// temporary file has it, for the reason a plain write gives, and the
// temporary file goes.
TEST(CheckedSave, ATextTooLargeIsRefusedAfterItsOnePassAndLeavesNothing) {
  // 32767 columns by 8200 rows: 64 MiB of text and a little more.
  Library library;
  library.AddPattern(std::make_unique<Pattern>("BIG", 32767, 8200));
  TempDir dir;
  const fs::path target = dir.path() / "big.LB3";
  Spit(target, "previous");
  const CheckedSave save(target.string(), library, LibraryFormat::Text);
  EXPECT_EQ(save.Written().failure, WriteFailure::TooLarge);
  EXPECT_EQ(save.Losses().Count(), 1u);
  EXPECT_TRUE(save.Losses().Has(CheckKind::UnreadableTooLarge));
  EXPECT_EQ(Slurp(target), "previous");
  EXPECT_EQ(dir.Names().size(), 1u);
}

// The binary save runs on one thread, so each of its allocations can fail
// in turn: the file is then either not written (and the target stays) or
// written with the check said not to have run, never refused.
TEST(CheckedSave, RunningOutOfMemoryNeverRefusesTheSave) {
  Library library;
  BuildCleanLibrary(library);
  library.bodies[0]->pins[0]->numbers = {"D12X", "D7"};  // a change in the binary format
  TempDir dir;
  const std::string target = (dir.path() / "a.LIB").string();
  Spit(target, "previous");
  const std::vector<std::string> full = CheckedSummaries(library, LibraryFormat::Binary, target);
  ASSERT_FALSE(full.empty());
  // Made while armed, judged and dropped after: only the save allocates.
  std::optional<CheckedSave> save;
  int unchecked = 0;
  const int failures =
      testing::ForEachAllocationFailure([&] { save.emplace(target, library, LibraryFormat::Binary); },
                                        [&](bool fired) {
                                          const std::vector<std::string> found = Summaries(save->Losses());
                                          if (!save->Written().Ok()) {
                                            EXPECT_TRUE(fired);
                                            EXPECT_EQ(save->Written().failure, WriteFailure::OutOfMemory);
                                          } else if (found != full) {
                                            EXPECT_TRUE(fired);
                                            EXPECT_EQ(found, std::vector<std::string>{"save_not_checked"});
                                            ++unchecked;
                                          }
                                          save.reset();
                                          EXPECT_EQ(Slurp(target), "previous");
                                          EXPECT_EQ(dir.Names().size(), 1u);
                                        });
  EXPECT_GT(failures, 20);
  EXPECT_GT(unchecked, 5);
}

// A text larger than the pipe between writer and reader, with each file
// operation failing in turn: a failure while the reader waits for more
// ends its input, a write that failed is said so and judges nothing, and
// the target never changes until the save that succeeds.
TEST(CheckedSave, AFileThatFailsMidWayIsReportedAndWaitsForNobody) {
  Library library;
  bench::BuildBenchLibrary(library, 3200);
  const std::string text = TextLibraryFormat::WriteBytes(library);
  ASSERT_GT(text.size(), BytePipe::kDefaultCapacity + BytePipe::kDefaultCapacity / 16);
  TempDir dir;
  const fs::path target = dir.path() / "big.LB3";
  Spit(target, "previous");
  int failures = 0;
  for (int n = 1;; ++n) {
    SafeFileWriter::FailOperationForTesting(n);
    CheckedSave save(target.string(), library, LibraryFormat::Text);
    const WriteResult committed = save.Written().Ok() ? save.Commit() : save.Written();
    SafeFileWriter::FailOperationForTesting(0);
    if (committed.Ok()) {
      EXPECT_TRUE(save.Losses().Empty());
      EXPECT_EQ(Slurp(target), text);
      break;
    }
    ++failures;
    EXPECT_EQ(committed.failure, WriteFailure::WriteFailed) << n;
    if (!save.Written().Ok()) {
      EXPECT_TRUE(save.Losses().Empty()) << n;
    }
    EXPECT_EQ(Slurp(target), "previous") << n;
  }
  EXPECT_GT(failures, 20);
}

// The pipe between the two threads: bytes arrive whole and in order across
// the ring's wrap, and a reader that stops early never leaves the writer
// waiting.
TEST(BytePipe, CarriesEveryByteAndLetsTheReaderStopEarly) {
  std::string sent(20'000, '\0');
  for (size_t i = 0; i < sent.size(); ++i) sent[i] = static_cast<char>(i * 7 % 251);
  const struct {
    size_t capacity, writePiece, readPiece;
  } cases[] = {{4096, 1000, 777}, {1000, 4500, 3001}, {7, 17, 5}};
  for (const auto& c : cases) {
    BytePipe pipe(c.capacity);
    std::thread writer([&] {
      for (size_t at = 0; at < sent.size(); at += c.writePiece)
        pipe.Write(std::string_view(sent).substr(at, c.writePiece));
      pipe.Close();
    });
    std::string received;
    std::vector<char> piece(c.readPiece);
    while (const size_t n = pipe.Read(piece.data(), piece.size())) received.append(piece.data(), n);
    writer.join();
    EXPECT_EQ(received, sent) << c.capacity;
  }
  // The real reader refusing a text at its first line, with megabytes
  // still to come.
  BytePipe pipe(4096);
  bool abandoned = false;
  std::thread writer([&] {
    pipe.Write("+VELD2_LIB\r\n");
    for (int i = 0; i < 1000 && !abandoned; ++i) abandoned = !pipe.Write(std::string(4096, 'x'));
    pipe.Close();
  });
  const ReadResult read = TextLibraryFormat::Decode(pipe, TextLibraryBudget::kMaxFileSize);
  pipe.Abandon();
  writer.join();
  EXPECT_EQ(read.failure, ReadFailure::Malformed);
  EXPECT_TRUE(abandoned);
}

}  // namespace
}  // namespace zanli
