#include "app/pattern_editor/pattern_size_dialog.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <algorithm>

#include "app/dialog_units.h"
#include "app/message_box.h"
#include "pattern/pattern_size_rule.h"
#include "resources/message_texts.h"

namespace zanli {

namespace {

constexpr int kFieldLength = 2;

QLineEdit* MakeField(QWidget* parent, const char* name, int32_t value, const QRect& rect) {
  auto* field = new QLineEdit(QString::number(value), parent);
  field->setObjectName(QString::fromLatin1(name));
  // Two digits are typed; a larger size of an old pattern is still shown whole.
  field->setMaxLength(std::max(kFieldLength, static_cast<int>(field->text().size())));
  field->setGeometry(rect);
  return field;
}

QLabel* MakeLabel(QWidget* parent, const QString& text, QLineEdit* buddy, const QRect& rect) {
  auto* label = new QLabel(text, parent);
  label->setBuddy(buddy);
  label->move(rect.topLeft());
  label->resize(std::max(rect.width(), label->sizeHint().width()), rect.height());
  return label;
}

}  // namespace

PatternSizeDialog::PatternSizeDialog(int32_t width, int32_t height, QWidget* parent)
    : QDialog(parent,
              Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      shownX_(PatternSizeRule::StepsFor(width)),
      shownY_(PatternSizeRule::StepsFor(height)) {
  setObjectName(QStringLiteral("patternSizeDialog"));
  setWindowTitle(QStringLiteral("ﾊﾟﾀｰﾝのｻｲｽﾞ変更"));
  setFont(DialogUnits::DialogFont());
  const DialogUnits du(font());

  xField_ = MakeField(this, "xSize", shownX_, du.Rect(50, 7, 24, 14));
  yField_ = MakeField(this, "ySize", shownY_, du.Rect(50, 26, 24, 14));
  QLabel* xLabel = MakeLabel(this, QStringLiteral("Xｻｲｽﾞ(&X):"), xField_, du.Rect(7, 9, 40, 10));
  QLabel* yLabel = MakeLabel(this, QStringLiteral("Yｻｲｽﾞ(&Y):"), yField_, du.Rect(7, 28, 40, 10));
  // The fields stand right of the wider label, whatever the font makes of it.
  const int fieldLeft = std::max(xField_->x(), std::max(xLabel->width(), yLabel->width()) + du.X(10));
  xField_->move(fieldLeft, xField_->y());
  yField_->move(fieldLeft, yField_->y());

  auto* ok = new QPushButton(QStringLiteral("OK"), this);
  ok->setObjectName(QStringLiteral("ok"));
  ok->setGeometry(du.Rect(88, 7, 50, 14));
  ok->setDefault(true);
  auto* cancel = new QPushButton(QStringLiteral("ｷｬﾝｾﾙ"), this);
  cancel->setObjectName(QStringLiteral("cancel"));
  cancel->setGeometry(du.Rect(88, 25, 50, 14));
  const int buttonLeft = std::max(ok->x(), xField_->geometry().right() + du.X(8));
  ok->move(buttonLeft, ok->y());
  cancel->move(buttonLeft, cancel->y());
  connect(ok, &QPushButton::clicked, this, &PatternSizeDialog::accept);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

  setFixedSize(ok->geometry().right() + 1 + du.X(7), du.Y(48));
  xField_->setFocus();
  xField_->selectAll();
}

void PatternSizeDialog::accept() {
  // Blanks around a number are no part of it.
  const std::string x = xField_->text().trimmed().toStdString();
  const std::string y = yField_->text().trimmed().toStdString();
  const PatternSizeRule::Result result = PatternSizeRule::Check(x, y, shownX_, shownY_);
  QString refusal;
  switch (result.verdict) {
    case PatternSizeRule::Verdict::Accepted:
      width_ = result.width;
      height_ = result.height;
      QDialog::accept();
      return;
    case PatternSizeRule::Verdict::Zero:
      refusal = QStringLiteral("ﾊﾟﾀｰﾝのｻｲｽﾞに0は指定できません");
      break;
    case PatternSizeRule::Verdict::TooWide:
      refusal = QStringLiteral("ﾊﾟﾀｰﾝのXｻｲｽﾞは20以下でなければなりません");
      break;
    case PatternSizeRule::Verdict::TooLarge:
      refusal = QStringLiteral("ﾊﾟﾀｰﾝのｻｲｽﾞが大きすぎます");
      break;
  }
  ShowMessageBox(this, QMessageBox::Warning, refusal);
}

}  // namespace zanli
