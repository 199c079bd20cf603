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

// Model bytes as \u00XX escapes, as dump writes them; "text" is UTF-8.
void AppendProblemJson(std::string& out, const CheckProblem& p) {
  out += "{\"kind\":\"";
  out += KindId(p.kind);
  out += "\",\"severity\":\"";
  out += SeverityId(p.Severity());
  out += "\",\"entry\":";
  if (p.HasEntry())
    AppendJsonString(out, p.entryName);
  else
    out += "null";
  out += ",\"entryIndex\":";
  AppendIndex(out, p.entryIndex);
  out += ",\"bodyIndex\":";
  AppendIndex(out, p.bodyIndex);
  out += ",\"pattern\":";
  if (p.HasPattern())
    AppendJsonString(out, p.patternName);
  else
    out += "null";
  out += ",\"patternIndex\":";
  AppendIndex(out, p.patternIndex);
  out += ",\"pin\":";
  if (p.HasPin()) {
    AppendPlace(out, p.pinEdge, p.pinPosition);
    out += ",\"index\":" + std::to_string(p.pinIndex) + ",\"name\":";
    AppendJsonString(out, p.pinName);
    out += '}';
  } else {
    out += "null";
  }
  out += ",\"block\":" + std::to_string(p.block) + ",\"before\":";
  AppendJsonString(out, p.before);
  out += ",\"after\":";
  AppendJsonString(out, p.after);
  out += ",\"value\":" + std::to_string(p.value) + ",\"limit\":" + std::to_string(p.limit);
  if (p.kind == CheckKind::PinMoved || p.kind == CheckKind::PinAdded) {
    out += ",\"moved\":";
    AppendPlace(out, p.movedEdge, p.movedPosition);
    out += '}';
  }
  out += ",\"text\":";
  AppendJsonText(out, CheckProblemText::Describe(p, Display));
  out += '}';
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
  const std::vector<CheckProblem> problems = LibraryCheck::Run(*library, format);

  std::string out;
  if (json) {
    out = "{\"library\":";
    AppendJsonString(out, path);
    out += ",\"format\":\"";
    out += format == LibraryFormat::Text ? "text" : "binary";
    out += "\",\"problems\":[";
    for (size_t i = 0; i < problems.size(); ++i) {
      out += i ? ",\n" : "\n";
      AppendProblemJson(out, problems[i]);
    }
    out += "]}\n";
  } else {
    for (const CheckProblem& problem : problems) {
      out += CheckProblemText::SeverityLabel(problem.Severity());
      out += ": ";
      out += CheckProblemText::Describe(problem, Display);
      out += '\n';
    }
  }
  if (std::fwrite(out.data(), 1, out.size(), stdout) != out.size() || std::fflush(stdout) != 0)
    return kExitFailed;
  return problems.empty() ? kExitOk : kExitFailed;
}

}  // namespace zanli::cli
