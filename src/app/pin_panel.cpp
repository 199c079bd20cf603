#include "app/pin_panel.h"

#include <QApplication>
#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <algorithm>

#include "app/dialog_units.h"
#include "app/storable_text_validator.h"
#include "document/library_document.h"
#include "qtshared/shift_jis_codec.h"

namespace zanli {

namespace {

// The layout was drawn for a narrower font; a text never gets cut short.
QRect Widened(const QRect& rect, QWidget* widget) {
  return QRect(rect.x(), rect.y(), std::max(rect.width(), widget->sizeHint().width()), rect.height());
}

}  // namespace

PinPanel::PinPanel(QWidget* parent, const DialogUnits& du, QPoint origin, const LibraryDocument& document)
    : QWidget(parent), document_(document) {
  setObjectName(QStringLiteral("pinPanel"));
  auto place = [&](QWidget* w, const char* name, int x, int y, int width, int height, bool widen = false) {
    w->setObjectName(QString::fromLatin1(name));
    const QRect rect = du.Rect(x, y, width, height).translated(-origin);
    w->setGeometry(widen ? Widened(rect, w) : rect);
  };
  auto box = [&](const QString& text, const char* name, int x, int y, int width, int height) {
    auto* b = new QCheckBox(text, this);
    place(b, name, x, y, width, height, true);
    return b;
  };
  auto label = [&](const QString& text, const char* name, int x, int y, int width, int height) {
    auto* l = new QLabel(text, this);
    l->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    l->setFocusPolicy(Qt::NoFocus);
    place(l, name, x, y, width, height, true);
    return l;
  };

  // In the order of the dialog layout, which is also the tab order.
  blankPinBox_ = box(QStringLiteral("空白ﾋﾟﾝ(&U)"), "blankPin", 98, 29, 50, 10);
  pinNameLabel_ = label(QStringLiteral("名前(&V):"), "pinNameLabel", 98, 48, 29, 10);
  pinNameEdit_ = new QLineEdit(this);
  place(pinNameEdit_, "pinName", 130, 43, 60, 15);
  nearBodyBox_ = box(QStringLiteral("番号をﾊﾟｰﾂに寄せる(&S)"), "numberNearBody", 99, 65, 83, 10);
  clockBox_ = box(QStringLiteral("ｸﾛｯｸ(&C)"), "clock", 191, 65, 40, 10);
  negativeLogicBox_ = box(QStringLiteral("負論理(&N)"), "negativeLogic", 234, 65, 45, 10);
  pinNumberLabel_ = label(QStringLiteral("番号(&M):"), "pinNumberLabel", 99, 86, 30, 10);
  pinNumberEdit_ = new QLineEdit(this);
  place(pinNumberEdit_, "pinNumber", 131, 81, 30, 15);
  pinNumberEdit_->setMaxLength(16);
  new StorableTextValidator(pinNameEdit_);
  new StorableTextValidator(pinNumberEdit_);
  hideNumberBox_ = box(QStringLiteral("番号の非表示(&H)"), "hideNumber", 166, 83, 66, 12);
  updatePinButton_ = new QPushButton(QStringLiteral("ﾋﾟﾝの更新"), this);
  place(updatePinButton_, "updatePin", 209, 27, 65, 14);
  updatePinButton_->setDefault(true);
  cancelPinButton_ = new QPushButton(QStringLiteral("ﾋﾟﾝ変更のｷｬﾝｾﾙ"), this);
  place(cancelPinButton_, "cancelPin", 209, 45, 65, 14);
  blockLabel_ = label(QStringLiteral("ﾌﾞﾛｯｸ(&B) : "), "blockLabel", 98, 7, 34, 10);
  // The read-only block field and its up-down arrows, as one spin box whose
  // text cannot be typed into.
  blockBox_ = new QSpinBox(this);
  place(blockBox_, "block", 135, 3, 33, 15);
  blockBox_->setRange(1, 1);
  blockBox_->setKeyboardTracking(false);
  if (auto* field = blockBox_->findChild<QLineEdit*>()) field->setReadOnly(true);

  pinNameLabel_->setBuddy(pinNameEdit_);
  pinNumberLabel_->setBuddy(pinNumberEdit_);
  blockLabel_->setBuddy(blockBox_);
  resize(childrenRect().united(QRect(0, 0, du.X(282) - origin.x(), du.Y(101) - origin.y())).size());

  connect(blankPinBox_, &QCheckBox::clicked, this, &PinPanel::OnBlankPinClicked);
  for (QCheckBox* b : {nearBodyBox_, clockBox_, negativeLogicBox_})
    connect(b, &QCheckBox::clicked, this, [this, b](bool checked) { OnFlagBoxClicked(b, checked); });
  connect(blockBox_, &QSpinBox::valueChanged, this, &PinPanel::OnBlockChanged);
  connect(pinNumberEdit_, &QLineEdit::textEdited, this, &PinPanel::OnPinNumberEdited);
  connect(updatePinButton_, &QPushButton::clicked, this, &PinPanel::UpdatePin);
  connect(cancelPinButton_, &QPushButton::clicked, this, &PinPanel::cancelRequested);
}

std::vector<QWidget*> PinPanel::TabOrder() const {
  return {blankPinBox_,   pinNameEdit_,   nearBodyBox_,     clockBox_,        negativeLogicBox_,
          pinNumberEdit_, hideNumberBox_, updatePinButton_, cancelPinButton_, blockBox_};
}

bool PinPanel::IsTextField(const QObject* object) const {
  return object == pinNameEdit_ || object == pinNumberEdit_;
}

QCheckBox* PinPanel::MnemonicBox(const QKeyEvent* event) const {
  if (event->modifiers() != Qt::AltModifier) return nullptr;
  const QKeySequence pressed(event->keyCombination());
  for (QCheckBox* b : {blankPinBox_, nearBodyBox_, clockBox_, negativeLogicBox_, hideNumberBox_})
    if (b->isEnabled() && b->isVisible() &&
        QKeySequence::mnemonic(b->text()).matches(pressed) == QKeySequence::ExactMatch)
      return b;
  return nullptr;
}

int PinPanel::ShownBlockCount() const {
  if (body_ == nullptr) return 1;
  return std::clamp(body_->blockCount, 1, limits::kMaxBlocks);
}

void PinPanel::UpdateBlockBox() {
  const int n = ShownBlockCount();
  const QSignalBlocker blocker(blockBox_);
  blockBox_->setRange(1, n);
  blockBox_->setValue(block_ + 1);
  blockBox_->setEnabled(n != 1);
}

void PinPanel::ShowPinAtCursor(const PinCursor& cursor) {
  body_ = document_.BodyOf(cursor.row);
  block_ = body_ == nullptr ? 0 : cursor.block;
  UpdateBlockBox();
  const PinInfo* pin = body_ == nullptr ? nullptr : body_->FindPin(cursor.edge, cursor.position);
  blankPinBox_->setChecked(pin == nullptr);
  EnablePinFields(pin == nullptr);
  LoadPinFields(pin);
}

void PinPanel::EnablePinFields(bool blank) {
  const bool firstBlock = block_ == 0;
  blankPinBox_->setEnabled(body_ != nullptr && firstBlock);
  for (QWidget* w : {static_cast<QWidget*>(pinNameLabel_), static_cast<QWidget*>(pinNameEdit_),
                     static_cast<QWidget*>(nearBodyBox_), static_cast<QWidget*>(clockBox_),
                     static_cast<QWidget*>(negativeLogicBox_)})
    w->setEnabled(!blank && firstBlock);
  for (QWidget* w : {static_cast<QWidget*>(pinNumberLabel_), static_cast<QWidget*>(pinNumberEdit_),
                     static_cast<QWidget*>(hideNumberBox_)})
    w->setEnabled(!blank);
}

void PinPanel::LoadNumberFields(int block) {
  const std::string& entry = pinNumbers_[static_cast<size_t>(block)];
  hideNumberBox_->setChecked(!entry.empty() && entry[0] == 'H');
  pinNumberEdit_->setText(entry.empty() ? QString() : ShiftJisCodec::Decode(entry.substr(1)));
}

std::string PinPanel::NumberFieldsAsEntry() const {
  std::string entry(1, hideNumberBox_->isChecked() ? 'H' : 'D');
  entry += ShiftJisCodec::Encode(pinNumberEdit_->text());
  return entry;
}

void PinPanel::LoadPinFields(const PinInfo* pin) {
  const size_t n = static_cast<size_t>(ShownBlockCount());
  if (pin == nullptr) {
    std::fill_n(pinNumbers_.begin(), n, std::string("D"));
    pinNameEdit_->clear();
    for (QCheckBox* b : {nearBodyBox_, clockBox_, negativeLogicBox_, hideNumberBox_}) b->setChecked(false);
    pinNumberEdit_->clear();
    return;
  }
  // A pin read from a broken file may hold fewer numbers than blocks.
  for (size_t i = 0; i < n; ++i)
    pinNumbers_[i] = i < pin->numbers.size() ? std::string(pin->numbers[i]) : std::string();
  pinNameEdit_->setText(ShiftJisCodec::Decode(pin->name));
  LoadNumberFields(block_);
  nearBodyBox_->setChecked((pin->flags & PinFlag::NumberNearBody) != 0);
  clockBox_->setChecked((pin->flags & PinFlag::Clock) != 0);
  negativeLogicBox_->setChecked((pin->flags & PinFlag::NegativeLogic) != 0);
}

void PinPanel::OnBlankPinClicked(bool checked) {
  EnablePinFields(checked);
  LoadPinFields(nullptr);
}

void PinPanel::OnFlagBoxClicked(QCheckBox* box, bool checked) {
  // Near the body excludes both marks; the two marks may be combined.
  if (!checked) return;
  if (box == nearBodyBox_) {
    clockBox_->setChecked(false);
    negativeLogicBox_->setChecked(false);
  } else {
    nearBodyBox_->setChecked(false);
  }
}

void PinPanel::OnBlockChanged(int block) {
  const int n = ShownBlockCount();
  if (body_ == nullptr || block < 1 || block > n) return;
  const int old = block_;
  block_ = block - 1;
  emit blockChanged(block_);
  EnablePinFields(blankPinBox_->isChecked());
  if (blankPinBox_->isChecked()) {
    hideNumberBox_->setChecked(false);
    pinNumberEdit_->clear();
    return;
  }
  pinNumbers_[static_cast<size_t>(old)] = NumberFieldsAsEntry();
  LoadNumberFields(block_);
}

void PinPanel::OnPinNumberEdited(const QString& text) {
  // Letters typed into the number become capitals at once.
  const QString upper = text.toUpper();
  if (upper == text) return;
  const int cursor = pinNumberEdit_->cursorPosition();
  pinNumberEdit_->setText(upper.left(pinNumberEdit_->maxLength()));
  pinNumberEdit_->setCursorPosition(std::min<int>(cursor, static_cast<int>(pinNumberEdit_->text().size())));
}

void PinPanel::UpdatePin() {
  if (body_ == nullptr) return;
  if (blankPinBox_->isChecked()) {
    emit editRequested(std::nullopt);
    return;
  }
  pinNumbers_[static_cast<size_t>(block_)] = NumberFieldsAsEntry();
  PinData pin;
  const int n = std::clamp(body_->blockCount, 0, limits::kMaxBlocks);
  std::vector<std::string_view> numbers(pinNumbers_.begin(), pinNumbers_.begin() + n);
  pin.numbers.Assign(numbers);
  pin.name = ShiftJisCodec::Encode(pinNameEdit_->text());
  if (nearBodyBox_->isChecked())
    pin.flags = PinFlag::NumberNearBody;
  else
    pin.flags = (clockBox_->isChecked() ? PinFlag::Clock : 0) |
                (negativeLogicBox_->isChecked() ? PinFlag::NegativeLogic : 0);
  emit editRequested(pin);
}

}  // namespace zanli
