#include "model/object_pool.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <set>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "model/library.h"
#include "model/pin_list_allocator.h"
#include "support/library_builder.h"

namespace zanli {
namespace {

using testing::AddPart;
using testing::AddPin;

using Pool = ObjectPool<40, 8>;
constexpr size_t kStampBytes = 40;

struct Block {
  void* memory;
  unsigned char stamp;
};

void Stamp(const Block& block) { std::memset(block.memory, block.stamp, kStampBytes); }

bool Intact(const Block& block) {
  const auto* bytes = static_cast<const unsigned char*>(block.memory);
  return std::all_of(bytes, bytes + kStampBytes, [&](unsigned char b) { return b == block.stamp; });
}

// Two threads make and drop blocks in random order, each finally keeping
// some; the main thread then frees what both kept (frees from a thread that
// did not allocate). A block shared by two owners, or reused while live,
// shows as a broken stamp or a repeated address.
TEST(ObjectPoolTest, LiveBlocksNeverShareMemoryAcrossThreads) {
  std::vector<Block> kept[2];
  auto work = [](unsigned seed, std::vector<Block>& out) {
    std::mt19937 random(seed);
    std::vector<Block> live;
    for (int step = 0; step < 20000; ++step) {
      if (live.empty() || random() % 5 < 3) {
        live.push_back({Pool::Allocate(), static_cast<unsigned char>(random())});
        Stamp(live.back());
      } else {
        std::swap(live[random() % live.size()], live.back());
        ASSERT_TRUE(Intact(live.back()));
        Pool::Free(live.back().memory);
        live.pop_back();
      }
    }
    out = std::move(live);
  };
  std::thread first(work, 1u, std::ref(kept[0]));
  std::thread second(work, 2u, std::ref(kept[1]));
  first.join();
  second.join();
  std::set<void*> addresses;
  for (const auto& list : kept)
    for (const Block& block : list) {
      EXPECT_TRUE(Intact(block));
      EXPECT_TRUE(addresses.insert(block.memory).second);
    }
  EXPECT_GT(addresses.size(), 1000u);
  for (const auto& list : kept)
    for (const Block& block : list) Pool::Free(block.memory);
}

// Pins, bodies and entries come from the pools: a library built on one
// thread and dropped on another leaves its memory to the next library,
// whose contents are then its own.
TEST(ObjectPoolTest, LibrariesMadeAndDroppedOnOtherThreadsKeepTheirContents) {
  auto build = [](Library& library, const std::string& prefix) {
    for (int i = 0; i < 300; ++i) {
      PartBody* body = AddPart(library, prefix + std::to_string(i), 4, 4, 2);
      for (int k = 1; k <= 4; ++k) AddPin(*body, PinEdge::Left, k, prefix + "pin" + std::to_string(k));
    }
  };
  auto first = std::make_unique<Library>();
  std::thread([&] { build(*first, "A"); }).join();
  Library second;
  build(second, "B");
  std::thread([&] { first.reset(); }).join();
  Library third;
  build(third, "C");
  for (const auto* library : {&second, &third}) {
    const char prefix = library == &second ? 'B' : 'C';
    ASSERT_EQ(library->entries.size(), 300u);
    for (const auto& entry : library->entries) {
      EXPECT_EQ(entry->name[0], prefix);
      ASSERT_EQ(entry->body->pins.size(), 4u);
      for (const auto& pin : entry->body->pins)
        EXPECT_EQ(pin->name, std::string(1, prefix) + "pin" + std::to_string(pin->position));
    }
  }
}

// Pin lists of every length, grown one by one and made at their exact size,
// cover each pooled size and the heap beyond them; lists traded between
// bodies and dropped on another thread keep what they hold.
TEST(ObjectPoolTest, PinListsOfEveryLengthKeepTheirPins) {
  const size_t pooled = PinListAllocator<char>::kPooledBytes / sizeof(void*);
  Library library;
  std::vector<PartBody*> grown, exact;
  for (size_t count = 0; count <= pooled + 9; ++count) {
    // Appended, not added: GCC 12 at -O3 warns falsely on "x" + std::string.
    grown.push_back(AddPart(library, std::string("G").append(std::to_string(count)), 4, 4, 1));
    exact.push_back(AddPart(library, std::string("E").append(std::to_string(count)), 4, 4, 1));
    for (size_t k = 0; k < count; ++k) AddPin(*grown.back(), PinEdge::Left, static_cast<int32_t>(k), "g");
    std::vector<std::unique_ptr<PinInfo>> pins;
    for (size_t k = 0; k < count; ++k) pins.push_back(std::make_unique<PinInfo>(1));
    exact.back()->pins.assign(std::make_move_iterator(pins.begin()), std::make_move_iterator(pins.end()));
  }
  for (size_t count = 0; count < grown.size(); count += 2) grown[count]->pins.swap(exact[count]->pins);
  for (size_t count = 0; count < grown.size(); ++count) {
    const PartBody& withG = count % 2 ? *grown[count] : *exact[count];
    ASSERT_EQ(withG.pins.size(), count);
    for (size_t k = 0; k < count; ++k) {
      EXPECT_EQ(withG.pins[k]->name, "g");
      EXPECT_EQ(withG.pins[k]->position, static_cast<int32_t>(k));
    }
    EXPECT_EQ((count % 2 ? *exact[count] : *grown[count]).pins.size(), count);
  }
  std::thread([&] { library.Clear(); }).join();
  PartBody* again = AddPart(library, "A", 4, 4, 1);
  AddPin(*again, PinEdge::Top, 3, "t");
  EXPECT_EQ(again->pins.front()->name, "t");
}

}  // namespace
}  // namespace zanli
