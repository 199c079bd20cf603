#pragma once

#include <QDialog>
#include <string>

class QLineEdit;

namespace zanli {

class NameLookup;

// Asks for the name of a part or a pattern: a field, OK and Cancel. OK
// refuses, with a message and the dialog kept open, a name the rules of its
// kind refuse or the code page cannot hold, then a name another holder has;
// the name the dialog opened with passes as it is (a part's still has to
// keep the rules, a pattern's may predate them).
class NameDialog : public QDialog {
  Q_OBJECT

 public:
  enum class Kind { Part, Pattern };

  // `initial` and the result are model bytes; `taken` answers for the other
  // holders of names. An empty caption keeps the kind's rename caption.
  NameDialog(QWidget* parent, Kind kind, const std::string& initial, const NameLookup& taken,
             const QString& caption);

  // The accepted name as model bytes.
  const std::string& Name() const { return name_; }

 public slots:
  void accept() override;

 private:
  void Refuse(const char* text, const QString& name);

  Kind kind_;
  const NameLookup& taken_;
  std::string initial_;
  std::string name_;
  QLineEdit* field_ = nullptr;
};

}  // namespace zanli
