#include "app/pattern_editor/pattern_name_dialog.h"

#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>

#include "app/dialog_units.h"
#include "model/names.h"
#include "qtshared/shift_jis_codec.h"
#include "resources/message_texts.h"

namespace zanli {

PatternNameDialog::PatternNameDialog(const std::string& initialName, const NameLookup& taken,
                                     const QString& caption, QWidget* parent)
    : QDialog(parent,
              Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      taken_(taken),
      initial_(initialName.empty() ? UniquePatternName(taken) : initialName) {
  setObjectName(QStringLiteral("patternNameDialog"));
  setWindowTitle(caption.isEmpty() ? QStringLiteral("ﾊﾟﾀｰﾝ名の変更") : caption);
  setFont(DialogUnits::DialogFont());
  const DialogUnits du(font());

  field_ = new QLineEdit(ShiftJisCodec::Decode(initial_), this);
  field_->setObjectName(QStringLiteral("patternName"));
  field_->setMaxLength(static_cast<int>(limits::kMaxPatternNameLength));
  field_->setGeometry(du.Rect(7, 9, 70, 14));
  field_->selectAll();

  auto* ok = new QPushButton(QStringLiteral("OK"), this);
  ok->setObjectName(QStringLiteral("ok"));
  ok->setGeometry(du.Rect(87, 7, 50, 14));
  ok->setDefault(true);
  auto* cancel = new QPushButton(QStringLiteral("ｷｬﾝｾﾙ"), this);
  cancel->setObjectName(QStringLiteral("cancel"));
  cancel->setGeometry(du.Rect(87, 25, 50, 14));
  connect(ok, &QPushButton::clicked, this, &PatternNameDialog::accept);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

  setFixedSize(du.X(144), du.Y(46));
  field_->setFocus();
}

void PatternNameDialog::accept() {
  const QString text = field_->text();
  const std::string name = ShiftJisCodec::Encode(text);
  // An unchanged name passes as it is; a stored name may predate the rules.
  if (name != initial_) {
    // A character the code page cannot hold would come back as another one.
    if (!IsValidPatternName(name) || ShiftJisCodec::Decode(name) != text) {
      Refuse(QStringLiteral("%1 は有効なﾊﾟﾀｰﾝ名ではありません").arg(text));
      return;
    }
    if (taken_.IsNameTaken(name)) {
      Refuse(QStringLiteral("ﾊﾟﾀｰﾝ名 %1 は既に存在しています").arg(text));
      return;
    }
  }
  name_ = name;
  QDialog::accept();
}

void PatternNameDialog::Refuse(const QString& text) {
  QMessageBox box(QMessageBox::Warning, QString::fromUtf8(texts::kAppName), text, QMessageBox::Ok, this);
  box.exec();
  field_->setFocus();
  field_->selectAll();
}

}  // namespace zanli
