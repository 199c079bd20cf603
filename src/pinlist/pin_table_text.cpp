#include "pinlist/pin_table_text.h"

#include <algorithm>

#include "pinlist/pin_column_roles.h"

namespace zanli {

namespace {

// The cursor's round: left, bottom, right, top; along the right and top
// sides it runs backwards.
int RoundIndex(PinEdge edge) {
  switch (edge) {
    case PinEdge::Left:
      return 0;
    case PinEdge::Bottom:
      return 1;
    case PinEdge::Right:
      return 2;
    case PinEdge::Top:
      return 3;
  }
  return 4;
}

bool Backwards(PinEdge edge) { return edge == PinEdge::Right || edge == PinEdge::Top; }

// A cell that holds a separator, a quote or a line break goes in quotes.
std::string Cell(std::string_view text) {
  if (text.find_first_of("\t\"\r\n") == std::string_view::npos) return std::string(text);
  std::string quoted = "\"";
  for (char c : text) {
    if (c == '"') quoted += '"';
    quoted += c;
  }
  return quoted + '"';
}

}  // namespace

std::vector<const PinInfo*> PinsInCursorOrder(const PartBody& body) {
  std::vector<const PinInfo*> pins;
  pins.reserve(body.pins.size());
  for (const auto& pin : body.pins) pins.push_back(pin.get());
  std::stable_sort(pins.begin(), pins.end(), [](const PinInfo* a, const PinInfo* b) {
    if (a->edge != b->edge) return RoundIndex(a->edge) < RoundIndex(b->edge);
    return Backwards(a->edge) ? a->position > b->position : a->position < b->position;
  });
  return pins;
}

std::string PinTableText(const PartBody& body, const std::vector<const PinInfo*>& pins) {
  using Kind = PinColumnKind;
  const size_t blocks = static_cast<size_t>(std::max(body.blockCount, 0));
  std::vector<bool> hides(blocks, false);
  for (const PinInfo* pin : pins)
    for (size_t b = 0; b < blocks && b < pin->numbers.size(); ++b)
      if (pin->numbers[b].starts_with('H')) hides[b] = true;

  std::vector<PinColumnRole> columns = {{Kind::Side, 0},     {Kind::Position, 0}, {Kind::Name, 0},
                                        {Kind::NearBody, 0}, {Kind::Clock, 0},    {Kind::Negative, 0}};
  for (size_t b = 0; b < blocks; ++b) {
    columns.push_back({Kind::Number, static_cast<int32_t>(b)});
    if (hides[b]) columns.push_back({Kind::Hidden, static_cast<int32_t>(b)});
  }
  std::string text;
  const auto endLine = [&text] {
    text.pop_back();  // the last tab
    text += "\r\n";
  };
  for (const PinColumnRole& column : columns) text += PinColumnHeader(column) + '\t';
  endLine();
  for (const PinInfo* pin : pins) {
    const auto flag = [&](int32_t bit) { return (pin->flags & bit) != 0 ? "1" : ""; };
    for (const PinColumnRole& column : columns) {
      const size_t b = static_cast<size_t>(column.block);
      const std::string_view number = b < pin->numbers.size() ? pin->numbers[b] : std::string_view();
      switch (column.kind) {
        case Kind::Side:
          text += PinSideWord(pin->edge);
          break;
        case Kind::Position:
          text += std::to_string(pin->position);
          break;
        case Kind::Name:
          text += Cell(pin->name);
          break;
        case Kind::NearBody:
          text += flag(PinFlag::NumberNearBody);
          break;
        case Kind::Clock:
          text += flag(PinFlag::Clock);
          break;
        case Kind::Negative:
          text += flag(PinFlag::NegativeLogic);
          break;
        case Kind::Number:
          text += Cell(number.empty() ? number : number.substr(1));
          break;
        case Kind::Hidden:
          text += number.starts_with('H') ? "1" : "";
          break;
        case Kind::Ignore:
          break;
      }
      text += '\t';
    }
    endLine();
  }
  return text;
}

}  // namespace zanli
