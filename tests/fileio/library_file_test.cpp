#include "fileio/library_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>

#include "allocation_failure.h"
#include "binary_test_support.h"
#include "fileio/binary_library_format.h"
#include "fileio/binary_library_layout.h"
#include "fileio/text_library_budget.h"
#include "fileio/text_library_format.h"
#include "support/library_builder.h"
#include "text_test_support.h"

namespace zanli {
namespace {

namespace fs = std::filesystem;
using testing::AddBody;
using testing::AddEntry;
using testing::AddPin;
using testing::ForEachAllocationFailure;
using testing::RunInChild;
using testing::Slurp;
using testing::Spit;
using testing::TempDir;

const std::string kHeader = "+VELD3_LIB_V.1.0\r\n";
const std::string kTrailer = "-VELD3_LIB_V.1.0\r\n";

std::string ExampleBytes(const char* name) { return Slurp(fs::path(ZANLI_EXAMPLES_DIR) / name); }

void MakeSparse(const fs::path& path, size_t size) {
  std::ofstream(path, std::ios::binary).close();
  fs::resize_file(path, size);
}

TEST(LibraryFile, FormatFollowsTheExtensionOfTheNameInAnyCase) {
  const std::pair<const char*, LibraryFormat> cases[] = {
      {"a.LB3", LibraryFormat::Text},     {"/x/y/a.lb3", LibraryFormat::Text},
      {"a.Lb3", LibraryFormat::Text},     {".LB3", LibraryFormat::Text},
      {"a.LIB", LibraryFormat::Binary},   {"a.dat", LibraryFormat::Binary},
      {"a", LibraryFormat::Binary},       {"a.LB3.bak", LibraryFormat::Binary},
      {"d.LB3/a", LibraryFormat::Binary}, {"a.LB33", LibraryFormat::Binary},
      {"a.LB", LibraryFormat::Binary},    {"", LibraryFormat::Binary},
  };
  for (const auto& [path, format] : cases) EXPECT_EQ(LibraryFile::FormatOf(path), format) << path;
}

// Each read runs in a child that is killed if it has not answered in time:
// a read that blocks or streams fails the test instead of hanging the suite.
TEST(LibraryFile, OnlyRegularFilesWithinTheBoundAreReadAndNothingBlocks) {
  TempDir dir;
  const fs::path fifo = dir.path() / "fifo.LIB";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
  fs::create_directory(dir.path() / "folder.LB3");
  const size_t binaryBound = binary_layout::kMaxReadSize, textBound = TextLibraryBudget::kMaxFileSize;
  MakeSparse(dir.path() / "over.LIB", binaryBound + 1);
  MakeSparse(dir.path() / "bound.LIB", binaryBound);
  MakeSparse(dir.path() / "over.LB3", textBound + 1);
  MakeSparse(dir.path() / "bound.LB3", textBound);
  MakeSparse(dir.path() / "huge.LIB", size_t{2} << 30);
  const struct {
    fs::path path;
    LibraryFormat format;
    ReadFailure failure;
  } cases[] = {
      {fifo, LibraryFormat::Binary, ReadFailure::NotRegularFile},
      {fifo, LibraryFormat::Text, ReadFailure::NotRegularFile},
      {"/dev/zero", LibraryFormat::Binary, ReadFailure::NotRegularFile},
      {"/dev/zero", LibraryFormat::Text, ReadFailure::NotRegularFile},
      {dir.path() / "folder.LB3", LibraryFormat::Text, ReadFailure::NotRegularFile},
      {dir.path() / "missing.LIB", LibraryFormat::Binary, ReadFailure::CannotOpen},
      {dir.path() / "over.LIB", LibraryFormat::Binary, ReadFailure::FileTooLarge},
      {dir.path() / "huge.LIB", LibraryFormat::Binary, ReadFailure::FileTooLarge},
      {dir.path() / "over.LB3", LibraryFormat::Text, ReadFailure::FileTooLarge},
      // At the bound the file is read, and is no library.
      {dir.path() / "bound.LIB", LibraryFormat::Binary, ReadFailure::Malformed},
      {dir.path() / "bound.LB3", LibraryFormat::Text, ReadFailure::Malformed},
  };
  for (const auto& c : cases) {
    const int code =
        RunInChild([&] { return static_cast<int>(LibraryFile::Read(c.path, c.format).failure); });
    EXPECT_EQ(code, static_cast<int>(c.failure)) << c.path << (code == -2 ? " did not return" : "");
  }
  const ReadResult missing = LibraryFile::Read((dir.path() / "missing.LIB").string());
  EXPECT_EQ(missing.error, ENOENT);
  const ReadResult over = LibraryFile::Read((dir.path() / "over.LB3").string());
  EXPECT_EQ(over.sizeLimit, textBound);
  EXPECT_FALSE(over.library);
}

TEST(LibraryFile, ReadsExamplesIntoFreshLibrariesAndNoticesACutOffText) {
  TempDir dir;
  Spit(dir.path() / "logic.LB3", ExampleBytes("logic.LB3"));
  Spit(dir.path() / "logic.LIB", ExampleBytes("logic.LIB"));
  for (const char* name : {"logic.LB3", "logic.LIB"}) {
    const ReadResult read = LibraryFile::Read((dir.path() / name).string());
    ASSERT_TRUE(read.Ok()) << name;
    EXPECT_EQ(read.library->entries.size(), 21u) << name;
    EXPECT_FALSE(read.missingTrailer) << name;
  }
  // A file of many windows reads as its bytes do in memory.
  Library large;
  for (int i = 0; i < 2000; ++i) {
    PartBody* body = AddBody(large, 4, 4, 1 + i % 3, "U");
    for (int k = 0; k < 6; ++k)
      AddPin(*body, "IN " + std::to_string(k), PinEdge::Left, k,
             std::vector<std::string>(body->blockCount, "D%" + std::to_string(i)), 0);
    AddEntry(large, "P,ART" + std::to_string(i), body);
  }
  const std::string largeText = TextLibraryFormat::WriteBytes(large);
  ASSERT_GT(largeText.size(), 4 * TextLineReader::kChunkBytes);
  Spit(dir.path() / "large.LB3", largeText);
  const ReadResult fromFile = LibraryFile::Read((dir.path() / "large.LB3").string());
  ASSERT_TRUE(fromFile.Ok());
  EXPECT_EQ(testing::Describe(*fromFile.library), testing::Describe(large));

  // Every cut of the text that still reads but has lost a pattern or an
  // entry says so.
  const std::string text = ExampleBytes("logic.LB3");
  const ReadResult whole = TextLibraryFormat::Decode(text);
  int shorter = 0;
  for (size_t length = 0; length < text.size(); ++length) {
    const ReadResult cut = TextLibraryFormat::Decode(std::string_view(text).substr(0, length));
    if (!cut.Ok() || (cut.library->entries.size() == whole.library->entries.size() &&
                      cut.library->patterns.size() == whole.library->patterns.size()))
      continue;
    ++shorter;
    EXPECT_TRUE(cut.missingTrailer) << length;
  }
  EXPECT_GT(shorter, 20);

  const std::string part = "+COMP,N:A,X:1,Y:1,B:1,-COMP\r\n";
  const std::pair<std::string, bool> cases[] = {
      {kHeader + part + kTrailer, false},
      {kHeader + part + kTrailer + ",,\r\n-COMP\r\n", false},
      {kHeader + part, true},
      {kHeader + part + "-VELD3_LIB_V.1", true},
      {kHeader + kTrailer + part, true},
  };
  for (const auto& [bytes, missing] : cases) {
    const ReadResult read = TextLibraryFormat::Decode(bytes);
    ASSERT_TRUE(read.Ok()) << bytes;
    EXPECT_EQ(read.missingTrailer, missing) << bytes;
  }
}

// A pattern of 32767 columns costs 4096 bytes a row, so its height moves the
// charge across the budget; spaces after the trailer raise the budget by 16
// bytes each without changing the library.
TEST(TextLibraryBudget, TheBudgetHoldsToTheByteJustUnderAndJustOver) {
  const auto file = [](int32_t height, size_t spaces) {
    return kHeader + "+PTN,N:P,X:32767,Y:" + std::to_string(height) + ",+BMP,-BMP,-PTN\r\n" + kTrailer +
           std::string(spaces, ' ');
  };
  int32_t height = 1;
  while (TextLibraryBudget::PatternCost(32767, height + 1) <=
         TextLibraryBudget::ForInput(file(height + 1, 0).size()))
    ++height;
  ASSERT_GT(height, 1000);
  const ReadResult under = TextLibraryFormat::Decode(file(height, 0));
  ASSERT_TRUE(under.Ok());
  EXPECT_EQ(under.library->patterns[0]->height, height);
  EXPECT_EQ(TextLibraryFormat::Decode(file(height + 1, 0)).failure, ReadFailure::OverBudget);

  const size_t shortfall = TextLibraryBudget::PatternCost(32767, height + 1) -
                           TextLibraryBudget::ForInput(file(height + 1, 0).size());
  const size_t spaces = (shortfall + TextLibraryBudget::kPerInputByte - 1) / TextLibraryBudget::kPerInputByte;
  EXPECT_TRUE(TextLibraryFormat::Decode(file(height + 1, spaces)).Ok());
  EXPECT_EQ(TextLibraryFormat::Decode(file(height + 1, spaces - 1)).failure, ReadFailure::OverBudget);

  // The hostile shapes: empty pins of 256-block parts, and huge patterns.
  std::string pins = kHeader;
  for (int part = 0; pins.size() < 2'000'000; ++part)
    pins += "+COMP,N:C" + std::to_string(part) + ",X:1,Y:1,B:256\r\n" + [] {
      std::string p;
      for (int i = 0; i < 256; ++i) p += "+PIN,-PIN\r\n";
      return p;
    }() + "-COMP\r\n";
  EXPECT_EQ(TextLibraryFormat::Decode(pins).failure, ReadFailure::OverBudget);
  EXPECT_EQ(TextLibraryFormat::Decode(file(32767, 0)).failure, ReadFailure::OverBudget);
}

// What the writer writes reads back within the budget without the fixed
// allowance, even in the shapes that cost the most per byte of text.
TEST(TextLibraryBudget, WrittenLibrariesCostLessThanTheirTextAllows) {
  const std::function<void(Library&)> shapes[] = {
      [](Library& l) {  // empty numbers of 256-block pins
        PartBody* body = AddBody(l, 1, 1, 256, "");
        for (int i = 0; i < 200; ++i) AddPin(*body, "", PinEdge::Left, 0, std::vector<std::string>(256), 0);
        AddEntry(l, "P", body);
      },
      [](Library& l) {  // one-block parts with names just too long to live in the string object
        for (int i = 0; i < 500; ++i) {
          PartBody* body = AddBody(l, 1, 1, 1, std::string(16, 'R'));
          AddPin(*body, std::string(16, 'N'), PinEdge::Left, 0, {"D" + std::string(16, '1')}, 0);
          AddEntry(l, std::string(16, 'E') + std::to_string(i), body);
          AddEntry(l, std::string(16, 'A') + std::to_string(i), body);
        }
      },
  };
  for (const auto& shape : shapes) {
    Library library;
    shape(library);
    const std::string bytes = TextLibraryFormat::WriteBytes(library);
    EXPECT_LT(TextLibraryFormat::Examine(library).readCost, TextLibraryBudget::kPerInputByte * bytes.size());
    EXPECT_TRUE(TextLibraryFormat::Decode(bytes).Ok());
  }
}

// Builds a library for a write case; `bad` breaks it.
struct WriteCase {
  const char* what;
  LibraryFormat format;
  std::function<void(Library&)> bad;
  WriteFailure failure;
  WriteProblem::Kind kind;
  WriteProblem::Subject subject;
  size_t index;
  std::string name;
  std::string partName;
};

TEST(LibraryFile, WritersRefuseWhatTheirReaderCouldNotReadBackAndNameIt) {
  using Kind = WriteProblem::Kind;
  using Subject = WriteProblem::Subject;
  const auto part = [](Library& l, const std::string& name) { AddEntry(l, name, AddBody(l, 2, 2, 1, "U")); };
  const WriteCase cases[] = {
      {"empty part name", LibraryFormat::Text, [&](Library& l) { part(l, ""); }, WriteFailure::Unreadable,
       Kind::EmptyEntryName, Subject::Entry, 1, "", ""},
      {"empty alias name", LibraryFormat::Text, [](Library& l) { AddEntry(l, "", l.bodies[0].get()); },
       WriteFailure::Unreadable, Kind::EmptyEntryName, Subject::Entry, 1, "", "OK"},
      {"empty pattern name", LibraryFormat::Text,
       [](Library& l) { l.AddPattern(std::make_unique<Pattern>("", 8, 8)); }, WriteFailure::Unreadable,
       Kind::EmptyPatternName, Subject::Pattern, 0, "", ""},
      {"pattern of no width", LibraryFormat::Text,
       [](Library& l) { l.AddPattern(std::make_unique<Pattern>("Z", 0, 8)); }, WriteFailure::Unreadable,
       Kind::PatternSize, Subject::Pattern, 0, "Z", ""},
      {"body too wide", LibraryFormat::Text,
       [](Library& l) { AddEntry(l, "W", AddBody(l, 40000, 2, 1, "U")); }, WriteFailure::Unreadable,
       Kind::BodySize, Subject::Entry, 1, "W", ""},
      {"257 blocks", LibraryFormat::Text, [](Library& l) { AddEntry(l, "B", AddBody(l, 2, 2, 257, "U")); },
       WriteFailure::Unreadable, Kind::BodySize, Subject::Entry, 1, "B", ""},
      {"pin name beyond a field", LibraryFormat::Text,
       [](Library& l) { AddPin(*l.bodies[0], std::string(40000, 'n'), PinEdge::Left, 0, {"D1"}, 0); },
       WriteFailure::Unreadable, Kind::LongName, Subject::Entry, 0, "OK", ""},
      {"entry without body", LibraryFormat::Text, [](Library& l) { AddEntry(l, "X", nullptr); },
       WriteFailure::Inconsistent, Kind::MissingBody, Subject::Entry, 1, "X", ""},
      {"entry without body", LibraryFormat::Binary, [](Library& l) { AddEntry(l, "X", nullptr); },
       WriteFailure::Inconsistent, Kind::MissingBody, Subject::Entry, 1, "X", ""},
      {"too many pins", LibraryFormat::Binary,
       [](Library& l) {
         for (int i = 0; i < 4096; ++i) AddPin(*l.bodies[0], "", PinEdge::Left, 0, {"D1"}, 0);
       },
       WriteFailure::TooLarge, Kind::PinCount, Subject::Entry, 0, "OK", ""},
      {"unnamed body too wide", LibraryFormat::Binary, [](Library& l) { AddBody(l, 300, 2, 1, "U"); },
       WriteFailure::TooLarge, Kind::BodySize, Subject::Body, 1, "", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Library library;
    part(library, "OK");
    c.bad(library);
    TempDir dir;
    const fs::path target = dir.path() / (c.format == LibraryFormat::Text ? "T.LB3" : "T.LIB");
    Spit(target, "previous");
    const WriteResult result = LibraryFile::Write(target.string(), library);
    EXPECT_EQ(result.failure, c.failure);
    ASSERT_EQ(result.problems.size(), 1u);
    const WriteProblem& problem = result.problems[0];
    EXPECT_EQ(problem.kind, c.kind);
    EXPECT_EQ(problem.subject, c.subject);
    EXPECT_EQ(problem.index, c.index);
    EXPECT_EQ(problem.name, c.name);
    EXPECT_EQ(problem.partName, c.partName);
    EXPECT_EQ(Slurp(target), "previous");
    EXPECT_EQ(dir.Names().size(), 1u);
  }
}

TEST(LibraryFile, ATextTooLargeForItsReaderIsRefusedBeforeItIsHeld) {
  // 32767 columns by 8200 rows: 32 MiB of bits, 64 MiB of text and a little more.
  Library library;
  library.AddPattern(std::make_unique<Pattern>("BIG", 32767, 8200));
  std::string out = "untouched";
  std::vector<WriteProblem> problems;
  EXPECT_EQ(TextLibraryFormat::Encode(library, out, problems), WriteFailure::TooLarge);
  EXPECT_TRUE(out == "untouched");
  ASSERT_EQ(problems.size(), 1u);
  EXPECT_EQ(problems[0].kind, WriteProblem::Kind::FileSize);
  EXPECT_GT(problems[0].value, problems[0].limit);
  EXPECT_EQ(problems[0].limit, static_cast<int64_t>(TextLibraryBudget::kMaxFileSize));

  // To a file: refused before the target is even looked at, so a full disk
  // cannot hide the reason behind a write error.
  TempDir dir;
  const fs::path target = dir.path() / "big.LB3";
  Spit(target, "previous");
  SafeFileWriter::FailOperationForTesting(0);
  const WriteResult written = LibraryFile::Write(target.string(), library);
  EXPECT_EQ(written.failure, WriteFailure::TooLarge);
  EXPECT_EQ(SafeFileWriter::OperationsForTesting(), 0);
  EXPECT_EQ(Slurp(target), "previous");
  EXPECT_EQ(dir.Names(), std::vector<std::string>({"big.LB3"}));

  // Read back without the text held, the same refusal, and nothing read.
  ReadResult back;
  std::vector<WriteProblem> backProblems;
  EXPECT_EQ(TextLibraryFormat::ReadBack(library, back, backProblems), WriteFailure::TooLarge);
  EXPECT_FALSE(back.Ok());
  ASSERT_EQ(backProblems.size(), 1u);
  EXPECT_EQ(backProblems[0].kind, WriteProblem::Kind::FileSize);
  EXPECT_EQ(backProblems[0].value, problems[0].value);
}

// Every allocation of every reader and writer path, failed in turn: the
// result says out of memory and nothing else changes, or the path did not
// need that many allocations and succeeded.
TEST(LibraryFile, RunningOutOfMemoryAnywhereIsARefusalThatChangesNothing) {
  Library sample;
  testing::BuildSample(sample);
  const std::string text = ExampleBytes("logic.LB3"), binary = ExampleBytes("logic.LIB");
  TempDir dir;
  Spit(dir.path() / "in.LB3", text);
  Spit(dir.path() / "in.LIB", binary);
  // Nothing but the path under test may allocate while a failure is armed.
  const std::string textPath = (dir.path() / "in.LB3").string(),
                    binaryPath = (dir.path() / "in.LIB").string();
  const std::function<ReadFailure()> reads[] = {
      [&] { return TextLibraryFormat::Decode(text).failure; },
      [&] { return BinaryLibraryFormat::Decode(binary).failure; },
      [&] { return LibraryFile::Read(textPath).failure; },
      [&] { return LibraryFile::Read(binaryPath).failure; },
  };
  for (size_t i = 0; i < std::size(reads); ++i) {
    ReadFailure failure = ReadFailure::None;
    const int failures = ForEachAllocationFailure(
        [&] { failure = reads[i](); },
        [&](bool fired) { EXPECT_EQ(failure, fired ? ReadFailure::OutOfMemory : ReadFailure::None) << i; });
    EXPECT_GT(failures, 20) << i;
  }
  WriteFailure encoded = WriteFailure::None;
  std::vector<WriteProblem> problems;
  ForEachAllocationFailure(
      [&] {
        std::string out;
        encoded = TextLibraryFormat::Encode(sample, out, problems);
      },
      [&](bool fired) {
        EXPECT_EQ(encoded, fired ? WriteFailure::OutOfMemory : WriteFailure::None);
        EXPECT_TRUE(problems.empty());
      });
  // Reading back, memory may run out in the writer or in the reader.
  ReadResult back;
  ForEachAllocationFailure([&] { encoded = TextLibraryFormat::ReadBack(sample, back, problems); },
                           [&](bool fired) {
                             const bool outOfMemory = encoded == WriteFailure::OutOfMemory ||
                                                      back.failure == ReadFailure::OutOfMemory;
                             EXPECT_EQ(outOfMemory, fired);
                             EXPECT_EQ(back.Ok(), !fired);
                             EXPECT_TRUE(problems.empty());
                           });

  // A failure after the new file stands (while tidying up) does not undo
  // the save; any other is a refusal that leaves the target alone.
  for (const char* name : {"out.LB3", "out.LIB"}) {
    SCOPED_TRACE(name);
    const std::string target = (dir.path() / name).string();
    const std::string backup = BinaryLibraryFormat::BackupPath(target);
    Spit(target, "previous");
    const auto names = dir.Names();
    WriteResult result;
    int refusals = 0;
    ForEachAllocationFailure([&] { result = LibraryFile::Write(target, sample); },
                             [&](bool fired) {
                               if (result.Ok()) {
                                 EXPECT_TRUE(LibraryFile::Read(target).Ok());
                                 Spit(target, "previous");
                                 fs::remove(backup);
                               } else {
                                 ++refusals;
                                 EXPECT_TRUE(fired);
                                 EXPECT_EQ(result.failure, WriteFailure::OutOfMemory);
                                 EXPECT_EQ(Slurp(target), "previous");
                                 // Only the file being replaced may have become the backup.
                                 if (fs::exists(backup)) {
                                   EXPECT_EQ(Slurp(backup), "previous");
                                   fs::remove(backup);
                                 }
                               }
                               EXPECT_EQ(dir.Names(), names);
                             });
    EXPECT_GT(refusals, 5);
  }
}

}  // namespace
}  // namespace zanli
