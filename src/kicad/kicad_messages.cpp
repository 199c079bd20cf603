#include "kicad/kicad_messages.h"

#include "fileio/library_file_messages.h"
#include "kicad/kicad_limits.h"
#include "kicad/kicad_symbol_writer.h"
#include "resources/kicad_texts.h"
#include "resources/message_texts.h"

namespace zanli {

namespace {

using Kind = KicadNote::Kind;
namespace kt = texts::kicad;

std::string Format(std::string_view text, std::initializer_list<std::string_view> args) {
  return LibraryFileMessages::Format(text, args);
}

const char* SyntaxText(SExprTree::Status status) {
  using Status = SExprTree::Status;
  switch (status) {
    case Status::Ok:
      return "";
    case Status::Empty:
      return kt::kEmpty;
    case Status::NotAList:
      return kt::kNotAList;
    case Status::TooDeep:
      return kt::kTooDeep;
    case Status::TokenTooLong:
      return kt::kTokenTooLong;
    case Status::Unterminated:
      return kt::kUnterminated;
    case Status::Unclosed:
      return kt::kUnclosed;
    case Status::StrayClose:
      return kt::kStrayClose;
    case Status::TrailingText:
      return kt::kTrailingText;
    case Status::TooManyNodes:
      return kt::kTooManyNodes;
    case Status::OutOfMemory:
      return texts::kOutOfMemory;
  }
  return "";
}

}  // namespace

std::string KicadMessages::ReadFailure(const KicadSymbolReader::Status& status, std::string_view shownPath) {
  using Failure = KicadSymbolReader::Failure;
  std::string reason;
  switch (status.failure) {
    case Failure::None:
      return {};
    case Failure::CannotOpen:
    case Failure::ReadError:
      reason = LibraryFileMessages::SystemReason(status.error);
      break;
    case Failure::NotRegularFile:
      reason = texts::kNotRegularFile;
      break;
    case Failure::FileTooLarge:
      reason = Format(texts::kFileTooLarge, {std::to_string(KicadLimits::kMaxFileSize)});
      break;
    case Failure::Syntax:
      reason = Format(kt::kSyntax, {std::to_string(status.line), SyntaxText(status.syntax)});
      break;
    case Failure::NotSymbolLibrary:
      reason = kt::kNotSymbolLibrary;
      break;
    case Failure::OutOfMemory:
      reason = texts::kOutOfMemory;
      break;
  }
  const size_t slash = shownPath.rfind('/');
  const std::string_view name = slash == std::string_view::npos ? shownPath : shownPath.substr(slash + 1);
  return Format(texts::kReadFailed, {name}).append("\n").append(shownPath).append(": ").append(reason);
}

std::string KicadMessages::Outcome(KicadOutcome outcome) {
  switch (outcome) {
    case KicadOutcome::Exact:
      return kt::kExact;
    case KicadOutcome::Changed:
      return kt::kChanged;
    case KicadOutcome::Refused:
      return kt::kRefused;
  }
  return {};
}

const char* KicadMessages::OutcomeId(KicadOutcome outcome) {
  switch (outcome) {
    case KicadOutcome::Exact:
      return "exact";
    case KicadOutcome::Changed:
      return "changed";
    case KicadOutcome::Refused:
      return "refused";
  }
  return "";
}

const char* KicadMessages::NoteId(KicadNote::Kind kind) {
  switch (kind) {
    case Kind::Unreadable:
      return "unreadable";
    case Kind::NoPins:
      return "no-pins";
    case Kind::PinDirection:
      return "pin-direction";
    case Kind::TooManyPlaces:
      return "too-many-places";
    case Kind::TooManyUnits:
      return "too-many-units";
    case Kind::MissingBase:
      return "missing-base";
    case Kind::BaseRefused:
      return "base-refused";
    case Kind::PinsMoved:
      return "pins-moved";
    case Kind::StackedPins:
      return "stacked-pins";
    case Kind::UnitsSplit:
      return "units-split";
    case Kind::PowerUnit:
      return "power-unit";
    case Kind::EmptyUnit:
      return "empty-unit";
    case Kind::Renamed:
      return "renamed";
    case Kind::HiddenPins:
      return "hidden-pins";
    case Kind::PinNamesHidden:
      return "pin-names-hidden";
    case Kind::PinTypes:
      return "pin-types";
    case Kind::PinShapes:
      return "pin-shapes";
    case Kind::PinCharacters:
      return "pin-characters";
    case Kind::AlternateFunctions:
      return "alternate-functions";
    case Kind::AlternateStyle:
      return "alternate-style";
    case Kind::Properties:
      return "properties";
    case Kind::Texts:
      return "texts";
    case Kind::DrawingCut:
      return "drawing-cut";
    case Kind::DrawingTooLarge:
      return "drawing-too-large";
    case Kind::ReferenceLetters:
      return "reference-letters";
    case Kind::AliasReference:
      return "alias-reference";
  }
  return "";
}

std::string KicadMessages::Millimetres(int64_t units) { return KicadSymbolWriter::Number(units); }

std::string KicadMessages::Describe(const KicadExportNote& note) {
  switch (note.kind) {
    case KicadExportNote::Kind::PinName:
      return Format(kt::kExportPinName, {note.part, note.detail});
    case KicadExportNote::Kind::StackedPins:
      return Format(kt::kExportStacked, {note.part, note.detail});
    case KicadExportNote::Kind::PinOutside:
      return Format(kt::kExportOutside, {note.part, note.detail});
    case KicadExportNote::Kind::Renamed:
      return Format(kt::kExportName, {note.part, note.detail});
    case KicadExportNote::Kind::Undecodable:
      return Format(kt::kExportText, {note.part, note.detail});
  }
  return {};
}

std::string KicadMessages::Describe(const KicadNote& note) {
  const std::string value = std::to_string(note.value);
  switch (note.kind) {
    case Kind::Unreadable:
      return Format(note.detail == "too-large"         ? kt::kUnreadableTooLarge
                    : note.detail == "out-of-range"    ? kt::kUnreadableRange
                    : note.detail == "too-many-points" ? kt::kUnreadablePoints
                                                       : kt::kUnreadable,
                    {note.text, value});
    case Kind::NoPins:
      return kt::kNoPins;
    case Kind::PinDirection:
      return note.value < 0 ? Format(kt::kPinDirectionOdd, {note.text})
                            : Format(kt::kPinDirection, {note.text, value});
    case Kind::TooManyPlaces:
      return Format(kt::kTooManyPlaces, {value});
    case Kind::TooManyUnits:
      return Format(kt::kTooManyUnits, {value});
    case Kind::MissingBase:
      return Format(kt::kMissingBase, {note.text});
    case Kind::BaseRefused:
      return Format(kt::kBaseRefused, {note.text});
    case Kind::PinsMoved:
      return Format(kt::kPinsMoved, {std::to_string(note.count), Millimetres(note.value)});
    case Kind::StackedPins:
      return Format(kt::kStackedPins, {note.text, note.detail});
    case Kind::UnitsSplit:
      return Format(kt::kUnitsSplit, {note.detail});
    case Kind::PowerUnit:
      return Format(kt::kPowerUnit, {note.text});
    case Kind::EmptyUnit:
      return Format(kt::kEmptyUnit, {note.text});
    case Kind::Renamed:
      return Format(kt::kRenamed, {note.detail});
    case Kind::HiddenPins:
      return Format(kt::kHiddenPins, {note.detail});
    case Kind::PinNamesHidden:
      return kt::kPinNamesHidden;
    case Kind::PinTypes:
      return Format(kt::kPinTypes, {note.detail});
    case Kind::PinShapes:
      return Format(kt::kPinShapes, {note.detail});
    case Kind::PinCharacters:
      return Format(kt::kPinCharacters, {note.detail});
    case Kind::AlternateFunctions:
      return Format(kt::kAlternateFunctions, {value});
    case Kind::AlternateStyle:
      return kt::kAlternateStyle;
    case Kind::Properties:
      return Format(kt::kProperties, {note.detail});
    case Kind::Texts:
      return Format(kt::kTexts, {value});
    case Kind::DrawingCut:
      return kt::kDrawingCut;
    case Kind::DrawingTooLarge:
      return Format(kt::kDrawingTooLarge, {value, std::to_string(note.value2)});
    case Kind::ReferenceLetters:
      return Format(kt::kReferenceLetters, {note.text, note.detail});
    case Kind::AliasReference:
      return Format(kt::kAliasReference, {note.text, note.detail});
  }
  return {};
}

}  // namespace zanli
