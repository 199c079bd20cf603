#include "kicad/sexpr_tree.h"

#include <algorithm>
#include <array>
#include <new>

#include "kicad/kicad_limits.h"

namespace zanli {

namespace {

enum : uint8_t { kToken = 0, kSpace = 1, kOpen = 2, kClose = 3, kQuote = 4 };

constexpr std::array<uint8_t, 256> MakeClasses() {
  std::array<uint8_t, 256> classes{};
  for (unsigned char c : {' ', '\t', '\n', '\r', '\f', '\v'}) classes[c] = kSpace;
  classes['('] = kOpen;
  classes[')'] = kClose;
  classes['"'] = kQuote;
  return classes;
}

constexpr std::array<uint8_t, 256> kClasses = MakeClasses();

uint8_t ClassOf(char c) { return kClasses[static_cast<unsigned char>(c)]; }

// The end of the string whose opening quote is at `quote`, past its closing
// quote; npos when it has none. `escaped` tells whether it holds a backslash.
size_t StringEnd(std::string_view text, size_t quote, bool& escaped) {
  escaped = false;
  size_t j = quote + 1;
  for (;;) {
    const size_t stop = text.find_first_of("\"\\", j);
    if (stop == std::string_view::npos) return std::string_view::npos;
    if (text[stop] == '"') return stop + 1;
    escaped = true;
    j = stop + 2;
    if (j > text.size()) return std::string_view::npos;
  }
}

size_t AtomEnd(std::string_view text, size_t start) {
  size_t j = start + 1;
  while (j < text.size() && ClassOf(text[j]) == kToken) ++j;
  return j;
}

}  // namespace

size_t SExprTree::LineAt(std::string_view text, size_t offset) {
  offset = std::min(offset, text.size());
  return 1 +
         static_cast<size_t>(std::count(text.begin(), text.begin() + static_cast<ptrdiff_t>(offset), '\n'));
}

SExprTree::Result SExprTree::Scan(std::string_view text, std::vector<Span>& elements) {
  elements.clear();
  try {
    size_t depth = 0;
    size_t elementStart = 0;
    bool done = false;
    bool seen = false;
    size_t i = 0;
    while (i < text.size()) {
      const uint8_t cls = ClassOf(text[i]);
      if (cls == kSpace) {
        ++i;
        continue;
      }
      if (done) return Result{cls == kClose ? Status::StrayClose : Status::TrailingText, i};
      if (cls == kOpen) {
        if (depth >= KicadLimits::kMaxDepth) return Result{Status::TooDeep, i};
        if (depth == 1) elementStart = i;
        ++depth;
        seen = true;
        ++i;
        continue;
      }
      if (cls == kClose) {
        if (depth == 0) return Result{Status::StrayClose, i};
        --depth;
        ++i;
        if (depth == 1) elements.push_back(Span{elementStart, i});
        done = depth == 0;
        continue;
      }
      if (depth == 0) return Result{Status::NotAList, i};
      size_t end;
      if (cls == kQuote) {
        bool escaped;
        end = StringEnd(text, i, escaped);
        if (end == std::string_view::npos) return Result{Status::Unterminated, i};
        if (end - i - 2 > KicadLimits::kMaxTokenSize) return Result{Status::TokenTooLong, i};
      } else {
        end = AtomEnd(text, i);
        if (end - i > KicadLimits::kMaxTokenSize) return Result{Status::TokenTooLong, i};
      }
      if (depth == 1) elements.push_back(Span{i, end});
      i = end;
    }
    if (depth > 0) return Result{Status::Unclosed, text.size()};
    if (!seen) return Result{Status::Empty, text.size()};
  } catch (const std::bad_alloc&) {
    elements.clear();
    return Result{Status::OutOfMemory, 0};
  }
  return Result{};
}

SExprTree::Result SExprTree::Parse(std::string_view text) {
  text_ = text;
  nodes_.clear();
  const size_t maxNodes = KicadLimits::MaxNodes(text.size());
  auto fail = [&](Status status, size_t offset) {
    nodes_.clear();
    return Result{status, offset};
  };
  // The open lists, each with its last child so far.
  struct Open {
    uint32_t list;
    uint32_t last;
  };
  std::vector<Open> open;
  size_t i = 0;
  try {
    open.reserve(KicadLimits::kMaxDepth);
    nodes_.reserve(std::min(maxNodes, text.size() / 4 + 16));  // about one token per 4 bytes
    auto add = [&](const Node& node) -> bool {
      if (nodes_.size() >= maxNodes) return false;
      const auto index = static_cast<uint32_t>(nodes_.size());
      nodes_.push_back(node);
      if (open.empty()) return true;
      Open& parent = open.back();
      if (parent.last == kNone)
        nodes_[parent.list].childOrSize = index;
      else
        nodes_[parent.last].next = index;
      parent.last = index;
      return true;
    };
    while (i < text.size()) {
      const uint8_t cls = ClassOf(text[i]);
      if (cls == kSpace) {
        ++i;
        continue;
      }
      if (cls == kOpen) {
        if (open.size() >= KicadLimits::kMaxDepth) return fail(Status::TooDeep, i);
        Node node;
        node.begin = static_cast<uint32_t>(i);
        node.childOrSize = kNone;
        if (!add(node)) return fail(Status::TooManyNodes, i);
        open.push_back({static_cast<uint32_t>(nodes_.size() - 1), kNone});
        ++i;
        continue;
      }
      if (open.empty()) return fail(cls == kClose ? Status::StrayClose : Status::NotAList, i);
      if (cls == kClose) {
        open.pop_back();
        ++i;
        if (open.empty()) break;
        continue;
      }
      Node node;
      size_t end;
      if (cls == kQuote) {
        end = StringEnd(text, i, node.escaped);
        if (end == std::string_view::npos) return fail(Status::Unterminated, i);
        if (end - i - 2 > KicadLimits::kMaxTokenSize) return fail(Status::TokenTooLong, i);
        node.kind = Kind::String;
        node.begin = static_cast<uint32_t>(i + 1);
        node.childOrSize = static_cast<uint32_t>(end - i - 2);
      } else {
        end = AtomEnd(text, i);
        if (end - i > KicadLimits::kMaxTokenSize) return fail(Status::TokenTooLong, i);
        node.kind = Kind::Atom;
        node.begin = static_cast<uint32_t>(i);
        node.childOrSize = static_cast<uint32_t>(end - i);
      }
      if (!add(node)) return fail(Status::TooManyNodes, i);
      i = end;
    }
    if (!open.empty()) return fail(Status::Unclosed, text.size());
    if (nodes_.empty()) return fail(Status::Empty, text.size());
  } catch (const std::bad_alloc&) {
    nodes_.clear();
    nodes_.shrink_to_fit();
    return Result{Status::OutOfMemory, 0};
  }
  return Result{};
}

std::string SExprTree::Text(uint32_t node) const {
  const std::string_view raw = Raw(node);
  if (!nodes_[node].escaped) return std::string(raw);
  std::string out;
  out.reserve(raw.size());
  for (size_t i = 0; i < raw.size(); ++i) {
    char c = raw[i];
    if (c == '\\' && i + 1 < raw.size()) {
      c = raw[++i];
      if (c == 'n')
        c = '\n';
      else if (c == 't')
        c = '\t';
      else if (c == 'r')
        c = '\r';
    }
    out += c;
  }
  return out;
}

std::string_view SExprTree::Head(uint32_t list) const {
  const uint32_t first = FirstChild(list);
  if (first == kNone || nodes_[first].kind != Kind::Atom) return {};
  return Raw(first);
}

uint32_t SExprTree::Find(uint32_t list, std::string_view head) const {
  for (uint32_t child = FirstChild(list); child != kNone; child = nodes_[child].next)
    if (nodes_[child].kind == Kind::List && Head(child) == head) return child;
  return kNone;
}

}  // namespace zanli
