#include "fileio/first_match_index.h"

#include <gtest/gtest.h>

#include <map>
#include <random>
#include <string>
#include <string_view>
#include <vector>

namespace zanli {
namespace {

// Every key in one probe chain: equal hashes must still tell keys apart.
struct OneHash {
  size_t operator()(std::string_view) const { return 42; }
};
// Two groups of keys whose hashes agree in the bits the table keeps.
struct TwoHashes {
  size_t operator()(std::string_view key) const { return key.size() % 2 ? uint64_t{1} << 40 : 7; }
};

// The index against a map that keeps the first value of each key, through
// inserts of repeated names and lookups of absent ones, across many growths.
template <typename Hash>
void ExpectFirstMatches(uint32_t seed) {
  std::mt19937 random(seed);
  std::vector<std::string> names;
  for (int i = 0; i < 600; ++i)
    names.push_back(
        std::string("P").append(std::to_string(random() % 300)).append(static_cast<size_t>(i % 3), 'x'));
  FirstMatchIndex<std::string_view, int, Hash> index;
  std::map<std::string_view, int> first;
  for (int i = 0; i < static_cast<int>(names.size()); ++i) {
    const auto [it, added] = first.emplace(names[i], i);
    index.Prefetch(names[i]);  // a hint only, in every state of the table
    ASSERT_EQ(index.Insert(names[i], i), it->second) << names[i] << " added " << added;
  }
  for (const auto& [name, value] : first) EXPECT_EQ(index.Find(name, -1), value) << name;
  EXPECT_EQ(index.Find("absent", -1), -1);
  EXPECT_EQ(index.Find("", -1), -1);
}

TEST(FirstMatchIndexTest, KeepsTheFirstValueOfEachKeyWhateverTheHashes) {
  ExpectFirstMatches<std::hash<std::string_view>>(1);
  ExpectFirstMatches<OneHash>(2);
  ExpectFirstMatches<TwoHashes>(3);
}

}  // namespace
}  // namespace zanli
