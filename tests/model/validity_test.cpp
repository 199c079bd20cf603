#include "model/validity.h"

#include <gtest/gtest.h>

#include <functional>

#include "support/library_builder.h"

namespace zanli {
namespace {

// A clean two-block body, then one rule broken at a time at its edge, and
// the largest values that still keep the rules.
TEST(ValidityTest, EachRuleRefusesABodyJustBeyondItsLimit) {
  const auto body = [] {
    auto b = std::make_unique<PartBody>();
    b->blockCount = 2;
    testing::AddPin(*b, "A", PinEdge::Bottom, 3, {"D1", "H2"}, PinFlag::Clock | PinFlag::NegativeLogic);
    return b;
  };
  ASSERT_TRUE(IsValidBody(*body()));
  const struct {
    const char* what;
    std::function<void(PartBody&)> change;
    bool valid;
  } cases[] = {
      {"largest sizes", [](PartBody& b) { b.xSize = b.ySize = limits::kMaxSize; }, true},
      {"width 0", [](PartBody& b) { b.xSize = 0; }, false},
      {"height beyond", [](PartBody& b) { b.ySize = limits::kMaxSize + 1; }, false},
      {"most blocks", [](PartBody& b) { b.SetBlockCount(limits::kMaxBlocks); }, true},
      {"no block", [](PartBody& b) { b.SetBlockCount(0); }, false},
      {"a block too many", [](PartBody& b) { b.SetBlockCount(limits::kMaxBlocks + 1); }, false},
      {"last position", [](PartBody& b) { b.pins[0]->position = limits::kMaxPosition; }, true},
      {"beyond it", [](PartBody& b) { b.pins[0]->position = limits::kMaxPosition + 1; }, false},
      {"negative position", [](PartBody& b) { b.pins[0]->position = -1; }, false},
      {"fifth edge", [](PartBody& b) { b.pins[0]->edge = static_cast<PinEdge>(4); }, false},
      {"unknown flag", [](PartBody& b) { b.pins[0]->flags |= 2; }, false},
      {"number without letter", [](PartBody& b) { b.pins[0]->numbers.Set(1, "7"); }, false},
      {"empty number", [](PartBody& b) { b.pins[0]->numbers.Set(1, ""); }, true},
      {"a number short", [](PartBody& b) { b.pins[0]->numbers.Resize(1); }, false},
  };
  for (const auto& c : cases) {
    auto b = body();
    c.change(*b);
    EXPECT_EQ(IsValidBody(*b), c.valid) << c.what;
  }
  Pattern pattern("P", 17, 3);
  EXPECT_TRUE(IsValidPattern(pattern));
  pattern.bits.pop_back();  // the padding of the last row is missing
  EXPECT_FALSE(IsValidPattern(pattern));
  EXPECT_FALSE(IsValidPattern(Pattern("", 17, 3)));
  EXPECT_FALSE(IsValidPattern(Pattern("P", 0, 3)));
}

}  // namespace
}  // namespace zanli
