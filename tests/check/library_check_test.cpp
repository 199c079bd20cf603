#include "check/library_check.h"

#include <gtest/gtest.h>

#include <functional>

#include "check_test_support.h"
#include "support/library_builder.h"

namespace zanli {
namespace {

using namespace zanli::testing;
using check_test::Summaries;
using Strings = std::vector<std::string>;

PinInfo& Pin(Library& library, size_t body, size_t pin) { return *library.bodies[body]->pins[pin]; }

TEST(LibraryCheck, FindsEachPlantedProblemAtItsEntryPinAndBlock) {
  const struct {
    const char* what;
    std::function<void(Library&)> plant;
    Strings expected;
  } cases[] = {
      {"nothing", [](Library&) {}, {}},
      {"pins beyond a shrunk body",
       [](Library& l) {
         l.bodies[0]->xSize = 1;  // VCC at top 2
         Pin(l, 0, 0).position = -1;
       },
       {"pin_outside_body GATE L-1 0/4", "pin_outside_body GATE T2 0/1"}},
      {"the corners are positions",
       [](Library& l) { AddPin(*l.bodies[1], "", PinEdge::Right, 2, {"D2"}); },
       {}},
      {"a pin under an earlier one",
       [](Library& l) {
         AddPin(*l.bodies[0], "B", PinEdge::Left, 1, {"D7", "D8"});
       },
       {"pins_at_one_position GATE L1"}},
      {"a number twice in one block, not across blocks",
       [](Library& l) {
         Pin(l, 0, 2).numbers = {"D1", "H4"};  // equal texts, the display letter aside
         Pin(l, 0, 1).numbers = {"D4", "D2"};  // 4 again, but in block 1
       },
       {"duplicate_pin_number GATE R2 b1 1>", "duplicate_pin_number GATE R2 b2 4>"}},
      {"numbered in some blocks only",
       [](Library& l) {
         l.bodies[0]->SetBlockCount(3);  // every pin gets an empty block 3
         Pin(l, 0, 0).numbers = {"D", "D1", "H"};
       },
       {"partly_numbered_pin GATE L1 b1", "partly_numbered_pin GATE L3 b3", "partly_numbered_pin GATE R2 b3",
        "partly_numbered_pin GATE T2 b3"}},
      {"a pattern smaller than the body",
       [](Library& l) { l.bodies[1]->ySize = 3; },
       {"pattern_too_small BOXED ptn:BOX 21x21>21x31"}},
      {"patterns no part uses",
       [](Library& l) {
         AddPattern(l, "SPARE", 1, 1);
         AddBody(l, 1, 1, 1, l.patterns[0].get());  // no entry names it
         l.bodies[1]->pattern = nullptr;
       },
       {"unused_pattern ptn:BOX", "unused_pattern ptn:SPARE"}},
      {"names the dialogs refuse",
       [](Library& l) {
         l.entries[1]->name = "GATE 2";
         l.entries[2]->name = "GATE";
         AddPattern(l, "NINE_LONG", 1, 1);
         AddPattern(l, "BOX", 1, 1);
       },
       {"invalid_part_name GATE 2", "duplicate_part_name GATE", "invalid_pattern_name ptn:NINE_LONG",
        "unused_pattern ptn:NINE_LONG", "duplicate_pattern_name ptn:BOX", "unused_pattern ptn:BOX"}},
      {"characters the font lacks",
       [](Library& l) {
         Pin(l, 0, 0).name = "\\\x83\x41";
         Pin(l, 0, 1).name = "CL\tK";
         Pin(l, 0, 2).numbers.Set(1, "D\x82\x50");
       },
       {"pin_name_undrawable GATE L1 \\\x83\x41>", "pin_name_unstorable GATE L3 CL\tK>",
        "pin_number_undrawable GATE R2 b2 D\x82\x50>"}},
      {"bytes that are no character: a substitute, an unpaired lead byte, a control",
       [](Library& l) {
         Pin(l, 0, 0).name = "A\xFC\xFC";
         Pin(l, 0, 2).numbers.Set(0, "D5\x81");
         l.bodies[1]->numberPrefix = "U\x01";
       },
       {"pin_name_unstorable GATE L1 A\xFC\xFC>", "pin_number_unstorable GATE R2 b1 D5\x81>",
        "prefix_unstorable BOXED U\x01>"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Library library;
    BuildCleanLibrary(library);
    c.plant(library);
    EXPECT_EQ(Summaries(LibraryCheck::DesignProblems(library)), c.expected);
  }
}

TEST(LibraryCheck, AddsTheLossesOfTheFormatTheLibraryIsSavedIn) {
  Library library;
  BuildCleanLibrary(library);
  Pin(library, 0, 0).numbers = {"D", "D9"};
  const Strings design = {"partly_numbered_pin GATE L1 b1"};
  Strings text = design;
  text.insert(text.end(), {"pin_number_changed GATE L1 b1 D>D9", "pin_number_changed GATE L1 b2 D9>"});
  Strings binary = design;
  binary.push_back("pin_number_changed GATE L1 b1 D>D0");
  EXPECT_EQ(Summaries(LibraryCheck::Run(library, LibraryFormat::Text)), text);
  EXPECT_EQ(Summaries(LibraryCheck::Run(library, LibraryFormat::Binary)), binary);
}

}  // namespace
}  // namespace zanli
