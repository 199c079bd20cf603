#pragma once

#include <string>
#include <vector>

#include "check/check_problem.h"

namespace zanli::check_test {

// "kind entry ptn:pattern L1 b2 before>after value/limit", only the parts a
// problem fills, so a table can state a whole result in one string.
inline std::string Summary(const CheckProblem& p) {
  std::string s = KindId(p.kind);
  if (p.HasEntry()) s += " " + p.entryName;
  if (p.HasPattern()) s += " ptn:" + p.patternName;
  if (p.HasPin())
    s += std::string(" ") + "LTRB"[static_cast<int>(p.pinEdge) & 3] + std::to_string(p.pinPosition);
  if (p.block) s.append(" b").append(std::to_string(p.block));
  if (!p.before.empty() || !p.after.empty()) s += " " + p.before + ">" + p.after;
  if (p.value || p.limit)
    s.append(" ").append(std::to_string(p.value)).append("/").append(std::to_string(p.limit));
  if (p.kind == CheckKind::PinMoved)
    s += std::string(" to ") + "LTRB"[static_cast<int>(p.movedEdge) & 3] + std::to_string(p.movedPosition);
  return s;
}

inline std::vector<std::string> Summaries(const std::vector<CheckProblem>& problems) {
  std::vector<std::string> out;
  for (const CheckProblem& p : problems) out.push_back(Summary(p));
  return out;
}

}  // namespace zanli::check_test
