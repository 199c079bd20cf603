#pragma once

#include <QDialog>
#include <cstdint>
#include <functional>
#include <vector>

#include "check/check_report.h"

class QListWidget;

namespace zanli {

// The library checker's window: one row per problem, errors first, then
// warnings, then the rest, each in the checker's order. It stays open beside
// the main window and checks again whenever the library changes;
// double-clicking a row hands the window the entry and pin the row is about,
// by identity, never by a row number that may have moved since.
// "再ﾁｪｯｸ" runs the check again on the library as it is now.
class LibraryCheckDialog : public QDialog {
  Q_OBJECT

 public:
  // What a row is about: the entry (the part, for a body's problem) and pin
  // of the library checked, or null. They are compared with the library's
  // objects, never read, until found there.
  struct Target {
    const PartEntry* entry = nullptr;
    const PinInfo* pin = nullptr;
    int32_t block = 0;  // 1-based; 0 when no block is concerned
  };

  // The check of the library as it is now; the rows are worded at once, so
  // the report may refer to a library that changes later.
  using RunCheck = std::function<CheckReport()>;

  LibraryCheckDialog(QWidget* parent, RunCheck run);

  void Refresh();
  // The library changed: check again once the change is done, or, while
  // hidden, forget the rows until the next Refresh.
  void LibraryChanged();
  // The rows' problems, in the rows' order.
  const std::vector<CheckProblem>& Problems() const { return problems_; }

 signals:
  void problemActivated(const zanli::LibraryCheckDialog::Target& target);

 private:
  RunCheck run_;
  std::vector<CheckProblem> problems_;
  std::vector<Target> targets_;  // one per row
  bool refreshQueued_ = false;
  QListWidget* list_ = nullptr;
};

}  // namespace zanli
