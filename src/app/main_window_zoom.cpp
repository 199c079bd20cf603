// The part view's zoom: its keys, and its memory between runs.
#include <QApplication>
#include <QKeyEvent>
#include <QSettings>

#include "app/main_window.h"
#include "app/part_view.h"
#include "app/pin_panel.h"

namespace zanli {

namespace {

const QString kZoomSetting = QStringLiteral("partView/zoom");

// +1 for Ctrl++, −1 for Ctrl+-, 0 for any other key. Keyboards send "+" as
// Shift with "=" (US) or with ";" (JIS), and Qt reports the key produced, so
// the key is judged whatever Shift did; "=" zooms in as the key that carries
// "+". The keypad's keys count too.
int ZoomStep(const QKeyEvent& event) {
  const Qt::KeyboardModifiers others = event.modifiers() & ~(Qt::ShiftModifier | Qt::KeypadModifier);
  if (others != Qt::ControlModifier) return 0;
  switch (event.key()) {
    case Qt::Key_Plus:
    case Qt::Key_Equal:
      return 1;
    case Qt::Key_Minus:
      return -1;
    default:
      return 0;
  }
}

}  // namespace

void MainWindow::SetPartViewZoom(int factor) { partView_->SetZoom(factor); }

int MainWindow::PartViewZoom() const { return partView_->Zoom(); }

void MainWindow::RestorePartViewZoom() {
  connect(partView_, &PartView::zoomChanged, this, &MainWindow::partViewZoomChanged);
  // A missing or damaged value gives 0, which the view takes as 1.
  SetPartViewZoom(QSettings().value(kZoomSetting, 1).toInt());
}

void MainWindow::StorePartViewZoom() const { QSettings().setValue(kZoomSetting, PartViewZoom()); }

bool MainWindow::TakeZoomKey(QObject* watched, QEvent* event) {
  // Not shortcuts: "+" arrives as several key combinations, which would make
  // shortcuts ambiguous. Judged at the key's first delivery, to the focus
  // widget; a key it ignores travels on to its parents.
  if (event->type() != QEvent::KeyPress || !watched->isWidgetType()) return false;
  QWidget* focus = QApplication::focusWidget();
  if (watched != (focus ? focus : this) || static_cast<QWidget*>(watched)->window() != this) return false;
  if (pinPanel_->IsTextField(watched)) return false;
  const int step = ZoomStep(*static_cast<QKeyEvent*>(event));
  if (step == 0) return false;
  SetPartViewZoom(PartViewZoom() + step);
  return true;
}

}  // namespace zanli
