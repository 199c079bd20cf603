#include "check/check_problem_text.h"

#include <vector>

#include "fileio/library_file_messages.h"
#include "resources/check_texts.h"
#include "resources/message_texts.h"

namespace zanli {

namespace {

namespace t = texts::check;

// Display text of model bytes, on one line.
class Wording {
 public:
  Wording(const CheckProblem& problem, const CheckReport& report, const DisplayText& display)
      : problem_(problem), report_(report), display_(display) {}

  std::string Shown(std::string_view bytes) const {
    if (bytes.empty()) return t::kNothing;
    const std::string_view part = LibraryFileMessages::ShownPart(bytes);
    const std::string text = display_ ? display_(part) : std::string(part);
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
      const auto u = static_cast<unsigned char>(c);
      if (u >= 0x20 && u != 0x7F) {
        out.push_back(c);
        continue;
      }
      static constexpr char kHex[] = "0123456789ABCDEF";
      out += "\\x";
      out.push_back(kHex[u >> 4]);
      out.push_back(kHex[u & 0xF]);
    }
    return part.size() < bytes.size() ? LibraryFileMessages::Format(texts::kShortenedName, {out}) : out;
  }

  // "77", "77 (非表示)", or "(なし)" for no number.
  std::string Number(std::string_view number) const {
    const bool hidden = !number.empty() && number.front() == 'H';
    const std::string text = Shown(number.empty() ? number : number.substr(1));
    return hidden ? CheckProblemText::Fill(t::kHiddenNumber, {text}) : text;
  }

  static std::string Flags(int64_t flags) {
    std::string out;
    for (const auto& [bit, name] :
         {std::pair{PinFlag::NegativeLogic, t::kNegativeLogic}, std::pair{PinFlag::Clock, t::kClock},
          std::pair{PinFlag::NumberNearBody, t::kNumberNearBody}}) {
      if (!(flags & bit)) continue;
      if (!out.empty()) out += t::kFlagSeparator;
      out += name;
    }
    return out.empty() ? t::kNothing : out;
  }

  static std::string Place(PinEdge edge, int32_t position) {
    const auto e = static_cast<int32_t>(edge);
    return std::string(e >= 0 && e <= 3 ? t::kEdges[e] : "?") + std::to_string(position);
  }

  std::string Subject() const {
    const CheckProblem& p = problem_;
    std::vector<std::string> parts;
    if (p.HasEntry())
      parts.push_back(CheckProblemText::Fill(t::kPart, {Shown(report_.EntryName(p))}));
    else if (p.bodyIndex != CheckProblem::kNone)
      parts.push_back(CheckProblemText::Fill(t::kUnnamedBody, {std::to_string(p.bodyIndex + 1)}));
    else if (p.HasPattern())
      parts.push_back(CheckProblemText::Fill(t::kPattern, {Shown(report_.PatternName(p))}));
    if (p.HasPin()) {
      const std::string place = Place(p.pinEdge, p.pinPosition);
      const std::string_view name = report_.PinName(p);
      parts.push_back(name.empty() ? CheckProblemText::Fill(t::kPin, {place})
                                   : CheckProblemText::Fill(t::kNamedPin, {place, Shown(name)}));
    }
    if (p.block > 0) parts.push_back(CheckProblemText::Fill(t::kBlock, {std::to_string(p.block)}));
    std::string out;
    for (const std::string& part : parts) {
      if (!out.empty()) out += t::kSubjectSeparator;
      out += part;
    }
    return out.empty() ? out : out + t::kSubjectEnd;
  }

  std::string What() const {
    const CheckProblem& p = problem_;
    using F = std::initializer_list<std::string_view>;
    auto fill = [](const char* pattern, F args) { return CheckProblemText::Fill(pattern, args); };
    const std::string value = std::to_string(p.value);
    const std::string limit = std::to_string(p.limit);
    const std::string before = report_.Before(p);
    const std::string after = report_.After(p);
    auto binary = [&](const char* reason) {
      return fill(t::kRefusedBinary, {fill(reason, {value, limit, before})});
    };
    auto unreadable = [&](const std::string& reason) { return fill(t::kUnreadableBecause, {reason}); };
    switch (p.kind) {
      case CheckKind::RefusedPatternSide:
        return binary(t::kRefusedPatternSide);
      case CheckKind::RefusedPatternImage:
        return binary(t::kRefusedPatternImage);
      case CheckKind::RefusedBitmapArea:
        return binary(t::kRefusedBitmapArea);
      case CheckKind::RefusedXSize:
        return binary(t::kRefusedXSize);
      case CheckKind::RefusedYSize:
        return binary(t::kRefusedYSize);
      case CheckKind::RefusedBlockCount:
        return binary(t::kRefusedBlockCount);
      case CheckKind::RefusedPinCount:
        return binary(t::kRefusedPinCount);
      case CheckKind::RefusedPartRecordSize:
        return binary(t::kRefusedPartRecordSize);
      case CheckKind::RefusedPinPosition:
        return binary(t::kRefusedPinPosition);
      case CheckKind::RefusedPinNameLength:
        return binary(t::kRefusedPinNameLength);
      case CheckKind::RefusedPartRecordArea:
        return binary(t::kRefusedPartRecordArea);
      case CheckKind::RefusedStringPool:
        return binary(t::kRefusedStringPool);
      case CheckKind::RefusedEntryCount:
        return binary(t::kRefusedEntryCount);
      case CheckKind::RefusedFileSize:
        return binary(t::kRefusedFileSize);
      case CheckKind::RefusedEntryWithoutBody:
        return t::kRefusedEntryWithoutBody;
      case CheckKind::UnreadableEmptyPartName:
        return unreadable(t::kEmptyPartName);
      case CheckKind::UnreadableEmptyPatternName:
        return unreadable(t::kEmptyPatternName);
      case CheckKind::UnreadablePartSize:
      case CheckKind::UnreadablePatternSize:
        return unreadable(fill(t::kSizeOutOfRange, {before, limit}));
      case CheckKind::UnreadableBlockCount:
        return unreadable(fill(t::kBlockCountOutOfRange, {value, limit}));
      case CheckKind::UnreadableLongName:
        return unreadable(fill(t::kNameTooLong, {value, limit}));
      case CheckKind::UnreadableTooLarge:
        return unreadable(fill(t::kTextTooLarge, {value, limit}));
      case CheckKind::Unreadable:
        return t::kUnreadable;
      case CheckKind::SaveNotChecked:
        return t::kSaveNotChecked;
      case CheckKind::EntryLost:
        return t::kEntryLost;
      case CheckKind::EntryAdded:
        return fill(t::kEntryAdded, {Shown(after)});
      case CheckKind::EntryRenamed:
        return fill(t::kEntryRenamed, {Shown(after)});
      case CheckKind::AliasChanged:
        return fill(t::kAliasChanged, {Shown(before), Shown(after)});
      case CheckKind::PatternLost:
        return t::kPatternLost;
      case CheckKind::PatternAdded:
        return fill(t::kPatternAdded, {Shown(after)});
      case CheckKind::PatternRenamed:
        return fill(t::kPatternRenamed, {Shown(after)});
      case CheckKind::PatternSizeChanged:
        return fill(t::kPatternSizeChanged, {before, after});
      case CheckKind::PatternBitsChanged:
        return fill(t::kPatternBitsChanged, {value});
      case CheckKind::PartPatternChanged:
        return fill(t::kPartPatternChanged, {Shown(before), Shown(after)});
      case CheckKind::PartSizeChanged:
        return fill(t::kPartSizeChanged, {before, after});
      case CheckKind::BlockCountChanged:
        return fill(t::kBlockCountChanged, {before, after});
      case CheckKind::PrefixChanged:
        return fill(t::kPrefixChanged, {Shown(before), Shown(after)});
      case CheckKind::PinLost:
        return t::kPinLost;
      case CheckKind::PinAdded:
        return fill(t::kPinAdded, {Place(p.movedEdge, p.movedPosition)});
      case CheckKind::PinMoved:
        return fill(t::kPinMoved, {Place(p.movedEdge, p.movedPosition)});
      case CheckKind::PinNameChanged:
        return fill(t::kPinNameChanged, {Shown(before), Shown(after)});
      case CheckKind::PinFlagsChanged:
        return fill(t::kPinFlagsChanged, {Flags(p.value), Flags(p.limit)});
      case CheckKind::PinNumberChanged:
        return fill(t::kPinNumberChanged, {Number(before), Number(after)});
      case CheckKind::PinOutsideBody:
        return fill(t::kPinOutsideBody, {limit});
      case CheckKind::PinsAtOnePosition:
        return t::kPinsAtOnePosition;
      case CheckKind::DuplicatePinNumber:
        return fill(t::kDuplicatePinNumber, {Shown(before)});
      case CheckKind::PartlyNumberedPin:
        return t::kPartlyNumberedPin;
      case CheckKind::PatternTooSmall:
        return fill(t::kPatternTooSmall, {Shown(report_.PatternName(p)), before, after});
      case CheckKind::UnusedPattern:
        return t::kUnusedPattern;
      case CheckKind::InvalidPartName:
      case CheckKind::DuplicatePartName:
        return fill(p.kind == CheckKind::InvalidPartName ? t::kInvalidPartName : t::kDuplicatePartName,
                    {Shown(report_.EntryName(p))});
      case CheckKind::InvalidPatternName:
      case CheckKind::DuplicatePatternName:
        return fill(
            p.kind == CheckKind::InvalidPatternName ? t::kInvalidPatternName : t::kDuplicatePatternName,
            {Shown(report_.PatternName(p))});
      case CheckKind::PinNameUndrawable:
        return fill(t::kPinNameUndrawable, {Shown(before)});
      case CheckKind::PinNumberUndrawable:
        return fill(t::kPinNumberUndrawable, {Number(before)});
    }
    return t::kUnreadable;
  }

 private:
  const CheckProblem& problem_;
  const CheckReport& report_;
  const DisplayText& display_;
};

}  // namespace

std::string CheckProblemText::Describe(const CheckProblem& problem, const CheckReport& report,
                                       const DisplayText& display) {
  const Wording wording(problem, report, display);
  return wording.Subject() + wording.What();
}

std::string CheckProblemText::OmittedLine(const CheckReport& report) {
  const size_t omitted = report.Omitted();
  return omitted == 0
             ? std::string()
             : Fill(t::kOmitted, {std::to_string(omitted), std::to_string(CheckReport::kMaxPerKind)});
}

const char* CheckProblemText::SeverityLabel(CheckSeverity severity) {
  switch (severity) {
    case CheckSeverity::Error:
      return t::kError;
    case CheckSeverity::Warning:
      return t::kWarning;
    case CheckSeverity::Info:
      return t::kInfo;
  }
  return t::kError;
}

std::string CheckProblemText::Fill(std::string_view pattern, std::initializer_list<std::string_view> args) {
  std::string out;
  out.reserve(pattern.size());
  for (size_t i = 0; i < pattern.size(); ++i) {
    const char c = pattern[i];
    if (c == '%' && i + 1 < pattern.size() && pattern[i + 1] >= '1' && pattern[i + 1] <= '9') {
      const size_t n = static_cast<size_t>(pattern[i + 1] - '1');
      if (n < args.size()) out += args.begin()[n];
      ++i;
      continue;
    }
    out.push_back(c);
  }
  return out;
}

}  // namespace zanli
