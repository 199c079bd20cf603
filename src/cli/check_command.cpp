#include <cstdio>

#include "check/check_problem_text.h"
#include "check/library_check.h"
#include "cli/cli_commands.h"
#include "cli/json_writer.h"
#include "fileio/library_file.h"
#include "qtshared/shift_jis_codec.h"

namespace zanli::cli {

namespace {

int Usage() {
  std::fprintf(stderr, "usage: zanli-cli check LIBRARY [--format text|binary] [--json]\n");
  return kExitUsage;
}

std::string Display(std::string_view bytes) {
  return ShiftJisCodec::Decode(std::string(bytes)).toUtf8().toStdString();
}

const char* EdgeId(PinEdge edge) {
  switch (edge) {
    case PinEdge::Left:
      return "left";
    case PinEdge::Top:
      return "top";
    case PinEdge::Right:
      return "right";
    case PinEdge::Bottom:
      return "bottom";
  }
  return "bottom";
}

void AppendIndex(std::string& out, size_t index) {
  out += index == CheckProblem::kNone ? std::string("null") : std::to_string(index);
}

void AppendPlace(std::string& out, PinEdge edge, int32_t position) {
  out += "{\"edge\":\"";
  out += EdgeId(edge);
  out += "\",\"position\":" + std::to_string(position);
}

// Model bytes as \u00XX escapes, as dump writes them, names cut as in
// messages; "text" is UTF-8.
void AppendProblemJson(std::string& out, const CheckProblem& p, const CheckReport& report) {
  out += "{\"kind\":\"";
  out += KindId(p.kind);
  out += "\",\"severity\":\"";
  out += SeverityId(p.Severity());
  out += "\",\"entry\":";
  if (p.HasEntry())
    AppendJsonName(out, report.EntryName(p));
  else
    out += "null";
  out += ",\"entryIndex\":";
  AppendIndex(out, p.entryIndex);
  out += ",\"bodyIndex\":";
  AppendIndex(out, p.bodyIndex);
  out += ",\"pattern\":";
  if (p.HasPattern())
    AppendJsonName(out, report.PatternName(p));
  else
    out += "null";
  out += ",\"patternIndex\":";
  AppendIndex(out, p.patternIndex);
  out += ",\"pin\":";
  if (p.HasPin()) {
    AppendPlace(out, p.pinEdge, p.pinPosition);
    out += ",\"index\":" + std::to_string(p.pinIndex) + ",\"name\":";
    AppendJsonName(out, report.PinName(p));
    out += '}';
  } else {
    out += "null";
  }
  out += ",\"block\":" + std::to_string(p.block) + ",\"before\":";
  AppendJsonName(out, report.Before(p));
  out += ",\"after\":";
  AppendJsonName(out, report.After(p));
  out += ",\"value\":" + std::to_string(p.value) + ",\"limit\":" + std::to_string(p.limit);
  if (p.kind == CheckKind::PinMoved || p.kind == CheckKind::PinAdded) {
    out += ",\"moved\":";
    AppendPlace(out, p.movedEdge, p.movedPosition);
    out += '}';
  }
  out += ",\"text\":";
  AppendJsonText(out, CheckProblemText::Describe(p, report, Display));
  out += '}';
}

// The problems as JSON, one a line, each written as it is made.
bool WriteJson(const std::string& path, LibraryFormat format, const CheckReport& report) {
  std::string out = "{\"library\":";
  AppendJsonString(out, path);
  out += ",\"format\":\"";
  out += format == LibraryFormat::Text ? "text" : "binary";
  out += "\",\"problems\":[";
  bool ok = true;
  const std::vector<CheckProblem>& problems = report.Problems();
  for (size_t i = 0; i < problems.size() && ok; ++i) {
    out += i ? ",\n" : "\n";
    AppendProblemJson(out, problems[i], report);
    ok = WriteOutput(out);
    out.clear();
  }
  // How many of each kind were left out beyond the bound.
  out += "],\"omitted\":{";
  bool first = true;
  for (int k = 0; k < kCheckKindCount; ++k) {
    const size_t omitted = report.Omitted(static_cast<CheckKind>(k));
    if (omitted == 0) continue;
    out += first ? "\"" : ",\"";
    out += KindId(static_cast<CheckKind>(k));
    out += "\":" + std::to_string(omitted);
    first = false;
  }
  out += "}}\n";
  return ok && WriteOutput(out);
}

// One problem a line, then how many were left out.
bool WriteText(const CheckReport& report) {
  std::string line;
  for (const CheckProblem& problem : report.Problems()) {
    line = CheckProblemText::SeverityLabel(problem.Severity());
    line += ": ";
    line += CheckProblemText::Describe(problem, report, Display);
    line += '\n';
    if (!WriteOutput(line)) return false;
  }
  const std::string omitted = CheckProblemText::OmittedLine(report);
  return omitted.empty() || WriteOutput(omitted + "\n");
}

}  // namespace

int RunCheck(const std::vector<std::string>& args) {
  std::vector<std::string> positional;
  bool json = false;
  const char* formatName = nullptr;
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--json") {
      json = true;
    } else if (args[i] == "--format") {
      if (i + 1 >= args.size() || (args[i + 1] != "text" && args[i + 1] != "binary")) return Usage();
      formatName = args[++i].c_str();
    } else if (args[i].rfind("--", 0) == 0) {
      return Usage();
    } else {
      positional.push_back(args[i]);
    }
  }
  if (positional.size() != 1) return Usage();
  const std::string& path = positional[0];
  // The losses of the format the file is saved in, unless asked for the other.
  const LibraryFormat format =
      formatName ? (std::string(formatName) == "text" ? LibraryFormat::Text : LibraryFormat::Binary)
                 : LibraryFile::FormatOf(path);

  const std::unique_ptr<Library> library = ReadLibrary(path);
  if (!library) return kExitFailed;
  const CheckReport report = LibraryCheck::Run(*library, format);
  const bool written = json ? WriteJson(path, format, report) : WriteText(report);
  if (!written || !FinishOutput()) return kExitFailed;
  return report.Empty() ? kExitOk : kExitFailed;
}

}  // namespace zanli::cli
