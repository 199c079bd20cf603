#include "pinlist/pin_list_plan.h"

#include <algorithm>
#include <charconv>
#include <optional>
#include <set>
#include <string>
#include <utility>

#include "model/limits.h"
#include "model/storable_text.h"
#include "pinlist/shift_jis_text.h"

namespace zanli {

namespace {

using Kind = PinColumnKind;

// As many characters as the pin panel's number field takes.
constexpr size_t kMaxNumberLength = 16;
// Pixels of one character of the symbol font, and around a name.
constexpr int32_t kCharWidth = 8;
constexpr int32_t kNameMargin = 20;

// A row read, before its place is settled.
struct RowPin {
  size_t row = 0;
  std::optional<PinEdge> edge;
  std::optional<int32_t> position;
  PinData data;
};

bool IsSideEdge(PinEdge edge) { return edge == PinEdge::Left || edge == PinEdge::Right; }

// Characters drawn: a backslash only bars the next one.
int32_t DrawnLength(const std::string& name) {
  return static_cast<int32_t>(name.size() - static_cast<size_t>(std::count(name.begin(), name.end(), '\\')));
}

int32_t NumberBlocks(const PinColumnRoles& roles) {
  int32_t blocks = 0;
  for (const PinColumnRole& role : roles.roles)
    if (role.kind == Kind::Number || role.kind == Kind::Hidden) blocks = std::max(blocks, role.block + 1);
  return blocks;
}

class Planner {
 public:
  Planner(const PinListCells& cells, const PinColumnRoles& roles, int32_t blocks)
      : cells_(cells), roles_(roles), blocks_(blocks) {}

  // False, with `plan` saying why, when a row cannot become a pin.
  bool ReadRows(PinListPlan& plan, std::vector<RowPin>& pins) const {
    for (size_t r = roles_.header ? 1 : 0; r < cells_.rows.size(); ++r) {
      const std::vector<std::string>& row = cells_.rows[r];
      bool any = false;
      for (size_t c = 0; c < row.size(); ++c) any |= roles_.roles[c].kind != Kind::Ignore && !row[c].empty();
      if (!any) continue;
      RowPin pin;
      pin.row = r;
      const PinListProblem problem = ReadRow(row, pin);
      if (problem != PinListProblem::None) return Fail(plan, problem, r);
      pins.push_back(std::move(pin));
    }
    return true;
  }

  static bool Fail(PinListPlan& plan, PinListProblem problem, size_t row) {
    plan.problem = problem;
    plan.problemRow = row;
    return false;
  }

 private:
  PinListProblem ReadRow(const std::vector<std::string>& row, RowPin& pin) const {
    std::vector<std::string> numbers(static_cast<size_t>(blocks_));
    std::vector<bool> hidden(static_cast<size_t>(blocks_), false);
    bool nearBody = false;
    int32_t flags = 0;
    for (size_t c = 0; c < row.size(); ++c) {
      const std::string& cell = row[c];
      const PinColumnRole& role = roles_.roles[c];
      switch (role.kind) {
        case Kind::Ignore:
          break;
        case Kind::Number:
          if (cell.size() > kMaxNumberLength) return PinListProblem::BadNumber;
          if (!IsStorableText(cell)) return PinListProblem::BadNumberText;
          numbers[static_cast<size_t>(role.block)] = sjis::UpperCase(cell);
          break;
        case Kind::Hidden:
          hidden[static_cast<size_t>(role.block)] = IsTrueCell(cell);
          break;
        case Kind::Name:
          if (!IsStorableText(cell)) return PinListProblem::BadName;
          pin.data.name = cell;
          break;
        case Kind::Side: {
          if (cell.empty()) break;
          PinEdge edge;
          if (!ParsePinSide(cell, edge)) return PinListProblem::BadSide;
          pin.edge = edge;
          break;
        }
        case Kind::Position: {
          if (cell.empty()) break;
          int64_t position = 0;
          const auto parsed = std::from_chars(cell.data(), cell.data() + cell.size(), position);
          if (parsed.ec == std::errc::result_out_of_range) return PinListProblem::BeyondLastPosition;
          if (parsed.ec != std::errc() || parsed.ptr != cell.data() + cell.size() || position < 0)
            return PinListProblem::BadPosition;
          if (position > limits::kMaxPosition) return PinListProblem::BeyondLastPosition;
          pin.position = static_cast<int32_t>(position);
          break;
        }
        case Kind::NearBody:
          nearBody = IsTrueCell(cell);
          break;
        case Kind::Clock:
          if (IsTrueCell(cell)) flags |= PinFlag::Clock;
          break;
        case Kind::Negative:
          if (IsTrueCell(cell)) flags |= PinFlag::NegativeLogic;
          break;
      }
    }
    // As the pin panel keeps them: near the body excludes both marks.
    pin.data.flags = nearBody ? PinFlag::NumberNearBody : flags;
    std::vector<std::string> entries;
    for (size_t b = 0; b < numbers.size(); ++b) entries.push_back((hidden[b] ? "H" : "D") + numbers[b]);
    pin.data.numbers = entries;
    return PinListProblem::None;
  }

  const PinListCells& cells_;
  const PinColumnRoles& roles_;
  int32_t blocks_;
};

// Places taken on each side, and the next free one from a start.
class Places {
 public:
  bool Take(PinEdge edge, int32_t position) { return taken_.insert({edge, position}).second; }
  bool Taken(PinEdge edge, int32_t position) const { return taken_.count({edge, position}) != 0; }
  int32_t Last(PinEdge edge) const {
    int32_t last = -1;
    for (const auto& [e, p] : taken_)
      if (e == edge) last = std::max(last, p);
    return last;
  }

 private:
  std::set<std::pair<PinEdge, int32_t>> taken_;
};

}  // namespace

PinListPlan PinListPlan::Make(const PinListCells& cells, const PinColumnRoles& roles, const PartBody& body,
                              const PinListDestination& destination) {
  PinListPlan plan;
  plan.attributes = body.Attributes();
  const int32_t blocks = std::max(body.blockCount, NumberBlocks(roles));
  if (blocks > limits::kMaxBlocks) {
    plan.problem = PinListProblem::TooManyBlocks;
    return plan;
  }
  plan.attributes.blockCount = blocks;

  std::vector<RowPin> rows;
  if (!Planner(cells, roles, blocks).ReadRows(plan, rows)) return plan;
  if (rows.empty()) {
    plan.problem = PinListProblem::NoPins;
    return plan;
  }

  // Sides for the rows without one.
  const bool insert = !destination.replaceAll;
  const size_t sideless =
      static_cast<size_t>(std::count_if(rows.begin(), rows.end(), [](const RowPin& p) { return !p.edge; }));
  size_t seen = 0;
  for (RowPin& pin : rows) {
    if (pin.edge) continue;
    pin.edge = insert ? destination.edge : seen++ < (sideless + 1) / 2 ? PinEdge::Left : PinEdge::Right;
  }

  // Inserting: the body's pins keep their places but for those the
  // arranged pins push along the destination's side.
  Places places;
  if (insert) {
    plan.shift = static_cast<int32_t>(std::count_if(rows.begin(), rows.end(), [&](const RowPin& p) {
      return !p.position && *p.edge == destination.edge;
    }));
    for (const auto& pin : body.pins) {
      int32_t position = pin->position;
      if (pin->edge == destination.edge && position >= destination.position) position += plan.shift;
      if (position > limits::kMaxPosition) {
        plan.problem = PinListProblem::BeyondLastPosition;
        plan.problemRow = rows.back().row;
        return plan;
      }
      places.Take(pin->edge, position);
    }
  }
  for (const RowPin& pin : rows)
    if (pin.position && !places.Take(*pin.edge, *pin.position)) {
      Planner::Fail(plan, PinListProblem::TwoPinsAtOnePlace, pin.row);
      return plan;
    }

  // The arranged pins, side by side in the list's order.
  int32_t next[4];
  for (int e = 0; e < 4; ++e) next[e] = insert ? std::max(1, places.Last(static_cast<PinEdge>(e)) + 1) : 1;
  if (insert) next[static_cast<int>(destination.edge)] = destination.position;
  int32_t longestName[4] = {0, 0, 0, 0};
  for (RowPin& pin : rows) {
    const int e = static_cast<int>(*pin.edge);
    if (!pin.position) {
      const bool pushed = insert && *pin.edge == destination.edge;
      while (!pushed && places.Taken(*pin.edge, next[e])) ++next[e];
      if (next[e] > limits::kMaxPosition) {
        Planner::Fail(plan, PinListProblem::BeyondLastPosition, pin.row);
        return plan;
      }
      if (pushed && !places.Take(*pin.edge, next[e])) {
        Planner::Fail(plan, PinListProblem::TwoPinsAtOnePlace, pin.row);
        return plan;
      }
      if (!pushed) places.Take(*pin.edge, next[e]);
      pin.position = next[e]++;
      longestName[e] = std::max(longestName[e], DrawnLength(pin.data.name));
    }
    plan.pins.push_back({*pin.edge, *pin.position, std::move(pin.data)});
  }

  // Grow the body: every pin within its side with a free corner after the
  // last, and room for the arranged names of opposite sides.
  const auto grow = [](int32_t& size, int32_t wanted) {
    size = std::max(size, std::min(wanted, static_cast<int32_t>(limits::kMaxPosition)));
  };
  for (int e = 0; e < 4; ++e) {
    const auto edge = static_cast<PinEdge>(e);
    grow(IsSideEdge(edge) ? plan.attributes.ySize : plan.attributes.xSize, places.Last(edge) + 1);
  }
  const auto across = [&](PinEdge a, PinEdge b) {
    const int32_t chars = longestName[static_cast<int>(a)] + longestName[static_cast<int>(b)];
    return chars == 0 ? 0 : (chars * kCharWidth + kNameMargin + 9) / 10;
  };
  grow(plan.attributes.xSize, across(PinEdge::Left, PinEdge::Right));
  grow(plan.attributes.ySize, across(PinEdge::Top, PinEdge::Bottom));
  return plan;
}

std::unique_ptr<PartBody> PinListPlan::ResultBody(const PartBody& body,
                                                  const PinListDestination& destination) const {
  if (problem != PinListProblem::None) return nullptr;
  auto result = body.Clone();
  if (destination.replaceAll) result->pins.clear();
  for (const auto& pin : result->pins)
    if (!destination.replaceAll && pin->edge == destination.edge && pin->position >= destination.position)
      pin->position += shift;
  result->SetBlockCount(attributes.blockCount);
  result->xSize = attributes.xSize;
  result->ySize = attributes.ySize;
  for (const PlannedPin& planned : pins) {
    auto pin = std::make_unique<PinInfo>(attributes.blockCount);
    pin->edge = planned.edge;
    pin->position = planned.position;
    pin->name = planned.data.name;
    pin->flags = planned.data.flags;
    pin->numbers = planned.data.numbers;
    result->AddPin(std::move(pin));
  }
  return result;
}

}  // namespace zanli
