#include "app/save_loss_dialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/dialog_units.h"
#include "check/check_problem_text.h"
#include "qtshared/shift_jis_codec.h"
#include "resources/check_texts.h"
#include "resources/message_texts.h"

namespace zanli {

SaveLossDialog::SaveLossDialog(QWidget* parent, const CheckReport& losses)
    : QDialog(parent,
              Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint) {
  setObjectName(QStringLiteral("saveLossDialog"));
  setWindowTitle(QString::fromUtf8(texts::kAppName));
  setFont(DialogUnits::DialogFont());
  const DialogUnits du(font());

  auto* layout = new QVBoxLayout(this);
  auto* heading = new QLabel(QString::fromUtf8(texts::check::kSaveChangesHeading), this);
  heading->setObjectName(QStringLiteral("heading"));
  layout->addWidget(heading);
  auto* list = new QListWidget(this);
  list->setObjectName(QStringLiteral("losses"));
  list->setSelectionMode(QAbstractItemView::NoSelection);
  const DisplayText display = [](std::string_view bytes) {
    return ShiftJisCodec::Decode(std::string(bytes)).toStdString();
  };
  const std::vector<CheckProblem>& problems = losses.Problems();
  for (size_t i = 0; i < problems.size() && i < kListed; ++i)
    list->addItem(QString::fromStdString(CheckProblemText::Describe(problems[i], losses, display)));
  if (losses.Count() > kListed)
    list->addItem(QString::fromUtf8(texts::check::kMoreChanges).arg(losses.Count() - kListed));
  list->setMinimumSize(du.X(300), du.Y(120));
  layout->addWidget(list);

  auto* buttons = new QDialogButtonBox(this);
  QPushButton* save =
      buttons->addButton(QString::fromUtf8(texts::check::kSaveButton), QDialogButtonBox::AcceptRole);
  save->setObjectName(QStringLiteral("save"));
  QPushButton* cancel =
      buttons->addButton(QString::fromUtf8(texts::check::kCancelButton), QDialogButtonBox::RejectRole);
  cancel->setObjectName(QStringLiteral("cancel"));
  save->setAutoDefault(false);
  cancel->setDefault(true);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  layout->addWidget(buttons);
}

}  // namespace zanli
