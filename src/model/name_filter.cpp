#include "model/name_filter.h"

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
  // The entries lie scattered in memory: one walk copies each one's name and
  // body into arrays, loads that do not wait for each other, and the
  // matching then runs over those.
  std::string names;
  names.reserve(entries.size() * 12);
  std::vector<size_t> ends(entries.size());
  std::vector<const PartBody*> bodies(entries.size());
  for (size_t i = 0; i < entries.size(); ++i) {
    names += entries[i]->name;
    ends[i] = names.size();
    bodies[i] = entries[i]->body;
  }
  std::vector<char> self(entries.size(), 0);
  size_t matches = 0;
  for (size_t i = 0, from = 0; i < entries.size(); from = ends[i++]) {
    if (!Matches(std::string_view(names).substr(from, ends[i] - from))) continue;
    self[i] = 1;
    ++matches;
  }
  if (matches == 0) return rows;
  // The matched bodies in an open-addressing set at most half full.
  int bits = 4;
  while ((size_t{1} << bits) < 2 * matches) ++bits;
  const size_t capacity = size_t{1} << bits;
  std::vector<const PartBody*> set(capacity, nullptr);
  const auto slot = [&](const PartBody* body) {
    // Fibonacci hashing: the product's top bits mix all of the pointer's.
    size_t at = static_cast<size_t>((uint64_t{reinterpret_cast<uintptr_t>(body)} * 0x9E3779B97F4A7C15ull) >>
                                    (64 - bits));
    while (set[at] != nullptr && set[at] != body) at = (at + 1) & (capacity - 1);
    return at;
  };
  for (size_t i = 0; i < entries.size(); ++i)
    if (self[i] && bodies[i] != nullptr) set[slot(bodies[i])] = bodies[i];
  rows.reserve(matches);
  for (size_t i = 0; i < entries.size(); ++i)
    if (self[i] || (bodies[i] != nullptr && set[slot(bodies[i])] != nullptr))
      rows.push_back(static_cast<int>(i));
  return rows;
}

}  // namespace zanli
