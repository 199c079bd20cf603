#pragma once

#include "app/name_dialog.h"
#include "model/names.h"

namespace zanli {

// The name of a new pattern or a pattern's new name; an empty initial name
// is replaced by the first free NEW_n. An empty caption keeps
// "ﾊﾟﾀｰﾝ名の変更".
class PatternNameDialog : public NameDialog {
  Q_OBJECT

 public:
  PatternNameDialog(const std::string& initialName, const NameLookup& taken, const QString& caption = {},
                    QWidget* parent = nullptr)
      : NameDialog(parent, Kind::Pattern, initialName.empty() ? UniquePatternName(taken) : initialName, taken,
                   caption) {}
};

}  // namespace zanli
