#include "app/command_window.h"

#include <QAction>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QVBoxLayout>

namespace zanli {

CommandWindow::CommandWindow(QWidget* parent, Qt::WindowFlags flags) : QDialog(parent, flags) {}

void CommandWindow::CreateFrame() {
  menuBar_ = new QMenuBar(this);
  menuBar_->setObjectName(QStringLiteral("menuBar"));
  client_ = new QWidget(this);
  client_->setObjectName(QStringLiteral("client"));
  auto* frame = new QVBoxLayout(this);
  frame->setContentsMargins(0, 0, 0, 0);
  frame->setSpacing(0);
  frame->setMenuBar(menuBar_);
  frame->addWidget(client_);
}

QAction* CommandWindow::AddCommand(QMenu* menu, int id, const QString& text, const QKeySequence& key) {
  QAction* action = menu->addAction(text);
  if (!key.isEmpty()) action->setShortcut(key);
  RegisterCommand(action, id);
  return action;
}

void CommandWindow::RegisterCommand(QAction* action, int id) {
  action->setObjectName(QStringLiteral("command%1").arg(id));
  action->setData(id);
  actions_[id] = action;
}

QAction* CommandWindow::action(int id) const {
  const auto it = actions_.find(id);
  return it == actions_.end() ? nullptr : it->second;
}

bool CommandWindow::IsCommandKey(const QKeyEvent* event) const {
  const QKeySequence pressed(event->keyCombination());
  for (const auto& [id, action] : actions_)
    for (const QKeySequence& key : action->shortcuts())
      if (key.matches(pressed) == QKeySequence::ExactMatch) return true;
  return false;
}

int CommandWindow::RunModal(QDialog& dialog) {
  const int result = dialog.exec();
  TakeKeyboardOnX();
  return result;
}

void CommandWindow::TakeKeyboardOnX() {
  if (QGuiApplication::platformName() == QStringLiteral("xcb") && isVisible() && !isActiveWindow())
    activateWindow();
}

void CommandWindow::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  TakeKeyboardOnX();
}

}  // namespace zanli
