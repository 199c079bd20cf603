#include "app/about_dialog.h"

#include <QIcon>
#include <QLabel>
#include <QPushButton>

#include "app/dialog_units.h"
#include "zanli_version.h"

namespace zanli {

AboutDialog::AboutDialog(QWidget* parent)
    : QDialog(parent,
              Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint) {
  setObjectName(QStringLiteral("aboutDialog"));
  setWindowTitle(QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報 Zanli"));
  setFont(DialogUnits::DialogFont());
  const DialogUnits du(font());

  auto* icon = new QLabel(this);
  icon->setObjectName(QStringLiteral("aboutIcon"));
  icon->setPixmap(QIcon(QStringLiteral(":/icons/zanli_128.png")).pixmap(32, 32));
  icon->setGeometry(du.X(11), du.Y(10), 32, 32);

  auto* text = new QLabel(QStringLiteral("Zanli Version ") + QLatin1String(kVersion), this);
  text->setObjectName(QStringLiteral("aboutText"));
  text->move(du.X(35), du.Y(10));
  text->adjustSize();

  auto* ok = new QPushButton(QStringLiteral("OK"), this);
  ok->setObjectName(QStringLiteral("aboutOk"));
  ok->setGeometry(du.Rect(150, 5, 32, 14));
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);

  setFixedSize(du.X(189), du.Y(45));
}

}  // namespace zanli
