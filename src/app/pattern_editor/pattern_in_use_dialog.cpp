#include "app/pattern_editor/pattern_in_use_dialog.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <algorithm>

#include "app/dialog_units.h"
#include "app/pattern_editor/text_order.h"

namespace zanli {

PatternInUseDialog::PatternInUseDialog(QStringList names, QWidget* parent)
    : QDialog(parent,
              Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint) {
  setObjectName(QStringLiteral("patternInUseDialog"));
  setWindowTitle(QStringLiteral("Zanli ﾊﾟﾀｰﾝの削除"));
  setFont(DialogUnits::DialogFont());
  const DialogUnits du(font());

  auto* refusal = new QLabel(QStringLiteral("使用中のﾊﾟﾀｰﾝは削除できません"), this);
  refusal->move(du.X(7), du.Y(7));
  refusal->adjustSize();
  auto* heading = new QLabel(QStringLiteral("使用している部品のﾘｽﾄ"), this);
  heading->move(du.X(7), du.Y(22));
  heading->adjustSize();

  std::sort(names.begin(), names.end(), TextOrder::Less);
  auto* list = new QListWidget(this);
  list->setObjectName(QStringLiteral("partNames"));
  list->setSelectionMode(QAbstractItemView::NoSelection);
  list->setFocusPolicy(Qt::NoFocus);
  list->addItems(names);
  list->setGeometry(du.Rect(7, 33, 110, 74));

  auto* ok = new QPushButton(QStringLiteral("OK"), this);
  ok->setObjectName(QStringLiteral("ok"));
  ok->setDefault(true);
  const int textRight = std::max({refusal->geometry().right(), list->geometry().right()});
  ok->setGeometry(std::max(du.X(125), textRight + du.X(8)), du.Y(7), du.X(50), du.Y(14));
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);

  setFixedSize(ok->geometry().right() + 1 + du.X(7), du.Y(114));
}

QStringList PatternInUseDialog::Names() const {
  QStringList names;
  const auto* list = findChild<QListWidget*>(QStringLiteral("partNames"));
  for (int i = 0; i < list->count(); ++i) names << list->item(i)->text();
  return names;
}

}  // namespace zanli
