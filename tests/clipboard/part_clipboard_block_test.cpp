#include "clipboard/part_clipboard_block.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "support/library_builder.h"

namespace zanli {
namespace {

using testing::AddPin;

using Part = PartClipboardBlock::Part;

// Little-endian int32 bytes, for spelling out expected blocks by hand.
std::string Le(int32_t v) {
  const uint32_t u = static_cast<uint32_t>(v);
  return {static_cast<char>(u & 0xFF), static_cast<char>((u >> 8) & 0xFF),
          static_cast<char>((u >> 16) & 0xFF), static_cast<char>((u >> 24) & 0xFF)};
}

void SetInt32(std::string& block, size_t at, int32_t v) { block.replace(at, 4, Le(v)); }

// Two pins of two blocks and a 17-pixel-wide pattern whose padding bits are
// set, so every field and the padding show up in the block.
struct SamplePart {
  SamplePart() : pattern("\x83p\\", 17, 3) {
    body.numberPrefix = "IC";
    body.xSize = 5;
    body.ySize = 7;
    body.blockCount = 2;
    AddPin(body, "\\C\\S", PinEdge::Top, 3, {"D1", "H"}, PinFlag::Clock | PinFlag::NegativeLogic);
    AddPin(body, "\x82\xa0\x82\xa2", PinEdge::Bottom, 0, {"", "D12"}, 0x7FFF0001);
    for (size_t i = 0; i < pattern.bits.size(); ++i) pattern.bits[i] = static_cast<uint8_t>(0x11 * i + 1);
    body.pattern = &pattern;
  }
  std::string Block() const { return PartClipboardBlock::Build("74HC\xb1", body); }

  PartBody body;
  Pattern pattern;
};

// A decoded part that Read must leave alone when it refuses.
Part Sentinel() {
  Part part;
  part.name = "untouched";
  return part;
}

bool IsSentinel(const Part& part) { return part.name == "untouched" && !part.body && !part.pattern; }

TEST(PartClipboardBlockLayout, PartWithoutPinsOrPatternIsHeaderAndStrings) {
  PartBody body;
  body.numberPrefix = "R";
  body.xSize = 3;
  body.ySize = 4;
  const std::string expected =
      Le(28) + Le(31) + Le(3) + Le(4) + Le(1) + Le(0) + Le(0) + std::string("R1\0R\0", 5);
  EXPECT_EQ(PartClipboardBlock::Build("R1", body), expected);
}

TEST(PartClipboardBlockLayout, PinRecordsCarryOneNumberOffsetPerBlock) {
  PartBody body;
  body.blockCount = 2;
  AddPin(body, "\\CS", PinEdge::Right, 2, {"D1", "H"}, PinFlag::NumberNearBody);
  AddPin(body, "", PinEdge::Bottom, 255, {"", "D12"}, PinFlag::NegativeLogic);
  // Fixed part: 28 + 2 * (16 + 4 * 2) = 76; strings follow in order.
  const std::string expected = Le(76) + Le(79) + Le(2) + Le(2) + Le(2) + Le(2) + Le(0) +  //
                               Le(81) + Le(1) + Le(2) + Le(2) + Le(85) + Le(88) +         //
                               Le(90) + Le(8) + Le(3) + Le(255) + Le(91) + Le(92) +       //
                               std::string("IC\0U\0\\CS\0D1\0H\0\0\0D12\0", 20);
  EXPECT_EQ(PartClipboardBlock::Build("IC", body), expected);
}

TEST(PartClipboardBlockLayout, PatternRecordHoldsBitsWithPadding) {
  PartBody body;
  Pattern pattern("P", 17, 2);  // stride 4: two bytes of ink, two of padding
  pattern.bits = {0xFF, 0x80, 0xAB, 0xCD, 0x01, 0x00, 0xEF, 0x55};
  body.pattern = &pattern;
  // Fixed part: 28 + 12 + 2 * 4 = 48.
  const std::string expected = Le(48) + Le(50) + Le(2) + Le(2) + Le(1) + Le(0) + Le(28) +  //
                               Le(52) + Le(17) + Le(2) + "\xFF\x80\xAB\xCD\x01" + std::string(1, '\0') +
                               "\xEF\x55" + std::string("A\0U\0P\0", 6);
  EXPECT_EQ(PartClipboardBlock::Build("A", body), expected);
}

TEST(PartClipboardBlockLayout, StringAreaGrowsPastSixtyFourKilobytes) {
  PartBody body;
  body.blockCount = 1;
  AddPin(body, std::string(70000, 'N'), PinEdge::Left, 1, {"D" + std::string(5000, '9')}, 0);
  const std::string block = PartClipboardBlock::Build("BIG", body);
  ASSERT_EQ(block.size(), 48u + 4 + 2 + 70001 + 5002);
  Part part;
  ASSERT_TRUE(PartClipboardBlock::Read(block, part));
  EXPECT_EQ(part.body->pins[0]->name.size(), 70000u);
  EXPECT_EQ(part.body->pins[0]->numbers[0].size(), 5001u);
}

TEST(PartClipboardBlockLayout, RecordsFollowTheHeaderEvenWhenTheModelDisagrees) {
  // Pins whose numbers do not match blockCount and a NUL inside a name: the
  // block must still be one a reader accepts, with the strings it would see.
  PartBody body;
  body.blockCount = 2;
  AddPin(body, std::string("A\0B", 3), PinEdge::Left, 0, {"D1"}, 0);
  AddPin(body, "X", PinEdge::Left, 1, {"D1", "D2", "D3"}, 0);
  Part part;
  ASSERT_TRUE(PartClipboardBlock::Read(PartClipboardBlock::Build("P", body), part));
  EXPECT_EQ(part.body->pins[0]->name, "A");
  EXPECT_EQ(part.body->pins[0]->numbers, (std::vector<std::string>{"D1", ""}));
  EXPECT_EQ(part.body->pins[1]->numbers, (std::vector<std::string>{"D1", "D2"}));
}

TEST(PartClipboardBlockRoundTrip, ReadGivesBackThePartAndRebuildsTheSameBytes) {
  SamplePart sample;
  const std::string block = sample.Block();
  Part part;
  ASSERT_TRUE(PartClipboardBlock::Read(block, part));
  EXPECT_EQ(part.name, "74HC\xb1");
  ASSERT_TRUE(part.body);
  EXPECT_EQ(part.body->numberPrefix, "IC");
  EXPECT_EQ(part.body->xSize, 5);
  EXPECT_EQ(part.body->ySize, 7);
  EXPECT_EQ(part.body->blockCount, 2);
  EXPECT_EQ(part.body->pattern, nullptr);
  ASSERT_EQ(part.body->pins.size(), 2u);
  const PinInfo& first = *part.body->pins[0];
  EXPECT_EQ(first.name, "\\C\\S");
  EXPECT_EQ(first.edge, PinEdge::Top);
  EXPECT_EQ(first.position, 3);
  EXPECT_EQ(first.flags, PinFlag::Clock | PinFlag::NegativeLogic);
  EXPECT_EQ(first.numbers, (std::vector<std::string>{"D1", "H"}));
  const PinInfo& second = *part.body->pins[1];
  EXPECT_EQ(second.name, "\x82\xa0\x82\xa2");
  EXPECT_EQ(second.edge, PinEdge::Bottom);
  EXPECT_EQ(second.flags, 0x7FFF0001);  // unknown bits travel unchanged
  EXPECT_EQ(second.numbers, (std::vector<std::string>{"", "D12"}));
  ASSERT_TRUE(part.pattern);
  EXPECT_EQ(part.pattern->name, "\x83p\\");
  EXPECT_EQ(part.pattern->width, 17);
  EXPECT_EQ(part.pattern->height, 3);
  EXPECT_EQ(part.pattern->bits, sample.pattern.bits);

  part.body->pattern = part.pattern.get();
  EXPECT_EQ(PartClipboardBlock::Build(part.name, *part.body), block);
}

TEST(PartClipboardBlockRoundTrip, LargestAcceptedValuesSurvive) {
  PartBody body;
  body.xSize = 32767;
  body.ySize = 1;
  body.SetBlockCount(256);
  AddPin(body, "P", PinEdge::Bottom, 32767, std::vector<std::string>(256, "D9"), 0);
  Pattern pattern("W", 1, 32767);
  pattern.bits.back() = 0x80;
  body.pattern = &pattern;
  const std::string block = PartClipboardBlock::Build("MAX", body);
  Part part;
  ASSERT_TRUE(PartClipboardBlock::Read(block, part));
  part.body->pattern = part.pattern.get();
  EXPECT_EQ(PartClipboardBlock::Build(part.name, *part.body), block);
}

TEST(PartClipboardBlockHostile, OutOfRangeFieldsAndOffsetsRefuseTheBlock) {
  // The sample: pins at 28 and 52, pattern record at 76, a bitmap of 3 rows
  // of 4 bytes at 88, strings from 100 on. The plain block has no pins and
  // no pattern, so a header bound is the only thing that can refuse it.
  const std::string sample = SamplePart().Block();
  ASSERT_EQ(sample.substr(100, 6), std::string("74HC\xb1\0", 6));
  const std::string plain = PartClipboardBlock::Build("R1", PartBody());
  const int32_t size = static_cast<int32_t>(sample.size());
  struct Case {
    const char* what;
    const std::string& base;
    size_t at;
    int32_t value;
  };
  const Case cases[] = {
      {"name offset at the end", sample, 0, size},
      {"name offset negative", sample, 0, -1},
      {"prefix offset far past the end", sample, 4, 0x7FFFFFFF},
      {"xSize zero", plain, 8, 0},
      {"xSize too large", plain, 8, 32768},
      {"ySize negative", plain, 12, -1},
      {"ySize too large", plain, 12, 32768},
      {"blockCount zero", plain, 16, 0},
      {"blockCount 257", plain, 16, 257},
      {"pin count negative", plain, 20, -1},
      {"pin count huge", sample, 20, 0x7FFFFFFF},
      {"pin count beyond the block", sample, 20, 1 << 20},
      {"pin records beyond the block", plain, 20, 1},
      {"pattern offset negative", plain, 24, -28},
      {"pattern offset past the end", sample, 24, size},
      {"pattern record cut by the end", sample, 24, size - 11},
      {"pin name offset past the end", sample, 28, size + 100},
      {"pin edge 4", sample, 28 + 8, 4},
      {"pin edge negative", sample, 52 + 8, -1},
      {"pin position negative", sample, 28 + 12, -1},
      {"pin position too large", sample, 52 + 12, 32768},
      {"pin number offset negative", sample, 52 + 20, -100},
      {"pattern name offset past the end", sample, 76, size},
      {"pattern width zero", sample, 80, 0},
      {"pattern width too large", sample, 80, 32768},
      {"pattern height zero", sample, 84, 0},
      {"pattern height too large", sample, 84, 32768},
      {"bitmap longer than the block", sample, 84, 32767},
  };
  for (const Case& c : cases) {
    std::string block = c.base;
    SetInt32(block, c.at, c.value);
    Part part = Sentinel();
    EXPECT_FALSE(PartClipboardBlock::Read(block, part)) << c.what;
    EXPECT_TRUE(IsSentinel(part)) << c.what;
  }
}

TEST(PartClipboardBlockHostile, StringsMustEndInsideTheBlock) {
  std::string block = SamplePart().Block();
  block.back() = 'X';  // the pattern name loses its NUL
  Part part = Sentinel();
  EXPECT_FALSE(PartClipboardBlock::Read(block, part));
  EXPECT_TRUE(IsSentinel(part));
}

TEST(PartClipboardBlockHostile, EveryTruncationIsRefused) {
  // The last string ends at the last byte, so no shorter prefix of a built
  // block is a block: each cut loses a NUL or puts an offset past the end.
  const std::string valid = SamplePart().Block();
  for (size_t length = 0; length < valid.size(); ++length) {
    Part part = Sentinel();
    EXPECT_FALSE(PartClipboardBlock::Read(std::string_view(valid).substr(0, length), part)) << length;
    EXPECT_TRUE(IsSentinel(part)) << length;
  }
}

TEST(PartClipboardBlockHostile, TrailingBytesAreIgnoredSoTheirPrefixesStillRead) {
  // Clipboard memory may be rounded up: a block with slack reads like the
  // block itself, and so does every cut that keeps the block whole.
  SamplePart sample;
  const std::string valid = sample.Block();
  const std::string padded = valid + std::string(9, '\xEE');
  Part expected;
  ASSERT_TRUE(PartClipboardBlock::Read(valid, expected));
  for (size_t length = valid.size(); length <= padded.size(); ++length) {
    Part part;
    ASSERT_TRUE(PartClipboardBlock::Read(std::string_view(padded).substr(0, length), part)) << length;
    EXPECT_TRUE(PartClipboardBlock::SameContent(part, expected)) << length;
  }
}

TEST(PartClipboardBlockHostile, SharedStringsAreReadButTheirMultiplicationIsBounded) {
  // Header, one pin of 256 blocks, then one string that the name, the prefix,
  // the pin name and all 256 numbers point at.
  auto make = [](size_t stringLength) {
    const int32_t strings = 28 + 16 + 4 * 256;
    std::string block = Le(strings) + Le(strings) + Le(1) + Le(1) + Le(256) + Le(1) + Le(0) +  //
                        Le(strings) + Le(0) + Le(0) + Le(0);
    for (int i = 0; i < 256; ++i) block += Le(strings);
    block += std::string(stringLength, 'S') + '\0';
    return block;
  };
  Part part;
  ASSERT_TRUE(PartClipboardBlock::Read(make(1100), part));
  EXPECT_EQ(part.name, std::string(1100, 'S'));
  EXPECT_EQ(part.body->numberPrefix, part.name);
  EXPECT_EQ(part.body->pins[0]->name, part.name);
  EXPECT_EQ(part.body->pins[0]->numbers[255], part.name);
  // 259 copies of 200,000 bytes are about 51 MB from a 201 kB block.
  Part refused = Sentinel();
  EXPECT_FALSE(PartClipboardBlock::Read(make(200000), refused));
  EXPECT_TRUE(IsSentinel(refused));
}

}  // namespace
}  // namespace zanli
