#include "pinlist/pin_column_roles.h"

#include <algorithm>
#include <charconv>
#include <set>
#include <string>

#include "pinlist/shift_jis_text.h"

namespace zanli {

namespace {

using Kind = PinColumnKind;

struct HeaderWord {
  std::string_view word;  // folded, without blanks and punctuation
  Kind kind;
};

// Shift-JIS byte strings; the comment gives the word.
constexpr HeaderWord kHeaderWords[] = {
    {"number", Kind::Number},
    {"num", Kind::Number},
    {"no", Kind::Number},
    {"pin", Kind::Number},
    {"pinno", Kind::Number},
    {"pinnumber", Kind::Number},
    {"pad", Kind::Number},
    {"ball", Kind::Number},
    {"\x94\xD4\x8D\x86", Kind::Number},                  // 番号
    {"\xCB\xDF\xDD\x94\xD4\x8D\x86", Kind::Number},      // ﾋﾟﾝ番号
    {"\x83\x73\x83\x93\x94\xD4\x8D\x86", Kind::Number},  // ピン番号
    {"hidden", Kind::Hidden},
    {"\x94\xF1\x95\x5C\x8E\xA6", Kind::Hidden},  // 非表示
    {"name", Kind::Name},
    {"pinname", Kind::Name},
    {"signal", Kind::Name},
    {"function", Kind::Name},
    {"net", Kind::Name},
    {"\x96\xBC\x91\x4F", Kind::Name},          // 名前
    {"\x96\xBC\x8F\xCC", Kind::Name},          // 名称
    {"\xCB\xDF\xDD\x96\xBC", Kind::Name},      // ﾋﾟﾝ名
    {"\x83\x73\x83\x93\x96\xBC", Kind::Name},  // ピン名
    {"\x90\x4D\x8D\x86\x96\xBC", Kind::Name},  // 信号名
    {"side", Kind::Side},
    {"edge", Kind::Side},
    {"\x95\xD3", Kind::Side},  // 辺
    {"position", Kind::Position},
    {"pos", Kind::Position},
    {"place", Kind::Position},
    {"\x88\xCA\x92\x75", Kind::Position},  // 位置
    {"nearbody", Kind::NearBody},
    {"\x94\xD4\x8D\x86\x82\xF0\xCA\xDF\xB0\xC2\x82\xC9\x8A\xF1\x82\xB9\x82\xE9",
     Kind::NearBody},  // 番号をﾊﾟｰﾂに寄せる
    {"clock", Kind::Clock},
    {"clk", Kind::Clock},
    {"\xB8\xDB\xAF\xB8", Kind::Clock},                  // ｸﾛｯｸ
    {"\x83\x4E\x83\x8D\x83\x62\x83\x4E", Kind::Clock},  // クロック
    {"negative", Kind::Negative},
    {"neg", Kind::Negative},
    {"inverted", Kind::Negative},
    {"activelow", Kind::Negative},
    {"\x95\x89\x98\x5F\x97\x9D", Kind::Negative},  // 負論理
};

struct SideWord {
  std::string_view word;  // folded
  PinEdge edge;
};

// Three words a side, in the order of PinEdge, the Japanese one last.
constexpr SideWord kSideWords[] = {
    {"l", PinEdge::Left},   {"left", PinEdge::Left},     {"\x8D\xB6", PinEdge::Left},    // 左
    {"t", PinEdge::Top},    {"top", PinEdge::Top},       {"\x8F\xE3", PinEdge::Top},     // 上
    {"r", PinEdge::Right},  {"right", PinEdge::Right},   {"\x89\x45", PinEdge::Right},   // 右
    {"b", PinEdge::Bottom}, {"bottom", PinEdge::Bottom}, {"\x89\xBA", PinEdge::Bottom},  // 下
};

// The header cell folded, without blanks and the punctuation headers carry
// ("Pin #", "No.", "pin_name").
std::string HeaderKey(std::string_view cell) {
  const std::string folded = sjis::FoldCase(cell);
  std::string key;
  for (size_t i = 0; i < folded.size(); ++i) {
    const char c = folded[i];
    if (sjis::IsLeadByte(static_cast<unsigned char>(c)) && i + 1 < folded.size()) {
      key += c;
      key += folded[++i];  // a trail byte may look like punctuation
    } else if (c != ' ' && c != '_' && c != '-' && c != '.' && c != '#' && c != ':') {
      key += c;
    }
  }
  return key;
}

// The role a header cell names: a word, optionally followed by a block
// number ("番号2", "Number 3"); none when the word is unknown.
bool HeaderRole(std::string_view cell, PinColumnRole& role) {
  std::string key = HeaderKey(cell);
  if (key.empty()) {
    // "#" alone heads the number.
    if (sjis::Trim(cell) != "#") return false;
    role = {Kind::Number, 0};
    return true;
  }
  int32_t block = 1;
  size_t digits = key.size();
  while (digits > 0 && key[digits - 1] >= '0' && key[digits - 1] <= '9') --digits;
  if (digits > 0 && digits < key.size()) {
    const auto parsed = std::from_chars(key.data() + digits, key.data() + key.size(), block);
    if (parsed.ec != std::errc() || block < 1) return false;
    key.resize(digits);
  }
  for (const HeaderWord& word : kHeaderWords) {
    if (word.word != key) continue;
    const bool perBlock = word.kind == Kind::Number || word.kind == Kind::Hidden;
    if (!perBlock && block != 1) return false;
    role = {word.kind, perBlock ? block - 1 : 0};
    return true;
  }
  return false;
}

bool IsInteger(std::string_view text) {
  return !text.empty() && text.size() <= 9 &&
         std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// A ball of a grid package: letters, then digits (A1, AB12).
bool IsBallName(std::string_view text) {
  size_t letters = 0;
  while (letters < text.size() &&
         ((text[letters] >= 'A' && text[letters] <= 'Z') || (text[letters] >= 'a' && text[letters] <= 'z')))
    ++letters;
  return letters >= 1 && letters <= 2 && IsInteger(text.substr(letters));
}

bool AllIntegers(const PinListCells& cells, size_t column, size_t first) {
  for (size_t r = first; r < cells.rows.size(); ++r)
    if (!cells.rows[r][column].empty() && !IsInteger(cells.rows[r][column])) return false;
  return true;
}

enum class ValueKind { Empty, Side, Numbers, Text };

// What every non-empty value of a column is, from `first` on: side words,
// distinct pin numbers, or text.
ValueKind ColumnValues(const PinListCells& cells, size_t column, size_t first) {
  bool any = false;
  bool sides = true;
  bool numbers = true;
  std::set<std::string> seen;
  std::set<PinEdge> edges;
  for (size_t r = first; r < cells.rows.size(); ++r) {
    const std::string& cell = cells.rows[r][column];
    if (cell.empty()) continue;
    any = true;
    PinEdge edge;
    if (ParsePinSide(cell, edge))
      edges.insert(edge);
    else
      sides = false;
    if (!(IsInteger(cell) || IsBallName(cell)) || !seen.insert(sjis::FoldCase(cell)).second) numbers = false;
  }
  if (!any) return ValueKind::Empty;
  // One letter on its own may be a name ("B" of a gate): a side column
  // names two sides at least.
  if (sides && edges.size() >= 2) return ValueKind::Side;
  return numbers ? ValueKind::Numbers : ValueKind::Text;
}

// Pin names are short words; a column of sentences is a description.
bool LooksLikeNames(const PinListCells& cells, size_t column, size_t first) {
  for (size_t r = first; r < cells.rows.size(); ++r) {
    const std::string& cell = cells.rows[r][column];
    if (cell.size() > 32 || std::count(cell.begin(), cell.end(), ' ') > 1) return false;
  }
  return true;
}

}  // namespace

bool ParsePinSide(std::string_view text, PinEdge& edge) {
  const std::string key = sjis::FoldCase(sjis::Trim(text));
  for (const SideWord& side : kSideWords) {
    if (side.word != key) continue;
    edge = side.edge;
    return true;
  }
  return false;
}

std::string_view PinSideWord(PinEdge edge) {
  // The table lists the Japanese word third of each side.
  const size_t index = static_cast<size_t>(edge) * 3 + 2;
  return index < std::size(kSideWords) ? kSideWords[index].word : std::string_view();
}

std::string PinColumnHeader(const PinColumnRole& role) {
  const auto first = [](Kind kind) {
    for (const HeaderWord& word : kHeaderWords)
      if (word.kind == kind && static_cast<unsigned char>(word.word[0]) >= 0x80)
        return std::string(word.word);
    return std::string();
  };
  switch (role.kind) {
    case Kind::Ignore:
      return {};
    case Kind::Number:
    case Kind::Hidden:
      return first(role.kind) + std::to_string(role.block + 1);
    default:
      return first(role.kind);
  }
}

bool IsTrueCell(std::string_view text) {
  const std::string key = sjis::FoldCase(sjis::Trim(text));
  return !(key.empty() || key == "0" || key == "no" || key == "n" || key == "false" || key == "off" ||
           key == "-");
}

PinColumnRoles PinColumnRoles::Detect(const PinListCells& cells) {
  PinColumnRoles result;
  result.roles.assign(cells.columnCount, PinColumnRole{});
  if (cells.rows.empty()) return result;

  // A header names at least one column in words this editor knows.
  std::vector<PinColumnRole> named(cells.columnCount);
  std::vector<bool> isNamed(cells.columnCount, false);
  for (size_t c = 0; c < cells.columnCount; ++c) isNamed[c] = HeaderRole(cells.rows[0][c], named[c]);
  result.header = std::find(isNamed.begin(), isNamed.end(), true) != isNamed.end();
  const size_t first = result.header ? 1 : 0;
  if (!result.header && cells.rows.size() > 1) {
    // A first row of words above a column of numbers or sides is a header
    // in words we do not know.
    for (size_t c = 0; c < cells.columnCount && !result.header; ++c) {
      const ValueKind below = ColumnValues(cells, c, 1);
      const std::string& top = cells.rows[0][c];
      const bool topFits = below == ValueKind::Side
                               ? [&] { PinEdge e; return ParsePinSide(top, e); }()
                               : IsInteger(top) || IsBallName(top);
      result.header = (below == ValueKind::Side || below == ValueKind::Numbers) && !top.empty() && !topFits;
    }
  }

  std::set<std::pair<Kind, int32_t>> taken;
  const auto take = [&](size_t c, PinColumnRole role) {
    if (!taken.insert({role.kind, role.block}).second) return;
    result.roles[c] = role;
  };
  for (size_t c = 0; c < cells.columnCount; ++c)
    if (isNamed[c]) take(c, named[c]);
  // The values decide the rest, each role once, left to right.
  for (size_t c = 0; c < cells.columnCount; ++c) {
    if (isNamed[c]) continue;
    switch (ColumnValues(cells, c, first)) {
      case ValueKind::Side:
        take(c, {Kind::Side, 0});
        break;
      case ValueKind::Numbers:
        // A second column of ball-like words (P1, P2) is the names.
        if (taken.count({Kind::Number, 0}) && !AllIntegers(cells, c, first))
          take(c, {Kind::Name, 0});
        else
          take(c, {Kind::Number, 0});
        break;
      case ValueKind::Text:
        if (LooksLikeNames(cells, c, first)) take(c, {Kind::Name, 0});
        break;
      case ValueKind::Empty:
        break;
    }
  }
  return result;
}

}  // namespace zanli
