#include "app/part_attribute_dialog.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <algorithm>
#include <utility>
#include <vector>

#include "app/dialog_units.h"
#include "app/message_box.h"
#include "app/pattern_editor/text_order.h"
#include "app/pattern_list_text.h"
#include "app/pattern_preview.h"
#include "app/storable_text_validator.h"
#include "qtshared/shift_jis_codec.h"
#include "resources/message_texts.h"

namespace zanli {

namespace {

constexpr int kPatternRole = Qt::UserRole;

QLineEdit* Field(QWidget* parent, const char* name, const QRect& rect, int maxLength) {
  auto* field = new QLineEdit(parent);
  field->setObjectName(QString::fromLatin1(name));
  field->setGeometry(rect);
  field->setMaxLength(maxLength);
  return field;
}

QLabel* Label(QWidget* parent, const QString& text, QLineEdit* buddy, const QRect& rect) {
  auto* label = new QLabel(text, parent);
  label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  label->setGeometry(rect.x(), rect.y(), std::max(rect.width(), label->sizeHint().width()), rect.height());
  label->setBuddy(buddy);
  return label;
}

// The value as the field shows it; an empty or unreadable field is 0.
int32_t FieldValue(const QLineEdit* field) {
  bool ok = false;
  const int value = field->text().toInt(&ok);
  return ok ? value : 0;
}

}  // namespace

PartAttributeDialog::PartAttributeDialog(QWidget* parent, const PartAttributes& attributes,
                                         const std::vector<std::unique_ptr<Pattern>>& patterns)
    : QDialog(parent,
              Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      attributes_(attributes) {
  setObjectName(QStringLiteral("partAttributeDialog"));
  setWindowTitle(QStringLiteral("部品のｱﾄﾘﾋﾞｭｰﾄ設定"));
  setFont(DialogUnits::DialogFont());
  const DialogUnits du(font());

  // Digits only, as typed; the prefix turns to capitals as typed.
  auto* digits = new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), this);
  xField_ = Field(this, "xSize", du.Rect(62, 7, 24, 13), 3);
  yField_ = Field(this, "ySize", du.Rect(62, 24, 24, 13), 3);
  blocksField_ = Field(this, "blockCount", du.Rect(62, 41, 24, 13), 3);
  prefixField_ = Field(this, "numberPrefix", du.Rect(152, 41, 30, 13), 5);
  for (QLineEdit* f : {xField_, yField_, blocksField_}) f->setValidator(digits);
  new StorableTextValidator(prefixField_);
  Label(this, QStringLiteral("Xｻｲｽﾞ(&X):"), xField_, du.Rect(7, 9, 52, 10));
  Label(this, QStringLiteral("Yｻｲｽﾞ(&Y):"), yField_, du.Rect(7, 26, 52, 10));
  Label(this, QStringLiteral("ﾌﾞﾛｯｸ(&B):"), blocksField_, du.Rect(7, 43, 52, 10));
  Label(this, QStringLiteral("番号ﾌﾟﾘﾌｨｯｸｽ(&N):"), prefixField_, du.Rect(94, 43, 56, 10));
  connect(prefixField_, &QLineEdit::textEdited, this, [this](const QString& text) {
    const QString upper = text.toUpper();
    if (upper == text) return;
    const int cursor = prefixField_->cursorPosition();
    prefixField_->setText(upper.left(prefixField_->maxLength()));
    prefixField_->setCursorPosition(cursor);
  });

  usePattern_ = new QCheckBox(QStringLiteral("ﾊﾟﾀｰﾝを使う(&P)"), this);
  usePattern_->setObjectName(QStringLiteral("usePattern"));
  const QRect boxRect = du.Rect(7, 60, 80, 10);
  usePattern_->setGeometry(boxRect.x(), boxRect.y(),
                           std::max(boxRect.width(), usePattern_->sizeHint().width()), boxRect.height());
  list_ = new QListWidget(this);
  list_->setObjectName(QStringLiteral("patternList"));
  list_->setGeometry(du.Rect(7, 72, 80, 70));

  auto* ok = new QPushButton(QStringLiteral("OK"), this);
  ok->setObjectName(QStringLiteral("ok"));
  ok->setGeometry(du.Rect(156, 7, 50, 14));
  ok->setDefault(true);
  auto* cancel = new QPushButton(QStringLiteral("ｷｬﾝｾﾙ"), this);
  cancel->setObjectName(QStringLiteral("cancel"));
  cancel->setGeometry(du.Rect(156, 24, 50, 14));
  connect(ok, &QPushButton::clicked, this, &PartAttributeDialog::accept);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  setFixedSize(du.X(213), du.Y(149));

  // Opening: the list (in the order of the pattern editor's box, so one
  // library shows one order), the values, the box and the preview right of
  // the list, filling the room up to the same margin.
  std::vector<std::pair<QString, const Pattern*>> sorted;
  sorted.reserve(patterns.size());
  for (const auto& pattern : patterns) sorted.emplace_back(PatternListText(*pattern), pattern.get());
  std::stable_sort(sorted.begin(), sorted.end(),
                   [](const auto& a, const auto& b) { return TextOrder::Less(a.first, b.first); });
  list_->setUpdatesEnabled(false);
  for (const auto& [text, pattern] : sorted) {
    auto* item = new QListWidgetItem(text);
    item->setData(kPatternRole, QVariant::fromValue(static_cast<const void*>(pattern)));
    list_->addItem(item);
  }
  list_->setUpdatesEnabled(true);
  // A value from a file may be longer than a field takes when typed; it is
  // shown whole, never cut short behind the user's back.
  auto show = [](QLineEdit* field, const QString& text) {
    field->setMaxLength(std::max(field->maxLength(), static_cast<int>(text.size())));
    field->setText(text);
  };
  show(xField_, QString::number(attributes.xSize));
  show(yField_, QString::number(attributes.ySize));
  show(blocksField_, QString::number(attributes.blockCount));
  show(prefixField_, ShiftJisCodec::Decode(attributes.numberPrefix));
  usePattern_->setChecked(attributes.pattern != nullptr);
  list_->setEnabled(attributes.pattern != nullptr);
  const QRect listRect = list_->geometry();
  preview_ = new PatternPreview(this);
  preview_->setObjectName(QStringLiteral("patternPreview"));
  preview_->setGeometry(listRect.left() + listRect.right(), listRect.top(),
                        width() - 2 * listRect.left() - listRect.right(), listRect.height());
  SelectPattern(attributes.pattern);
  preview_->ShowPattern(attributes.pattern);

  connect(usePattern_, &QCheckBox::clicked, this, &PartAttributeDialog::OnUsePatternClicked);
  connect(list_, &QListWidget::itemSelectionChanged, this, &PartAttributeDialog::OnSelectionChanged);
}

const Pattern* PartAttributeDialog::SelectedPattern() const {
  const QList<QListWidgetItem*> selected = list_->selectedItems();
  if (selected.isEmpty()) return nullptr;
  return static_cast<const Pattern*>(selected.front()->data(kPatternRole).value<const void*>());
}

void PartAttributeDialog::SelectPattern(const Pattern* pattern) {
  list_->clearSelection();
  for (int i = 0; pattern && i < list_->count(); ++i) {
    if (list_->item(i)->data(kPatternRole).value<const void*>() != pattern) continue;
    list_->setCurrentRow(i);
    list_->scrollToItem(list_->item(i));
    return;
  }
}

void PartAttributeDialog::OnUsePatternClicked(bool checked) {
  list_->setEnabled(checked);
  if (!checked) {
    list_->clearSelection();
    preview_->ShowPattern(nullptr);
    return;
  }
  // The first pattern, in the list's order, of the part's size in grid steps.
  const int32_t x = FieldValue(xField_), y = FieldValue(yField_);
  const Pattern* match = nullptr;
  for (int i = 0; i < list_->count() && !match; ++i) {
    const auto* pattern =
        static_cast<const Pattern*>(list_->item(i)->data(kPatternRole).value<const void*>());
    if (pattern->width / 10 == x && pattern->height / 10 == y) match = pattern;
  }
  SelectPattern(match);
  preview_->ShowPattern(match);
}

void PartAttributeDialog::OnSelectionChanged() { preview_->ShowPattern(SelectedPattern()); }

bool PartAttributeDialog::CheckRange(QLineEdit* field, const char* message, int32_t& value) {
  value = FieldValue(field);
  if (value >= 1 && value <= 255) return true;
  ShowMessageBox(this, QMessageBox::NoIcon, QString::fromUtf8(message));
  return false;
}

void PartAttributeDialog::accept() {
  PartAttributes result;
  if (!CheckRange(xField_, texts::kXSizeRange, result.xSize) ||
      !CheckRange(yField_, texts::kYSizeRange, result.ySize) ||
      !CheckRange(blocksField_, texts::kBlockCountRange, result.blockCount))
    return;
  result.numberPrefix = ShiftJisCodec::Encode(prefixField_->text());
  result.pattern = usePattern_->isChecked() ? const_cast<Pattern*>(SelectedPattern()) : nullptr;
  attributes_ = result;
  QDialog::accept();
}

}  // namespace zanli
