#include "app/part_list_box.h"

#include <QContextMenuEvent>
#include <QFocusEvent>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QResizeEvent>
#include <QScrollBar>
#include <QTimer>
#include <algorithm>
#include <utility>

#include "document/library_document.h"
#include "qtshared/shift_jis_codec.h"

namespace zanli {

namespace {

constexpr int kPageRows = 5;
constexpr int kAutoScrollMs = 50;

int ListKeyStep(int key) {
  switch (key) {
    case Qt::Key_PageUp:
      return -kPageRows;
    case Qt::Key_PageDown:
      return kPageRows;
    case Qt::Key_Up:
      return -1;
    case Qt::Key_Down:
      return 1;
    default:
      return 0;
  }
}

}  // namespace

PartListBox::PartListBox(QWidget* parent) : QAbstractScrollArea(parent), autoScroll_(new QTimer(this)) {
  setFocusPolicy(Qt::StrongFocus);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  viewport()->setMouseTracking(true);
  rowHeight_ = std::max(1, QFontMetrics(font()).height());

  autoScroll_->setObjectName(QStringLiteral("autoScroll"));
  autoScroll_->setSingleShot(true);
  autoScroll_->setInterval(kAutoScrollMs);
  connect(autoScroll_, &QTimer::timeout, this, &PartListBox::OnAutoScrollTick);
  connect(verticalScrollBar(), &QAbstractSlider::actionTriggered, this, &PartListBox::OnScrollAction);
  UpdateScrollBar();
}

PartListBox::~PartListBox() = default;

void PartListBox::SetDocument(const LibraryDocument* document) {
  document_ = document;
  ResetView();
}

int PartListBox::GetCount() const { return document_ ? document_->EntryCount() : 0; }

void PartListBox::EntryInserted(int row) {
  if (row <= selected_) ++selected_;
  UpdateScrollBar();
  viewport()->update();
}

void PartListBox::EntryRemoved(int row) {
  // GetCount() is already the count without the row.
  if (row == selected_) {
    if (selected_ >= GetCount()) --selected_;
  } else if (row < selected_) {
    --selected_;
  }
  if (dragging_) EndDrag();
  UpdateScrollBar();
  viewport()->update();
}

void PartListBox::EntryMoved(int from, int to) {
  if (selected_ == from)
    selected_ = to;
  else if (from < selected_ && selected_ <= to)
    --selected_;
  else if (to <= selected_ && selected_ < from)
    ++selected_;
  viewport()->update();
}

void PartListBox::EntryRenamed(int row) { UpdateRow(row); }

void PartListBox::ResetView() {
  autoScroll_->stop();
  selected_ = -1;
  markedBody_ = nullptr;
  dragging_ = false;
  dropIndex_ = -1;
  dropLineShown_ = false;
  verticalScrollBar()->setValue(0);
  UpdateScrollBar();
  top_ = 0;
  viewport()->update();
}

void PartListBox::MarkBody(const PartBody* body) {
  if (body == markedBody_) return;
  markedBody_ = body;
  viewport()->update();
}

std::string PartListBox::GetItemText(int index) const {
  return InRange(index) ? document_->Entry(index)->name : std::string();
}

PartBody* PartListBox::GetItemBody(int index) const {
  return InRange(index) ? document_->BodyOf(index) : nullptr;
}

QColor PartListBox::GetItemColor(int index) const {
  if (!InRange(index)) return QColor(0, 0, 0);
  return markedBody_ && document_->BodyOf(index) == markedBody_ ? QColor(255, 0, 0)
                                                                : palette().color(QPalette::Text);
}

bool PartListBox::SetCurSel(int index) {
  if (index < -1 || index >= GetCount()) return false;
  const int old = selected_;
  selected_ = index;
  UpdateRow(old);
  UpdateRow(index);
  return true;
}

void PartListBox::EnsureVisible(int index) {
  if (!InRange(index)) return;
  if (index < top_)
    ScrollTo(index);
  else if (index >= top_ + visibleRows_ - 1)
    ScrollTo(index - visibleRows_ + 2);
}

QRect PartListBox::RowRect(int index) const {
  return QRect(0, (index - top_) * rowHeight_, viewport()->width(), rowHeight_);
}

void PartListBox::UpdateRow(int index) {
  if (InRange(index)) viewport()->update(RowRect(index));
}

// The bar's range is 0..count with a page of the rows in view, so its last
// position shows the final row whole even when the bottom row is cut off.
void PartListBox::UpdateScrollBar() {
  const int count = GetCount();
  visibleRows_ = (rowHeight_ + viewport()->height() - 1) / rowHeight_;
  QScrollBar* bar = verticalScrollBar();
  int position = std::max(0, std::min(bar->value(), count - visibleRows_));
  bar->setSingleStep(1);
  bar->setPageStep(std::max(1, visibleRows_));
  bar->setRange(0, std::max(0, count - visibleRows_ + 1));
  bar->setValue(position);
  top_ = bar->value();
}

void PartListBox::ScrollTo(int position) {
  // The bar clamps to its range and reports back through scrollContentsBy.
  verticalScrollBar()->setValue(position);
}

void PartListBox::scrollContentsBy(int /*dx*/, int /*dy*/) {
  const int newTop = verticalScrollBar()->value();
  const int delta = top_ - newTop;
  if (delta == 0) return;
  top_ = newTop;
  viewport()->scroll(0, delta * rowHeight_);
}

// A page on the bar is five rows whatever the height; the page step itself
// stays the visible rows so the thumb shows how much of the list is in view.
void PartListBox::OnScrollAction(int action) {
  setFocus(Qt::OtherFocusReason);
  QScrollBar* bar = verticalScrollBar();
  switch (action) {
    case QAbstractSlider::SliderPageStepAdd:
      bar->setSliderPosition(bar->value() + kPageRows);
      break;
    case QAbstractSlider::SliderPageStepSub:
      bar->setSliderPosition(bar->value() - kPageRows);
      break;
    case QAbstractSlider::SliderSingleStepAdd:
    case QAbstractSlider::SliderSingleStepSub:
    case QAbstractSlider::SliderMove:
      break;
    default:
      bar->setSliderPosition(bar->value());
      break;
  }
}

void PartListBox::resizeEvent(QResizeEvent* event) {
  QAbstractScrollArea::resizeEvent(event);
  UpdateScrollBar();
}

void PartListBox::changeEvent(QEvent* event) {
  QAbstractScrollArea::changeEvent(event);
  if (event->type() == QEvent::FontChange) {
    rowHeight_ = std::max(1, QFontMetrics(font()).height());
    UpdateScrollBar();
    viewport()->update();
  } else if (event->type() == QEvent::PaletteChange) {
    viewport()->update();
  }
}

void PartListBox::paintEvent(QPaintEvent* event) {
  QPainter painter(viewport());
  const QPalette& pal = palette();
  const int width = viewport()->width();
  const QRect area = event->rect();
  const int first = top_ + area.top() / rowHeight_;
  const int end =
      std::min({top_ + (rowHeight_ + area.bottom()) / rowHeight_, top_ + visibleRows_, GetCount()});
  for (int i = std::max(first, top_); i < end; ++i) {
    QColor fill = pal.color(QPalette::Base);
    QColor border = fill;
    QColor ink = GetItemColor(i);
    if (i == selected_) {
      border = pal.color(QPalette::Highlight);
      if (hasFocus()) {
        fill = border;
        ink = pal.color(QPalette::HighlightedText);
      } else {
        ink = border;
      }
    }
    const int y = (i - top_) * rowHeight_;
    painter.setPen(border);
    painter.setBrush(fill);
    painter.drawRect(0, y, width - 1, rowHeight_ - 1);
    painter.setPen(ink);
    const QString text = ShiftJisCodec::Decode(document_->Entry(i)->name);
    painter.drawText(QRect(0, y, width, rowHeight_), Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, text);
  }
  if (dropLineShown_) {
    QPen pen(pal.color(QPalette::Highlight), 0, Qt::DotLine);
    painter.setPen(pen);
    const QRect line = DropLineRect();
    painter.drawLine(line.left(), line.top(), line.right(), line.top());
  }
}

bool PartListBox::event(QEvent* event) {
  // The list's own keys win over shortcuts and dialog navigation.
  if (event->type() == QEvent::ShortcutOverride) {
    auto* key = static_cast<QKeyEvent*>(event);
    const auto chords = Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier;
    if (ListKeyStep(key->key()) != 0 && !(key->modifiers() & chords)) {
      event->accept();
      return true;
    }
  }
  return QAbstractScrollArea::event(event);
}

void PartListBox::keyPressEvent(QKeyEvent* event) {
  const int step = ListKeyStep(event->key());
  if (step == 0) {
    event->ignore();
    return;
  }
  event->accept();
  MoveSelection(step);
}

void PartListBox::MoveSelection(int delta) {
  if (GetCount() == 0) return;
  const int target = std::clamp(selected_ + delta, 0, GetCount() - 1);
  if (target == selected_) return;
  SetCurSel(target);
  EnsureVisible(target);
  PostSelectionChanged();
}

void PartListBox::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::RightButton) {
    setFocus(Qt::MouseFocusReason);
    event->ignore();
    return;
  }
  if (event->button() != Qt::LeftButton) {
    event->ignore();
    return;
  }
  event->accept();
  // A drag whose release never arrived (the window lost the pointer) must not
  // turn this click into a drop.
  if (dragging_) {
    autoScroll_->stop();
    EndDrag();
  }
  setFocus(Qt::MouseFocusReason);
  const QPoint pos = event->position().toPoint();
  lastMousePos_ = pos;
  const int index = top_ + pos.y() / rowHeight_;
  if (index == selected_) {
    // Qt keeps the pointer grabbed for this widget while the button is held,
    // so the release arrives here even outside the window.
    dragging_ = true;
    dropIndex_ = index;
    DrawDropLine();
  } else if (index < GetCount()) {
    SetCurSel(index);
    PostSelectionChanged();
  }
}

// Each click of a double click counts as a press of its own.
void PartListBox::mouseDoubleClickEvent(QMouseEvent* event) { mousePressEvent(event); }

void PartListBox::mouseMoveEvent(QMouseEvent* event) {
  event->accept();
  HandleMove(event->position().toPoint());
}

void PartListBox::HandleMove(QPoint pos) {
  lastMousePos_ = pos;
  if (!dragging_) {
    const bool overSelected = selected_ >= 0 && pos.y() >= 0 && top_ + pos.y() / rowHeight_ == selected_;
    viewport()->setCursor(overSelected ? Qt::SizeVerCursor : Qt::ArrowCursor);
    return;
  }
  if (!viewport()->rect().contains(pos)) {
    viewport()->setCursor(Qt::ForbiddenCursor);
    return;
  }
  viewport()->setCursor(Qt::SizeVerCursor);
  if (pos.y() < rowHeight_ || pos.y() > viewport()->height() - rowHeight_) autoScroll_->start();
  const int drop = std::min(GetCount(), pos.y() / rowHeight_ + top_);
  if (drop != dropIndex_) {
    EraseDropLine();
    dropIndex_ = drop;
    DrawDropLine();
  }
}

// One row per tick. The synthesised move restarts the timer while the pointer
// stays in an edge zone, and a scroll that cannot move ends the run until the
// mouse moves again.
void PartListBox::OnAutoScrollTick() {
  autoScroll_->stop();
  if (!dragging_) return;
  const QPoint pos = lastMousePos_;
  EraseDropLine();
  const int before = top_;
  bool attempted = false;
  if (pos.y() < rowHeight_) {
    attempted = true;
    ScrollTo(top_ - 1);
  } else if (pos.y() > viewport()->height() - rowHeight_) {
    attempted = true;
    ScrollTo(top_ + 1);
  }
  DrawDropLine();
  if (!attempted || top_ != before) HandleMove(pos);
}

void PartListBox::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) {
    event->ignore();
    return;
  }
  event->accept();
  autoScroll_->stop();
  if (!dragging_) return;
  const QPoint pos = event->position().toPoint();
  lastMousePos_ = pos;
  EndDrag();
  if (!viewport()->rect().contains(pos)) return;
  const int target = pos.y() / rowHeight_ + top_;
  // The selection can be gone if the list was emptied during the drag.
  if (target == selected_ || !InRange(selected_)) return;

  // Dropping below the entry's old place counts from the list without it.
  const int place = std::min(selected_ < target ? target - 1 : target, GetCount() - 1);
  if (place != selected_) PostMoveRequested(selected_, place);
}

void PartListBox::EndDrag() {
  dragging_ = false;
  EraseDropLine();
}

QRect PartListBox::DropLineRect() const {
  return QRect(0, (dropIndex_ - top_) * rowHeight_, viewport()->width(), 1);
}

bool PartListBox::DropLineVisible() const { return dropIndex_ >= top_ && dropIndex_ < top_ + visibleRows_; }

void PartListBox::DrawDropLine() {
  if (!DropLineVisible()) return;
  dropLineShown_ = true;
  viewport()->update(DropLineRect());
}

void PartListBox::EraseDropLine() {
  if (!dropLineShown_) return;
  dropLineShown_ = false;
  viewport()->update(DropLineRect());
}

void PartListBox::contextMenuEvent(QContextMenuEvent* event) {
  // Ignoring the request hands it on to the parent; during a drag it is
  // swallowed so no menu pops up over the drop line.
  if (dragging_)
    event->accept();
  else
    event->ignore();
}

void PartListBox::focusInEvent(QFocusEvent* event) {
  QAbstractScrollArea::focusInEvent(event);
  UpdateRow(selected_);
}

void PartListBox::focusOutEvent(QFocusEvent* event) {
  QAbstractScrollArea::focusOutEvent(event);
  viewport()->update();
}

void PartListBox::PostSelectionChanged() {
  QMetaObject::invokeMethod(
      this, [this] { emit selectionChanged(); }, Qt::QueuedConnection);
}

void PartListBox::PostMoveRequested(int from, int to) {
  QMetaObject::invokeMethod(
      this, [this, from, to] { emit moveRequested(from, to); }, Qt::QueuedConnection);
}

}  // namespace zanli
