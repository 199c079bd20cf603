#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zanli {

// S-expression text: lists, bare atoms (keywords and numbers) and quoted
// strings. Scan checks a whole text in one pass and finds the elements of its
// top list; Parse builds the tree of one such element, pointing into the text
// (which must outlive it). A reader therefore holds one element's tree at a
// time, however large the file. Both are bounded (KicadLimits): nesting
// depth, token size and node count, so hostile text is refused with a reason
// and a line, never followed into deep recursion or unbounded memory.
class SExprTree {
 public:
  enum class Kind : uint8_t { List, Atom, String };
  enum class Status {
    Ok,
    Empty,         // no list at all
    NotAList,      // the text starts with something other than '('
    TooDeep,       // lists nested beyond the bound
    TokenTooLong,  // one atom or string beyond the bound
    Unterminated,  // a string without its closing quote
    Unclosed,      // a list without its ')'
    StrayClose,    // a ')' with no open list
    TrailingText,  // something after the top list's ')'
    TooManyNodes,  // more tokens than the text's size allows
    OutOfMemory,
  };
  struct Result {
    Status status = Status::Ok;
    size_t offset = 0;  // where the fault is
    bool Ok() const { return status == Status::Ok; }
  };
  // An element of the top list: [begin, end) of the text.
  struct Span {
    size_t begin = 0;
    size_t end = 0;
  };

  static constexpr uint32_t kNone = UINT32_MAX;

  // Node 0 is the parsed list.
  struct Node {
    uint32_t begin = 0;        // offset of the text; inside the quotes for a string
    uint32_t next = kNone;     // the next sibling
    uint32_t childOrSize = 0;  // lists: the first child or kNone; atoms and strings: the size
    Kind kind = Kind::List;
    bool escaped = false;  // a string holding backslash escapes
  };

  // Checks that `text` is one list (and white space) within the bounds, and
  // lists the elements of that list, its head atom first.
  static Result Scan(std::string_view text, std::vector<Span>& elements);
  // The tree of one list that Scan has passed: `text` starts at its '('.
  Result Parse(std::string_view text);

  const Node& At(uint32_t index) const { return nodes_[index]; }
  size_t NodeCount() const { return nodes_.size(); }
  uint32_t FirstChild(uint32_t list) const {
    return nodes_[list].kind == Kind::List ? nodes_[list].childOrSize : kNone;
  }
  uint32_t Next(uint32_t node) const { return nodes_[node].next; }
  // The raw text of an atom or string (escapes left as they are).
  std::string_view Raw(uint32_t node) const {
    return text_.substr(nodes_[node].begin, nodes_[node].childOrSize);
  }
  // A string's value with escapes resolved, or an atom's text.
  std::string Text(uint32_t node) const;
  // A list's head keyword ("" when the list is empty or starts otherwise).
  std::string_view Head(uint32_t list) const;
  bool IsAtom(uint32_t node, std::string_view text) const {
    return nodes_[node].kind == Kind::Atom && Raw(node) == text;
  }
  // The first child list of `list` whose head is `head`, or kNone.
  uint32_t Find(uint32_t list, std::string_view head) const;
  // Offset of a node in the parsed text.
  size_t OffsetOf(uint32_t node) const { return nodes_[node].begin; }

  // 1-based line of an offset.
  static size_t LineAt(std::string_view text, size_t offset);

 private:
  std::string_view text_;
  std::vector<Node> nodes_;
};

}  // namespace zanli
