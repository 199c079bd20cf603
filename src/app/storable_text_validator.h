#pragma once

#include <QValidator>

class QLineEdit;

namespace zanli {

// Keeps a field whose text goes into the library to characters the library
// can hold, however they arrive (typed, pasted, dropped, an input method):
// an insertion that holds one is refused whole. A single character refused
// beeps; a longer insertion (a paste) says which character cannot be stored.
// Only what the user inserts is judged: text the program sets (a name read
// from a file, which may hold such a character) is shown as it is and can
// still be corrected.
class StorableTextValidator : public QValidator {
  Q_OBJECT

 public:
  // Installs itself on `field`, which owns it.
  explicit StorableTextValidator(QLineEdit* field);

  State validate(QString& input, int& pos) const override;

 private:
  void Refuse(const QString& character, bool typed) const;

  QLineEdit* field_;
  // The field's text before the edit being validated: the field itself
  // already holds the edited text then.
  QString before_;
};

}  // namespace zanli
