#include "fileio/library_file_messages.h"

#include <cerrno>
#include <cstring>

#include "fileio/binary_library_format.h"
#include "resources/message_texts.h"

namespace zanli {

namespace {

std::string FileNameOf(std::string_view path) {
  const size_t slash = path.rfind('/');
  return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

std::string Line(std::string_view path, std::string_view reason) {
  return std::string("\n").append(path).append(": ").append(reason);
}

}  // namespace

std::string LibraryFileMessages::SystemReason(int error) {
  switch (error) {
    case 0:
      return "?";
    case ENOENT:
      return texts::kNoSuchFile;
    case EACCES:
    case EPERM:
      return texts::kAccessDenied;
    case ENOSPC:
    case EDQUOT:
      return texts::kNoSpace;
    case EROFS:
      return texts::kReadOnlyFileSystem;
    case EISDIR:
      return texts::kIsAFolder;
    case ENAMETOOLONG:
      return texts::kNameTooLong;
    case ENOTDIR:
      return texts::kNotAFolder;
    default:
      return std::strerror(error);
  }
}

namespace {

const char* ProblemText(WriteProblem::Kind kind) {
  using Kind = WriteProblem::Kind;
  switch (kind) {
    case Kind::PatternSize:
      return texts::kProblemPatternSize;
    case Kind::PatternImage:
      return texts::kProblemPatternImage;
    case Kind::BitmapArea:
      return texts::kProblemBitmapArea;
    case Kind::BodySize:
      return texts::kProblemBodySize;
    case Kind::PinCount:
      return texts::kProblemPinCount;
    case Kind::PinPosition:
      return texts::kProblemPinPosition;
    case Kind::PinName:
      return texts::kProblemPinName;
    case Kind::PartRecord:
      return texts::kProblemPartRecord;
    case Kind::PartRecordArea:
      return texts::kProblemPartRecordArea;
    case Kind::StringPool:
      return texts::kProblemStringPool;
    case Kind::EntryCount:
      return texts::kProblemEntryCount;
    case Kind::FileSize:
      return texts::kProblemFileSize;
    case Kind::ReadBudget:
      return texts::kProblemReadBudget;
    case Kind::MissingBody:
      return texts::kProblemMissingBody;
    case Kind::EmptyEntryName:
    case Kind::EmptyPatternName:
      return texts::kProblemEmptyName;
    case Kind::LongName:
      return texts::kProblemLongName;
  }
  return "";
}

}  // namespace

std::string LibraryFileMessages::Format(std::string_view text, std::initializer_list<std::string_view> args) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    const size_t n = i + 1 < text.size() ? static_cast<size_t>(text[i + 1] - '1') : args.size();
    if (text[i] == '%' && n < args.size()) {
      out += args.begin()[n];
      ++i;
    } else {
      out += text[i];
    }
  }
  return out;
}

std::string_view LibraryFileMessages::ShownPart(std::string_view name) {
  size_t at = 0;
  for (size_t shown = 0; shown < kMaxShownCharacters && at < name.size(); ++shown) {
    const auto lead = static_cast<unsigned char>(name[at]);
    const bool doubleByte = (lead >= 0x81 && lead <= 0x9F) || (lead >= 0xE0 && lead <= 0xFC);
    at += doubleByte && at + 1 < name.size() ? 2 : 1;
  }
  return name.substr(0, at);
}

std::string LibraryFileMessages::ShownName(std::string_view name, const NameDecoder& decode) {
  const std::string_view part = ShownPart(name);
  const std::string shown = decode(part);
  return part.size() < name.size() ? Format(texts::kShortenedName, {shown}) : shown;
}

std::string LibraryFileMessages::Describe(const WriteProblem& problem, const NameDecoder& decode) {
  using Subject = WriteProblem::Subject;
  const std::string number = std::to_string(problem.index + 1);
  std::string subject;
  switch (problem.subject) {
    case Subject::Library:
      break;
    case Subject::Entry:
      if (!problem.name.empty())
        subject = Format(texts::kPartNamed, {ShownName(problem.name, decode)});
      else if (!problem.partName.empty())
        subject = Format(texts::kAliasNumbered, {number, ShownName(problem.partName, decode)});
      else
        subject = Format(texts::kPartNumbered, {number});
      break;
    case Subject::Pattern:
      subject = problem.name.empty() ? Format(texts::kPatternNumbered, {number})
                                     : Format(texts::kPatternNamed, {ShownName(problem.name, decode)});
      break;
    case Subject::Body:
      subject = Format(texts::kBodyNumbered, {number});
      break;
  }
  const std::string reason =
      Format(ProblemText(problem.kind), {std::to_string(problem.value), std::to_string(problem.limit)});
  return subject.empty() ? reason : subject + ": " + reason;
}

std::string LibraryFileMessages::ReadFailure(const ReadResult& result, std::string_view shownPath) {
  std::string reason;
  switch (result.failure) {
    case ReadFailure::None:
      return {};
    case ReadFailure::CannotOpen:
    case ReadFailure::ReadError:
      reason = SystemReason(result.error);
      break;
    case ReadFailure::NotRegularFile:
      reason = texts::kNotRegularFile;
      break;
    case ReadFailure::FileTooLarge:
      reason = Format(texts::kFileTooLarge, {std::to_string(result.sizeLimit)});
      break;
    case ReadFailure::Malformed:
      reason = texts::kNotALibrary;
      break;
    case ReadFailure::OverBudget:
      reason = texts::kOverBudget;
      break;
    case ReadFailure::OutOfMemory:
      reason = texts::kOutOfMemory;
      break;
  }
  return Format(texts::kReadFailed, {FileNameOf(shownPath)}) + Line(shownPath, reason);
}

std::string LibraryFileMessages::MissingTrailer() { return texts::kMissingTrailer; }

std::string LibraryFileMessages::WriteFailure(const WriteResult& result, std::string_view shownPath,
                                              const NameDecoder& decode) {
  using Failure = zanli::WriteFailure;
  std::string head = texts::kWriteFailed;
  std::string reason;
  switch (result.failure) {
    case Failure::None:
      return {};
    case Failure::TooLarge:
      head = texts::kDataTooLarge;
      break;
    case Failure::Inconsistent:
      head = texts::kDataInconsistent;
      break;
    case Failure::Unreadable:
      head = texts::kDataInconsistent;
      reason = texts::kUnreadable;
      break;
    case Failure::OutOfMemory:
      reason = texts::kOutOfMemory;
      break;
    case Failure::NotRegularFile:
      reason = texts::kTargetNotRegular;
      break;
    case Failure::SymlinkLoop:
      reason = texts::kTargetLinkLoop;
      break;
    case Failure::ReadOnly:
      reason = texts::kTargetReadOnly;
      break;
    case Failure::FolderNotWritable:
      reason = Format(texts::kFolderNotWritable, {SystemReason(result.error)});
      break;
    case Failure::BackupFailed:
      reason = Format(
          texts::kBackupFailed,
          {FileNameOf(BinaryLibraryFormat::BackupPath(std::string(shownPath))), SystemReason(result.error)});
      break;
    case Failure::BackupNameTooLong:
      reason = texts::kBackupNameTooLong;
      break;
    case Failure::WriteFailed:
      reason = SystemReason(result.error);
      break;
  }
  std::string text = head;
  // One problem goes on the path's line; a list goes below it.
  if (reason.empty() && result.problems.size() == 1)
    return text + Line(shownPath, Describe(result.problems[0], decode));
  if (reason.empty())
    text.append("\n").append(shownPath);
  else
    text += Line(shownPath, reason);
  for (size_t i = 0; i < result.problems.size() && i < kMaxListed; ++i)
    text.append("\n").append(Describe(result.problems[i], decode));
  if (result.problems.size() > kMaxListed)
    text.append("\n").append(
        Format(texts::kMoreProblems, {std::to_string(result.problems.size() - kMaxListed)}));
  return text;
}

}  // namespace zanli
