#include "app/storable_text_validator.h"

#include <QApplication>
#include <QLineEdit>
#include <QPointer>
#include <QTimer>

#include "app/message_box.h"
#include "qtshared/shift_jis_codec.h"
#include "resources/message_texts.h"

namespace zanli {

StorableTextValidator::StorableTextValidator(QLineEdit* field)
    : QValidator(field), field_(field), before_(field->text()) {
  field->setValidator(this);
  connect(field, &QLineEdit::textChanged, this, [this](const QString& text) { before_ = text; });
}

QValidator::State StorableTextValidator::validate(QString& input, int& /*pos*/) const {
  // The program's own setText clears the field's undo history; a user's edit
  // never does.
  if (!field_->isUndoAvailable()) return Acceptable;
  // What the edit inserts: the input without the text it shares with the
  // text before the edit at both ends.
  const QString& current = before_;
  qsizetype head = 0;
  const qsizetype common = std::min(current.size(), input.size());
  while (head < common && current[head] == input[head]) ++head;
  qsizetype tail = 0;
  while (tail < common - head && current[current.size() - 1 - tail] == input[input.size() - 1 - tail]) ++tail;
  // A surrogate pair is judged whole even when the edit splits it.
  if (head > 0 && input[head - 1].isHighSurrogate()) --head;
  if (tail > 0 && input[input.size() - tail].isLowSurrogate()) --tail;
  const QStringView inserted = QStringView(input).sliced(head, input.size() - head - tail);
  const QString refused = ShiftJisCodec::FirstUnstorable(inserted);
  if (refused.isEmpty()) return Acceptable;
  Refuse(refused, inserted.size() == refused.size());
  return Invalid;
}

void StorableTextValidator::Refuse(const QString& character, bool typed) const {
  if (typed) {
    QApplication::beep();
    return;
  }
  // After the field has finished the refused edit, not inside it.
  QPointer<QLineEdit> field = field_;
  QTimer::singleShot(0, field_, [field, character] {
    if (field)
      ShowMessageBox(field->window(), QMessageBox::Warning,
                     QString::fromUtf8(texts::kUnstorableCharacter).arg(character));
  });
}

}  // namespace zanli
