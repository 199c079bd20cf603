#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <sstream>
#include <string>

#include "document/library_document.h"
#include "pinlist/pin_column_roles.h"
#include "pinlist/pin_list_cells.h"
#include "pinlist/pin_list_edits.h"
#include "pinlist/pin_list_plan.h"
#include "pinlist/pin_table_text.h"
#include "support/library_builder.h"

namespace zanli {
namespace {

using testing::AddPart;
using testing::AddPin;
using testing::Describe;

// Roles as letters: n(umber) h(idden) a(name) s(ide) p(osition) B C N
// (flags) and - (ignored); a block after 1 follows its letter.
std::string RoleText(const PinColumnRoles& roles) {
  std::string text = roles.header ? "H:" : "";
  for (const PinColumnRole& role : roles.roles) {
    text += "-nhaspBCN"[static_cast<int>(role.kind)];
    if (role.block > 0) text += std::to_string(role.block + 1);
  }
  return text;
}

std::string PlanText(const PinListPlan& plan) {
  if (plan.problem != PinListProblem::None)
    return "problem " + std::to_string(static_cast<int>(plan.problem)) + " row " +
           std::to_string(plan.problemRow);
  std::ostringstream out;
  out << plan.attributes.xSize << 'x' << plan.attributes.ySize << " b" << plan.attributes.blockCount;
  for (const PlannedPin& pin : plan.pins) {
    out << " | "
        << "LTRB"[static_cast<int>(pin.edge)] << pin.position << ' ' << pin.data.name;
    for (std::string_view number : pin.data.numbers) out << ' ' << number;
    if (pin.data.flags) out << " f" << pin.data.flags;
  }
  return out.str();
}

PinListPlan PlanFor(const std::string& text, const PartBody& body, PinListDestination to = {}) {
  const PinListCells cells = PinListCells::Parse(text);
  return PinListPlan::Make(cells, PinColumnRoles::Detect(cells), body, to);
}

struct PasteCase {
  const char* what;
  std::string text;
  const char* roles;
  const char* pins;  // on a default 2 x 2 body, replacing all pins
};

TEST(PinListTest, PastedTextsBecomeColumnsAndArrangedPins) {
  const PasteCase cases[] = {
      {"spreadsheet copy with a header", "Pin\tName\tSide\r\n1\tA0\tL\r\n2\tCLK\tleft\r\n3\tQ\tR\r\n",
       "H:nas", "6x3 b1 | L1 A0 D1 | L2 CLK D2 | R1 Q D3"},
      {"CSV with quoted fields", "No.,Signal,Side\n\"1\",\"A,B\",T\n2,\"say \"\"hi\"\"\",B\n", "H:nas",
       "2x11 b1 | T1 A,B D1 | B1 say \"hi\" D2"},
      {"spaced columns without a header, a description", "1   VCC    Power supply\n2   GND    Ground\n",
       "na-", "7x2 b1 | L1 VCC D1 | R1 GND D2"},
      {"Japanese side words, no header", "1\tA\t\x89\x45\n2\tB\t\x8D\xB6\n", "nas",
       "4x2 b1 | R1 A D1 | L1 B D2"},
      {"ball names", "a1,VCC\nB2,GND\nC10,IO\n", "na", "6x3 b1 | L1 VCC DA1 | L2 GND DB2 | R1 IO DC10"},
      {"ragged rows and empty lines", "1\tVCC\n\n\n2\n3\tGND\textra\n", "na-",
       "7x3 b1 | L1 VCC D1 | L2  D2 | R1 GND D3"},
      {"a column of junk", "1\tVCC\tpower\n2\tGND\tground\n", "na-", "7x2 b1 | L1 VCC D1 | R1 GND D2"},
      {"names only", "A\nB\nC\nD\n", "a", "4x3 b1 | L1 A D | L2 B D | R1 C D | R2 D D"},
      {"the table's own copy with blocks and flags",
       "\x95\xD3\t\x88\xCA\x92\x75\t\x96\xBC\x91\x4F\t\xB8\xDB\xAF\xB8\t\x95\x89\x98\x5F\x97\x9D\t\x94\xD4"
       "\x8D\x86"
       "1\t\x94\xD4\x8D\x86\x32\t\x94\xF1\x95\x5C\x8E\xA6\x32\r\n"
       "\x89\xBA\t5\t\\C\\K\t1\t1\t7\t8\t1\r\n",
       "H:spaCNnn2h2", "6x2 b2 | B5 \\C\\K D7 H8 f12"},
      {"positions given, others around them", "Name,Side,Pos\nA,L,1\nB,L,\nC,L,\n", "H:asp",
       "3x4 b1 | L1 A D | L2 B D | L3 C D"},
  };
  const PartBody body;
  for (const PasteCase& c : cases) {
    const PinListCells cells = PinListCells::Parse(c.text);
    EXPECT_EQ(RoleText(PinColumnRoles::Detect(cells)), c.roles) << c.what;
    EXPECT_EQ(PlanText(PlanFor(c.text, body)), c.pins) << c.what;
  }
}

TEST(PinListTest, TwoHundredRowsWithoutSidesSplitLeftAndRightAndGrowTheBody) {
  std::string text;
  for (int i = 1; i <= 200; ++i) text += std::to_string(i) + "\tP" + std::to_string(i) + "\n";
  const PinListPlan plan = PlanFor(text, PartBody());
  ASSERT_EQ(plan.pins.size(), 200u);
  EXPECT_EQ(plan.attributes.ySize, 101);
  EXPECT_EQ(PlanText(plan).substr(0, 30), "9x101 b1 | L1 P1 D1 | L2 P2 D2");
  EXPECT_EQ(plan.pins[100].edge, PinEdge::Right);
  EXPECT_EQ(plan.pins[100].position, 1);
  EXPECT_EQ(plan.pins[199].position, 100);
}

TEST(PinListTest, InsertingPushesTheDestinationSideAndAppendsToOthers) {
  PartBody body;
  AddPin(body, PinEdge::Left, 1, "A");
  AddPin(body, PinEdge::Left, 2, "B");
  AddPin(body, PinEdge::Right, 1, "R");
  const PinListPlan plan = PlanFor("X,L\nY,L\nZ,R\n", body, {false, PinEdge::Left, 2});
  EXPECT_EQ(PlanText(plan), "4x5 b1 | L2 X D | L3 Y D | R2 Z D");
  EXPECT_EQ(plan.shift, 2);

  LibraryDocument document;
  auto library = std::make_unique<Library>();
  PartBody* part = AddPart(*library, "IC", 2, 2);
  AddPin(*part, PinEdge::Left, 1, "A");
  AddPin(*part, PinEdge::Left, 2, "B");
  AddPin(*part, PinEdge::Right, 1, "R");
  document.ReplaceLibrary(std::move(library));
  const std::string before = Describe(document.library());
  EditResult result = PastePinList(document, 0, plan, {false, PinEdge::Left, 2});
  ASSERT_EQ(result.status, EditStatus::Done);
  EXPECT_EQ(
      Describe(document.library()),
      "body 4x5 b1 R=U | pin A f0 e0:1 [D1] | pin B f0 e0:4 [D1] | pin R f0 e2:1 [D1] | pin X f0 e0:2 [D] "
      "| pin Y f0 e0:3 [D] | pin Z f0 e2:2 [D]; IC->0");
  result.change->Undo(document);  // one step
  EXPECT_EQ(Describe(document.library()), before);
}

TEST(PinListTest, RefusedListsChangeNothing) {
  const struct {
    const char* text;
    PinListProblem problem;
  } cases[] = {
      {"Name,Side\nA,L\nB,Q\n", PinListProblem::BadSide},
      {"Name,Side,Pos\nA,L,1\nB,L,1\n", PinListProblem::TwoPinsAtOnePlace},
      {"Name,Pos\nA,256\n", PinListProblem::BeyondLastPosition},
      {"Name,Pos\nA,x2\n", PinListProblem::BadPosition},
      {"Name,Number\nA,12345678901234567\n", PinListProblem::BadNumber},
      {"Name,Number\nA\x01,1\n", PinListProblem::BadName},
      {"Name,Number\nA,1\x81\n", PinListProblem::BadNumberText},
      {"Name,Number300\nA,1\n", PinListProblem::TooManyBlocks},
      {"Name\n\n", PinListProblem::NoPins},
  };
  LibraryDocument document;
  auto library = std::make_unique<Library>();
  AddPin(*AddPart(*library, "IC"), PinEdge::Left, 1, "OLD");
  document.ReplaceLibrary(std::move(library));
  const std::string before = Describe(document.library());
  for (const auto& c : cases) {
    const PinListPlan plan = PlanFor(c.text, *document.BodyOf(0));
    EXPECT_EQ(plan.problem, c.problem) << c.text;
    EXPECT_EQ(PastePinList(document, 0, plan, {}).status, EditStatus::Refused) << c.text;
    EXPECT_EQ(Describe(document.library()), before) << c.text;
    EXPECT_FALSE(document.InGroup());
  }
  // A name the library already holds refuses the new part as a whole.
  EXPECT_EQ(AddPartFromPinList(document, 0, "IC", 0, PlanFor("A\n", PartBody())).status, EditStatus::Refused);
  EXPECT_EQ(Describe(document.library()), before);
}

// Copying a part's table and pasting it into a new part gives the same pins,
// whatever the part: every field travels through the text.
TEST(PinListTest, CopiedTablePastedIntoANewPartGivesTheSamePins) {
  std::mt19937 random(20);
  int compared = 0;
  for (int round = 0; round < 200; ++round) {
    auto library = testing::RandomLibrary(random, 3);
    for (const auto& source : library->bodies) {
      const std::string text = PinTableText(*source, PinsInCursorOrder(*source));
      LibraryDocument document;
      const EditResult result = AddPartFromPinList(document, 0, "NEW", -1, PlanFor(text, PartBody()));
      std::set<std::pair<PinEdge, int32_t>> places;
      bool unique = true;
      for (const auto& pin : source->pins) unique &= places.insert({pin->edge, pin->position}).second;
      if (source->pins.empty() || !unique) {
        EXPECT_EQ(result.status, EditStatus::Refused);
        continue;
      }
      ASSERT_EQ(result.status, EditStatus::Done) << text;
      const PartBody& made = *document.BodyOf(0);
      EXPECT_EQ(made.blockCount, source->blockCount);
      const auto describe = [](const PartBody& body) {
        std::ostringstream out;
        for (const PinInfo* pin : PinsInCursorOrder(body)) {
          out << static_cast<int>(pin->edge) << ':' << pin->position << ' ' << pin->name << ' ' << pin->flags;
          // A number without its display letter is shown, as the panel keeps it.
          for (std::string_view number : pin->numbers) out << ' ' << (number.empty() ? "D" : number);
          out << '\n';
        }
        return out.str();
      };
      EXPECT_EQ(describe(made), describe(*source)) << text;
      ++compared;
    }
  }
  EXPECT_GT(compared, 100);
}

}  // namespace
}  // namespace zanli
