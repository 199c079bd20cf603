#pragma once

#include <functional>
#include <initializer_list>
#include <string>
#include <string_view>

#include "check/check_report.h"

namespace zanli {

// Turns the model's bytes (names, pin numbers, prefixes: Shift-JIS) into
// display text in UTF-8. The editor decodes with its Shift-JIS codec,
// zanli-cli with its own.
using DisplayText = std::function<std::string(std::string_view bytes)>;

// The one place that words a CheckProblem for people, in the editor's style.
class CheckProblemText {
 public:
  // One line of UTF-8 for a problem of `report`: the subject, then what is
  // wrong, e.g.
  //   部品 74HC00, ﾋﾟﾝ 左1 (A), ﾌﾞﾛｯｸ2: 保存すると番号が 77 から (なし) に変わります
  // Model bytes go through `display`, names cut as in every message
  // (LibraryFileMessages::ShownPart); control characters in what it returns
  // are shown as \xNN, so the text stays on one line.
  static std::string Describe(const CheckProblem& problem, const CheckReport& report,
                              const DisplayText& display);
  // The line after the problems of a report that omitted some, e.g.
  // "ほか 2999 件 (同じ種類の問題は 1000 件まで)"; empty when none were.
  static std::string OmittedLine(const CheckReport& report);
  // "ｴﾗｰ", "警告", "情報".
  static const char* SeverityLabel(CheckSeverity severity);
  // `pattern` with "%1", "%2", ... replaced by the arguments in order.
  static std::string Fill(std::string_view pattern, std::initializer_list<std::string_view> args);
};

}  // namespace zanli
