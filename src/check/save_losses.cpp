#include "check/save_losses.h"

#include <algorithm>
#include <new>
#include <optional>
#include <string_view>

#include "fileio/binary_library_format.h"
#include "fileio/first_match_index.h"
#include "fileio/text_library_format.h"
#include "fileio/text_library_reader.h"

namespace zanli {

namespace {

using Problems = std::vector<CheckProblem>;
constexpr size_t kNone = CheckProblem::kNone;

std::string SizeText(int32_t x, int32_t y) { return std::to_string(x) + "x" + std::to_string(y); }

template <typename T>
size_t IndexIn(const std::vector<std::unique_ptr<T>>& list, const T* item) {
  for (size_t i = 0; i < list.size(); ++i)
    if (list[i].get() == item) return i;
  return kNone;
}

// Subjects are filled from the library given to Find: the index of a body's
// part, the body and the pin, found by a search that runs once per problem,
// or through the indexes a comparison builds once.
void SetPattern(CheckProblem& problem, const Library& library, size_t index) {
  problem.patternIndex = index;
  problem.patternName = library.patterns[index]->name;
}

void SetEntry(CheckProblem& problem, const Library& library, size_t index) {
  problem.entryIndex = index;
  problem.entryName = library.entries[index]->name;
}

void SetPin(CheckProblem& problem, const PinInfo& pin, size_t index) {
  problem.pinIndex = index;
  problem.pinEdge = pin.edge;
  problem.pinPosition = pin.position;
  problem.pinName = pin.name;
}

// The part (first entry) of `body`, or none for a body no entry names.
void SetBody(CheckProblem& problem, const Library& library, const PartBody* body) {
  problem.bodyIndex = IndexIn(library.bodies, body);
  for (size_t i = 0; i < library.entries.size(); ++i)
    if (library.entries[i]->body == body) return SetEntry(problem, library, i);
}

// The body a write problem's subject stands for, if any.
const PartBody* BodyOf(const Library& library, const WriteProblem& wp) {
  if (wp.subject == WriteProblem::Subject::Entry && wp.index < library.entries.size())
    return library.entries[wp.index]->body;
  if (wp.subject == WriteProblem::Subject::Body && wp.index < library.bodies.size())
    return library.bodies[wp.index].get();
  return nullptr;
}

CheckKind KindOf(const WriteProblem& wp, const PartBody* body, LibraryFormat format) {
  using W = WriteProblem::Kind;
  const bool text = format == LibraryFormat::Text;
  const bool xOut = body && (body->xSize < 1 || body->xSize > wp.limit);
  const bool yOut = body && (body->ySize < 1 || body->ySize > wp.limit);
  switch (wp.kind) {
    case W::PatternSize:
      return text ? CheckKind::UnreadablePatternSize : CheckKind::RefusedPatternSide;
    case W::PatternImage:
      return CheckKind::RefusedPatternImage;
    case W::BitmapArea:
      return CheckKind::RefusedBitmapArea;
    case W::BodySize:
      if (text) return xOut || yOut ? CheckKind::UnreadablePartSize : CheckKind::UnreadableBlockCount;
      return xOut ? CheckKind::RefusedXSize : yOut ? CheckKind::RefusedYSize : CheckKind::RefusedBlockCount;
    case W::PinCount:
      return CheckKind::RefusedPinCount;
    case W::PinPosition:
      return CheckKind::RefusedPinPosition;
    case W::PinName:
      return CheckKind::RefusedPinNameLength;
    case W::PartRecord:
      return CheckKind::RefusedPartRecordSize;
    case W::PartRecordArea:
      return CheckKind::RefusedPartRecordArea;
    case W::StringPool:
      return CheckKind::RefusedStringPool;
    case W::EntryCount:
      return CheckKind::RefusedEntryCount;
    case W::FileSize:
      return text ? CheckKind::UnreadableTooLarge : CheckKind::RefusedFileSize;
    case W::ReadBudget:
      return CheckKind::UnreadableTooLarge;
    case W::MissingBody:
      return CheckKind::RefusedEntryWithoutBody;
    case W::EmptyEntryName:
      return CheckKind::UnreadableEmptyPartName;
    case W::EmptyPatternName:
      return CheckKind::UnreadableEmptyPatternName;
    case W::LongName:
      return CheckKind::UnreadableLongName;
  }
  return CheckKind::RefusedWrite;
}

// A writer's refusal as a problem of the library given to Find.
CheckProblem FromWriteProblem(const Library& library, const WriteProblem& wp, LibraryFormat format) {
  CheckProblem problem;
  const PartBody* body = BodyOf(library, wp);
  problem.kind = KindOf(wp, body, format);
  problem.value = wp.value;
  problem.limit = wp.limit;
  if (wp.subject == WriteProblem::Subject::Pattern && wp.index < library.patterns.size()) {
    SetPattern(problem, library, wp.index);
    if (problem.kind == CheckKind::RefusedPatternSide || problem.kind == CheckKind::UnreadablePatternSize)
      problem.before = SizeText(library.patterns[wp.index]->width, library.patterns[wp.index]->height);
  } else if (wp.subject == WriteProblem::Subject::Entry && wp.index < library.entries.size()) {
    SetEntry(problem, library, wp.index);
    if (body) problem.bodyIndex = IndexIn(library.bodies, body);
  } else if (wp.subject == WriteProblem::Subject::Body && body) {
    SetBody(problem, library, body);
  }
  if (body && problem.kind == CheckKind::UnreadablePartSize)
    problem.before = SizeText(body->xSize, body->ySize);
  if (body && wp.pinIndex < body->pins.size()) SetPin(problem, *body->pins[wp.pinIndex], wp.pinIndex);
  return problem;
}

bool OutsideTextSize(int32_t size) { return size < 1 || size > TextLibraryReader::kMaxSize; }

// Why the text reader refuses what the writer made of `library`: the values
// its blocks must hold. Runs only once the reader has refused, so it explains
// a refusal and never invents one; what it cannot explain is reported as a
// plain Unreadable.
void ExplainUnreadableText(const Library& library, Problems& out) {
  for (size_t i = 0; i < library.patterns.size(); ++i) {
    const Pattern& pattern = *library.patterns[i];
    if (pattern.name.empty()) {
      CheckProblem& problem = out.emplace_back();
      problem.kind = CheckKind::UnreadableEmptyPatternName;
      problem.patternIndex = i;
    }
    if (OutsideTextSize(pattern.width) || OutsideTextSize(pattern.height)) {
      CheckProblem& problem = out.emplace_back();
      problem.kind = CheckKind::UnreadablePatternSize;
      SetPattern(problem, library, i);
      problem.before = SizeText(pattern.width, pattern.height);
      problem.limit = TextLibraryReader::kMaxSize;
    }
  }
  FirstMatchIndex<const PartBody*, size_t> parts(library.entries.size());
  for (size_t i = 0; i < library.entries.size(); ++i) {
    const PartEntry& entry = *library.entries[i];
    if (entry.name.empty()) {
      CheckProblem& problem = out.emplace_back();
      problem.kind = CheckKind::UnreadableEmptyPartName;
      problem.entryIndex = i;
    }
    if (!entry.body || parts.Insert(entry.body, i) != i) continue;
    const PartBody& body = *entry.body;
    if (OutsideTextSize(body.xSize) || OutsideTextSize(body.ySize)) {
      CheckProblem& problem = out.emplace_back();
      problem.kind = CheckKind::UnreadablePartSize;
      SetEntry(problem, library, i);
      problem.before = SizeText(body.xSize, body.ySize);
      problem.limit = TextLibraryReader::kMaxSize;
    }
    if (body.blockCount < 1 || body.blockCount > TextLibraryReader::kMaxBlocks) {
      CheckProblem& problem = out.emplace_back();
      problem.kind = CheckKind::UnreadableBlockCount;
      SetEntry(problem, library, i);
      problem.value = body.blockCount;
      problem.limit = TextLibraryReader::kMaxBlocks;
    }
  }
  if (out.empty()) out.emplace_back().kind = CheckKind::Unreadable;
}

// The first row (1-based) whose ink differs within the width, or 0. Bytes a
// malformed pattern lacks count as blank, as both writers store them.
int64_t FirstDifferentRow(const Pattern& a, const Pattern& b) {
  const int32_t width = a.width;
  const size_t used = static_cast<size_t>((width + 7) / 8);
  const size_t stride = static_cast<size_t>(Pattern::StrideFor(width));
  const uint8_t lastMask = width % 8 == 0 ? 0xFF : static_cast<uint8_t>(0xFF00 >> (width % 8));
  auto byte = [](const Pattern& p, size_t at) { return at < p.bits.size() ? p.bits[at] : uint8_t{0}; };
  for (int32_t row = 0; row < a.height; ++row) {
    const size_t start = static_cast<size_t>(row) * stride;
    for (size_t i = 0; i < used; ++i) {
      const uint8_t mask = i + 1 == used ? lastMask : 0xFF;
      if ((byte(a, start + i) ^ byte(b, start + i)) & mask) return row + 1;
    }
  }
  return 0;
}

// An empty number and a lone "D" both show no number and both come back
// empty or "D" depending on the format; the user cannot tell them apart.
bool SameNumber(std::string_view a, std::string_view b) {
  if (a.empty()) a = "D";
  if (b.empty()) b = "D";
  return a == b;
}

std::string_view NumberOf(const PartBody& body, const PinInfo& pin, size_t block) {
  return block < static_cast<size_t>(std::max(body.blockCount, 0)) && block < pin.numbers.size()
             ? std::string_view(pin.numbers[block])
             : std::string_view();
}

// Compares the library with the one its file gives back. Entries are paired
// by position (both formats keep their order); when some are missing they
// are paired by name in order.
class Comparison {
 public:
  Comparison(const Library& before, const Library& after, Problems& out)
      : before_(before), after_(after), out_(out) {}

  void Run() {
    ComparePatterns();
    CompareEntries();
  }

 private:
  // Each entry's part (the first entry naming its body), by entry index.
  static std::vector<size_t> PartsOf(const Library& library) {
    FirstMatchIndex<const PartBody*, size_t> first(library.entries.size());
    std::vector<size_t> parts(library.entries.size());
    for (size_t i = 0; i < library.entries.size(); ++i) parts[i] = first.Insert(library.entries[i]->body, i);
    return parts;
  }

  CheckProblem& Add(CheckKind kind) {
    CheckProblem& problem = out_.emplace_back();
    problem.kind = kind;
    return problem;
  }

  CheckProblem& AddForEntry(CheckKind kind, size_t entry) {
    CheckProblem& problem = Add(kind);
    SetEntry(problem, before_, entry);
    problem.bodyIndex = BodyIndex(before_.entries[entry]->body);
    return problem;
  }

  size_t BodyIndex(const PartBody* body) {
    if (!bodyIndex_) {
      bodyIndex_.emplace(before_.bodies.size());
      for (size_t i = 0; i < before_.bodies.size(); ++i) bodyIndex_->Insert(before_.bodies[i].get(), i);
    }
    return bodyIndex_->Find(body, kNone);
  }

  void ComparePatterns() {
    const auto& a = before_.patterns;
    const auto& b = after_.patterns;
    for (size_t i = 0; i < std::min(a.size(), b.size()); ++i) {
      const Pattern& p = *a[i];
      const Pattern& q = *b[i];
      if (p.name != q.name) {
        CheckProblem& problem = Add(CheckKind::PatternRenamed);
        SetPattern(problem, before_, i);
        problem.before = p.name;
        problem.after = q.name;
      }
      if (p.width != q.width || p.height != q.height) {
        CheckProblem& problem = Add(CheckKind::PatternSizeChanged);
        SetPattern(problem, before_, i);
        problem.before = SizeText(p.width, p.height);
        problem.after = SizeText(q.width, q.height);
      } else if (const int64_t row = FirstDifferentRow(p, q)) {
        CheckProblem& problem = Add(CheckKind::PatternBitsChanged);
        SetPattern(problem, before_, i);
        problem.value = row;
      }
    }
    for (size_t i = b.size(); i < a.size(); ++i) SetPattern(Add(CheckKind::PatternLost), before_, i);
    for (size_t i = a.size(); i < b.size(); ++i) Add(CheckKind::PatternAdded).after = b[i]->name;
    for (size_t i = 0; i < a.size(); ++i) patternIndex_.Insert(a[i].get(), i);
    for (size_t i = 0; i < b.size(); ++i) patternIndexAfter_.Insert(b[i].get(), i);
  }

  void CompareEntries() {
    const auto& a = before_.entries;
    const auto& b = after_.entries;
    std::vector<size_t> pairOf(a.size(), kNone);
    size_t j = 0;
    for (size_t i = 0; i < a.size(); ++i) {
      if (j < b.size() && (a.size() == b.size() || a[i]->name == b[j]->name))
        pairOf[i] = j++;
      else
        AddForEntry(CheckKind::EntryLost, i).before = a[i]->name;
    }
    for (; j < b.size(); ++j) Add(CheckKind::EntryAdded).after = b[j]->name;

    const std::vector<size_t> partBefore = PartsOf(before_);
    const std::vector<size_t> partAfter = PartsOf(after_);
    // An entry's body is compared when the entry is the part of its body on
    // either side, so every body is compared at least once and at most once
    // per side.
    for (size_t i = 0; i < a.size(); ++i) {
      j = pairOf[i];
      if (j == kNone) continue;
      if (a[i]->name != b[j]->name) {
        CheckProblem& problem = AddForEntry(CheckKind::EntryRenamed, i);
        problem.before = a[i]->name;
        problem.after = b[j]->name;
      }
      const size_t part = partBefore[i];
      if (pairOf[part] != partAfter[j]) {
        CheckProblem& problem = AddForEntry(CheckKind::AliasChanged, i);
        if (part != i) problem.before = a[part]->name;
        if (partAfter[j] != j) problem.after = b[partAfter[j]]->name;
      }
      if ((part == i || partAfter[j] == j) && a[i]->body && b[j]->body)
        CompareBodies(i, *a[i]->body, *b[j]->body);
    }
  }

  void CompareBodies(size_t entry, const PartBody& p, const PartBody& q) {
    if (p.xSize != q.xSize || p.ySize != q.ySize) {
      CheckProblem& problem = AddForEntry(CheckKind::PartSizeChanged, entry);
      problem.before = SizeText(p.xSize, p.ySize);
      problem.after = SizeText(q.xSize, q.ySize);
    }
    if (p.blockCount != q.blockCount) {
      CheckProblem& problem = AddForEntry(CheckKind::BlockCountChanged, entry);
      problem.before = std::to_string(p.blockCount);
      problem.after = std::to_string(q.blockCount);
    }
    if (p.numberPrefix != q.numberPrefix) {
      CheckProblem& problem = AddForEntry(CheckKind::PrefixChanged, entry);
      problem.before = p.numberPrefix;
      problem.after = q.numberPrefix;
    }
    // Patterns pair by position; one outside the library's list never
    // counts as kept.
    const size_t patternBefore = p.pattern ? patternIndex_.Find(p.pattern, kOutside) : kNone;
    const size_t patternAfter = q.pattern ? patternIndexAfter_.Find(q.pattern, kOutside) : kNone;
    if (patternBefore != patternAfter || patternBefore == kOutside) {
      CheckProblem& problem = AddForEntry(CheckKind::PartPatternChanged, entry);
      if (p.pattern) problem.before = p.pattern->name;
      if (q.pattern) problem.after = q.pattern->name;
    }
    const size_t shared = std::min(p.pins.size(), q.pins.size());
    for (size_t k = 0; k < shared; ++k) ComparePins(entry, p, k, q, *q.pins[k]);
    for (size_t k = shared; k < p.pins.size(); ++k)
      SetPin(AddForEntry(CheckKind::PinLost, entry), *p.pins[k], k);
    for (size_t k = shared; k < q.pins.size(); ++k) {
      CheckProblem& problem = AddForEntry(CheckKind::PinAdded, entry);
      problem.movedEdge = q.pins[k]->edge;
      problem.movedPosition = q.pins[k]->position;
    }
  }

  void ComparePins(size_t entry, const PartBody& p, size_t index, const PartBody& q, const PinInfo& back) {
    const PinInfo& pin = *p.pins[index];
    auto add = [&](CheckKind kind) -> CheckProblem& {
      CheckProblem& problem = AddForEntry(kind, entry);
      SetPin(problem, pin, index);
      return problem;
    };
    if (pin.edge != back.edge || pin.position != back.position) {
      CheckProblem& problem = add(CheckKind::PinMoved);
      problem.movedEdge = back.edge;
      problem.movedPosition = back.position;
    }
    if (pin.name != back.name) {
      CheckProblem& problem = add(CheckKind::PinNameChanged);
      problem.before = pin.name;
      problem.after = back.name;
    }
    if (pin.flags != back.flags) {
      CheckProblem& problem = add(CheckKind::PinFlagsChanged);
      problem.value = pin.flags;
      problem.limit = back.flags;
    }
    // Numbers past both bodies' block counts or both arrays show nowhere.
    const size_t blocks = std::min(static_cast<size_t>(std::max({p.blockCount, q.blockCount, 0})),
                                   std::max(pin.numbers.size(), back.numbers.size()));
    for (size_t block = 0; block < blocks; ++block) {
      const std::string_view was = NumberOf(p, pin, block);
      const std::string_view is = NumberOf(q, back, block);
      if (SameNumber(was, is)) continue;
      CheckProblem& problem = add(CheckKind::PinNumberChanged);
      problem.block = static_cast<int32_t>(block + 1);
      problem.before = was;
      problem.after = is;
    }
  }

  static constexpr size_t kOutside = kNone - 1;

  const Library& before_;
  const Library& after_;
  Problems& out_;
  FirstMatchIndex<const Pattern*, size_t> patternIndex_;
  FirstMatchIndex<const Pattern*, size_t> patternIndexAfter_;
  std::optional<FirstMatchIndex<const PartBody*, size_t>> bodyIndex_;  // built at the first need
};

}  // namespace

std::vector<CheckProblem> SaveLosses::Find(const Library& library, LibraryFormat format) {
  try {
    return FindOrThrow(library, format);
  } catch (const std::bad_alloc&) {
    // The save would need the same memory again: it cannot be done now.
    std::vector<CheckProblem> problems(1);
    problems[0].kind = CheckKind::RefusedWrite;
    return problems;
  }
}

std::vector<CheckProblem> SaveLosses::FindOrThrow(const Library& library, LibraryFormat format) {
  Problems problems;
  // The writers' own checks decide, so what they refuse is reported as they
  // would refuse it.
  ReadResult back;
  if (format == LibraryFormat::Text) {
    // The text goes from the writer straight into the reader, never held.
    std::vector<WriteProblem> refusals;
    const WriteFailure failure = TextLibraryFormat::ReadBack(library, back, refusals);
    if (failure == WriteFailure::OutOfMemory) throw std::bad_alloc();
    if (failure != WriteFailure::None) {
      for (const WriteProblem& wp : refusals) problems.push_back(FromWriteProblem(library, wp, format));
      if (problems.empty()) problems.emplace_back().kind = CheckKind::RefusedWrite;
      return problems;
    }
  } else {
    std::string bytes;
    WriteProblem refusal;
    if (BinaryLibraryFormat::Encode(library, bytes, &refusal) != BinaryWriteResult::Ok) {
      problems.push_back(FromWriteProblem(library, refusal, format));
      return problems;
    }
    back = BinaryLibraryFormat::Decode(bytes);
  }
  if (back.failure == ReadFailure::OutOfMemory) throw std::bad_alloc();
  if (!back.Ok()) {
    if (format == LibraryFormat::Text)
      ExplainUnreadableText(library, problems);
    else
      problems.emplace_back().kind = CheckKind::Unreadable;
    return problems;
  }
  Comparison(library, *back.library, problems).Run();
  return problems;
}

}  // namespace zanli
