#include <gtest/gtest.h>

#include <functional>

#include "binary_test_support.h"
#include "fileio/binary_library_format.h"
#include "fileio/little_endian.h"

namespace zanli {
namespace {

namespace fs = std::filesystem;
using testing::Bytes;

std::string SampleBytes() {
  Library library;
  testing::BuildSample(library);
  std::string bytes;
  EXPECT_EQ(BinaryLibraryFormat::Encode(library, bytes), BinaryWriteResult::Ok);
  return bytes;
}

void Put16(std::string& bytes, size_t at, uint32_t value) {
  std::string word;
  le::PutU16(word, value);
  bytes.replace(at, 2, word);
}

void Put32(std::string& bytes, size_t at, uint32_t value) {
  std::string word;
  le::PutU32(word, value);
  bytes.replace(at, 4, word);
}

bool IsEmpty(const Library& library) {
  return library.patterns.empty() && library.bodies.empty() && library.entries.empty();
}

TEST(BinaryRead, EveryTruncationIsRefusedAndLeavesTheLibraryAsItWas) {
  const std::string bytes = SampleBytes();
  Library library;
  EXPECT_TRUE(BinaryLibraryFormat::ReadBytes(std::string_view(), library));
  testing::BuildSample(library);
  for (size_t length = 1; length < bytes.size(); ++length) {
    const ReadResult result = BinaryLibraryFormat::Decode(std::string_view(bytes).substr(0, length));
    EXPECT_EQ(result.failure, ReadFailure::Malformed) << length;
    EXPECT_FALSE(BinaryLibraryFormat::ReadBytes(std::string_view(bytes).substr(0, length), library))
        << length;
    EXPECT_EQ(library.entries.size(), 3u) << length;
  }
}

TEST(BinaryRead, CorruptedOffsetsCountsAndLengthsAreRefused) {
  // Offsets in the sample: records at 72, pattern table 118, bitmaps 126, pool 144.
  const struct {
    const char* what;
    std::function<void(std::string&)> corrupt;
  } cases[] = {
      {"magic", [](std::string& b) { b[12] = '1'; }},
      {"entry count past the tables", [](std::string& b) { Put16(b, 16, 0x7FFF); }},
      {"negative entry-name table", [](std::string& b) { Put32(b, 18, 0xFFFFFFFF); }},
      {"entry-body table past the end", [](std::string& b) { Put32(b, 22, 170); }},
      {"record area past the end", [](std::string& b) { Put32(b, 26, 1000); }},
      {"pattern table after bitmaps: no pattern 0", [](std::string& b) { Put32(b, 30, 127); }},
      {"bitmaps past the end", [](std::string& b) { Put32(b, 34, 0x10000); }},
      {"pool past the end", [](std::string& b) { Put32(b, 38, 173); }},
      {"entry name past the pool", [](std::string& b) { Put32(b, 54, 28); }},
      {"negative entry name", [](std::string& b) { Put32(b, 54, 0x80000000); }},
      {"entry name without NUL", [](std::string& b) { b.back() = 'X'; }},
      {"record past the end", [](std::string& b) { Put16(b, 66, 0xFFF0); }},
      {"zero blocks", [](std::string& b) { b[72 + 2] = 0; }},
      {"zero x size", [](std::string& b) { b[72] = 0; }},
      {"pin count past the end", [](std::string& b) { Put16(b, 72 + 10, 0x0FFF); }},
      {"missing pattern", [](std::string& b) { Put16(b, 72 + 8, 1); }},
      {"prefix past the pool", [](std::string& b) { Put16(b, 72 + 6, 0xFFFE); }},
      {"pin name past the pool", [](std::string& b) { Put16(b, 72 + 12 + 2, 28); }},
      {"pin name longer than the pool", [](std::string& b) { b[144 + 6] = 100; }},
      {"image past the end", [](std::string& b) { Put16(b, 118, 40); }},
      {"zero image width", [](std::string& b) { Put16(b, 126, 0); }},
      {"image taller than the file", [](std::string& b) { Put16(b, 126 + 2, 0x7FFF); }},
      {"pattern name past the pool", [](std::string& b) { Put16(b, 124, 28); }},
  };
  for (const auto& c : cases) {
    std::string bytes = SampleBytes();
    c.corrupt(bytes);
    EXPECT_EQ(BinaryLibraryFormat::Decode(bytes).failure, ReadFailure::Malformed) << c.what;
  }
}

TEST(BinaryRead, LenientFieldsAreReadAsDefined) {
  std::string bytes = SampleBytes();
  bytes[14] = 7;                // ignored header bytes
  bytes[72 + 11] = 0;           // edge bits of the pin count
  bytes[72 + 12 + 1] |= 0x2C;   // unused flag bits
  bytes[144 + 6] = char(0x80);  // a pin-name length above 127
  Library library;
  ASSERT_TRUE(BinaryLibraryFormat::ReadBytes(bytes, library));
  const PinInfo& pin = *library.bodies[0]->pins[0];
  EXPECT_EQ(pin.name, "");
  EXPECT_EQ(pin.edge, PinEdge::Right);
  EXPECT_EQ(pin.flags, PinFlag::Clock | PinFlag::NegativeLogic);
  EXPECT_EQ(library.bodies[0]->pins.size(), 2u);

  // A pattern table that starts after the bitmap area holds no patterns.
  bytes = SampleBytes();
  Put32(bytes, 30, 127);
  Put16(bytes, 72 + 8, 0xFFFF);
  ASSERT_TRUE(BinaryLibraryFormat::ReadBytes(bytes, library));
  EXPECT_TRUE(library.patterns.empty());
  EXPECT_EQ(library.bodies[0]->pattern, nullptr);
}

TEST(BinaryRead, EntryCountDecidesWhatIsRead) {
  std::string bytes = SampleBytes();
  Library library;
  Put16(bytes, 16, 0);
  EXPECT_TRUE(BinaryLibraryFormat::ReadBytes(bytes, library));
  EXPECT_TRUE(IsEmpty(library));  // patterns are not read either

  Put16(bytes, 16, 0xFFFF);  // -1: the patterns and no entries
  EXPECT_TRUE(BinaryLibraryFormat::ReadBytes(bytes, library));
  ASSERT_EQ(library.patterns.size(), 1u);
  EXPECT_EQ(library.patterns[0]->name, "P1");
  EXPECT_TRUE(library.entries.empty());

  for (size_t length = 1; length < 54; length += 13)
    EXPECT_FALSE(BinaryLibraryFormat::ReadBytes(std::string_view(bytes).substr(0, length), library));
}

TEST(BinaryRead, ManyEntriesNamingOneHugeStringAreRefused) {
  constexpr int kEntries = 32767;
  std::string bytes("LIB FOR NQ000\x1A", 14);
  bytes += Bytes({0, 0, 0xFF, 0x7F});
  const uint32_t records = 54 + 6 * kEntries;
  for (uint32_t at : {54u, 54u + 4 * kEntries, records, records + 12, records + 12, records + 12})
    le::PutU32(bytes, at);
  bytes.append(12, '\0');
  bytes.append(4 * kEntries, '\0');  // every entry names pool string 0
  bytes.append(2 * kEntries, '\0');  // ...and the one record
  bytes += Bytes({1, 1, 1, 0, 0, 0, 0, 0, 0xFF, 0xFF, 0, 0});
  bytes.append(60000, 'N');
  bytes.push_back('\0');
  Library library;
  EXPECT_FALSE(BinaryLibraryFormat::ReadBytes(bytes, library));

  bytes.replace(bytes.size() - 60001, 60000, std::string(5, 'N') + '\0' + std::string(59994, ' '));
  EXPECT_TRUE(BinaryLibraryFormat::ReadBytes(bytes, library));  // short shared names are fine
  EXPECT_EQ(library.entries.size(), size_t{kEntries});
}

TEST(BinaryRead, FileThatCannotBeReadLeavesTheLibraryAlone) {
  testing::TempDir dir;
  Library library;
  testing::BuildSample(library);
  EXPECT_FALSE(BinaryLibraryFormat::Read((dir.path() / "missing.LIB").string(), library));
  EXPECT_FALSE(BinaryLibraryFormat::Read(dir.path().string(), library));  // a folder
  testing::Spit(dir.path() / "bad.LIB", "LIB FOR NQ000");
  EXPECT_FALSE(BinaryLibraryFormat::Read((dir.path() / "bad.LIB").string(), library));
  EXPECT_EQ(library.entries.size(), 3u);
  testing::Spit(dir.path() / "empty.LIB", "");
  EXPECT_TRUE(BinaryLibraryFormat::Read((dir.path() / "empty.LIB").string(), library));
  EXPECT_TRUE(IsEmpty(library));
}

}  // namespace
}  // namespace zanli

namespace zanli {
namespace {

// A patterns-only file (entry count -1) whose `patterns` table entries all
// name one 400 x 1000 image and the same name.
std::string SharedImageFile(size_t patterns) {
  const size_t tableAt = 54, bitmapsAt = tableAt + 8 * patterns;
  const size_t imageBytes = 4 + 50 * 1000;
  std::string bytes(bitmapsAt + imageBytes, '\0');
  bytes.replace(0, 14, "LIB FOR NQ000\x1A");
  Put16(bytes, 16, 0xFFFF);
  Put32(bytes, 18, 54);
  Put32(bytes, 22, 54);
  Put32(bytes, 26, 54);
  Put32(bytes, 30, static_cast<uint32_t>(tableAt));
  Put32(bytes, 34, static_cast<uint32_t>(bitmapsAt));
  Put32(bytes, 38, static_cast<uint32_t>(bitmapsAt + imageBytes));
  Put16(bytes, bitmapsAt, 400);
  Put16(bytes, bitmapsAt + 2, 1000);
  bytes[bitmapsAt + 4] = char(0x80);
  bytes += std::string("IMG\0", 4);
  return bytes;  // every offset in the table is 0: the one image, the one name
}

TEST(BinaryRead, SharedImagesAreReadButCannotAmplifyWithoutBound) {
  Library library;
  ASSERT_TRUE(BinaryLibraryFormat::ReadBytes(SharedImageFile(2), library));
  ASSERT_EQ(library.patterns.size(), 2u);
  EXPECT_TRUE(PatternsEqual(*library.patterns[0], *library.patterns[1]));
  EXPECT_EQ(library.patterns[1]->name, "IMG");
  EXPECT_TRUE(library.patterns[1]->Pixel(0, 0));

  // 2000 references to a 50 KB image would build 100 MB from a 66 KB file.
  EXPECT_EQ(BinaryLibraryFormat::Decode(SharedImageFile(2000)).failure, ReadFailure::OverBudget);
}

}  // namespace
}  // namespace zanli
