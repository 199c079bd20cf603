#include <gtest/gtest.h>

#include "binary_test_support.h"
#include "fileio/binary_library_format.h"
#include "fileio/binary_pattern_image.h"
#include "fileio/binary_pin_codec.h"

namespace zanli {
namespace {

using testing::AddBody;
using testing::AddEntry;
using testing::AddPin;

using testing::Bytes;

// The sample library, computed by hand field by field.
std::string ExpectedSample() {
  std::string f("LIB FOR NQ000\x1A", 14);
  f += Bytes({0, 0, 3, 0, 54, 0, 0, 0, 66, 0, 0, 0, 72, 0, 0, 0, 118, 0, 0, 0, 126, 0, 0, 0, 144, 0, 0, 0});
  f += std::string(12, '\0');
  f += Bytes({13, 0, 0, 0, 18, 0, 0, 0, 24, 0, 0, 0});  // entry names in the pool
  f += Bytes({0, 0, 0, 0, 28, 0});                      // part and alias share record 0
  // Record 0: 3 × 4, 2 blocks, prefix at 3, pattern 0, 2 pins on the top and right edges.
  f += Bytes({3, 4, 2, 0, 0, 0, 3, 0, 0, 0, 0x02, 0x60});
  f += Bytes({1, 0xC2, 6, 0, 0x58, 0x00, 0x07, 0x84});  // D600 -> 88, Ha7 -> hidden A7
  f += Bytes({2, 0x11, 9, 0, 0x00, 0x00, 0x00, 0x80});  // "" and "H"
  // Record 28: no pattern, one pin on the left edge sharing "CLK" and the prefix.
  f += Bytes({1, 1, 1, 0, 0, 0, 3, 0, 0xFF, 0xFF, 0x01, 0x80, 0, 0, 9, 0, 1, 0});
  f += Bytes({0, 0, 8, 0, 13, 0, 0, 0});             // pattern table and its name offset
  f += Bytes({9, 0, 2, 0, 0xFF, 0x80, 0x01, 0x00});  // full image, padding bits cleared
  f += Bytes({5, 0, 1, 0, 0xF8});                    // half: 5 × 1
  f += Bytes({2, 0, 1, 0, 0xC0});                    // one fifth: 2 × 1
  f += std::string(
      "P1\0IC\0\x02\xD2\xD3\x03"
      "CLKPART\0ALIAS\0CLK\0",
      28);
  return f;
}

TEST(BinaryLayout, SampleLibraryMatchesHandComputedBytes) {
  Library library;
  testing::BuildSample(library);
  std::string bytes;
  ASSERT_EQ(BinaryLibraryFormat::Encode(library, bytes), BinaryWriteResult::Ok);
  EXPECT_EQ(bytes, ExpectedSample());
}

TEST(BinaryLayout, SampleReadsBackAndReencodesIdentically) {
  Library library;
  ASSERT_TRUE(BinaryLibraryFormat::ReadBytes(ExpectedSample(), library));
  ASSERT_EQ(library.entries.size(), 3u);
  ASSERT_EQ(library.bodies.size(), 2u);
  EXPECT_EQ(library.entries[0]->body, library.entries[1]->body);
  EXPECT_EQ(library.entries[2]->body, library.bodies[1].get());
  const PartBody& body = *library.bodies[0];
  EXPECT_EQ(body.pattern, library.patterns[0].get());
  EXPECT_EQ(library.bodies[1]->pattern, nullptr);
  EXPECT_EQ(library.patterns[0]->bits, std::vector<uint8_t>({0xFF, 0x80, 0x01, 0}));
  ASSERT_EQ(body.pins.size(), 2u);
  EXPECT_EQ(body.pins[0]->name, "\\R\\S");
  EXPECT_EQ(body.pins[0]->flags, PinFlag::Clock | PinFlag::NegativeLogic);
  EXPECT_EQ(body.pins[0]->edge, PinEdge::Right);
  EXPECT_EQ(body.pins[0]->numbers, std::vector<std::string>({"D88", "HA7"}));
  EXPECT_EQ(body.pins[1]->numbers, std::vector<std::string>({"D0", "H0"}));
  EXPECT_EQ(body.pins[1]->flags, PinFlag::NumberNearBody);

  std::string again;
  ASSERT_EQ(BinaryLibraryFormat::Encode(library, again), BinaryWriteResult::Ok);
  EXPECT_EQ(again, ExpectedSample());
}

TEST(BinaryLayout, PinNumbersKeepLetterHiddenBitAndLowNineBits) {
  const struct {
    const char* text;
    uint16_t word;
    const char* readBack;
  } cases[] = {
      {"D600", 88, "D88"},
      {"Ha7", 0x8407, "HA7"},
      {"D", 0, "D0"},
      {"H", 0x8000, "H0"},
      {"", 0, "D0"},
      {"D12x3", 12, "D12"},
      {"Dz9", 26 << 10 | 9, "DZ9"},
      {"D-5", 0, "D0"},
      {"X5", 5, "D5"},
      {"D99999999999999999999", 511, "D511"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(BinaryPinCodec::EncodeNumber(c.text), c.word) << c.text;
    EXPECT_EQ(BinaryPinCodec::DecodeNumber(c.word), c.readBack) << c.text;
  }
  EXPECT_EQ(BinaryPinCodec::DecodeNumber(0x7C00 | 0x200 | 3), "D_3");  // letter 31; bit 9 ignored
}

TEST(BinaryLayout, PinNamesStoreBarsInBitSeven) {
  const struct {
    const char* name;
    std::string stored;
    const char* readBack;
  } cases[] = {
      {"\\R\\S", "\xD2\xD3", "\\R\\S"}, {"AB\\", "AB", "AB"},        {"\\", "", ""},
      {"\\\\", "\xDC", "\\\\"},         {"A\\B\\", "A\xC2", "A\\B"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(BinaryPinCodec::EncodeName(c.name), c.stored) << c.name;
    EXPECT_EQ(BinaryPinCodec::DecodeName(c.stored), c.readBack) << c.name;
  }
  // Bytes this writer never stores: a raw trailing backslash is read as it
  // stands, a high byte as a barred character.
  EXPECT_EQ(BinaryPinCodec::DecodeName("A\\"), "A\\");
  EXPECT_EQ(BinaryPinCodec::DecodeName(std::string("\x80", 1)), std::string("\\\0", 2));
}

TEST(BinaryLayout, PinNamePoolSharesEqualModelNamesOnly) {
  Library library;
  PartBody* body = AddBody(library, 2, 2, 1, "");
  for (const char* name : {"AB", "AB\\", "AB", "\\"}) AddPin(*body, name, PinEdge::Left, 0, {"D1"}, 0);
  testing::AddEntry(library, "AB", body);
  std::string bytes;
  ASSERT_EQ(BinaryLibraryFormat::Encode(library, bytes), BinaryWriteResult::Ok);
  const size_t pins = 54 + 6 + 12;
  auto nameOffset = [&](int pin) { return bytes.substr(pins + 6 * pin + 2, 2); };
  EXPECT_EQ(nameOffset(0), Bytes({1, 0}));
  EXPECT_EQ(nameOffset(1), Bytes({4, 0}));  // same stored bytes, different name: stored again
  EXPECT_EQ(nameOffset(2), Bytes({1, 0}));
  EXPECT_EQ(nameOffset(3), Bytes({7, 0}));  // a lone backslash is a stored empty name
  // Prefix, three pin names, then the entry name, which is not shared with pin "AB".
  EXPECT_EQ(bytes.substr(bytes.size() - 11), std::string("\0\x02"
                                                         "AB\x02"
                                                         "AB\0AB\0",
                                                         11));

  Library back;
  ASSERT_TRUE(BinaryLibraryFormat::ReadBytes(bytes, back));
  EXPECT_EQ(back.bodies[0]->pins[1]->name, "AB");
  EXPECT_EQ(back.bodies[0]->pins[3]->name, "");
}

TEST(BinaryLayout, ImagesPackToBytesAndReduceByAnyInkInTheBlock) {
  const struct {
    int width, height, x, y;
    std::string full, half, fifth;
  } cases[] = {
      {17, 1, 16, 0, Bytes({17, 0, 1, 0, 0, 0, 0x80}), Bytes({9, 0, 1, 0, 0, 0x80}),
       Bytes({4, 0, 1, 0, 0x10})},
      {5, 5, 4, 4, Bytes({5, 0, 5, 0, 0, 0, 0, 0, 0x08}), Bytes({3, 0, 3, 0, 0, 0, 0x20}),
       Bytes({1, 0, 1, 0, 0x80})},
      {1, 1, 0, 0, Bytes({1, 0, 1, 0, 0x80}), Bytes({1, 0, 1, 0, 0x80}), Bytes({1, 0, 1, 0, 0x80})},
  };
  for (const auto& c : cases) {
    Pattern pattern("P", c.width, c.height);
    pattern.SetPixel(c.x, c.y, true);
    const std::string full = BinaryPatternImage::Pack(pattern);
    EXPECT_EQ(full, c.full) << c.width;
    EXPECT_EQ(BinaryPatternImage::Reduce(full, 2), c.half) << c.width;
    EXPECT_EQ(BinaryPatternImage::Reduce(full, 5), c.fifth) << c.width;
    Pattern back("P", c.width, c.height);
    BinaryPatternImage::Unpack(full, back);
    EXPECT_TRUE(PatternsEqual(back, pattern));
    EXPECT_EQ(back.bits, pattern.bits);  // memory padding comes back as 0
  }
}

TEST(BinaryLayout, PatternOutsideTheListIsWrittenAsNone) {
  Library library;
  Pattern stray("STRAY", 11, 11);
  PartBody* body = AddBody(library, 2, 2, 1, "U");
  body->pattern = &stray;
  testing::AddEntry(library, "A", body);
  std::string bytes;
  ASSERT_EQ(BinaryLibraryFormat::Encode(library, bytes), BinaryWriteResult::Ok);
  EXPECT_EQ(bytes.substr(54 + 6 + 8, 2), Bytes({0xFF, 0xFF}));
  Library back;
  ASSERT_TRUE(BinaryLibraryFormat::ReadBytes(bytes, back));
  EXPECT_EQ(back.bodies[0]->pattern, nullptr);
}

TEST(BinaryLayout, UnnamedBodyIsWrittenButNotReadAndBodiesFollowFirstEntry) {
  Library library;
  PartBody* a = AddBody(library, 1, 1, 1, "A");
  PartBody* b = AddBody(library, 2, 2, 1, "B");
  AddBody(library, 3, 3, 1, "C");
  testing::AddEntry(library, "X", b);
  testing::AddEntry(library, "Y", a);
  testing::AddEntry(library, "Z", b);
  std::string bytes;
  ASSERT_EQ(BinaryLibraryFormat::Encode(library, bytes), BinaryWriteResult::Ok);
  Library back;
  ASSERT_TRUE(BinaryLibraryFormat::ReadBytes(bytes, back));
  ASSERT_EQ(back.bodies.size(), 2u);
  EXPECT_EQ(back.bodies[0]->numberPrefix, "B");
  EXPECT_EQ(back.bodies[1]->numberPrefix, "A");
  EXPECT_EQ(back.entries[2]->body, back.bodies[0].get());
}

}  // namespace
}  // namespace zanli
