#pragma once

#include <string>
#include <vector>

#include "check/check_report.h"
#include "check/checked_save.h"
#include "check/save_losses.h"

namespace zanli::check_test {

// "kind entry ptn:pattern L1 b2 before>after value/limit", only the parts a
// problem fills, so a table can state a whole result in one string. Names
// and values are read from the report's libraries, as the words are.
inline std::string Summary(const CheckProblem& p, const CheckReport& report) {
  std::string s = KindId(p.kind);
  if (p.HasEntry()) s.append(" ").append(report.EntryName(p));
  if (p.HasPattern()) s.append(" ptn:").append(report.PatternName(p));
  if (p.HasPin())
    s += std::string(" ") + "LTRB"[static_cast<int>(p.pinEdge) & 3] + std::to_string(p.pinPosition);
  if (p.block) s.append(" b").append(std::to_string(p.block));
  const std::string before = report.Before(p), after = report.After(p);
  if (!before.empty() || !after.empty()) s += " " + before + ">" + after;
  if (p.value || p.limit)
    s.append(" ").append(std::to_string(p.value)).append("/").append(std::to_string(p.limit));
  if (p.kind == CheckKind::PinMoved)
    s += std::string(" to ") + "LTRB"[static_cast<int>(p.movedEdge) & 3] + std::to_string(p.movedPosition);
  return s;
}

inline std::vector<std::string> Summaries(const CheckReport& report) {
  std::vector<std::string> out;
  for (const CheckProblem& p : report.Problems()) out.push_back(Summary(p, report));
  return out;
}

// What the save check reports when it reads the file back whole.
inline std::vector<std::string> WholeSummaries(const Library& library, LibraryFormat format) {
  CheckReport report(library);
  SaveLosses::FindWhole(library, format, report);
  return Summaries(report);
}

// What a save to `path` reports while it writes the file, which it then
// leaves: the previous file (if any) stays.
inline std::vector<std::string> CheckedSummaries(const Library& library, LibraryFormat format,
                                                 const std::string& path) {
  const CheckedSave save(path, library, format);
  return Summaries(save.Losses());
}

}  // namespace zanli::check_test
