#pragma once

#include <QDialog>
#include <QString>
#include <string>

class QLineEdit;

namespace zanli {

class NameLookup;

// Asks for a pattern name (1 to 8 bytes of 0x21-0x7E without braces, unique
// among `taken`). An empty initial name is replaced by the first free
// NEW_n. An unchanged name is accepted as it stands, so a pattern whose stored
// name breaks the rules can still be confirmed; every refusal keeps the dialog
// open with a message.
class PatternNameDialog : public QDialog {
  Q_OBJECT

 public:
  // An empty caption keeps the dialog's own, "ﾊﾟﾀｰﾝ名の変更".
  PatternNameDialog(const std::string& initialName, const NameLookup& taken, const QString& caption = {},
                    QWidget* parent = nullptr);

  // The accepted name as model bytes.
  const std::string& Name() const { return name_; }

 public slots:
  void accept() override;

 private:
  void Refuse(const QString& text);

  const NameLookup& taken_;
  std::string initial_;
  std::string name_;
  QLineEdit* field_ = nullptr;
};

}  // namespace zanli
