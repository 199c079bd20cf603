#include "check/library_check.h"

#include <algorithm>
#include <string_view>
#include <tuple>

#include "check/save_losses.h"
#include "fileio/first_match_index.h"
#include "model/names.h"
#include "render/symbol_text_renderer.h"

namespace zanli {

namespace {

constexpr size_t kNone = CheckProblem::kNone;

bool Drawable(uint8_t c) { return c < 0x80 && SymbolTextRenderer::HasGlyph(c); }

// A backslash bars the next character and is not drawn itself; every other
// byte must be a character of the font (bit 7 would draw as a bar).
bool NameDrawable(std::string_view name) {
  bool barNext = false;
  for (char ch : name) {
    if (ch == '\\' && !barNext) {
      barNext = true;
      continue;
    }
    barNext = false;
    if (!Drawable(static_cast<uint8_t>(ch))) return false;
  }
  return true;
}

// A number string's text, after its display letter.
std::string_view NumberText(const PinInfo& pin, size_t block) {
  if (block >= pin.numbers.size() || pin.numbers[block].size() < 2) return {};
  return std::string_view(pin.numbers[block]).substr(1);
}

class Checker {
 public:
  Checker(const Library& library, CheckReport& out)
      : library_(library),
        out_(out),
        patternIndex_(library.patterns.size()),
        patternUsed_(library.patterns.size(), false) {
    for (size_t i = 0; i < library.patterns.size(); ++i) patternIndex_.Insert(library.patterns[i].get(), i);
  }

  void Run() {
    FirstMatchIndex<std::string_view, size_t> names(library_.entries.size());
    FirstMatchIndex<const PartBody*, size_t> parts(library_.entries.size());
    FirstMatchIndex<const PartBody*, size_t> bodies(library_.bodies.size());
    for (size_t i = 0; i < library_.bodies.size(); ++i) bodies.Insert(library_.bodies[i].get(), i);
    for (size_t i = 0; i < library_.entries.size(); ++i) {
      const PartEntry& entry = *library_.entries[i];
      if (!IsValidPartName(entry.name)) AddForEntry(CheckKind::InvalidPartName, i);
      if (names.Insert(entry.name, i) != i) AddForEntry(CheckKind::DuplicatePartName, i);
      if (entry.body && parts.Insert(entry.body, i) == i)
        CheckBody(i, bodies.Find(entry.body, kNone), *entry.body);
    }
    FirstMatchIndex<std::string_view, size_t> patternNames(library_.patterns.size());
    for (size_t i = 0; i < library_.patterns.size(); ++i) {
      const std::string& name = library_.patterns[i]->name;
      if (!IsValidPatternName(name)) AddForPattern(CheckKind::InvalidPatternName, i);
      if (patternNames.Insert(name, i) != i) AddForPattern(CheckKind::DuplicatePatternName, i);
      if (!patternUsed_[i]) AddForPattern(CheckKind::UnusedPattern, i);
    }
  }

 private:
  CheckProblem& AddForEntry(CheckKind kind, size_t entry) {
    CheckProblem& problem = out_.Add(kind);
    problem.entryIndex = entry;
    return problem;
  }

  CheckProblem& AddForPattern(CheckKind kind, size_t index) {
    CheckProblem& problem = out_.Add(kind);
    problem.patternIndex = index;
    return problem;
  }

  CheckProblem& AddForPin(CheckKind kind, const PartBody& body, size_t pin) {
    CheckProblem& problem = AddForEntry(kind, entry_);
    problem.bodyIndex = bodyIndex_;
    const PinInfo& info = *body.pins[pin];
    problem.pinIndex = pin;
    problem.pinEdge = info.edge;
    problem.pinPosition = info.position;
    return problem;
  }

  void CheckBody(size_t entry, size_t bodyIndex, const PartBody& body) {
    entry_ = entry;
    bodyIndex_ = bodyIndex;
    if (body.pattern) CheckPattern(body);
    const size_t blocks = static_cast<size_t>(std::max(body.blockCount, 0));
    places_.clear();
    numbers_.clear();
    for (size_t k = 0; k < body.pins.size(); ++k) {
      const PinInfo& pin = *body.pins[k];
      const bool vertical = pin.edge == PinEdge::Left || pin.edge == PinEdge::Right;
      const int32_t last = vertical ? body.ySize : body.xSize;
      if (pin.position < 0 || pin.position > last) AddForPin(CheckKind::PinOutsideBody, body, k).limit = last;
      places_.emplace_back(static_cast<int32_t>(pin.edge), pin.position, k);
      if (!NameDrawable(pin.name)) AddForPin(CheckKind::PinNameUndrawable, body, k);
      size_t numbered = 0;
      size_t firstUnnumbered = kNone;
      for (size_t block = 0; block < blocks; ++block) {
        const std::string_view text = NumberText(pin, block);
        if (text.empty()) {
          if (firstUnnumbered == kNone) firstUnnumbered = block;
          continue;
        }
        ++numbered;
        numbers_.emplace_back(block, text, k);
        if (!std::all_of(text.begin(), text.end(),
                         [](char c) { return Drawable(static_cast<uint8_t>(c)); })) {
          AddForPin(CheckKind::PinNumberUndrawable, body, k).block = static_cast<int32_t>(block + 1);
        }
      }
      if (numbered > 0 && numbered < blocks)
        AddForPin(CheckKind::PartlyNumberedPin, body, k).block = static_cast<int32_t>(firstUnnumbered + 1);
    }
    // Sorting keeps pin order within equal keys, so the earlier pin is the
    // one the editor reaches and the later ones are reported.
    std::sort(places_.begin(), places_.end());
    for (size_t i = 1; i < places_.size(); ++i)
      if (std::get<0>(places_[i]) == std::get<0>(places_[i - 1]) &&
          std::get<1>(places_[i]) == std::get<1>(places_[i - 1]))
        AddForPin(CheckKind::PinsAtOnePosition, body, std::get<2>(places_[i]));
    std::sort(numbers_.begin(), numbers_.end());
    for (size_t i = 1; i < numbers_.size(); ++i) {
      const auto& [block, text, pin] = numbers_[i];
      if (block != std::get<0>(numbers_[i - 1]) || text != std::get<1>(numbers_[i - 1])) continue;
      AddForPin(CheckKind::DuplicatePinNumber, body, pin).block = static_cast<int32_t>(block + 1);
    }
  }

  void CheckPattern(const PartBody& body) {
    const Pattern& pattern = *body.pattern;
    const size_t index = patternIndex_.Find(&pattern, kNone);
    if (index != kNone) patternUsed_[index] = true;
    const int64_t width = 10 * static_cast<int64_t>(body.xSize) + 1;
    const int64_t height = 10 * static_cast<int64_t>(body.ySize) + 1;
    if (pattern.width >= width && pattern.height >= height) return;
    CheckProblem& problem = AddForEntry(CheckKind::PatternTooSmall, entry_);
    problem.bodyIndex = bodyIndex_;
    problem.patternIndex = index;
  }

  const Library& library_;
  CheckReport& out_;
  FirstMatchIndex<const Pattern*, size_t> patternIndex_;
  std::vector<bool> patternUsed_;
  size_t entry_ = kNone;
  size_t bodyIndex_ = kNone;
  // Scratch of the body being checked, kept to spare allocations.
  std::vector<std::tuple<int32_t, int32_t, size_t>> places_;           // edge, position, pin
  std::vector<std::tuple<size_t, std::string_view, size_t>> numbers_;  // block, text, pin
};

}  // namespace

void LibraryCheck::DesignProblems(const Library& library, CheckReport& report) {
  Checker(library, report).Run();
}

CheckReport LibraryCheck::DesignProblems(const Library& library) {
  CheckReport report(library);
  DesignProblems(library, report);
  return report;
}

CheckReport LibraryCheck::Run(const Library& library, LibraryFormat savedAs) {
  CheckReport report = DesignProblems(library);
  SaveLosses::Find(library, savedAs, report);
  return report;
}

}  // namespace zanli
