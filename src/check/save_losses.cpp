#include "check/save_losses.h"

#include <algorithm>
#include <new>
#include <optional>
#include <string_view>

#include "fileio/binary_library_format.h"
#include "fileio/first_match_index.h"
#include "fileio/text_library_format.h"
#include "fileio/text_library_reader.h"
#include "fileio/text_library_sink.h"

namespace zanli {

namespace {

constexpr size_t kNone = CheckProblem::kNone;

template <typename T, typename Allocator>
size_t IndexIn(const std::vector<std::unique_ptr<T>, Allocator>& list, const T* item) {
  for (size_t i = 0; i < list.size(); ++i)
    if (list[i].get() == item) return i;
  return kNone;
}

// The part (first entry) of `body`, or none for a body no entry names; a
// search that runs once per refusal.
void SetBody(CheckProblem& problem, const Library& library, const PartBody* body) {
  problem.bodyIndex = IndexIn(library.bodies, body);
  for (size_t i = 0; i < library.entries.size(); ++i)
    if (library.entries[i]->body == body) {
      problem.entryIndex = i;
      return;
    }
}

void SetPin(CheckProblem& problem, const PinInfo& pin, size_t index) {
  problem.pinIndex = index;
  problem.pinEdge = pin.edge;
  problem.pinPosition = pin.position;
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
  return CheckKind::Unreadable;
}

// A writer's refusal as a problem of the library given to Find.
void AddWriteProblem(const Library& library, const WriteProblem& wp, LibraryFormat format,
                     CheckReport& report) {
  const PartBody* body = BodyOf(library, wp);
  CheckProblem& problem = report.Add(KindOf(wp, body, format));
  problem.value = wp.value;
  problem.limit = wp.limit;
  if (wp.subject == WriteProblem::Subject::Pattern && wp.index < library.patterns.size()) {
    problem.patternIndex = wp.index;
  } else if (wp.subject == WriteProblem::Subject::Entry && wp.index < library.entries.size()) {
    problem.entryIndex = wp.index;
    if (body) problem.bodyIndex = IndexIn(library.bodies, body);
  } else if (wp.subject == WriteProblem::Subject::Body && body) {
    SetBody(problem, library, body);
  }
  if (body && wp.pinIndex < body->pins.size()) SetPin(problem, *body->pins[wp.pinIndex], wp.pinIndex);
}

bool OutsideTextSize(int32_t size) { return size < 1 || size > TextLibraryReader::kMaxSize; }

// Why the text reader refuses what the writer made of `library`: the values
// its blocks must hold. Runs only once the reader has refused, so it explains
// a refusal and never invents one; what it cannot explain is reported as a
// plain Unreadable.
void ExplainUnreadableText(const Library& library, CheckReport& out) {
  const size_t before = out.Count();
  for (size_t i = 0; i < library.patterns.size(); ++i) {
    const Pattern& pattern = *library.patterns[i];
    if (pattern.name.empty()) out.Add(CheckKind::UnreadableEmptyPatternName).patternIndex = i;
    if (OutsideTextSize(pattern.width) || OutsideTextSize(pattern.height)) {
      CheckProblem& problem = out.Add(CheckKind::UnreadablePatternSize);
      problem.patternIndex = i;
      problem.limit = TextLibraryReader::kMaxSize;
    }
  }
  FirstMatchIndex<const PartBody*, size_t> parts(library.entries.size());
  for (size_t i = 0; i < library.entries.size(); ++i) {
    const PartEntry& entry = *library.entries[i];
    if (entry.name.empty()) out.Add(CheckKind::UnreadableEmptyPartName).entryIndex = i;
    if (!entry.body || parts.Insert(entry.body, i) != i) continue;
    const PartBody& body = *entry.body;
    if (OutsideTextSize(body.xSize) || OutsideTextSize(body.ySize)) {
      CheckProblem& problem = out.Add(CheckKind::UnreadablePartSize);
      problem.entryIndex = i;
      problem.limit = TextLibraryReader::kMaxSize;
    }
    if (body.blockCount < 1 || body.blockCount > TextLibraryReader::kMaxBlocks) {
      CheckProblem& problem = out.Add(CheckKind::UnreadableBlockCount);
      problem.entryIndex = i;
      problem.value = body.blockCount;
      problem.limit = TextLibraryReader::kMaxBlocks;
    }
  }
  if (out.Count() == before) out.Add(CheckKind::Unreadable);
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
// are paired by name in order. Each problem names its place on both sides;
// the values stay in the libraries. Run compares a whole library read back;
// StreamedComparison feeds the parts of a text one at a time.
class Comparison {
 public:
  Comparison(const Library& before, CheckReport& out) : before_(before), out_(out) {
    for (size_t i = 0; i < before.patterns.size(); ++i) patternIndex_.Insert(before.patterns[i].get(), i);
  }

  void Run(const Library& after) {
    for (size_t i = 0; i < after.patterns.size(); ++i) TakePattern(i, *after.patterns[i]);
    PatternsDone(after.patterns.size());
    CompareEntries(after);
  }

  // Each entry's part (the first entry naming its body), by entry index.
  static std::vector<size_t> PartsOf(const Library& library) {
    FirstMatchIndex<const PartBody*, size_t> first(library.entries.size());
    std::vector<size_t> parts(library.entries.size());
    for (size_t i = 0; i < library.entries.size(); ++i) parts[i] = first.Insert(library.entries[i]->body, i);
    return parts;
  }

  // The pattern at `index` of those read back, in order.
  void TakePattern(size_t index, const Pattern& q) {
    patternIndexAfter_.Insert(&q, index);
    if (index >= before_.patterns.size()) {
      out_.Add(CheckKind::PatternAdded).backPatternIndex = index;
      return;
    }
    const Pattern& p = *before_.patterns[index];
    if (p.name != q.name) AddForPattern(CheckKind::PatternRenamed, index, index);
    if (p.width != q.width || p.height != q.height)
      AddForPattern(CheckKind::PatternSizeChanged, index, index);
    else if (const int64_t row = FirstDifferentRow(p, q))
      AddForPattern(CheckKind::PatternBitsChanged, index, index).value = row;
  }

  // Once all `count` patterns read back are taken: those lost.
  void PatternsDone(size_t count) {
    for (size_t i = count; i < before_.patterns.size(); ++i) AddForPattern(CheckKind::PatternLost, i, kNone);
  }

  void CompareBodies(size_t entry, size_t back, const PartBody& p, const PartBody& q) {
    if (p.xSize != q.xSize || p.ySize != q.ySize) AddForEntry(CheckKind::PartSizeChanged, entry, back);
    if (p.blockCount != q.blockCount) AddForEntry(CheckKind::BlockCountChanged, entry, back);
    if (p.numberPrefix != q.numberPrefix) AddForEntry(CheckKind::PrefixChanged, entry, back);
    // Patterns pair by position; one outside the library's list never
    // counts as kept.
    const size_t patternBefore = p.pattern ? patternIndex_.Find(p.pattern, kOutside) : kNone;
    const size_t patternAfter = q.pattern ? patternIndexAfter_.Find(q.pattern, kOutside) : kNone;
    if (patternBefore != patternAfter || patternBefore == kOutside)
      AddForEntry(CheckKind::PartPatternChanged, entry, back);
    const size_t shared = std::min(p.pins.size(), q.pins.size());
    for (size_t k = 0; k < shared; ++k) ComparePins(entry, back, p, k, q);
    for (size_t k = shared; k < p.pins.size(); ++k)
      SetPin(AddForEntry(CheckKind::PinLost, entry, back), *p.pins[k], k);
    for (size_t k = shared; k < q.pins.size(); ++k) {
      CheckProblem& problem = AddForEntry(CheckKind::PinAdded, entry, back);
      problem.backPinIndex = k;
      problem.movedEdge = q.pins[k]->edge;
      problem.movedPosition = q.pins[k]->position;
    }
  }

 private:
  CheckProblem& AddForPattern(CheckKind kind, size_t index, size_t back) {
    CheckProblem& problem = out_.Add(kind);
    problem.patternIndex = index;
    problem.backPatternIndex = back;
    return problem;
  }

  // An entry and the one it became (kNone when it is lost).
  CheckProblem& AddForEntry(CheckKind kind, size_t entry, size_t back = kNone) {
    CheckProblem& problem = out_.Add(kind);
    problem.entryIndex = entry;
    problem.bodyIndex = BodyIndex(before_.entries[entry]->body);
    problem.backEntryIndex = back;
    return problem;
  }

  size_t BodyIndex(const PartBody* body) {
    if (!bodyIndex_) {
      bodyIndex_.emplace(before_.bodies.size());
      for (size_t i = 0; i < before_.bodies.size(); ++i) bodyIndex_->Insert(before_.bodies[i].get(), i);
    }
    return bodyIndex_->Find(body, kNone);
  }

  void CompareEntries(const Library& after) {
    const auto& a = before_.entries;
    const auto& b = after.entries;
    std::vector<size_t> pairOf(a.size(), kNone);
    size_t j = 0;
    for (size_t i = 0; i < a.size(); ++i) {
      if (j < b.size() && (a.size() == b.size() || a[i]->name == b[j]->name))
        pairOf[i] = j++;
      else
        AddForEntry(CheckKind::EntryLost, i);
    }
    for (; j < b.size(); ++j) out_.Add(CheckKind::EntryAdded).backEntryIndex = j;

    const std::vector<size_t> partBefore = PartsOf(before_);
    const std::vector<size_t> partAfter = PartsOf(after);
    // An entry's body is compared when the entry is the part of its body on
    // either side, so every body is compared at least once and at most once
    // per side.
    for (size_t i = 0; i < a.size(); ++i) {
      j = pairOf[i];
      if (j == kNone) continue;
      if (a[i]->name != b[j]->name) AddForEntry(CheckKind::EntryRenamed, i, j);
      const size_t part = partBefore[i];
      if (pairOf[part] != partAfter[j]) {
        CheckProblem& problem = AddForEntry(CheckKind::AliasChanged, i, j);
        if (part != i) problem.partOf = part;
        if (partAfter[j] != j) problem.backPartOf = partAfter[j];
      }
      if ((part == i || partAfter[j] == j) && a[i]->body && b[j]->body)
        CompareBodies(i, j, *a[i]->body, *b[j]->body);
    }
  }

  void ComparePins(size_t entry, size_t backEntry, const PartBody& p, size_t index, const PartBody& q) {
    const PinInfo& pin = *p.pins[index];
    const PinInfo& back = *q.pins[index];
    auto add = [&](CheckKind kind) -> CheckProblem& {
      CheckProblem& problem = AddForEntry(kind, entry, backEntry);
      SetPin(problem, pin, index);
      problem.backPinIndex = index;
      return problem;
    };
    if (pin.edge != back.edge || pin.position != back.position) {
      CheckProblem& problem = add(CheckKind::PinMoved);
      problem.movedEdge = back.edge;
      problem.movedPosition = back.position;
    }
    if (pin.name != back.name) add(CheckKind::PinNameChanged);
    if (pin.flags != back.flags) {
      CheckProblem& problem = add(CheckKind::PinFlagsChanged);
      problem.value = pin.flags;
      problem.limit = back.flags;
    }
    // Numbers past both bodies' block counts or both arrays show nowhere.
    const size_t blocks = std::min(static_cast<size_t>(std::max({p.blockCount, q.blockCount, 0})),
                                   std::max(pin.numbers.size(), back.numbers.size()));
    for (size_t block = 0; block < blocks; ++block) {
      if (SameNumber(NumberOf(p, pin, block), NumberOf(q, back, block))) continue;
      add(CheckKind::PinNumberChanged).block = static_cast<int32_t>(block + 1);
    }
  }

  static constexpr size_t kOutside = kNone - 1;

  const Library& before_;
  CheckReport& out_;
  FirstMatchIndex<const Pattern*, size_t> patternIndex_;
  FirstMatchIndex<const Pattern*, size_t> patternIndexAfter_;
  std::optional<FirstMatchIndex<const PartBody*, size_t>> bodyIndex_;  // built at the first need
};

// The comparison as the text reader reads the saved text back, holding one
// part of it at a time. It pairs entries by position, which is all it can
// do without the whole list; where that is not how Comparison would pair
// them (an entry renamed, missing or added, or sharing another body) it
// stops the read, and the whole comparison is made instead. Bodies that
// changed are kept, copied, for the words of their problems.
class StreamedComparison final : public TextLibrarySink {
 public:
  StreamedComparison(const Library& before, CheckReport& out)
      : compare_(before, out), before_(before), out_(out), parts_(Comparison::PartsOf(before)) {}

  bool TakePattern(Pattern& pattern, size_t index) override {
    // The writer puts every pattern first; a later one would change the
    // order of what is found.
    if (patternsDone_) return false;
    compare_.TakePattern(index, pattern);
    patterns_ = index + 1;
    // Only its name and size may still be asked for.
    std::vector<uint8_t>().swap(pattern.bits);
    return true;
  }

  bool TakeEntry(size_t index, std::string_view name, size_t part, const PartBody* body) override {
    EndPatterns();
    entries_ = index + 1;
    const auto& a = before_.entries;
    if (index >= a.size() || a[index]->name != name || parts_[index] != part || !a[index]->body) return false;
    if (!body) return true;
    const size_t kept = out_.Problems().size();
    compare_.CompareBodies(index, index, *a[index]->body, *body);
    if (out_.Problems().size() != kept) out_.KeepBackBody(index, body->Clone());
    return true;
  }

  // Once the text is read to its end: whether what was found stands, the
  // entries having paired by position to the last.
  bool Finish() {
    EndPatterns();
    return entries_ == before_.entries.size();
  }
  size_t Entries() const { return entries_; }

 private:
  void EndPatterns() {
    if (!patternsDone_) compare_.PatternsDone(patterns_);
    patternsDone_ = true;
  }

  Comparison compare_;
  const Library& before_;
  CheckReport& out_;
  const std::vector<size_t> parts_;
  size_t patterns_ = 0;
  size_t entries_ = 0;
  bool patternsDone_ = false;
};

}  // namespace

CheckReport SaveLosses::Find(const Library& library, LibraryFormat format) {
  CheckReport report(library);
  Find(library, format, report);
  return report;
}

template <typename Check>
void SaveLosses::Guarded(CheckReport& report, const Check& check) {
  const CheckReport::Mark mark = report.TakeMark();
  try {
    report.MakeRoom();
    check();
  } catch (const std::bad_alloc&) {
    // Not knowing what a save would change is no reason to refuse it: the
    // caller says so and lets the user decide. MakeRoom left room for this.
    report.RollBack(mark);
    report.Add(CheckKind::SaveNotChecked);
  }
}

void SaveLosses::Find(const Library& library, LibraryFormat format, CheckReport& report) {
  if (format == LibraryFormat::Binary) return FindWhole(library, format, report);
  JudgeText(
      library,
      [&](TextLibrarySink& sink, WriteFailure& written, std::vector<WriteProblem>& refusals,
          ReadResult& back) {
        // The text goes from the writer straight into the reader, never held.
        written = TextLibraryFormat::ReadBack(library, back, refusals, &sink);
        return true;
      },
      report);
}

void SaveLosses::FindWhole(const Library& library, LibraryFormat format, CheckReport& report) {
  Guarded(report, [&] { FindOrThrow(library, format, report); });
}

void SaveLosses::JudgeText(const Library& library, const TextRound& round, CheckReport& report) {
  const CheckReport::Mark mark = report.TakeMark();
  const size_t found = report.Count();
  try {
    report.MakeRoom();
    StreamedComparison streamed(library, report);
    WriteFailure written = WriteFailure::None;
    std::vector<WriteProblem> refusals;
    ReadResult back;
    const bool judgeable = round(streamed, written, refusals, back);
    if (judgeable && written == WriteFailure::None && back.Ok() && streamed.Finish()) {
      // Changes name their values in the patterns read back and the bodies kept.
      if (report.Count() != found) report.KeepStreamedBack(std::move(back.library), streamed.Entries());
      return;
    }
    // What the stream found stands only for a text written and read back
    // whole whose entries paired by position.
    report.RollBack(mark);
    if (!judgeable) return;
    if (written == WriteFailure::None && back.failure == ReadFailure::None)
      FindOrThrow(library, LibraryFormat::Text, report);
    else
      JudgeOrThrow(library, LibraryFormat::Text, written, refusals, back, report);
  } catch (const std::bad_alloc&) {
    // As Guarded.
    report.RollBack(mark);
    report.Add(CheckKind::SaveNotChecked);
  }
}

void SaveLosses::Judge(const Library& library, LibraryFormat format, WriteFailure written,
                       const std::vector<WriteProblem>& refusals, ReadResult back, CheckReport& report) {
  Guarded(report, [&] { JudgeOrThrow(library, format, written, refusals, back, report); });
}

void SaveLosses::FindOrThrow(const Library& library, LibraryFormat format, CheckReport& report) {
  // The writers' own checks decide, so what they refuse is reported as they
  // would refuse it.
  ReadResult back;
  std::vector<WriteProblem> refusals;
  WriteFailure written = WriteFailure::None;
  if (format == LibraryFormat::Text) {
    // The text goes from the writer straight into the reader, never held.
    written = TextLibraryFormat::ReadBack(library, back, refusals);
  } else {
    std::string bytes;
    WriteProblem refusal;
    if (BinaryLibraryFormat::Encode(library, bytes, &refusal) == BinaryWriteResult::Ok) {
      back = BinaryLibraryFormat::Decode(bytes);
    } else {
      refusals.push_back(std::move(refusal));
      written = WriteFailure::TooLarge;
    }
  }
  JudgeOrThrow(library, format, written, refusals, back, report);
}

void SaveLosses::JudgeOrThrow(const Library& library, LibraryFormat format, WriteFailure written,
                              const std::vector<WriteProblem>& refusals, ReadResult& back,
                              CheckReport& report) {
  if (written == WriteFailure::OutOfMemory) throw std::bad_alloc();
  if (written != WriteFailure::None) {
    for (const WriteProblem& wp : refusals) AddWriteProblem(library, wp, format, report);
    if (refusals.empty()) report.Add(CheckKind::Unreadable);
    return;
  }
  if (back.failure == ReadFailure::OutOfMemory) throw std::bad_alloc();
  if (!back.Ok()) {
    if (format == LibraryFormat::Text)
      ExplainUnreadableText(library, report);
    else
      report.Add(CheckKind::Unreadable);
    return;
  }
  const size_t found = report.Count();
  Comparison(library, report).Run(*back.library);
  // Changes name their values in the library read back.
  if (report.Count() != found) report.KeepSavedBack(std::move(back.library));
}

}  // namespace zanli
