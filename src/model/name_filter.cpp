#include "model/name_filter.h"

#include <algorithm>
#include <cstdint>

namespace zanli {

namespace {

bool IsLeadByte(uint8_t byte) { return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC); }

// The next character of `text` from `at`, ASCII letters upper-cased; moves
// `at` past it. A lead byte at the very end stands alone.
uint32_t NextCharacter(std::string_view text, size_t& at) {
  const auto byte = static_cast<uint8_t>(text[at++]);
  if (IsLeadByte(byte) && at < text.size()) return uint32_t{byte} << 8 | static_cast<uint8_t>(text[at++]);
  return byte >= 'a' && byte <= 'z' ? byte - ('a' - 'A') : byte;
}

}  // namespace

NameFilter::NameFilter(std::string_view text) {
  // The text may occur anywhere in the name, as if it were "*text*": each
  // run between stars must occur after the one before.
  segments_.emplace_back();
  for (size_t at = 0; at < text.size();) {
    const uint32_t c = NextCharacter(text, at);
    if (c == '*') {
      if (!segments_.back().empty()) segments_.emplace_back();
    } else {
      segments_.back().push_back(c == '?' ? kOne : c);
    }
  }
  if (segments_.back().empty()) segments_.pop_back();
}

bool NameFilter::Matches(std::string_view name) const {
  if (segments_.empty()) return true;
  // Names are short (15 bytes by the name rules); longer ones from odd files
  // are decoded on the heap.
  uint32_t local[64];
  std::vector<uint32_t> heap;
  uint32_t* chars = local;
  if (name.size() > std::size(local)) {
    heap.resize(name.size());
    chars = heap.data();
  }
  size_t count = 0;
  for (size_t at = 0; at < name.size();) chars[count++] = NextCharacter(name, at);
  // The leftmost place of each run leaves the most room for the next ones.
  size_t from = 0;
  for (const std::vector<uint32_t>& segment : segments_) {
    const size_t length = segment.size();
    size_t start = from;
    for (; start + length <= count; ++start) {
      size_t k = 0;
      while (k < length && (segment[k] == kOne || segment[k] == chars[start + k])) ++k;
      if (k == length) break;
    }
    if (start + length > count) return false;
    from = start + length;
  }
  return true;
}

std::vector<int> NameFilter::Rows(const Library& library) const {
  const auto& entries = library.entries;
  std::vector<int> rows;
  if (segments_.empty()) {
    rows.resize(entries.size());
    for (size_t i = 0; i < rows.size(); ++i) rows[i] = static_cast<int>(i);
    return rows;
  }
  // The bodies of the matching names, sorted to be looked up; a row whose own
  // name matched needs no look-up.
  std::vector<char> self(entries.size(), 0);
  std::vector<const PartBody*> matched;
  for (size_t i = 0; i < entries.size(); ++i) {
    if (!Matches(entries[i]->name)) continue;
    self[i] = 1;
    matched.push_back(entries[i]->body);
  }
  if (matched.empty()) return rows;
  std::sort(matched.begin(), matched.end());
  for (size_t i = 0; i < entries.size(); ++i)
    if (self[i] || std::binary_search(matched.begin(), matched.end(), entries[i]->body))
      rows.push_back(static_cast<int>(i));
  return rows;
}

}  // namespace zanli
