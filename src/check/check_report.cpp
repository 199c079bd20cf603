#include "check/check_report.h"

#include <algorithm>

namespace zanli {

namespace {

using K = CheckKind;

std::string SizeText(int64_t x, int64_t y) { return std::to_string(x) + "x" + std::to_string(y); }

template <typename T, typename Allocator>
const T* At(const std::vector<std::unique_ptr<T>, Allocator>& list, size_t index) {
  return index < list.size() ? list[index].get() : nullptr;
}

const PartBody* BodyOfEntry(const Library* library, size_t index) {
  const PartEntry* entry = library ? At(library->entries, index) : nullptr;
  return entry ? entry->body : nullptr;
}

std::string_view NameOfEntry(const Library* library, size_t index) {
  const PartEntry* entry = library ? At(library->entries, index) : nullptr;
  return entry ? std::string_view(entry->name) : std::string_view();
}

// A block's number as the body shows it: none past its block count.
std::string_view NumberOf(const PartBody* body, const PinInfo* pin, int32_t block) {
  if (!body || !pin || block < 1) return {};
  const auto index = static_cast<size_t>(block - 1);
  return index < static_cast<size_t>(std::max(body->blockCount, 0)) && index < pin->numbers.size()
             ? std::string_view(pin->numbers[index])
             : std::string_view();
}

std::string PatternSize(const Pattern* pattern) {
  return pattern ? SizeText(pattern->width, pattern->height) : std::string();
}

std::string BodySize(const PartBody* body) {
  return body ? SizeText(body->xSize, body->ySize) : std::string();
}

}  // namespace

CheckReport::CheckReport(const Library& checked) : checked_(&checked) {}
CheckReport::CheckReport(CheckReport&&) noexcept = default;
CheckReport& CheckReport::operator=(CheckReport&&) noexcept = default;
CheckReport::~CheckReport() = default;

CheckProblem& CheckReport::Add(CheckKind kind) {
  size_t& found = found_[static_cast<size_t>(kind)];
  ++found;
  CheckProblem& problem = found > kMaxPerKind ? (scratch_ = CheckProblem()) : problems_.emplace_back();
  problem.kind = kind;
  return problem;
}

size_t CheckReport::Omitted(CheckKind kind) const {
  const size_t found = found_[static_cast<size_t>(kind)];
  return found > kMaxPerKind ? found - kMaxPerKind : 0;
}

size_t CheckReport::Omitted() const {
  size_t omitted = 0;
  for (int k = 0; k < kCheckKindCount; ++k) omitted += Omitted(static_cast<CheckKind>(k));
  return omitted;
}

bool CheckReport::HasSaveRefusal() const {
  for (int k = 0; k < kCheckKindCount; ++k)
    if (found_[static_cast<size_t>(k)] > 0 && IsSaveRefusal(static_cast<CheckKind>(k))) return true;
  return false;
}

void CheckReport::KeepSavedBack(std::unique_ptr<Library> library) {
  savedBackEntries_ = library ? library->entries.size() : 0;
  savedBack_ = std::move(library);
}

void CheckReport::KeepStreamedBack(std::unique_ptr<Library> patterns, size_t entries) {
  savedBack_ = std::move(patterns);
  savedBackEntries_ = entries;
}

void CheckReport::KeepBackBody(size_t backEntry, std::unique_ptr<PartBody> body) {
  backBodies_.emplace_back(backEntry, std::move(body));
}

void CheckReport::RollBack(const Mark& mark) {
  // Shrinking frees nothing and asks for nothing.
  problems_.resize(mark.kept);
  found_ = mark.found;
  backBodies_.resize(mark.backBodies);
  if (!mark.hadSavedBack) {
    savedBack_.reset();
    savedBackEntries_ = 0;
  }
}

const PartBody* CheckReport::BodyOf(const CheckProblem& p) const {
  if (p.HasEntry()) return BodyOfEntry(checked_, p.entryIndex);
  return At(checked_->bodies, p.bodyIndex);
}

const PinInfo* CheckReport::PinOf(const CheckProblem& p) const {
  const PartBody* body = BodyOf(p);
  return body ? At(body->pins, p.pinIndex) : nullptr;
}

const Pattern* CheckReport::PatternOf(const CheckProblem& p) const {
  if (p.HasPattern()) return At(checked_->patterns, p.patternIndex);
  // A part's pattern that is not in the library's list has no index.
  const PartBody* body = p.kind == K::PatternTooSmall ? BodyOf(p) : nullptr;
  return body ? body->pattern : nullptr;
}

const PartBody* CheckReport::BackBodyOf(const CheckProblem& p) const {
  const auto kept = std::lower_bound(backBodies_.begin(), backBodies_.end(), p.backEntryIndex,
                                     [](const auto& body, size_t entry) { return body.first < entry; });
  if (kept != backBodies_.end() && kept->first == p.backEntryIndex) return kept->second.get();
  return BodyOfEntry(savedBack_.get(), p.backEntryIndex);
}

const PinInfo* CheckReport::BackPinOf(const CheckProblem& p) const {
  const PartBody* body = BackBodyOf(p);
  return body ? At(body->pins, p.backPinIndex) : nullptr;
}

const Pattern* CheckReport::BackPatternOf(const CheckProblem& p) const {
  return savedBack_ ? At(savedBack_->patterns, p.backPatternIndex) : nullptr;
}

std::string_view CheckReport::EntryName(const CheckProblem& p) const {
  return NameOfEntry(checked_, p.entryIndex);
}

std::string_view CheckReport::PatternName(const CheckProblem& p) const {
  const Pattern* pattern = PatternOf(p);
  return pattern ? std::string_view(pattern->name) : std::string_view();
}

std::string_view CheckReport::PinName(const CheckProblem& p) const {
  const PinInfo* pin = PinOf(p);
  return pin ? std::string_view(pin->name) : std::string_view();
}

std::string CheckReport::Before(const CheckProblem& p) const {
  const PartBody* body = BodyOf(p);
  const PinInfo* pin = PinOf(p);
  switch (p.kind) {
    case K::RefusedPatternSide:
    case K::RefusedPatternImage:
    case K::UnreadablePatternSize:
    case K::PatternSizeChanged:
    case K::PatternTooSmall:
      return PatternSize(PatternOf(p));
    case K::UnreadablePartSize:
    case K::PartSizeChanged:
      return BodySize(body);
    case K::EntryLost:
    case K::EntryRenamed:
      return std::string(EntryName(p));
    case K::AliasChanged:
      return std::string(NameOfEntry(checked_, p.partOf));
    case K::PatternRenamed:
      return std::string(PatternName(p));
    case K::PartPatternChanged:
      return body && body->pattern ? body->pattern->name : std::string();
    case K::BlockCountChanged:
      return body ? std::to_string(body->blockCount) : std::string();
    case K::PrefixChanged:
    case K::PrefixUnstorable:
      return body ? body->numberPrefix : std::string();
    case K::PinNameChanged:
    case K::PinNameUndrawable:
    case K::PinNameUnstorable:
      return pin ? pin->name : std::string();
    case K::PinNumberChanged:
    case K::PinNumberUndrawable:
    case K::PinNumberUnstorable:
      return std::string(NumberOf(body, pin, p.block));
    case K::DuplicatePinNumber: {
      // The number's text: equal texts clash whatever their display letter.
      const std::string_view number = NumberOf(body, pin, p.block);
      return std::string(number.empty() ? number : number.substr(1));
    }
    default:
      return {};
  }
}

std::string CheckReport::After(const CheckProblem& p) const {
  const PartBody* back = BackBodyOf(p);
  switch (p.kind) {
    case K::EntryAdded:
    case K::EntryRenamed:
      return std::string(NameOfEntry(savedBack_.get(), p.backEntryIndex));
    case K::AliasChanged:
      return std::string(NameOfEntry(savedBack_.get(), p.backPartOf));
    case K::PatternAdded:
    case K::PatternRenamed: {
      const Pattern* pattern = BackPatternOf(p);
      return pattern ? pattern->name : std::string();
    }
    case K::PatternSizeChanged:
      return PatternSize(BackPatternOf(p));
    case K::PatternTooSmall: {
      const PartBody* body = BodyOf(p);
      return body ? SizeText(10 * int64_t{body->xSize} + 1, 10 * int64_t{body->ySize} + 1) : std::string();
    }
    case K::PartPatternChanged:
      return back && back->pattern ? back->pattern->name : std::string();
    case K::PartSizeChanged:
      return BodySize(back);
    case K::BlockCountChanged:
      return back ? std::to_string(back->blockCount) : std::string();
    case K::PrefixChanged:
      return back ? back->numberPrefix : std::string();
    case K::PinNameChanged: {
      const PinInfo* pin = BackPinOf(p);
      return pin ? pin->name : std::string();
    }
    case K::PinNumberChanged:
      return std::string(NumberOf(back, BackPinOf(p), p.block));
    default:
      return {};
  }
}

}  // namespace zanli
