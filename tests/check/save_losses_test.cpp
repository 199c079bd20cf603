#include "check/save_losses.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <random>
#include <sstream>

#include "check_test_support.h"
#include "fileio/allocation_failure.h"
#include "fileio/binary_library_format.h"
#include "fileio/binary_test_support.h"
#include "fileio/text_library_format.h"
#include "support/library_builder.h"

namespace zanli {
namespace {

using namespace zanli::testing;
using check_test::CheckedSummaries;
using check_test::Summaries;
using testing::ForEachAllocationFailure;
using Strings = std::vector<std::string>;
constexpr LibraryFormat kText = LibraryFormat::Text;
constexpr LibraryFormat kBinary = LibraryFormat::Binary;

PinInfo& Pin(Library& library, size_t body, size_t pin) { return *library.bodies[body]->pins[pin]; }

// Where the tables' libraries are saved by CheckedSave, which leaves no file.
std::string SavePath(LibraryFormat format) {
  static const TempDir dir;
  return (dir.path() / (format == kText ? "saved.LB3" : "saved.LIB")).string();
}

TEST(SaveLosses, CleanLibraryKeepsEverythingInBothFormats) {
  Library library;
  BuildCleanLibrary(library);
  EXPECT_EQ(Summaries(SaveLosses::Find(library, kText)), Strings());
  EXPECT_EQ(Summaries(SaveLosses::Find(library, kBinary)), Strings());
}

TEST(SaveLosses, NamesEachChangeWithItsEntryPinBlockAndValues) {
  const std::string sjis = "\x93\xfc\x97\xcd";  // a double-byte pin name
  const struct {
    const char* what;
    LibraryFormat format;
    std::function<void(Library&)> change;
    Strings expected;
  } cases[] = {
      {"a number only in block 2 moves to block 1",
       kText,
       [](Library& l) {
         l.bodies[0]->SetBlockCount(4);
         Pin(l, 0, 0).numbers = {"D", "D77", "D", "D"};
       },
       {"pin_number_changed GATE L1 b1 D>D77", "pin_number_changed GATE L1 b2 D77>"}},
      {"hiding block 1 hides every block",
       kText,
       [](Library& l) { Pin(l, 0, 0).numbers.Set(0, "H1"); },
       {"pin_number_changed GATE L1 b2 D4>H4"}},
      {"a hidden later block comes back shown",
       kText,
       [](Library& l) { Pin(l, 0, 0).numbers.Set(1, "H4"); },
       {"pin_number_changed GATE L1 b2 H4>D4"}},
      {"a position past 255 comes back at 0",
       kText,
       [](Library& l) { Pin(l, 0, 2).position = 300; },
       {"pin_moved GATE R300 to R0"}},
      {"an alias of a duplicate name finds the first",
       kText,
       [](Library& l) {
         l.entries[2]->name = "GATE";
         AddEntry(l, "BOX2", l.bodies[1].get());
       },
       {"alias_changed BOX2 GATE>GATE"}},
      {"an empty number comes back as 0",
       kBinary,
       [](Library& l) {
         Pin(l, 0, 0).numbers = {"", "D"};
       },
       {"pin_number_changed GATE L1 b1 >D0", "pin_number_changed GATE L1 b2 D>D0"}},
      {"numbers keep one letter and the leading digits",
       kBinary,
       [](Library& l) {
         Pin(l, 0, 0).numbers = {"D12X", "Dab7"};
       },
       {"pin_number_changed GATE L1 b1 D12X>D12", "pin_number_changed GATE L1 b2 Dab7>DA0"}},
      {"a double-byte pin name is garbled",
       kBinary,
       [&](Library& l) { Pin(l, 0, 0).name = sjis; },
       {"pin_name_changed GATE L1 " + sjis + ">\\\x13\\|\\\x17\\M"}},
      {"a trailing backslash is dropped",
       kBinary,
       [](Library& l) { Pin(l, 0, 0).name = "A\\"; },
       {"pin_name_changed GATE L1 A\\>A"}},
      {"a name stops at a NUL byte",
       kBinary,
       [](Library& l) { l.entries[2]->name = std::string("BOX\0ED", 6); },
       {"entry_renamed " + std::string("BOX\0ED", 6) + " " + std::string("BOX\0ED", 6) + ">BOX"}},
      {"patterns without parts are lost",
       kBinary,
       [](Library& l) { l.entries.clear(); },
       {"pattern_lost ptn:BOX"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Library library;
    BuildCleanLibrary(library);
    c.change(library);
    EXPECT_EQ(Summaries(SaveLosses::Find(library, c.format)), c.expected);
    // The save that checks the file it writes finds the same, and so does
    // the check that compares the library read back whole.
    EXPECT_EQ(CheckedSummaries(library, c.format, SavePath(c.format)), c.expected);
    EXPECT_EQ(check_test::WholeSummaries(library, c.format), c.expected);
  }
  // A body whose pattern another library owns keeps no pattern in either format
  // unless a pattern of that name comes first in its own library.
  Library other;
  Pattern* stray = AddPattern(other, "STRAY", 21, 21);
  for (LibraryFormat format : {kText, kBinary}) {
    Library library;
    BuildCleanLibrary(library);
    library.bodies[1]->pattern = stray;
    EXPECT_EQ(Summaries(SaveLosses::Find(library, format)), Strings({"part_pattern_changed BOXED STRAY>"}));
  }
}

// The text is compared part by part as it is read back: the report keeps
// the patterns read back and copies of the bodies that changed, not the
// library; only entries that stop pairing by position make it read the text
// back whole.
TEST(SaveLosses, TextIsComparedPartByPartUnlessEntriesStopPairing) {
  Library library;
  BuildCleanLibrary(library);
  Pin(library, 0, 2).position = 300;
  PartBody* last = nullptr;
  for (int i = 0; i < 50; ++i)
    AddEntry(library, "MORE" + std::to_string(i), last = AddBody(library, 3, 3, 1));
  AddPin(*last, "Z", PinEdge::Bottom, 256, {"D1"});
  const CheckReport streamed = SaveLosses::Find(library, kText);
  EXPECT_EQ(Summaries(streamed), Strings({"pin_moved GATE R300 to R0", "pin_moved MORE49 B256 to B0"}));
  ASSERT_NE(streamed.SavedBack(), nullptr);
  EXPECT_EQ(streamed.SavedBack()->patterns.size(), 1u);
  EXPECT_TRUE(streamed.SavedBack()->entries.empty());
  EXPECT_EQ(streamed.SavedBackEntries(), library.entries.size());

  // An alias of the second GATE, which reads back as one of the first.
  library.entries[2]->name = "GATE";
  AddEntry(library, "BOX2", library.bodies[1].get());
  const CheckReport whole = SaveLosses::Find(library, kText);
  EXPECT_EQ(Summaries(whole).back(), "alias_changed BOX2 GATE>GATE");
  ASSERT_NE(whole.SavedBack(), nullptr);
  EXPECT_EQ(whole.SavedBack()->entries.size(), library.entries.size());
}

TEST(SaveLosses, RefusalsAndUnreadableFilesComeAloneWithTheirCause) {
  const struct {
    const char* what;
    LibraryFormat format;
    std::function<void(Library&)> change;
    Strings expected;
  } cases[] = {
      {"x size of a byte",
       kBinary,
       [](Library& l) { l.bodies[1]->xSize = 300; },
       {"refused_x_size BOXED 300/255"}},
      {"pin position",
       kBinary,
       [](Library& l) { Pin(l, 0, 3).position = 256; },
       {"refused_pin_position GATE T256 256/255"}},
      {"pattern side",
       kBinary,
       [](Library& l) { AddPattern(l, "WIDE", 40000, 1); },
       {"refused_pattern_side ptn:WIDE 40000x1> 40000/32767"}},
      {"unnamed body", kBinary, [](Library& l) { AddBody(l, 1, 1, 0); }, {"refused_block_count 0/255"}},
      {"entry without a body",
       kBinary,
       [](Library& l) { l.entries[1]->body = nullptr; },
       {"refused_entry_without_body GATE2"}},
      {"entry without a body",
       kText,
       [](Library& l) { l.entries[1]->body = nullptr; },
       {"refused_entry_without_body GATE2"}},
      {"empty names",
       kText,
       [](Library& l) {
         l.entries[2]->name.clear();
         l.patterns[0]->name.clear();
       },
       {"unreadable_empty_pattern_name ptn:", "unreadable_empty_part_name "}},
      {"sizes the reader refuses",
       kText,
       [](Library& l) {
         l.bodies[0]->xSize = 0;
         l.bodies[1]->SetBlockCount(257);
       },
       {"unreadable_part_size GATE 0x4> 0/32767", "unreadable_block_count BOXED 257/256"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Library library;
    BuildCleanLibrary(library);
    c.change(library);
    EXPECT_EQ(Summaries(SaveLosses::Find(library, c.format)), c.expected);
    // The save that checks the file it writes finds the same, and so does
    // the check that compares the library read back whole.
    EXPECT_EQ(CheckedSummaries(library, c.format, SavePath(c.format)), c.expected);
    EXPECT_EQ(check_test::WholeSummaries(library, c.format), c.expected);
  }
  // The unnamed body is named by its place in the library's bodies.
  Library library;
  BuildCleanLibrary(library);
  AddBody(library, 1, 1, 0);
  EXPECT_EQ(SaveLosses::Find(library, kBinary).Problems().at(0).bodyIndex, 2u);
}

// Memory running out anywhere in the save check says the check could not
// run, nothing else: no refusal, no half a list, nothing kept of the
// library read back.
TEST(SaveLosses, RunningOutOfMemoryIsNotKnowingNeverARefusal) {
  Library library;
  BuildCleanLibrary(library);
  Pin(library, 0, 0).numbers = {"D", "D9"};  // a change in either format
  for (LibraryFormat format : {kText, kBinary}) {
    const Strings full = Summaries(SaveLosses::Find(library, format));
    ASSERT_FALSE(full.empty());
    // Made unarmed: only the save check may allocate while a failure is.
    const auto fresh = [&] {
      CheckReport report(library);
      report.Add(CheckKind::UnusedPattern).patternIndex = 0;  // found before: kept
      return report;
    };
    CheckReport report = fresh();
    const int failures =
        ForEachAllocationFailure([&] { SaveLosses::Find(library, format, report); },
                                 [&](bool fired) {
                                   Strings expected = {"unused_pattern ptn:BOX"};
                                   if (fired)
                                     expected.push_back("save_not_checked");
                                   else
                                     expected.insert(expected.end(), full.begin(), full.end());
                                   EXPECT_EQ(Summaries(report), expected);
                                   EXPECT_FALSE(report.HasSaveRefusal());
                                   EXPECT_EQ(report.SavedBack() != nullptr, !fired);
                                   report = fresh();
                                 });
    EXPECT_GT(failures, 20);
  }
}

// The library as a user sees it, written independently of SaveLosses: patterns
// in order with their ink, entries in order with the entry whose body they
// share, and each body once with its pins. Body order, unnamed bodies, row
// padding and "" against "D" are invisible and left out.
std::string Observable(const Library& library) {
  std::ostringstream out;
  std::map<const Pattern*, size_t> patternAt;
  for (const auto& p : library.patterns) {
    patternAt.emplace(p.get(), patternAt.size());
    out << "P " << p->name << ' ' << p->width << 'x' << p->height << ':';
    for (int32_t y = 0; y < p->height; ++y)
      for (int32_t x = 0; x < p->width; ++x) out << (p->Pixel(x, y) ? '#' : '.');
    out << '\n';
  }
  std::map<const PartBody*, size_t> partOf;
  for (size_t i = 0; i < library.entries.size(); ++i) {
    const PartBody* body = library.entries[i]->body;
    const bool first = partOf.emplace(body, i).second;
    out << "E " << library.entries[i]->name << " part " << partOf[body] << '\n';
    if (!first) continue;
    out << "  " << body->xSize << 'x' << body->ySize << " b" << body->blockCount << " R"
        << body->numberPrefix;
    if (body->pattern)
      out << " pattern " << (patternAt.count(body->pattern) ? std::to_string(patternAt[body->pattern]) : "?");
    out << '\n';
    for (const auto& pin : body->pins) {
      out << "  pin " << static_cast<int>(pin->edge) << ':' << pin->position << ' ' << pin->name << " f"
          << pin->flags;
      for (int32_t b = 0; b < body->blockCount; ++b) {
        const std::string_view n =
            static_cast<size_t>(b) < pin->numbers.size() ? pin->numbers[static_cast<size_t>(b)] : "";
        out << ' ' << (n.empty() ? "D" : n);
      }
      out << '\n';
    }
  }
  return out.str();
}

// Libraries both formats hold exactly, and with `lossy` one of the things one
// of them cannot hold.
void RandomLibrary(std::mt19937& random, bool lossy, Library& library) {
  auto below = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
  auto word = [&](const char* stem, int n) { return stem + std::to_string(n); };
  const int patterns = below(3);
  for (int i = 0; i < patterns; ++i) {
    Pattern* p = AddPattern(library, word("P", i), 1 + below(30), 1 + below(30));
    for (auto& byte : p->bits) byte = static_cast<uint8_t>(random());
  }
  const int bodies = 1 + below(4);
  for (int i = 0; i < bodies; ++i) {
    Pattern* pattern = patterns && below(2) ? library.patterns[below(patterns)].get() : nullptr;
    PartBody* body = AddBody(library, 1 + below(255), 1 + below(255), 1 + below(4), pattern);
    body->numberPrefix = below(2) ? "U" : "IC";
    const bool hidden = below(3) == 0;
    for (int k = below(6); k > 0; --k) {
      std::vector<std::string> numbers;
      for (int b = 0; b < body->blockCount; ++b)
        numbers.push_back(
            std::string(hidden ? "H" : "D").append(below(4) ? "" : "B").append(std::to_string(below(512))));
      AddPin(*body, below(2) ? "\\Q" : word("IN", k), static_cast<PinEdge>(below(4)), below(256), numbers,
             below(16) & (PinFlag::Clock | PinFlag::NegativeLogic | PinFlag::NumberNearBody));
    }
    AddEntry(library, word("PART", i), body);
    if (below(3) == 0) AddEntry(library, word("ALIAS", i), body);
  }
  if (!lossy) return;
  PartBody& body = *library.bodies[below(bodies)];
  PinInfo* pin = body.pins.empty() ? nullptr : body.pins[below(static_cast<int>(body.pins.size()))].get();
  switch (below(10)) {
    case 0:
      if (pin) {
        const char* number = below(2) ? "" : (below(2) ? "D" : "H");
        pin->numbers.Set(below(body.blockCount), number);
      }
      break;
    case 1:
      if (pin) {
        const char letter = below(2) ? 'H' : 'D';
        const size_t block = below(body.blockCount);
        pin->numbers.Set(block, std::string(1, letter).append(pin->numbers[block].substr(1)));
      }
      break;
    case 2:
      if (pin) pin->name = below(2) ? "\x83\x41" : "A\\";
      break;
    case 3:
      if (pin) pin->numbers.Set(0, std::string(pin->numbers[0]).append(below(2) ? "X" : "0"));
      break;
    case 4:
      if (pin) pin->position = 256 + below(100);
      break;
    case 5:
      body.xSize = 256 + below(100);
      break;
    case 6:
      library.entries[below(static_cast<int>(library.entries.size()))]->name = "PART0";
      break;
    case 7:
      if (below(2)) library.entries.clear();
      break;
    case 8:
      library.entries[0]->name.push_back('\0');
      break;
    case 9:
      body.SetBlockCount(below(2) ? 256 : 5);
      break;
  }
}

// Saving and reading back with the real writer and reader; false when the
// writer refuses or the reader refuses the result.
bool RoundTrip(const Library& library, LibraryFormat format, Library& back) {
  std::string bytes;
  if (format == kText) {
    bytes = TextLibraryFormat::WriteBytes(library);
    return !bytes.empty() && TextLibraryFormat::ReadBytes(bytes, back);
  }
  return BinaryLibraryFormat::Encode(library, bytes) == BinaryWriteResult::Ok &&
         BinaryLibraryFormat::ReadBytes(bytes, back);
}

TEST(SaveLosses, EmptyExactlyWhenTheRoundTripKeepsWhatTheUserSees) {
  std::mt19937 random(20240611);
  std::map<std::string, int> seen;
  for (int i = 0; i < 1500; ++i) {
    const bool lossy = i % 3 != 0;
    Library library;
    RandomLibrary(random, lossy, library);
    for (LibraryFormat format : {kText, kBinary}) {
      const CheckReport losses = SaveLosses::Find(library, format);
      ASSERT_EQ(check_test::WholeSummaries(library, format), Summaries(losses)) << i;
      if (i % 8 == 1) {
        ASSERT_EQ(CheckedSummaries(library, format, SavePath(format)), Summaries(losses)) << i;
      }
      Library back;
      const bool saved = RoundTrip(library, format, back);
      const bool kept = saved && Observable(back) == Observable(library);
      ++seen[std::string(lossy ? "lossy " : "exact ") + (kept ? "kept" : saved ? "changed" : "refused")];
      if (!lossy) {
        ASSERT_TRUE(kept) << Observable(library) << "\n---\n" << Observable(back);
      }
      ASSERT_EQ(losses.Empty(), kept)
          << i << (format == kText ? " text\n" : " binary\n") << Observable(library) << "\n---\n"
          << Observable(back) << "\n"
          << (losses.Empty() ? "" : check_test::Summary(losses.Problems()[0], losses));
      if (!saved) {
        EXPECT_TRUE(IsSaveRefusal(losses.Problems()[0].kind)) << KindId(losses.Problems()[0].kind);
      }
    }
  }
  // Every outcome occurred often enough to mean something.
  for (const char* outcome : {"exact kept", "lossy kept", "lossy changed", "lossy refused"})
    EXPECT_GE(seen[outcome], 50) << outcome;
}

}  // namespace
}  // namespace zanli
