#pragma once

#include <QDialog>
#include <QStringList>

namespace zanli {

// Says that a pattern cannot be deleted while parts use it, and lists the
// part and alias names that do, sorted.
class PatternInUseDialog : public QDialog {
  Q_OBJECT

 public:
  explicit PatternInUseDialog(QStringList names, QWidget* parent = nullptr);

  // The names in the order shown.
  QStringList Names() const;
};

}  // namespace zanli
