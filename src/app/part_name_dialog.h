#pragma once

#include "app/name_dialog.h"

namespace zanli {

// The name of a new part, a new alias or an entry's new name (messages 107,
// then 106). An empty caption means "部品名の変更".
class PartNameDialog : public NameDialog {
  Q_OBJECT

 public:
  PartNameDialog(QWidget* parent, const std::string& initial, const NameLookup& taken,
                 const QString& caption = QString())
      : NameDialog(parent, Kind::Part, initial, taken, caption) {}
};

}  // namespace zanli
