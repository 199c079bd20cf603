#pragma once

#include <QDialog>

#include "check/check_report.h"

namespace zanli {

// Asks before a save that would change the library: what the format cannot
// hold, listed under "保存すると次の内容が変わります" (the first 50, and how
// many more), with "保存" and "ｷｬﾝｾﾙ". Cancel is the default, so Enter
// keeps the file and the library as they are.
class SaveLossDialog : public QDialog {
  Q_OBJECT

 public:
  static constexpr size_t kListed = 50;

  SaveLossDialog(QWidget* parent, const CheckReport& losses);
};

}  // namespace zanli
