#include "pinlist/pin_list_cells.h"

#include <algorithm>

#include "pinlist/shift_jis_text.h"

namespace zanli {

namespace {

std::vector<std::string_view> SplitLines(std::string_view text) {
  std::vector<std::string_view> lines;
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (!sjis::Trim(line).empty()) lines.push_back(line);
    start = end + 1;
  }
  return lines;
}

// One line of fields split at `separator`; a field that starts with a
// double quote runs to the closing quote, with "" standing for a quote.
std::vector<std::string> SplitQuoted(std::string_view line, char separator) {
  std::vector<std::string> cells;
  size_t i = 0;
  while (true) {
    std::string cell;
    while (i < line.size() && line[i] == ' ') ++i;
    if (i < line.size() && line[i] == '"') {
      ++i;
      while (i < line.size()) {
        if (line[i] == '"') {
          if (i + 1 < line.size() && line[i + 1] == '"') {
            cell += '"';
            i += 2;
            continue;
          }
          ++i;
          break;
        }
        cell += line[i++];
      }
      // Anything between the closing quote and the separator belongs to it.
      while (i < line.size() && line[i] != separator) cell += line[i++];
    } else {
      while (i < line.size() && line[i] != separator) cell += line[i++];
    }
    cells.emplace_back(sjis::Trim(cell));
    if (i >= line.size()) break;
    ++i;  // the separator
  }
  return cells;
}

// Fields between runs of at least `minRun` spaces or tabs.
std::vector<std::string> SplitSpaces(std::string_view line, size_t minRun) {
  std::vector<std::string> cells;
  line = sjis::Trim(line);
  size_t start = 0;
  size_t i = 0;
  while (i < line.size()) {
    if (line[i] != ' ') {
      ++i;
      continue;
    }
    size_t end = i;
    while (end < line.size() && line[end] == ' ') ++end;
    if (end - i >= minRun) {
      cells.emplace_back(line.substr(start, i - start));
      start = end;
    }
    i = end;
  }
  cells.emplace_back(line.substr(start));
  return cells;
}

bool ContainsOutsideQuotes(std::string_view line, char c) {
  bool quoted = false;
  for (char ch : line) {
    if (ch == '"') quoted = !quoted;
    if (ch == c && !quoted) return true;
  }
  return false;
}

// Spaces copied from a document's table: when most lines keep two or more
// columns apart by runs of two spaces, a single space belongs to a cell
// ("Output Enable"); otherwise every run separates.
size_t SpaceRun(const std::vector<std::string_view>& lines) {
  size_t wide = 0;
  for (std::string_view line : lines)
    if (SplitSpaces(line, 2).size() >= 2) ++wide;
  return wide * 2 > lines.size() ? 2 : 1;
}

}  // namespace

PinListCells PinListCells::Parse(std::string_view text) {
  PinListCells cells;
  const std::vector<std::string_view> lines = SplitLines(text);
  const bool tabs = std::any_of(lines.begin(), lines.end(), [](std::string_view line) {
    return line.find('\t') != std::string_view::npos;
  });
  const bool commas = !lines.empty() && std::all_of(lines.begin(), lines.end(), [](std::string_view line) {
    return ContainsOutsideQuotes(line, ',');
  });
  cells.separator = tabs     ? PinListSeparator::Tab
                    : commas ? PinListSeparator::Comma
                             : PinListSeparator::Spaces;
  const size_t run = cells.separator == PinListSeparator::Spaces ? SpaceRun(lines) : 0;
  for (std::string_view line : lines) {
    switch (cells.separator) {
      case PinListSeparator::Tab:
        cells.rows.push_back(SplitQuoted(line, '\t'));
        break;
      case PinListSeparator::Comma:
        cells.rows.push_back(SplitQuoted(line, ','));
        break;
      case PinListSeparator::Spaces:
        cells.rows.push_back(SplitSpaces(line, run));
        break;
    }
    cells.columnCount = std::max(cells.columnCount, cells.rows.back().size());
  }
  for (auto& row : cells.rows) row.resize(cells.columnCount);
  return cells;
}

}  // namespace zanli
