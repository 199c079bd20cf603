#pragma once

#include <QMessageBox>

namespace zanli {

// One of the program's message boxes, modal over `parent`: the program's
// name as its title, `text` (the caller's, arguments filled in) and the
// buttons given. Answers the button pressed (the escape button, or NoButton
// when there is none, for Esc). Afterwards the keyboard goes back to the
// parent's window, which an X server without a window manager gives to no
// one.
QMessageBox::StandardButton ShowMessageBox(QWidget* parent, QMessageBox::Icon icon, const QString& text,
                                           QMessageBox::StandardButtons buttons = QMessageBox::Ok,
                                           QMessageBox::StandardButton defaultButton = QMessageBox::NoButton,
                                           QMessageBox::StandardButton escapeButton = QMessageBox::NoButton);

}  // namespace zanli
