#include "model/pin_numbers.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <utility>
#include <vector>

namespace zanli {
namespace {

using Reference = std::vector<std::string>;

// Numbers around the sizes that decide where they live: short ones that fit
// the object together, ones that just do not, and ones longer than a byte
// offset can say.
std::string RandomNumber(std::mt19937& random) {
  const int length = std::vector<int>{0, 0, 1, 2, 3, 5, 9, 17, 19, 20, 21, 255, 256, 300}[random() % 14];
  std::string number(static_cast<size_t>(length), '\0');
  for (char& c : number) c = static_cast<char>('0' + random() % 75);
  if (!number.empty()) number[0] = random() % 2 ? 'D' : 'H';
  return number;
}

void ExpectSame(const PinNumbers& numbers, const Reference& reference, const std::string& trace) {
  ASSERT_EQ(numbers.size(), reference.size()) << trace;
  EXPECT_EQ(numbers.empty(), reference.empty()) << trace;
  EXPECT_TRUE(numbers == reference) << trace;
  for (size_t i = 0; i < reference.size(); ++i) ASSERT_EQ(numbers[i], reference[i]) << trace << " #" << i;
  const Reference iterated(numbers.begin(), numbers.end());
  EXPECT_EQ(iterated, reference) << trace;
}

// Every change applied to the numbers and to a vector of strings alike, in
// random order, and the two compared after each.
TEST(PinNumbersTest, BehavesAsAVectorOfStringsThroughRandomChanges) {
  std::mt19937 random(20240611);
  for (int round = 0; round < 300; ++round) {
    PinNumbers numbers(random() % 6);
    Reference reference(numbers.size());
    std::string trace = "start " + std::to_string(numbers.size());
    ExpectSame(numbers, reference, trace);
    for (int step = 0; step < 25; ++step) {
      const size_t count = reference.size();
      switch (random() % 8) {
        case 0:
        case 1:
          if (count > 0) {
            const size_t i = random() % count;
            reference[i] = RandomNumber(random);
            numbers.Set(i, reference[i]);
            trace += " set" + std::to_string(i) + "=" + std::to_string(reference[i].size());
          }
          break;
        case 2:
          if (count > 0) {  // from another of its own numbers, which the change moves
            const size_t from = random() % count;
            const size_t to = random() % count;
            numbers.Set(to, numbers[from]);
            reference[to] = std::string(reference[from]);
            trace += " copy" + std::to_string(from) + ">" + std::to_string(to);
          }
          break;
        case 3: {
          const size_t n = random() % 30;
          const std::string fill = random() % 2 ? "D" : "";
          numbers.Resize(n, fill);
          reference.resize(n, fill);
          trace += " resize" + std::to_string(n);
          break;
        }
        case 4: {
          Reference fresh(random() % 8);
          for (auto& n : fresh) n = RandomNumber(random);
          numbers = fresh;
          reference = fresh;
          trace += " assign" + std::to_string(fresh.size());
          break;
        }
        case 5: {  // reversed from views of its own numbers
          std::vector<std::string_view> views(numbers.begin(), numbers.end());
          std::reverse(views.begin(), views.end());
          numbers.Assign(views);
          std::reverse(reference.begin(), reference.end());
          trace += " reverse";
          break;
        }
        case 6: {
          PinNumbers copy(numbers);
          ExpectSame(copy, reference, trace + " copied");
          PinNumbers assigned;
          assigned = copy;
          numbers = PinNumbers();
          ExpectSame(numbers, {}, trace + " emptied");
          numbers = std::move(assigned);
          trace += " copies";
          break;
        }
        case 7: {
          PinNumbers other{"D1", std::string(40, 'H')};
          std::swap(numbers, other);
          ExpectSame(numbers, {"D1", std::string(40, 'H')}, trace + " swapped");
          numbers = std::move(other);
          trace += " swap";
          break;
        }
      }
      ExpectSame(numbers, reference, trace);
      if (::testing::Test::HasFailure()) return;
    }
  }
}

TEST(PinNumbersTest, ComparesAndPrintsLikeTheNumbersItHolds) {
  const PinNumbers two{"D1", ""};
  EXPECT_EQ(two, (PinNumbers{"D1", ""}));
  EXPECT_NE(two, (PinNumbers{"D1"}));
  EXPECT_NE(two, (PinNumbers{"D1", "D"}));
  EXPECT_NE(two, (PinNumbers{"", "D1"})) << "the same bytes split differently";
  EXPECT_EQ(two, (Reference{"D1", ""}));
  EXPECT_NE(two, (Reference{"D1"}));
  EXPECT_EQ(PinNumbers(3), Reference(3));
  EXPECT_EQ(PinNumbers(300), Reference(300));
  EXPECT_EQ(::testing::PrintToString(two), "{ \"D1\", \"\" }");
}

// Filling in order writes inside the object while the numbers fit there,
// and refuses without a change once they would not.
TEST(PinNumbersTest, FillingInOrderStaysInsideTheObjectOrChangesNothing) {
  std::mt19937 random(20261208);
  for (int round = 0; round < 600; ++round) {
    PinNumbers numbers(1 + random() % 24);
    Reference reference(numbers.size());
    size_t filledBytes = 0;  // one end offset per number, then the text
    for (size_t i = 0; i < reference.size(); ++i) {
      // Every length that fits, so that each way of copying a short text is taken.
      std::string text(random() % (PinNumbers::kInlineBytes + 1), '0');
      for (char& c : text) c = static_cast<char>('0' + random() % 75);
      const char mark = random() % 2 ? 'D' : 'H';
      const bool fits = reference.size() + filledBytes + 1 + text.size() <= PinNumbers::kInlineBytes;
      ASSERT_EQ(numbers.FillInOrder(i, mark, text), fits) << round << " #" << i;
      if (!fits) break;
      filledBytes += 1 + text.size();
      reference[i] = mark + text;
      ExpectSame(numbers, reference, "round " + std::to_string(round));
    }
    ExpectSame(numbers, reference, "round " + std::to_string(round) + " end");
  }
}

}  // namespace
}  // namespace zanli
