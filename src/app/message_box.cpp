#include "app/message_box.h"

#include "app/command_window.h"
#include "resources/message_texts.h"

namespace zanli {

QMessageBox::StandardButton ShowMessageBox(QWidget* parent, QMessageBox::Icon icon, const QString& text,
                                           QMessageBox::StandardButtons buttons,
                                           QMessageBox::StandardButton defaultButton,
                                           QMessageBox::StandardButton escapeButton) {
  QMessageBox box(icon, QString::fromUtf8(texts::kAppName), text, buttons, parent);
  if (defaultButton != QMessageBox::NoButton) box.setDefaultButton(defaultButton);
  if (escapeButton != QMessageBox::NoButton) box.setEscapeButton(escapeButton);
  const auto answer = static_cast<QMessageBox::StandardButton>(box.exec());
  if (parent != nullptr) CommandWindow::TakeKeyboardOnX(parent->window());
  return answer;
}

}  // namespace zanli
