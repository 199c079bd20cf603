#include "app/command_window.h"

#include <QAction>
#include <QApplication>
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

void CommandWindow::StartAtLayoutSize() {
  resize(minimumSizeHint().expandedTo(sizeHint()));
  setMinimumSize(size());
}

void CommandWindow::WatchEvents() {
  client_->installEventFilter(this);
  qApp->installEventFilter(this);
  if (client_->isAncestorOf(QApplication::focusWidget())) lastClientFocus_ = QApplication::focusWidget();
  focusWatch_ = connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
    if (now != nullptr && client_->isAncestorOf(now)) lastClientFocus_ = now;
  });
}

void CommandWindow::StopWatchingEvents() {
  disconnect(focusWatch_);
  qApp->removeEventFilter(this);
  client_->removeEventFilter(this);
}

bool CommandWindow::IsOwnWidget(const QObject* object) const {
  return object->isWidgetType() && static_cast<const QWidget*>(object)->window() == this;
}

bool CommandWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched == client_ && event->type() == QEvent::Resize) {
    LayoutChildren();
    return false;
  }
  if (event->type() == QEvent::ShortcutOverride && IsOwnWidget(watched) &&
      OfferKey(watched, *static_cast<QKeyEvent*>(event))) {
    event->accept();
    return true;
  }
  return QDialog::eventFilter(watched, event);
}

QAction* CommandWindow::AddCommand(QMenu* menu, int id, const QString& text, const QKeySequence& key) {
  QAction* action = menu->addAction(text);
  if (!key.isEmpty()) action->setShortcut(key);
  RegisterCommand(action, id);
  return action;
}

void CommandWindow::RegisterCommand(QAction* action, int id) { actions_[id] = action; }

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
  TakeKeyboardOnX(this);
  return result;
}

void CommandWindow::TakeKeyboardOnX(QWidget* window) {
  if (QGuiApplication::platformName() == QStringLiteral("xcb") && window->isVisible() &&
      !window->isActiveWindow())
    window->activateWindow();
}

void CommandWindow::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  TakeKeyboardOnX(this);
}

}  // namespace zanli
