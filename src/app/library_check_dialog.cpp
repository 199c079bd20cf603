#include "app/library_check_dialog.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>

#include "app/dialog_units.h"
#include "check/check_problem_text.h"
#include "qtshared/shift_jis_codec.h"
#include "resources/check_texts.h"

namespace zanli {

LibraryCheckDialog::LibraryCheckDialog(QWidget* parent, RunCheck run)
    : QDialog(parent,
              Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      run_(std::move(run)) {
  setObjectName(QStringLiteral("libraryCheckDialog"));
  setWindowTitle(QString::fromUtf8(texts::check::kCheckCaption));
  setFont(DialogUnits::DialogFont());
  const DialogUnits du(font());
  auto* layout = new QVBoxLayout(this);
  list_ = new QListWidget(this);
  list_->setObjectName(QStringLiteral("problems"));
  list_->setMinimumSize(du.X(320), du.Y(140));
  // A long row wraps within the window, which can be made wider.
  list_->setWordWrap(true);
  list_->setTextElideMode(Qt::ElideNone);
  list_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  layout->addWidget(list_);
  auto* buttons = new QDialogButtonBox(this);
  QPushButton* again =
      buttons->addButton(QString::fromUtf8(texts::check::kCheckAgain), QDialogButtonBox::ActionRole);
  again->setObjectName(QStringLiteral("checkAgain"));
  QPushButton* close =
      buttons->addButton(QString::fromUtf8(texts::check::kClose), QDialogButtonBox::RejectRole);
  close->setObjectName(QStringLiteral("close"));
  layout->addWidget(buttons);
  connect(again, &QPushButton::clicked, this, &LibraryCheckDialog::Refresh);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(list_, &QListWidget::itemActivated, this, [this](QListWidgetItem* item) {
    const int row = list_->row(item);
    if (row >= 0 && static_cast<size_t>(row) < targets_.size())
      emit problemActivated(targets_[static_cast<size_t>(row)]);
  });
  Refresh();
}

void LibraryCheckDialog::Refresh() {
  refreshQueued_ = false;
  QApplication::setOverrideCursor(Qt::WaitCursor);
  const CheckReport report = run_();
  QApplication::restoreOverrideCursor();
  std::vector<CheckProblem> problems = report.Problems();
  std::stable_sort(problems.begin(), problems.end(),
                   [](const CheckProblem& a, const CheckProblem& b) { return a.Severity() < b.Severity(); });
  problems_ = std::move(problems);
  const Library& checked = report.Checked();
  targets_.clear();
  for (const CheckProblem& p : problems_) {
    Target& target = targets_.emplace_back();
    if (!p.HasEntry() || p.entryIndex >= checked.entries.size()) continue;
    target.entry = checked.entries[p.entryIndex].get();
    target.block = p.block;
    const PartBody* body =
        p.bodyIndex < checked.bodies.size() ? checked.bodies[p.bodyIndex].get() : target.entry->body;
    if (p.HasPin() && body != nullptr && p.pinIndex < body->pins.size())
      target.pin = body->pins[p.pinIndex].get();
  }
  list_->clear();
  const DisplayText display = [](std::string_view bytes) {
    return ShiftJisCodec::Decode(std::string(bytes)).toStdString();
  };
  for (const CheckProblem& problem : problems_) {
    const QString text = QString::fromUtf8(CheckProblemText::SeverityLabel(problem.Severity())) +
                         QStringLiteral(": ") +
                         QString::fromStdString(CheckProblemText::Describe(problem, report, display));
    auto* item = new QListWidgetItem(text, list_);
    item->setToolTip(text);
  }
  // Below the rows, not one of them: that none were found, or how many more.
  const std::string last =
      problems_.empty() ? std::string(texts::check::kNoProblems) : CheckProblemText::OmittedLine(report);
  if (!last.empty()) {
    auto* item = new QListWidgetItem(QString::fromStdString(last), list_);
    item->setFlags(Qt::NoItemFlags);
  }
}

void LibraryCheckDialog::LibraryChanged() {
  if (!isVisible()) {
    // The rows' objects may go before the next look: shown again, the
    // window checks afresh.
    problems_.clear();
    targets_.clear();
    list_->clear();
    return;
  }
  if (refreshQueued_) return;
  refreshQueued_ = true;
  // After the step that changed it has finished, once for many changes.
  QTimer::singleShot(0, this, [this] {
    if (refreshQueued_) Refresh();
  });
}

}  // namespace zanli
