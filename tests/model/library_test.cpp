#include "model/library.h"

#include <gtest/gtest.h>

#include "support/library_builder.h"

namespace zanli {
namespace {

TEST(PartBodyTest, SetBlockCountKeepsLeadingNumbersAndFillsShownEmpty) {
  PartBody body;
  body.blockCount = 3;
  testing::AddPin(body, "", PinEdge::Left, 0, {"D1", "H2", "D3"});
  testing::AddPin(body, "", PinEdge::Top, 1, {"", "D5", "D6"});

  body.SetBlockCount(1);
  EXPECT_EQ(body.blockCount, 1);
  EXPECT_EQ(body.pins[0]->numbers, (std::vector<std::string>{"D1"}));
  EXPECT_EQ(body.pins[1]->numbers, (std::vector<std::string>{""}));

  body.SetBlockCount(3);
  EXPECT_EQ(body.pins[0]->numbers, (std::vector<std::string>{"D1", "D", "D"}));
  EXPECT_EQ(body.pins[1]->numbers, (std::vector<std::string>{"", "D", "D"}));

  PartBody bare;
  bare.SetBlockCount(7);
  EXPECT_EQ(bare.blockCount, 7);
  EXPECT_TRUE(bare.pins.empty());
}

TEST(PartBodyTest, LookupReturnsFirstOfDuplicatePinsAndRemovalDestroysIt) {
  PartBody body;
  PinInfo* first = testing::AddPin(body, "", PinEdge::Right, 2, {"D1"});
  PinInfo* second = testing::AddPin(body, "", PinEdge::Right, 2, {"D2"});
  testing::AddPin(body, "", PinEdge::Left, 2, {"D3"});

  EXPECT_EQ(body.FindPin(PinEdge::Right, 2), first);
  EXPECT_EQ(body.FindPin(PinEdge::Bottom, 2), nullptr);
  EXPECT_TRUE(body.RemovePin(first));
  EXPECT_EQ(body.FindPin(PinEdge::Right, 2), second);
  EXPECT_FALSE(body.RemovePin(first));
  EXPECT_EQ(body.pins.size(), 2u);
}

// Clones stand for their originals in every field: replacing each body and
// pattern by its clone changes nothing a description of the library shows.
TEST(PartBodyTest, ClonesOfBodiesAndPatternsStandForTheOriginals) {
  Library library;
  testing::BuildCleanLibrary(library);
  const std::string before = testing::Describe(library);
  for (auto& pattern : library.patterns) {
    std::unique_ptr<Pattern> copy = pattern->Clone();
    for (auto& body : library.bodies)
      if (body->pattern == pattern.get()) body->pattern = copy.get();
    pattern = std::move(copy);
  }
  for (auto& body : library.bodies) {
    std::unique_ptr<PartBody> copy = body->Clone();
    ASSERT_NE(copy->pins.front().get(), body->pins.front().get());
    for (auto& entry : library.entries)
      if (entry->body == body.get()) entry->body = copy.get();
    body = std::move(copy);
  }
  EXPECT_EQ(testing::Describe(library), before);
}

TEST(PinInfoTest, BlankPinHasOneEmptyNumberPerBlock) {
  PinInfo pin(4);
  EXPECT_TRUE(pin.name.empty());
  EXPECT_EQ(pin.flags, 0);
  EXPECT_EQ(pin.edge, PinEdge::Left);
  EXPECT_EQ(pin.position, 0);
  EXPECT_EQ(pin.numbers, std::vector<std::string>(4));
}

TEST(LibraryTest, ClearEmptiesEverythingAndResetsTheDocument) {
  Library library;
  EXPECT_EQ(library.filePath, "Untitled.LIB");
  Pattern* pattern = library.AddPattern(std::make_unique<Pattern>("P", 11, 11));
  PartBody* body = library.AddBody(std::make_unique<PartBody>());
  body->pattern = pattern;
  library.AddEntry(std::make_unique<PartEntry>("A", body));
  library.filePath = "/tmp/x.LB3";
  library.fileTitle = "x.LB3";
  library.hasFilePath = true;

  library.Clear();
  EXPECT_TRUE(library.patterns.empty());
  EXPECT_TRUE(library.bodies.empty());
  EXPECT_TRUE(library.entries.empty());
  EXPECT_EQ(library.filePath, "Untitled.LIB");
  EXPECT_EQ(library.fileTitle, "Untitled.LIB");
  EXPECT_FALSE(library.hasFilePath);
}

struct EqualCase {
  const char* label;
  int32_t width, height;
  std::vector<uint8_t> a, b;  // row bytes, stride-sized
  bool equal;
};

TEST(PatternsEqualTest, ComparesInkWithinTheWidthOnly) {
  const EqualCase cases[] = {
      {"10 wide, padding differs", 10, 2, {0xFF, 0xC0, 0x01, 0x40}, {0xFF, 0xFF, 0x01, 0x7F}, true},
      {"10 wide, pixel 9 differs", 10, 1, {0xFF, 0xC0}, {0xFF, 0x80}, false},
      {"9 wide, first byte compared fully", 9, 1, {0xFE, 0x80}, {0xFF, 0x80}, false},
      {"9 wide, only top bit of second byte", 9, 1, {0x12, 0x80}, {0x12, 0xFF}, true},
      {"9 wide, top bit of second byte differs", 9, 1, {0x12, 0x00}, {0x12, 0x80}, false},
      {"8 wide, whole byte counts", 8, 1, {0x01, 0x00}, {0x00, 0x00}, false},
      {"7 wide, mask FE", 7, 1, {0xFE, 0x00}, {0xFF, 0x00}, true},
      {"17 wide, third byte top bit", 17, 1, {0, 0, 0x80, 0}, {0, 0, 0x00, 0}, false},
      {"17 wide, bits past 17 ignored", 17, 1, {0, 0, 0x7F, 0xFF}, {0, 0, 0x00, 0x00}, true},
  };
  for (const EqualCase& c : cases) {
    Pattern a("A", c.width, c.height), b("B", c.width, c.height);
    ASSERT_EQ(a.bits.size(), c.a.size()) << c.label;
    a.bits = c.a;
    b.bits = c.b;
    EXPECT_EQ(PatternsEqual(a, b), c.equal) << c.label;
    EXPECT_EQ(PatternsEqual(b, a), c.equal) << c.label;
  }
}

TEST(PatternsEqualTest, SizesMustMatchAndEmptyPatternsAreEqual) {
  Pattern tall("A", 8, 2), short_("B", 8, 1);
  EXPECT_FALSE(PatternsEqual(tall, short_));
  Pattern narrow("A", 7, 1), wide("B", 8, 1);
  EXPECT_FALSE(PatternsEqual(narrow, wide));
  Pattern none1("A", 8, 0), none2("B", 8, 0);
  EXPECT_TRUE(PatternsEqual(none1, none2));
}

TEST(PatternTest, PixelsFollowTheWordPaddedRowLayout) {
  Pattern p("P", 17, 3);
  EXPECT_EQ(p.Stride(), 4);
  EXPECT_EQ(p.bits.size(), 12u);
  p.SetPixel(0, 0, true);
  p.SetPixel(16, 2, true);
  p.SetPixel(17, 2, true);  // outside: ignored
  EXPECT_EQ(p.bits[0], 0x80);
  EXPECT_EQ(p.bits[2 * 4 + 2], 0x80);
  EXPECT_EQ(p.bits[2 * 4 + 3], 0x00);
  EXPECT_TRUE(p.Pixel(16, 2));
  p.SetPixel(16, 2, false);
  EXPECT_FALSE(p.Pixel(16, 2));
}

}  // namespace
}  // namespace zanli
