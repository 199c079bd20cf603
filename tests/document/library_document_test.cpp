#include "document/library_document.h"

#include <gtest/gtest.h>

#include <random>
#include <set>
#include <unordered_set>

#include "model/limits.h"
#include "support/library_builder.h"

namespace zanli {
namespace {

using testing::AddBody;
using testing::AddEntry;
using testing::AddPart;
using testing::AddPattern;
using testing::AddPin;
using testing::Describe;

// Mirrors the entry names from the notifications alone, as the part list
// does; it must always agree with the document.
class MirrorObserver : public DocumentObserver {
 public:
  explicit MirrorObserver(const LibraryDocument& document) : document_(document) { LibraryReplaced(); }
  void EntryInserted(int row) override { names.insert(names.begin() + row, document_.Entry(row)->name); }
  void EntryRemoved(int row) override { names.erase(names.begin() + row); }
  void EntryMoved(int from, int to) override {
    std::string name = names[static_cast<size_t>(from)];
    names.erase(names.begin() + from);
    names.insert(names.begin() + to, name);
  }
  void EntryRenamed(int row) override { names[static_cast<size_t>(row)] = document_.Entry(row)->name; }
  void LibraryReplaced() override {
    names.clear();
    for (const auto& e : document_.library().entries) names.push_back(e->name);
  }
  std::vector<std::string> Expected() const {
    std::vector<std::string> out;
    for (const auto& e : document_.library().entries) out.push_back(e->name);
    return out;
  }
  std::vector<std::string> names;

 private:
  const LibraryDocument& document_;
};

// Every entry names a body of the library, every body is named, every
// pattern a body uses is in the list, and the name set counts every entry.
void ExpectModelRules(const LibraryDocument& document) {
  const Library& library = document.library();
  std::unordered_set<const PartBody*> bodies, named;
  std::unordered_set<const Pattern*> patterns;
  for (const auto& p : library.patterns) patterns.insert(p.get());
  for (const auto& b : library.bodies) {
    bodies.insert(b.get());
    if (b->pattern) {
      EXPECT_TRUE(patterns.count(b->pattern));
    }
    for (const auto& pin : b->pins) {
      EXPECT_EQ(pin->numbers.size(), static_cast<size_t>(b->blockCount));
      EXPECT_GE(pin->position, 0);
      EXPECT_LE(pin->position, limits::kMaxPosition);
    }
  }
  for (const auto& e : library.entries) {
    EXPECT_TRUE(bodies.count(e->body));
    named.insert(e->body);
    EXPECT_TRUE(document.EntryNames().IsNameTaken(e->name));
  }
  EXPECT_EQ(named.size(), bodies.size());
}

PinData RandomPin(std::mt19937& random, int32_t blocks) {
  auto pick = [&](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };
  PinData pin;
  pin.name = pick(0, 1) ? std::string("N").append(std::to_string(pick(0, 9))) : "";
  pin.flags = std::vector<int32_t>{0, 1, 4, 8, 12}[static_cast<size_t>(pick(0, 4))];
  std::vector<std::string> numbers;
  for (int i = 0; i < blocks; ++i)
    numbers.push_back(pick(0, 1) ? std::string("D").append(std::to_string(pick(0, 9))) : "H");
  // Now and then a pin that breaks the rules: a number without its letter.
  if (pick(0, 15) == 0) numbers.assign(static_cast<size_t>(blocks), "7");
  pin.numbers = numbers;
  return pin;
}

std::string RandomName(std::mt19937& random, const LibraryDocument& document) {
  auto pick = [&](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };
  switch (pick(0, 5)) {
    case 0:
      return "";  // invalid
    case 1:
      return "A B";  // invalid
    case 2:
      // Taken when the library has entries.
      return document.EntryCount() ? document.Entry(pick(0, document.EntryCount() - 1))->name : "FREE";
    default:
      return std::string("N").append(std::to_string(pick(0, 30)));
  }
}

EditResult RandomOperation(LibraryDocument& document, std::mt19937& random) {
  auto pick = [&](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };
  const int count = document.EntryCount();
  const int row = pick(-1, count);  // out of range now and then
  const auto edge = static_cast<PinEdge>(pick(0, 3));
  const int32_t position = pick(0, 3) == 0 ? pick(250, 256) : pick(0, 10);
  const Library& library = document.library();
  switch (pick(0, 12)) {
    case 0: {
      const PartBody* body = document.BodyOf(row);
      std::optional<PinData> pin;
      if (pick(0, 3)) pin = RandomPin(random, body ? body->blockCount : 1);
      return document.EditPin(row, edge, position, pin);
    }
    case 1:
      return document.InsertBlankPin(row, edge, position);
    case 2:
      return document.DeletePinAndCloseUp(row, edge, position);
    case 3:
      return document.MoveEntry(row, pick(-1, count));
    case 4:
      return document.AddPart(row, RandomName(random, document), row);
    case 5:
      return document.RenameEntry(row, RandomName(random, document));
    case 6:
      return document.AddAlias(row, RandomName(random, document));
    case 7:
      return document.DeleteEntry(row, pick(0, 1) ? StepKind::DeleteEntry : StepKind::CutEntry);
    case 8: {
      PastedPart part;
      part.name = pick(0, 6) ? std::string("P").append(std::to_string(pick(0, 9))) : "";
      part.body = std::make_unique<PartBody>();
      part.body->blockCount = pick(1, 3);
      part.body->xSize = pick(0, 4);  // 0 breaks the rules
      PinInfo* pin = AddPin(*part.body, edge, position, "X", "D1");
      pin->numbers.Resize(static_cast<size_t>(part.body->blockCount), "D2");
      if (pick(0, 1)) {
        part.newPattern = std::make_unique<Pattern>(pick(0, 5) ? "NP" : "", pick(1, 20), pick(1, 20));
      } else if (!library.patterns.empty()) {
        part.existingPattern =
            library.patterns[static_cast<size_t>(pick(0, library.patterns.size() - 1))].get();
      }
      return document.PastePart(row, std::move(part), row);
    }
    case 12: {
      // An imported part with aliases; names clash among themselves or with
      // the library now and then, and a new pattern's name with the library's.
      InsertedPart part;
      for (int i = pick(0, 3); i > 0; --i) part.names.push_back(RandomName(random, document));
      part.body = std::make_unique<PartBody>();
      part.body->xSize = pick(0, 4);
      AddPin(*part.body, edge, position, "Y", "D3");
      if (pick(0, 1)) {
        const bool taken = pick(0, 3) == 0 && !library.patterns.empty();
        part.newPattern = std::make_unique<Pattern>(taken ? library.patterns[0]->name : "IP", 9, 9);
      } else if (!library.patterns.empty()) {
        part.existingPattern = library.patterns.back().get();
      }
      return document.InsertPart(row, std::move(part), row);
    }
    case 9: {
      PartAttributes attributes;
      attributes.numberPrefix = pick(0, 1) ? "U" : "IC";
      attributes.xSize = pick(0, 6);
      attributes.ySize = pick(1, 6);
      attributes.blockCount = pick(0, 4) ? pick(1, 4) : 257;
      if (!library.patterns.empty() && pick(0, 1))
        attributes.pattern =
            library.patterns[static_cast<size_t>(pick(0, library.patterns.size() - 1))].get();
      return document.SetAttributes(row, attributes);
    }
    case 10:
      return document.MovePin(row, edge, position, static_cast<PinEdge>(pick(0, 3)), pick(0, 10));
    default: {
      std::vector<PatternReplacement> list;
      for (const auto& p : library.patterns) {
        if (pick(0, 4) == 0) continue;  // dropped (refused if in use)
        PatternReplacement item{p.get(), PatternContent{p->name, p->width, p->height, p->bits}};
        if (pick(0, 1)) {
          item.content.name += "R";
          item.content.width = pick(1, 30);
          item.content.bits.assign(
              static_cast<size_t>(Pattern::StrideFor(item.content.width) * item.content.height), 0x5A);
        }
        list.push_back(std::move(item));
      }
      if (pick(0, 1))
        list.push_back({nullptr, PatternContent{"NEW", 11, 11, std::vector<uint8_t>(22, 0xF0)}});
      if (pick(0, 5) == 0 && list.size() > 1) std::swap(list.front(), list.back());  // order must hold
      return document.ReplacePatterns(list);
    }
  }
}

bool SameFocus(const DocumentFocus& a, const DocumentFocus& b) {
  return a.row == b.row && a.hasPin == b.hasPin && a.edge == b.edge && a.position == b.position;
}

// One step of the history and, for the twin document, the steps of its
// operations one by one.
struct HistoryStep {
  std::unique_ptr<DocumentChange> change;
  std::vector<std::unique_ptr<DocumentChange>> twinSteps;
  std::string before, after;
};

// Random sequences of every operation, refusals included, some gathered in
// groups, some undone and redone on the way and new ones done after an undo,
// as the editor's history runs them. A twin document takes each operation
// of a group as a step of its own: the group must leave what they leave,
// undo and redo as they do, and take its undo focus from the first and its
// redo focus from the last. Each refused or unchanged operation and each
// refused group leaves the library as it was; undoing everything gives back
// the start exactly and redoing everything the end; the notifications keep
// a mirror of the entry list in step throughout.
TEST(LibraryDocumentTest, HistoriesOfStepsAndGroupsRestoreEveryStateTheyPass) {
  int done = 0, refused = 0, groups = 0, refusedGroups = 0, undos = 0;
  std::set<StepKind> kinds;
  for (unsigned seed = 1; seed <= 150; ++seed) {
    std::mt19937 random(seed);
    auto pick = [&](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };
    LibraryDocument document, twin;
    std::mt19937 twinRandom = random;
    document.ReplaceLibrary(testing::RandomLibrary(random));
    twin.ReplaceLibrary(testing::RandomLibrary(twinRandom));
    MirrorObserver mirror(document);
    document.AddObserver(&mirror);
    const std::string start = Describe(document.library());
    std::vector<HistoryStep> steps;
    size_t next = 0;  // steps before it are done, the others undone
    for (int i = 0; i < 60; ++i) {
      const int action = pick(0, 9);
      if (action == 0 && next > 0) {
        HistoryStep& step = steps[--next];
        step.change->Undo(document);
        for (auto it = step.twinSteps.rbegin(); it != step.twinSteps.rend(); ++it) (*it)->Undo(twin);
        ASSERT_EQ(Describe(document.library()), step.before) << "seed " << seed;
        const DocumentFocus& focus = step.change->undoFocus();
        if (focus.row) {
          EXPECT_LT(*focus.row, document.EntryCount());
        }
        ++undos;
      } else if (action == 1 && next < steps.size()) {
        HistoryStep& step = steps[next++];
        step.change->Redo(document);
        for (auto& twinStep : step.twinSteps) twinStep->Redo(twin);
        ASSERT_EQ(Describe(document.library()), step.after) << "seed " << seed;
      } else {
        steps.resize(next);  // a new step drops what was undone
        HistoryStep step;
        step.before = Describe(document.library());
        const bool group = pick(0, 3) == 0;
        const StepKind groupKind = static_cast<StepKind>(pick(0, kStepKindCount - 1));
        if (group) {
          ASSERT_TRUE(document.BeginGroup(groupKind));
          EXPECT_FALSE(document.BeginGroup(groupKind));
        }
        const int operations = group ? pick(1, 5) : 1;
        EditStatus status = EditStatus::Unchanged;
        for (int k = 0; k < operations && status != EditStatus::Refused; ++k) {
          twinRandom = random;
          const std::string before = Describe(document.library());
          EditResult result = RandomOperation(document, random);
          EditResult twinResult = RandomOperation(twin, twinRandom);
          ASSERT_EQ(result.status, twinResult.status) << "seed " << seed;
          status = result.status;
          EXPECT_EQ(bool(result.change), status == EditStatus::Done && !group);
          if (status == EditStatus::Done) {
            // A session may drop a pattern and make an equal one: a new object.
            if (twinResult.change->kind() != StepKind::EditPatterns) {
              EXPECT_NE(Describe(document.library()), before) << "seed " << seed;
            }
            kinds.insert(twinResult.change->kind());
            step.twinSteps.push_back(std::move(twinResult.change));
            step.change = std::move(result.change);
            ++done;
          } else if (status == EditStatus::Refused && group) {
            // The whole group is taken back; the twin takes back its steps.
            for (auto it = step.twinSteps.rbegin(); it != step.twinSteps.rend(); ++it) (*it)->Undo(twin);
            step.twinSteps.clear();
            EXPECT_EQ(document.CommitGroup().status, EditStatus::Refused);
            ++refusedGroups;
          } else {
            ASSERT_EQ(Describe(document.library()), before) << "seed " << seed << " step " << i;
          }
          refused += status == EditStatus::Refused;
        }
        if (group && status != EditStatus::Refused) {
          EditResult result = document.CommitGroup();
          ASSERT_EQ(result.status, step.twinSteps.empty() ? EditStatus::Unchanged : EditStatus::Done);
          if (result.change) {
            EXPECT_EQ(result.change->kind(), groupKind);
            EXPECT_TRUE(SameFocus(result.change->undoFocus(), step.twinSteps.front()->undoFocus()));
            EXPECT_TRUE(SameFocus(result.change->redoFocus(), step.twinSteps.back()->redoFocus()));
            step.change = std::move(result.change);
            ++groups;
          }
        }
        EXPECT_FALSE(document.InGroup());
        step.after = Describe(document.library());
        if (step.change) {
          steps.push_back(std::move(step));
          next = steps.size();
        } else {
          ASSERT_EQ(step.after, step.before) << "seed " << seed << " step " << i;
        }
      }
      ASSERT_EQ(Describe(twin.library()), Describe(document.library())) << "seed " << seed << " step " << i;
      ExpectModelRules(document);
      ASSERT_EQ(mirror.names, mirror.Expected());
    }
    while (next < steps.size()) steps[next++].change->Redo(document);
    const std::string end = Describe(document.library());
    for (auto it = steps.rbegin(); it != steps.rend(); ++it) (*it).change->Undo(document);
    ASSERT_EQ(Describe(document.library()), start) << "seed " << seed;
    for (auto& step : steps) step.change->Redo(document);
    ASSERT_EQ(Describe(document.library()), end) << "seed " << seed;
    ASSERT_EQ(mirror.names, mirror.Expected());
    ExpectModelRules(document);
    document.RemoveObserver(&mirror);
  }
  // The sequences must really exercise every path.
  EXPECT_GT(done, 1500);
  EXPECT_GT(refused, 1000);
  EXPECT_EQ(kinds.size(), 14u);
  EXPECT_GT(groups, 200);
  EXPECT_GT(refusedGroups, 200);
  EXPECT_GT(undos, 500);
}

// The name sets are made on first use; edits before then must still count,
// including those that take one of two entries a file named alike.
TEST(LibraryDocumentTest, NamesFollowEditsMadeBeforeTheyAreFirstAskedFor) {
  auto library = std::make_unique<Library>();
  AddEntry(*library, "A", AddPart(*library, "A", 1, 1, 1));
  AddPart(*library, "B", 1, 1, 1);
  LibraryDocument document;
  document.ReplaceLibrary(std::move(library));
  EditResult first = document.DeleteEntry(0);
  ASSERT_EQ(first.status, EditStatus::Done);
  EXPECT_TRUE(document.EntryNames().IsNameTaken("A"));
  EXPECT_TRUE(document.EntryNames().IsNameTaken("B"));
  first.change->Undo(document);
  ASSERT_EQ(document.DeleteEntry(1).status, EditStatus::Done);
  ASSERT_EQ(document.DeleteEntry(0).status, EditStatus::Done);
  EXPECT_FALSE(document.EntryNames().IsNameTaken("A"));
  EXPECT_EQ(document.AddPart(0, "A", 0).status, EditStatus::Done);
  // A new library brings its own names only.
  auto other = std::make_unique<Library>();
  AddPart(*other, "C", 1, 1, 1);
  document.ReplaceLibrary(std::move(other));
  EXPECT_EQ(document.RenameEntry(0, "B").status, EditStatus::Done);
  EXPECT_FALSE(document.EntryNames().IsNameTaken("C"));
  EXPECT_TRUE(document.EntryNames().IsNameTaken("B"));
}

class DocumentFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    auto library = std::make_unique<Library>();
    gate = AddPart(*library, "GATE", 4, 3, 2);
    AddEntry(*library, "GATE_A", gate);
    AddPin(*gate, PinEdge::Left, 0, "A");
    AddPin(*gate, PinEdge::Left, 1, "B");
    AddPin(*gate, PinEdge::Left, 3, "C");
    pattern = AddPattern(*library, "TRI", 21, 21, 0xFF);
    gate->pattern = pattern;
    document.ReplaceLibrary(std::move(library));
  }
  std::vector<int32_t> LeftPositions() const {
    std::vector<int32_t> out;
    for (const auto& pin : gate->pins) out.push_back(pin->position);
    return out;
  }

  LibraryDocument document;
  PartBody* gate = nullptr;
  Pattern* pattern = nullptr;
};

TEST_F(DocumentFixture, InsertAndDeletePinsMoveTheLaterOnesAndStopAtTheLastPosition) {
  EXPECT_EQ(document.InsertBlankPin(0, PinEdge::Left, 0).status, EditStatus::Done);
  EXPECT_EQ(LeftPositions(), (std::vector<int32_t>{1, 2, 4}));
  EXPECT_EQ(document.DeletePinAndCloseUp(0, PinEdge::Left, 1).status, EditStatus::Done);
  EXPECT_EQ(LeftPositions(), (std::vector<int32_t>{1, 3}));
  // Nothing at or after the position: no step.
  EXPECT_EQ(document.InsertBlankPin(0, PinEdge::Left, 9).status, EditStatus::Unchanged);
  EXPECT_EQ(document.DeletePinAndCloseUp(0, PinEdge::Top, 0).status, EditStatus::Unchanged);

  // 260 inserts at Left 0 push the last pin to 255 and no further.
  int done = 0;
  for (int i = 0; i < 260; ++i)
    done += document.InsertBlankPin(0, PinEdge::Left, 0).status == EditStatus::Done;
  EXPECT_EQ(done, 252);
  EXPECT_EQ(LeftPositions(), (std::vector<int32_t>{253, 255}));
  EXPECT_EQ(document.InsertBlankPin(0, PinEdge::Left, 254).status, EditStatus::Refused);
  EXPECT_EQ(document.EditPin(0, PinEdge::Left, 256, PinData{"X", 0, {"D1", "D1"}}).status,
            EditStatus::Refused);
}

TEST_F(DocumentFixture, EditsThatChangeNothingAreNoSteps) {
  const PinInfo& a = *gate->pins[0];
  EXPECT_EQ(document.EditPin(0, PinEdge::Left, 0, PinData{a.name, a.flags, a.numbers}).status,
            EditStatus::Unchanged);
  EXPECT_EQ(document.EditPin(0, PinEdge::Top, 2, std::nullopt).status, EditStatus::Unchanged);
  EXPECT_EQ(document.RenameEntry(0, "GATE").status, EditStatus::Unchanged);
  EXPECT_EQ(document.MoveEntry(1, 1).status, EditStatus::Unchanged);
  EXPECT_EQ(document.SetAttributes(0, PartAttributes{"U", 4, 3, 2, pattern}).status, EditStatus::Unchanged);
  // A taken name or one that breaks the rules is refused.
  EXPECT_EQ(document.RenameEntry(0, "GATE_A").status, EditStatus::Refused);
  EXPECT_EQ(document.AddAlias(0, "A{B").status, EditStatus::Refused);
  EXPECT_EQ(document.AddPart(0, "SIXTEEN_BYTES_XX", 0).status, EditStatus::Refused);
}

TEST_F(DocumentFixture, DeletingTheLastNameOfABodyFreesItButKeepsItsPattern) {
  EditResult first = document.DeleteEntry(1);
  ASSERT_EQ(first.status, EditStatus::Done);
  EXPECT_EQ(document.library().bodies.size(), 1u);
  EXPECT_EQ(*first.change->redoFocus().row, 0);
  EditResult second = document.DeleteEntry(0);
  ASSERT_EQ(second.status, EditStatus::Done);
  EXPECT_TRUE(document.library().bodies.empty());
  EXPECT_EQ(document.library().patterns.size(), 1u);
  EXPECT_EQ(*second.change->redoFocus().row, -1);
  // The same body object comes back, so steps that point at it still work.
  second.change->Undo(document);
  EXPECT_EQ(document.BodyOf(0), gate);
}

TEST_F(DocumentFixture, PatternsInUseCannotBeDroppedAndKeptPatternsKeepTheirIdentity) {
  EXPECT_EQ(document.ReplacePatterns({}).status, EditStatus::Refused);
  std::vector<PatternReplacement> list{
      {pattern, PatternContent{"TRI2", 11, 11, std::vector<uint8_t>(22, 0x80)}},
      {nullptr, PatternContent{"NEW_0", 21, 21, std::vector<uint8_t>(84, 0)}}};
  EditResult result = document.ReplacePatterns(list);
  ASSERT_EQ(result.status, EditStatus::Done);
  EXPECT_EQ(gate->pattern, pattern);
  EXPECT_EQ(pattern->name, "TRI2");
  EXPECT_EQ(pattern->width, 11);
  EXPECT_TRUE(document.PatternNames().IsNameTaken("NEW_0"));
  result.change->Undo(document);
  EXPECT_EQ(pattern->name, "TRI");
  EXPECT_EQ(document.library().patterns.size(), 1u);
  EXPECT_FALSE(document.PatternNames().IsNameTaken("NEW_0"));
}

TEST_F(DocumentFixture, APatternReadWithAnEmptyNameCanBeDrawnOnButNotGiveItsEmptyNameAway) {
  pattern->name.clear();  // as a binary file can hold it
  const std::vector<uint8_t> drawn(22, 0x40);
  const struct {
    const char* keptName;
    int32_t width;
    const char* newName;
    EditStatus expected;
  } cases[] = {
      {"", 11, nullptr, EditStatus::Done},     // drawn on, name kept
      {"", 11, "NEW", EditStatus::Done},       // beside a new one
      {"OK", 11, nullptr, EditStatus::Done},   // given a name at last
      {"", 17, nullptr, EditStatus::Refused},  // bits no longer fit the size
      {"", 11, "", EditStatus::Refused},       // a new pattern needs a name
  };
  for (const auto& c : cases) {
    std::vector<PatternReplacement> list{{pattern, PatternContent{c.keptName, c.width, 11, drawn}}};
    if (c.newName)
      list.push_back(
          {nullptr, PatternContent{c.newName, 3, 3,
                                   std::vector<uint8_t>(static_cast<size_t>(Pattern::StrideFor(3)) * 3, 0)}});
    EditResult result = document.ReplacePatterns(list);
    EXPECT_EQ(result.status, c.expected) << c.keptName << " " << c.width;
    if (result.status != EditStatus::Done) continue;
    EXPECT_EQ(pattern->bits, drawn);
    result.change->Undo(document);
    EXPECT_EQ(pattern->name, "");
  }
}

}  // namespace
}  // namespace zanli
