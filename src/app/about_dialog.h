#pragma once

#include <QDialog>

namespace zanli {

// The version box: icon, name and version, OK.
class AboutDialog : public QDialog {
  Q_OBJECT

 public:
  explicit AboutDialog(QWidget* parent = nullptr);
};

}  // namespace zanli
