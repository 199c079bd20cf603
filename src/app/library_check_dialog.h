#pragma once

#include <QDialog>
#include <functional>
#include <vector>

#include "check/check_report.h"

class QListWidget;

namespace zanli {

// The library checker's window: one row per problem, worst first as the
// checker orders them. It stays open beside the main window; double-clicking
// a row hands the problem to the window, which shows its part and pin.
// "再ﾁｪｯｸ" runs the check again on the library as it is now.
class LibraryCheckDialog : public QDialog {
  Q_OBJECT

 public:
  // The check of the library as it is now; the rows are worded at once, so
  // the report may refer to a library that changes later.
  using RunCheck = std::function<CheckReport()>;

  LibraryCheckDialog(QWidget* parent, RunCheck run);

  void Refresh();
  const std::vector<CheckProblem>& Problems() const { return problems_; }

 signals:
  void problemActivated(const zanli::CheckProblem& problem);

 private:
  RunCheck run_;
  std::vector<CheckProblem> problems_;  // the rows', for showing their part and pin
  QListWidget* list_ = nullptr;
};

}  // namespace zanli
