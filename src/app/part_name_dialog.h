#pragma once

#include <QDialog>
#include <string>

#include "model/name_lookup.h"

class QLineEdit;

namespace zanli {

// Asks for a part name: the new part's, the new alias's or an entry's new
// name. OK checks the name's characters first (message 107), then accepts
// the initial name unchanged or a name no entry has (otherwise message 106);
// a refused name keeps the dialog open.
class PartNameDialog : public QDialog {
  Q_OBJECT

 public:
  // `initial` and the result are model bytes; `taken` answers for the
  // document's entries. An empty caption means "部品名の変更".
  PartNameDialog(QWidget* parent, const std::string& initial, const NameLookup& taken,
                 const QString& caption = QString());

  std::string Name() const { return name_; }

 public slots:
  void accept() override;

 private:
  void Warn(const char* text, const QString& name);

  const NameLookup& taken_;
  std::string initial_;
  std::string name_;
  QLineEdit* field_ = nullptr;
};

}  // namespace zanli
