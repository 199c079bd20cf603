#include "app/name_dialog.h"

#include <QLineEdit>
#include <QPushButton>

#include "app/dialog_units.h"
#include "app/message_box.h"
#include "app/storable_text_validator.h"
#include "model/names.h"
#include "qtshared/shift_jis_codec.h"
#include "resources/message_texts.h"

namespace zanli {

namespace {

// What sets the two kinds apart; positions and sizes in dialog units.
struct KindInfo {
  const char* objectName;
  const char* fieldName;
  const char* caption;
  bool (*isValid)(std::string_view name);
  size_t maxLength;
  bool initialKeepsTheRules;  // an unchanged name is checked against the rules too
  const char* invalidText;    // %1: the name as typed
  const char* takenText;
  QRect field;
  int buttonX;
  int buttonY;
  QSize size;
};

const KindInfo& InfoOf(NameDialog::Kind kind) {
  static const KindInfo kinds[] = {
      {"partNameDialog", "partName", texts::kRenamePartCaption, IsValidPartName, limits::kMaxPartNameLength,
       true, texts::kPartNameInvalid, texts::kPartNameTaken, QRect(7, 7, 108, 14), 124, 6, QSize(181, 45)},
      {"patternNameDialog", "patternName", "ﾊﾟﾀｰﾝ名の変更", IsValidPatternName, limits::kMaxPatternNameLength,
       false, "%1 は有効なﾊﾟﾀｰﾝ名ではありません", "ﾊﾟﾀｰﾝ名 %1 は既に存在しています", QRect(7, 9, 70, 14), 87,
       7, QSize(144, 46)},
  };
  return kinds[kind == NameDialog::Kind::Part ? 0 : 1];
}

}  // namespace

NameDialog::NameDialog(QWidget* parent, Kind kind, const std::string& initial, const NameLookup& taken,
                       const QString& caption)
    : QDialog(parent,
              Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      kind_(kind),
      taken_(taken),
      initial_(initial) {
  const KindInfo& info = InfoOf(kind);
  setObjectName(QString::fromLatin1(info.objectName));
  setWindowTitle(caption.isEmpty() ? QString::fromUtf8(info.caption) : caption);
  setFont(DialogUnits::DialogFont());
  const DialogUnits du(font());

  field_ = new QLineEdit(ShiftJisCodec::Decode(initial), this);
  field_->setObjectName(QString::fromLatin1(info.fieldName));
  field_->setMaxLength(static_cast<int>(info.maxLength));
  new StorableTextValidator(field_);
  field_->setGeometry(du.Rect(info.field.x(), info.field.y(), info.field.width(), info.field.height()));
  field_->selectAll();
  auto* ok = new QPushButton(QStringLiteral("OK"), this);
  ok->setObjectName(QStringLiteral("ok"));
  ok->setGeometry(du.Rect(info.buttonX, info.buttonY, 50, 14));
  ok->setDefault(true);
  auto* cancel = new QPushButton(QStringLiteral("ｷｬﾝｾﾙ"), this);
  cancel->setObjectName(QStringLiteral("cancel"));
  cancel->setGeometry(du.Rect(info.buttonX, info.buttonY + 18, 50, 14));
  connect(ok, &QPushButton::clicked, this, &NameDialog::accept);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  setFixedSize(du.X(info.size.width()), du.Y(info.size.height()));
  field_->setFocus();
}

void NameDialog::accept() {
  const KindInfo& info = InfoOf(kind_);
  const QString text = field_->text();
  const std::string name = ShiftJisCodec::Encode(text);
  const bool unchanged = name == initial_;
  if (!unchanged || info.initialKeepsTheRules) {
    // A character the code page cannot hold would come back as another one.
    if (!info.isValid(name) || ShiftJisCodec::Decode(name) != text) {
      Refuse(info.invalidText, text);
      return;
    }
  }
  if (!unchanged && taken_.IsNameTaken(name)) {
    Refuse(info.takenText, text);
    return;
  }
  name_ = name;
  QDialog::accept();
}

void NameDialog::Refuse(const char* text, const QString& name) {
  ShowMessageBox(this, QMessageBox::Warning, QString::fromUtf8(text).arg(name));
  field_->setFocus();
  field_->selectAll();
}

}  // namespace zanli
