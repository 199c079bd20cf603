#include "app/part_name_dialog.h"

#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>

#include "app/dialog_units.h"
#include "model/names.h"
#include "qtshared/shift_jis_codec.h"
#include "resources/message_texts.h"

namespace zanli {

PartNameDialog::PartNameDialog(QWidget* parent, const std::string& initial, const NameLookup& taken,
                               const QString& caption)
    : QDialog(parent,
              Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      taken_(taken),
      initial_(initial) {
  setObjectName(QStringLiteral("partNameDialog"));
  setWindowTitle(caption.isEmpty() ? QString::fromUtf8(texts::kRenamePartCaption) : caption);
  setFont(DialogUnits::DialogFont());
  const DialogUnits du(font());

  field_ = new QLineEdit(ShiftJisCodec::Decode(initial), this);
  field_->setObjectName(QStringLiteral("partName"));
  field_->setMaxLength(static_cast<int>(limits::kMaxPartNameLength));
  field_->setGeometry(du.Rect(7, 7, 108, 14));
  field_->selectAll();
  auto* ok = new QPushButton(QStringLiteral("OK"), this);
  ok->setObjectName(QStringLiteral("ok"));
  ok->setGeometry(du.Rect(124, 6, 50, 14));
  ok->setDefault(true);
  auto* cancel = new QPushButton(QStringLiteral("ｷｬﾝｾﾙ"), this);
  cancel->setObjectName(QStringLiteral("cancel"));
  cancel->setGeometry(du.Rect(124, 24, 50, 14));
  connect(ok, &QPushButton::clicked, this, &PartNameDialog::accept);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  setFixedSize(du.X(181), du.Y(45));
}

void PartNameDialog::Warn(const char* text, const QString& name) {
  QMessageBox box(QMessageBox::Warning, QString::fromUtf8(texts::kAppName), QString::fromUtf8(text).arg(name),
                  QMessageBox::Ok, this);
  box.exec();
}

void PartNameDialog::accept() {
  const QString text = field_->text();
  const std::string name = ShiftJisCodec::Encode(text);
  if (!IsValidPartName(name)) {
    Warn(texts::kPartNameInvalid, text);
    return;
  }
  if (name != initial_ && taken_.IsNameTaken(name)) {
    Warn(texts::kPartNameTaken, text);
    return;
  }
  name_ = name;
  QDialog::accept();
}

}  // namespace zanli
