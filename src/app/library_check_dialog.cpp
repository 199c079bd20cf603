#include "app/library_check_dialog.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

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
    if (row >= 0 && static_cast<size_t>(row) < problems_.size())
      emit problemActivated(problems_[static_cast<size_t>(row)]);
  });
  Refresh();
}

void LibraryCheckDialog::Refresh() {
  QApplication::setOverrideCursor(Qt::WaitCursor);
  const CheckReport report = run_();
  QApplication::restoreOverrideCursor();
  problems_ = report.Problems();
  list_->clear();
  const DisplayText display = [](std::string_view bytes) {
    return ShiftJisCodec::Decode(std::string(bytes)).toStdString();
  };
  for (const CheckProblem& problem : problems_)
    list_->addItem(QString::fromUtf8(CheckProblemText::SeverityLabel(problem.Severity())) +
                   QStringLiteral(": ") +
                   QString::fromStdString(CheckProblemText::Describe(problem, report, display)));
  // Below the rows, not one of them: that none were found, or how many more.
  const std::string last =
      problems_.empty() ? std::string(texts::check::kNoProblems) : CheckProblemText::OmittedLine(report);
  if (!last.empty()) {
    auto* item = new QListWidgetItem(QString::fromStdString(last), list_);
    item->setFlags(Qt::NoItemFlags);
  }
}

}  // namespace zanli
