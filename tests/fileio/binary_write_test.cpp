#include <gtest/gtest.h>

#include <functional>

#include "binary_test_support.h"
#include "fileio/binary_library_format.h"
#include "fileio/safe_file_writer.h"

namespace zanli {
namespace {

namespace fs = std::filesystem;
using testing::AddBody;
using testing::AddEntry;
using testing::AddPin;
using testing::Slurp;
using testing::Spit;
using testing::TempDir;

const std::string kOldBytes = "previous library bytes";

void AddPins(PartBody& body, int count) {
  for (int i = 0; i < count; ++i)
    AddPin(body, "", PinEdge::Left, i % 256,
           std::vector<std::string>(static_cast<size_t>(body.blockCount), "D1"), 0);
}

void AddPattern(Library& library, const std::string& name, int width, int height) {
  library.AddPattern(std::make_unique<Pattern>(name, width, height));
}

TEST(BinaryWrite, RefusesWhatItCannotStoreWithoutTouchingTheDisk) {
  using R = BinaryWriteResult;
  const struct {
    const char* what;
    std::function<void(Library&)> change;
    BinaryWriteResult result;
  } cases[] = {
      {"x size 0", [](Library& l) { l.bodies[0]->xSize = 0; }, R::TooLarge},
      {"x size 256", [](Library& l) { l.bodies[0]->xSize = 256; }, R::TooLarge},
      {"y size 0", [](Library& l) { l.bodies[1]->ySize = 0; }, R::TooLarge},
      {"256 blocks", [](Library& l) { l.bodies[1]->SetBlockCount(256); }, R::TooLarge},
      {"position -1", [](Library& l) { l.bodies[0]->pins[0]->position = -1; }, R::TooLarge},
      {"position 256", [](Library& l) { l.bodies[0]->pins[0]->position = 256; }, R::TooLarge},
      {"4096 pins", [](Library& l) { AddPins(*l.bodies[1], 4095); }, R::TooLarge},
      {"4095 pins", [](Library& l) { AddPins(*l.bodies[1], 4094); }, R::Ok},
      {"32768 entries",
       [](Library& l) {
         for (int i = 0; i < 32765; ++i) AddEntry(l, "CLK", l.bodies[1].get());
       },
       R::TooLarge},
      {"pattern width 0", [](Library& l) { AddPattern(l, "W0", 0, 5); }, R::TooLarge},
      {"pattern width 32768", [](Library& l) { AddPattern(l, "W", 32768, 1); }, R::TooLarge},
      {"pattern width 32767", [](Library& l) { AddPattern(l, "W", 32767, 1); }, R::Ok},
      {"pattern height 0", [](Library& l) { AddPattern(l, "H0", 5, 0); }, R::TooLarge},
      {"stored pin name 127", [](Library& l) { l.bodies[1]->pins[0]->name = std::string(127, 'A') + "\\"; },
       R::Ok},
      {"stored pin name 128", [](Library& l) { l.bodies[1]->pins[0]->name = "\\" + std::string(128, 'A'); },
       R::TooLarge},
      {"record of 32394 bytes",
       [](Library& l) {
         l.bodies[1]->SetBlockCount(255);
         AddPins(*l.bodies[1], 62);
       },
       R::TooLarge},
      {"image of 32004 bytes", [](Library& l) { AddPattern(l, "BIG", 2000, 128); }, R::TooLarge},
      {"image of 31754 bytes", [](Library& l) { AddPattern(l, "BIG", 2000, 127); }, R::Ok},
      {"bitmap area",
       [](Library& l) {
         AddPattern(l, "BIG1", 2000, 127);
         AddPattern(l, "BIG2", 2000, 127);
       },
       R::TooLarge},
      {"part-record area",
       [](Library& l) {
         for (int i = 0; i < 3; ++i) {
           PartBody* body = AddBody(l, 1, 1, 255, "U");
           AddPins(*body, 61);
           AddEntry(l, std::string("B").append(std::to_string(i)), body);
         }
       },
       R::TooLarge},
      {"string pool",
       [](Library& l) {
         for (int i = 0; i < 5; ++i) AddPattern(l, std::string(13000, static_cast<char>('a' + i)), 1, 1);
       },
       R::TooLarge},
      {"stray body", [](Library& l) { l.entries[1]->body = nullptr; }, R::Inconsistent},
      // Checks run section by section: the full pool in the bodies comes first...
      {"pool before stray entry",
       [](Library& l) {
         for (int i = 0; i < 5; ++i)
           AddPin(*l.bodies[1], std::string(127, static_cast<char>('a' + i)) + "x", PinEdge::Top, 0, {"D1"},
                  0);
         l.entries[0]->body = nullptr;
       },
       R::TooLarge},
      // ...while the whole-file size is checked after the entries.
      {"stray entry before file size",
       [](Library& l) {
         for (int i = 0; i < 2; ++i) AddPins(*AddBody(l, 1, 1, 1, "U"), 4095);
         AddPattern(l, std::string(16400, 'n'), 1, 1);
         l.entries[2]->body = nullptr;
       },
       R::Inconsistent},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Library library;
    testing::BuildSample(library);
    c.change(library);
    TempDir dir;
    const fs::path target = dir.path() / "LIB.LIB";
    Spit(target, kOldBytes);
    EXPECT_EQ(BinaryLibraryFormat::Write(target.string(), library), c.result);
    if (c.result == BinaryWriteResult::Ok) {
      EXPECT_EQ(dir.Names(), std::vector<std::string>({"LIB.$ib", "LIB.LIB"}));
      continue;
    }
    EXPECT_EQ(Slurp(target), kOldBytes);
    EXPECT_EQ(dir.Names(), std::vector<std::string>({"LIB.LIB"}));
  }
}

// A library of exactly `size` bytes: two full bodies plus a prefix that pads.
void BuildLibraryOfSize(Library& library, size_t size) {
  PartBody* first = AddBody(library, 1, 1, 1, "");
  AddPins(*first, 4095);
  PartBody* second = AddBody(library, 1, 1, 1, "S");
  AddPins(*second, 4095);
  AddEntry(library, "A", first);
  AddEntry(library, "B", second);
  std::string bytes;
  ASSERT_EQ(BinaryLibraryFormat::Encode(library, bytes), BinaryWriteResult::Ok);
  ASSERT_LT(bytes.size(), size);
  first->numberPrefix = std::string(size - bytes.size(), 'P');
}

TEST(BinaryWrite, FileOf65534BytesIsWrittenAnd65535Refused) {
  TempDir dir;
  const fs::path target = dir.path() / "EDGE.LIB";
  Spit(target, kOldBytes);
  Library tooLarge;
  BuildLibraryOfSize(tooLarge, 65535);
  EXPECT_EQ(BinaryLibraryFormat::Write(target.string(), tooLarge), BinaryWriteResult::TooLarge);
  EXPECT_EQ(Slurp(target), kOldBytes);

  Library largest;
  BuildLibraryOfSize(largest, 65534);
  ASSERT_EQ(BinaryLibraryFormat::Write(target.string(), largest), BinaryWriteResult::Ok);
  const std::string written = Slurp(target);
  EXPECT_EQ(written.size(), 65534u);
  Library back;
  ASSERT_TRUE(BinaryLibraryFormat::Read(target.string(), back));
  std::string again;
  ASSERT_EQ(BinaryLibraryFormat::Encode(back, again), BinaryWriteResult::Ok);
  EXPECT_EQ(again, written);
}

TEST(BinaryWrite, SaveKeepsThePreviousFileAsBackup) {
  TempDir dir;
  const fs::path target = dir.path() / "PARTS.LIB";
  Library library;
  testing::BuildSample(library);
  ASSERT_EQ(BinaryLibraryFormat::Write(target.string(), library), BinaryWriteResult::Ok);
  const std::string first = Slurp(target);
  EXPECT_EQ(dir.Names(), std::vector<std::string>({"PARTS.LIB"}));  // nothing to back up yet

  AddEntry(library, "MORE", library.bodies[0].get());
  ASSERT_EQ(BinaryLibraryFormat::Write(target.string(), library), BinaryWriteResult::Ok);
  EXPECT_EQ(Slurp(dir.path() / "PARTS.$ib"), first);
  Library back;
  ASSERT_TRUE(BinaryLibraryFormat::Read(target.string(), back));
  EXPECT_EQ(back.entries.back()->name, "MORE");
}

TEST(BinaryWrite, BackupPathReplacesOnlyTheFileNamesExtension) {
  const std::pair<const char*, const char*> cases[] = {
      {"/d/PARTS.LIB", "/d/PARTS.$ib"}, {"/d/a.tar.lib", "/d/a.tar.$ib"}, {"/d.x/PARTS", "/d.x/PARTS.$ib"},
      {"PARTS", "PARTS.$ib"},           {"/d/.LIB", "/d/.$ib"},           {"x.", "x.$ib"},
  };
  for (const auto& [path, backup] : cases) EXPECT_EQ(BinaryLibraryFormat::BackupPath(path), backup) << path;
}

TEST(BinaryWrite, EveryInjectedFailureLeavesTheTargetAsItWas) {
  TempDir dir;
  const fs::path target = dir.path() / "SAFE.LIB";
  Library library;
  testing::BuildSample(library);
  SafeFileWriter::SetBufferSizeForTesting(16);
  bool succeeded = false;
  int failures = 0;
  for (int k = 1; k < 1000 && !succeeded; ++k) {
    SCOPED_TRACE(k);
    Spit(target, kOldBytes);
    fs::remove(dir.path() / "SAFE.$ib");
    SafeFileWriter::FailOperationForTesting(k);
    const BinaryWriteResult result = BinaryLibraryFormat::Write(target.string(), library);
    const bool faultFired = SafeFileWriter::OperationsForTesting() >= k;
    SafeFileWriter::FailOperationForTesting(0);
    if (!faultFired) {
      EXPECT_EQ(result, BinaryWriteResult::Ok);
      succeeded = true;
      continue;
    }
    ++failures;
    EXPECT_EQ(result, BinaryWriteResult::WriteFailed);
    EXPECT_EQ(Slurp(target), kOldBytes);
    for (const std::string& name : dir.Names()) EXPECT_TRUE(name == "SAFE.LIB" || name == "SAFE.$ib") << name;
  }
  SafeFileWriter::SetBufferSizeForTesting(0);
  EXPECT_TRUE(succeeded);
  EXPECT_GT(failures, 10);  // a 172-byte file through a 16-byte buffer takes many writes
  std::string expected;
  BinaryLibraryFormat::Encode(library, expected);
  EXPECT_EQ(Slurp(target), expected);
  EXPECT_EQ(Slurp(dir.path() / "SAFE.$ib"), kOldBytes);
}

TEST(BinaryWrite, MissingDirectoryFailsToWrite) {
  TempDir dir;
  Library library;
  testing::BuildSample(library);
  EXPECT_EQ(BinaryLibraryFormat::Write((dir.path() / "no" / "X.LIB").string(), library),
            BinaryWriteResult::WriteFailed);
  EXPECT_TRUE(dir.Names().empty());
}

}  // namespace
}  // namespace zanli
