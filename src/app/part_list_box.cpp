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
#include "model/name_filter.h"
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

int PartListBox::ShownCount() const { return filtered_ ? static_cast<int>(shown_.size()) : GetCount(); }

int PartListBox::PlaceOf(int row) const {
  if (!filtered_) return InRange(row) ? row : -1;
  const auto at = std::lower_bound(shown_.begin(), shown_.end(), row);
  return at != shown_.end() && *at == row ? static_cast<int>(at - shown_.begin()) : -1;
}

void PartListBox::Reveal(int row) {
  if (!filtered_ || row < 0 || PlaceOf(row) >= 0) return;
  shown_.insert(std::lower_bound(shown_.begin(), shown_.end(), row), row);
  UpdateScrollBar();
  viewport()->update();
}

void PartListBox::SetFilter(const QString& text) {
  if (dragging_) {
    autoScroll_->stop();
    EndDrag();
  }
  const std::string bytes = ShiftJisCodec::Encode(text);
  const NameFilter filter(bytes);
  filtered_ = document_ != nullptr && !filter.MatchesAll();
  if (!filtered_)
    std::vector<int>().swap(shown_);
  else if (ShiftJisCodec::Decode(bytes) != text)
    shown_.clear();  // no name holds a character that Shift-JIS lacks
  else
    shown_ = filter.Rows(document_->library());
  const int old = selected_;
  if (PlaceOf(selected_) < 0) selected_ = ShownCount() > 0 ? RowAt(0) : -1;
  ScrollTo(0);
  UpdateScrollBar();
  EnsureVisible(selected_);
  viewport()->update();
  if (selected_ != old) PostSelectionChanged();
}

void PartListBox::EntryInserted(int row) {
  if (filtered_) {
    // Shown whatever its name: it is what the user just made or brought back.
    const auto at = std::lower_bound(shown_.begin(), shown_.end(), row);
    for (auto it = at; it != shown_.end(); ++it) ++*it;
    shown_.insert(at, row);
  }
  if (row <= selected_) ++selected_;
  UpdateScrollBar();
  viewport()->update();
}

void PartListBox::EntryRemoved(int row) {
  if (filtered_) {
    auto at = std::lower_bound(shown_.begin(), shown_.end(), row);
    if (at != shown_.end() && *at == row) at = shown_.erase(at);
    const size_t next = static_cast<size_t>(at - shown_.begin());
    for (; at != shown_.end(); ++at) --*at;
    // A removed selection goes to the next shown row, or the last one.
    if (row == selected_)
      selected_ = next < shown_.size() ? shown_[next] : (shown_.empty() ? -1 : shown_.back());
    else if (row < selected_)
      --selected_;
  } else if (row == selected_) {
    // GetCount() is already the count without the row.
    if (selected_ >= GetCount()) --selected_;
  } else if (row < selected_) {
    --selected_;
  }
  if (dragging_) EndDrag();
  UpdateScrollBar();
  viewport()->update();
}

void PartListBox::EntryMoved(int from, int to) {
  const auto moved = [from, to](int row) {
    if (row == from) return to;
    if (from < row && row <= to) return row - 1;
    if (to <= row && row < from) return row + 1;
    return row;
  };
  // Only an undo or a redo moves entries under a filter, so a sort is cheap
  // enough.
  if (filtered_) {
    for (int& row : shown_) row = moved(row);
    std::sort(shown_.begin(), shown_.end());
  }
  selected_ = moved(selected_);
  viewport()->update();
}

void PartListBox::EntryRenamed(int row) { UpdateRow(row); }

void PartListBox::ResetView() {
  autoScroll_->stop();
  filtered_ = false;
  std::vector<int>().swap(shown_);
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
  Reveal(index);
  const int old = selected_;
  selected_ = index;
  UpdateRow(old);
  UpdateRow(index);
  return true;
}

void PartListBox::EnsureVisible(int index) {
  const int place = PlaceOf(index);
  if (place < 0) return;
  if (place < top_)
    ScrollTo(place);
  else if (place >= top_ + visibleRows_ - 1)
    ScrollTo(place - visibleRows_ + 2);
}

QRect PartListBox::RowRect(int place) const {
  return QRect(0, (place - top_) * rowHeight_, viewport()->width(), rowHeight_);
}

void PartListBox::UpdateRow(int index) {
  const int place = PlaceOf(index);
  if (place >= 0) viewport()->update(RowRect(place));
}

// The bar's range is 0..count with a page of the rows in view, so its last
// position shows the final row whole even when the bottom row is cut off.
void PartListBox::UpdateScrollBar() {
  const int count = ShownCount();
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
      std::min({top_ + (rowHeight_ + area.bottom()) / rowHeight_, top_ + visibleRows_, ShownCount()});
  for (int i = std::max(first, top_); i < end; ++i) {
    const int row = RowAt(i);
    QColor fill = pal.color(QPalette::Base);
    QColor border = fill;
    QColor ink = GetItemColor(row);
    if (row == selected_) {
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
    const QString text = ShiftJisCodec::Decode(document_->Entry(row)->name);
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
  if (ShownCount() == 0) return;
  const int place = PlaceOf(selected_);
  const int target = std::clamp(place + delta, 0, ShownCount() - 1);
  if (target == place) return;
  SetCurSel(RowAt(target));
  EnsureVisible(RowAt(target));
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
  const int place = top_ + pos.y() / rowHeight_;
  if (place >= ShownCount()) return;
  const int row = RowAt(place);
  if (row == selected_) {
    if (filtered_) return;
    // Qt keeps the pointer grabbed for this widget while the button is held,
    // so the release arrives here even outside the window.
    dragging_ = true;
    dropIndex_ = place;
    DrawDropLine();
  } else {
    SetCurSel(row);
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
    // The sizing cursor offers a drag, which a filter rules out.
    const bool overSelected =
        !filtered_ && selected_ >= 0 && pos.y() >= 0 && top_ + pos.y() / rowHeight_ == selected_;
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
