#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "fileio/safe_file_writer.h"
#include "fileio/text_library_format.h"
#include "support/library_builder.h"
#include "text_test_support.h"

namespace zanli {
namespace {

using testing::Describe;
using text_test::Crlf;
using text_test::FileBytes;
using text_test::PutFile;
using text_test::TempDir;
namespace fs = std::filesystem;

const std::string kSample = Crlf(R"(+VELD3_LIB_V.1.0
+PTN,N:MARK,X:8,Y:2
+BMP
OO
HA
-BMP
-PTN
+COMP,N:NAND2
X:4,Y:2,B:2
R:IC
P:MARK
+PIN,N:A,L:L1,T:,M:1,M:4,-PIN
+PIN,N:\O\E,L:L2,T:NC,M:2,M:5,-PIN
+PIN,N:OUT%20Y,L:R1,T:S,M:3,M:6,-PIN
+PIN,N:GND,L:B2,T:m,M:7,M:7,-PIN
-COMP
+ALIAS,A:NAND2B,N:NAND2,-ALIAS
-VELD3_LIB_V.1.0
)");

const std::string kSampleLibrary =
    "ptn MARK 8x2 ff00 8100; body 4x2 b2 R=IC P=MARK#0 | pin A f0 e0:1 [D1,D4] | pin \\O\\E f12 e0:2 [D2,D5] "
    "| pin OUT Y f1 e2:1 [D3,D6] | pin GND f0 e3:2 [H7,H7]; NAND2->0; NAND2B->0";

using testing::AddBody;
using testing::AddEntry;
using testing::AddPin;

// Everything the format can carry: odd pattern widths with ink in the row
// padding, every byte value in names, all flags, hidden and empty numbers,
// parts listed after their aliases.
void BuildRichLibrary(Library& library) {
  Pattern* p1 = library.AddPattern(std::make_unique<Pattern>("P1", 9, 2));
  p1->bits = {0xFF, 0xFF, 0x80, 0x01};
  Pattern* p2 = library.AddPattern(std::make_unique<Pattern>("%,x y", 17, 3));
  for (size_t i = 0; i < p2->bits.size(); ++i) p2->bits[i] = static_cast<uint8_t>(i * 37 + 5);
  for (size_t i = 0; i < p2->bits.size(); i += 4) p2->bits[i + 3] = 0;  // beyond the used bytes

  std::string allBytes;
  for (int c = 1; c < 256; ++c) allBytes.push_back(static_cast<char>(c));
  PartBody* gate = AddBody(library, 4, 6, 3, "I,C%");
  gate->pattern = p2;
  AddPin(*gate, allBytes, PinEdge::Bottom, 255, {"H1", "H\x82\xA0", "H 3"},
         PinFlag::NumberNearBody | PinFlag::Clock | PinFlag::NegativeLogic);
  AddPin(*gate, "\\C\\L\\R", PinEdge::Top, 0, {"D12", "", ""}, PinFlag::Clock);
  AddPin(*gate, "", PinEdge::Right, 6, {"", "", ""}, 0);
  PartBody* single = AddBody(library, 300, 1, 1, "");
  single->pattern = p1;
  AddPin(*single, "VCC", PinEdge::Left, 1, {"H14"}, 0);
  PartBody* big = AddBody(library, 2, 2, 256);
  AddPin(*big, "Q", PinEdge::Left, 2, std::vector<std::string>(256, "D9"), PinFlag::NegativeLogic);

  AddEntry(library, "74HC00", gate);
  AddEntry(library, "74LS00", gate);
  AddEntry(library, "ONE", single);
  AddEntry(library, "ALIAS OF 00", gate);
  AddEntry(library, "WIDE", big);
}

TEST(TextLibraryWriteTest, SampleFileReadsAndIsWrittenBackByteForByte) {
  Library library;
  ASSERT_TRUE(TextLibraryFormat::ReadBytes(kSample, library));
  EXPECT_EQ(Describe(library), kSampleLibrary);
  EXPECT_EQ(TextLibraryFormat::WriteBytes(library), kSample);

  // Line ends carry no meaning to the reader.
  for (const char* lineEnd : {"\n", "\r", "\r\r\n"}) {
    std::string variant;
    for (size_t i = 0; i < kSample.size(); i += 1) {
      if (kSample.compare(i, 2, "\r\n") == 0) {
        variant += lineEnd;
        ++i;
      } else {
        variant += kSample[i];
      }
    }
    Library other;
    ASSERT_TRUE(TextLibraryFormat::ReadBytes(variant, other)) << lineEnd;
    EXPECT_EQ(Describe(other), kSampleLibrary);
  }
}

TEST(TextLibraryWriteTest, FirstEntryOfABodyIsThePartAndLaterOnesAreAliases) {
  const std::string head = "+VELD3_LIB_V.1.0\r\n";
  const std::string tail = "-VELD3_LIB_V.1.0\r\n";
  const auto part = [](const std::string& name) {
    return "+COMP,N:" + name + "\r\nX:2,Y:2,B:1\r\nR:U\r\n-COMP\r\n";
  };
  {
    Library library;
    PartBody* body = AddBody(library, 2, 2, 1);
    AddEntry(library, "P", body);
    AddEntry(library, "A", body);
    EXPECT_EQ(TextLibraryFormat::WriteBytes(library), head + part("P") + "+ALIAS,A:A,N:P,-ALIAS\r\n" + tail);
  }
  {
    Library library;
    PartBody* body = AddBody(library, 2, 2, 1);
    AddEntry(library, "A", body);
    AddEntry(library, "P", body);
    EXPECT_EQ(TextLibraryFormat::WriteBytes(library), head + part("A") + "+ALIAS,A:P,N:A,-ALIAS\r\n" + tail);
  }
  {
    // Every alias names the part, not the alias before it; bodies are written
    // in entry order, not in body order.
    Library library;
    PartBody* first = AddBody(library, 2, 2, 1);
    PartBody* second = AddBody(library, 2, 2, 1);
    AddEntry(library, "S", second);
    AddEntry(library, "X", first);
    AddEntry(library, "Y", first);
    AddEntry(library, "Z", first);
    EXPECT_EQ(TextLibraryFormat::WriteBytes(library),
              head + part("S") + part("X") + "+ALIAS,A:Y,N:X,-ALIAS\r\n+ALIAS,A:Z,N:X,-ALIAS\r\n" + tail);
  }
  {
    Library library;
    // Only the bytes the width uses are written, not the word padding.
    Pattern* pattern = library.AddPattern(std::make_unique<Pattern>("W", 8, 2));
    pattern->bits = {0x12, 0xEF, 0x0F, 0xF0};
    EXPECT_EQ(TextLibraryFormat::WriteBytes(library),
              head + "+PTN,N:W,X:8,Y:2\r\n+BMP\r\nAB\r\n@O\r\n-BMP\r\n-PTN\r\n" + tail);
    library.patterns.clear();
    EXPECT_EQ(TextLibraryFormat::WriteBytes(library), head + tail);
  }
}

TEST(TextLibraryWriteTest, PinLinesCarryEdgeTypeLettersAndOneNumberPerBlock) {
  Library library;
  PartBody* body = AddBody(library, 2, 2, 2, "Q Q");
  AddPin(*body, "A,B", PinEdge::Top, 255, {"H%", "D2"},
         PinFlag::NumberNearBody | PinFlag::Clock | PinFlag::NegativeLogic);
  AddPin(*body, "", PinEdge::Right, 0, {"D", ""}, 0);
  AddEntry(library, "P", body);
  EXPECT_EQ(TextLibraryFormat::WriteBytes(library),
            Crlf("+VELD3_LIB_V.1.0\n+COMP,N:P\nX:2,Y:2,B:2\nR:Q%20Q\n"
                 "+PIN,N:A%2CB,L:T255,T:NSCm,M:%25,M:2,-PIN\n"
                 "+PIN,N:,L:R0,T:,M:,M:,-PIN\n-COMP\n-VELD3_LIB_V.1.0\n"));
}

TEST(TextLibraryWriteTest, WriteReadWriteGivesTheSameLibraryAndBytes) {
  Library library;
  BuildRichLibrary(library);
  const std::string first = TextLibraryFormat::WriteBytes(library);
  Library copy;
  ASSERT_TRUE(TextLibraryFormat::ReadBytes(first, copy));
  EXPECT_EQ(Describe(copy), Describe(library));
  EXPECT_EQ(TextLibraryFormat::WriteBytes(copy), first);
  // No byte of a written field is a separator, white space or a bare '%'.
  EXPECT_EQ(first.find(' '), std::string::npos);
  EXPECT_EQ(first.find('\t'), std::string::npos);
}

TEST(TextLibraryWriteTest, EntryWithoutABodyIsRefused) {
  Library library;
  AddEntry(library, "LOST", nullptr);
  EXPECT_EQ(TextLibraryFormat::WriteBytes(library), "");
  TempDir dir;
  PutFile(dir / "lib.LB3", "old");
  EXPECT_FALSE(TextLibraryFormat::Write((dir / "lib.LB3").string(), library));
  EXPECT_EQ(FileBytes(dir / "lib.LB3"), "old");
}

size_t FilesIn(const fs::path& dir) {
  return static_cast<size_t>(std::distance(fs::directory_iterator(dir), fs::directory_iterator()));
}

TEST(TextLibraryWriteTest, FileGetsExactlyTheWrittenBytesAndReadsBack) {
  Library library;
  BuildRichLibrary(library);
  TempDir dir;
  const fs::path path = dir / "rich.LB3";
  ASSERT_TRUE(TextLibraryFormat::Write(path.string(), library));
  EXPECT_EQ(FileBytes(path), TextLibraryFormat::WriteBytes(library));
  Library back;
  ASSERT_TRUE(TextLibraryFormat::Read(path.string(), back));
  EXPECT_EQ(Describe(back), Describe(library));
  EXPECT_EQ(FilesIn(dir.path()), 1u);
}

TEST(TextLibraryWriteTest, FailureAtAnyFileOperationLeavesThePreviousFile) {
  Library library;
  BuildRichLibrary(library);
  const std::string expected = TextLibraryFormat::WriteBytes(library);
  TempDir dir;
  const fs::path path = dir / "lib.LB3";
  const std::string previous = "previous contents\r\n";
  PutFile(path, previous);

  SafeFileWriter::SetBufferSizeForTesting(16);
  int k = 1;
  bool saved = false;
  for (; k < 100000 && !saved; ++k) {
    SafeFileWriter::FailOperationForTesting(k);
    saved = TextLibraryFormat::Write(path.string(), library);
    const int operations = SafeFileWriter::OperationsForTesting();
    if (saved) {
      EXPECT_LT(operations, k) << "a save succeeded although its fault fired";
    } else {
      EXPECT_EQ(operations, k);
      ASSERT_EQ(FileBytes(path), previous) << "fault at operation " << k;
      ASSERT_EQ(FilesIn(dir.path()), 1u) << "a temporary file was left after fault " << k;
    }
  }
  SafeFileWriter::FailOperationForTesting(0);
  SafeFileWriter::SetBufferSizeForTesting(0);
  ASSERT_TRUE(saved);
  // With 16-byte writes the file takes hundreds of operations.
  EXPECT_GT(k, static_cast<int>(expected.size() / 16));
  EXPECT_EQ(FileBytes(path), expected);
  EXPECT_EQ(FilesIn(dir.path()), 1u);
}

TEST(TextLibraryWriteTest, UnwritableTargetsFailAndSymlinkedTargetsKeepTheirLink) {
  Library library;
  ASSERT_TRUE(TextLibraryFormat::ReadBytes(kSample, library));
  TempDir dir;

  EXPECT_FALSE(TextLibraryFormat::Write((dir / "no-such-dir" / "lib.LB3").string(), library));
  fs::create_directory(dir / "folder.LB3");
  EXPECT_FALSE(TextLibraryFormat::Write((dir / "folder.LB3").string(), library));
  EXPECT_TRUE(fs::is_directory(dir / "folder.LB3"));
  EXPECT_TRUE(fs::is_empty(dir / "folder.LB3"));
  EXPECT_EQ(FilesIn(dir.path()), 1u) << "no temporary file beside the directory";

  fs::create_directory(dir / "real");
  PutFile(dir / "real" / "lib.LB3", "old");
  fs::create_symlink("real/lib.LB3", dir / "link.LB3");
  ASSERT_TRUE(TextLibraryFormat::Write((dir / "link.LB3").string(), library));
  EXPECT_TRUE(fs::is_symlink(dir / "link.LB3"));
  EXPECT_EQ(FileBytes(dir / "real" / "lib.LB3"), kSample);
  EXPECT_EQ(FilesIn(dir / "real"), 1u);
}

// Reads every prefix of `bytes`. A refused prefix leaves the library empty; a
// read one writes out and reads back. Returns which prefix lengths read.
std::vector<bool> ReadEveryPrefix(const std::string& bytes) {
  std::vector<bool> read(bytes.size() + 1);
  for (size_t n = 0; n <= bytes.size(); ++n) {
    Library library;
    read[n] = TextLibraryFormat::ReadBytes(std::string_view(bytes).substr(0, n), library);
    if (!read[n]) {
      EXPECT_TRUE(library.patterns.empty() && library.bodies.empty() && library.entries.empty()) << n;
      continue;
    }
    const std::string written = TextLibraryFormat::WriteBytes(library);
    Library back;
    EXPECT_TRUE(TextLibraryFormat::ReadBytes(written, back)) << n;
    EXPECT_EQ(TextLibraryFormat::WriteBytes(back), written) << n;
  }
  return read;
}

// Writer output cut after `n` bytes reads exactly when the cut holds the
// header and falls outside every block: after a closing field or within the
// trailer. (Holds while no name contains a closing keyword.)
void ExpectOnlyCutsBetweenBlocksRead(const std::string& bytes) {
  const std::vector<bool> read = ReadEveryPrefix(bytes);
  size_t lastBoundary = std::string::npos;
  for (size_t n = 0; n <= bytes.size(); ++n) {
    for (const char* closing : {"+VELD3_LIB_V.1.0", "-PTN", "-COMP", "-ALIAS"}) {
      const size_t length = std::char_traits<char>::length(closing);
      if (n >= length && bytes.compare(n - length, length, closing) == 0) lastBoundary = n;
    }
    const bool expected = lastBoundary != std::string::npos && bytes.find('+', lastBoundary) >= n;
    EXPECT_EQ(read[n], expected) << "prefix of " << n << " bytes: ..."
                                 << bytes.substr(n > 16 ? n - 16 : 0, 16);
  }
}

TEST(TextLibraryWriteTest, SampleCutAnywhereReadsOnlyBetweenBlocks) {
  ExpectOnlyCutsBetweenBlocksRead(kSample);
}

TEST(TextLibraryWriteTest, ExamplesAreExactWriterOutputAndSurviveTruncation) {
  size_t examples = 0;
  for (const auto& item : fs::directory_iterator(ZANLI_EXAMPLES_DIR)) {
    std::string extension = item.path().extension().string();
    for (char& c : extension) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    if (extension != ".LB3") continue;
    ++examples;
    const std::string bytes = FileBytes(item.path());
    Library library;
    ASSERT_TRUE(TextLibraryFormat::Read(item.path().string(), library)) << item.path();
    EXPECT_FALSE(library.entries.empty()) << item.path();
    EXPECT_EQ(TextLibraryFormat::WriteBytes(library), bytes) << item.path();
    ExpectOnlyCutsBetweenBlocksRead(bytes);
  }
  EXPECT_GE(examples, 2u);
}

}  // namespace
}  // namespace zanli
