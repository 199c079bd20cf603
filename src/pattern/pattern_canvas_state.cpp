#include "pattern/pattern_canvas_state.h"

#include <algorithm>
#include <cstdlib>
#include <limits>

#include "model/pattern.h"

namespace zanli {

namespace {

using Cell = PatternCanvasState::Cell;
using CellRect = PatternCanvasState::CellRect;
using Damage = PatternCanvasState::Damage;

Damage WholeCanvas() {
  Damage damage;
  damage.whole = true;
  return damage;
}

// Truncating toward zero, as the cell mapping wants; 64 bits so that no
// logical point overflows.
int32_t CellIndex(int32_t logical, int32_t zoom) {
  return static_cast<int32_t>((int64_t{logical} - PatternCanvasState::kMargin) / zoom);
}

int32_t ContentExtent(int32_t zoom, int32_t pixels) {
  const int64_t extent = int64_t{zoom} * std::max(pixels, 0) + 2 * PatternCanvasState::kMargin;
  return static_cast<int32_t>(std::min<int64_t>(extent, std::numeric_limits<int32_t>::max()));
}

}  // namespace

CellRect CellRect::Spanned(Cell a, Cell b) {
  return {std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)};
}

bool CellRect::Contains(Cell cell) const {
  return cell.x >= left && cell.x <= right && cell.y >= top && cell.y <= bottom;
}

void Damage::Merge(const Damage& other) {
  whole = whole || other.whole;
  contentResized = contentResized || other.contentResized;
  scrollReset = scrollReset || other.scrollReset;
  cells.insert(cells.end(), other.cells.begin(), other.cells.end());
}

PatternCanvasState::~PatternCanvasState() { CommitFloating(); }

bool PatternCanvasState::Usable() const {
  // A pattern whose buffer is short of its size has no cells to edit.
  return pattern_ != nullptr && pattern_->width > 0 && pattern_->height > 0 &&
         pattern_->bits.size() >=
             static_cast<size_t>(pattern_->Stride()) * static_cast<size_t>(pattern_->height);
}

// --- Editor operations -----------------------------------------------------

Damage PatternCanvasState::LoadPattern(Pattern* pattern) {
  EndDrag();
  CommitFloating();
  pattern_ = pattern;
  snapshot_ = Usable() ? PatternBitmap(pattern_->width, pattern_->height) : PatternBitmap();
  undoAvailable_ = false;
  frameVisible_ = false;
  moveCursor_ = false;
  Damage damage = WholeCanvas();
  damage.contentResized = true;
  damage.scrollReset = true;
  return damage;
}

Damage PatternCanvasState::SetTool(PatternTool tool) {
  Damage damage = EndDrag();
  tool_ = tool;
  frameVisible_ = false;
  if (CommitFloating()) damage.whole = true;
  return damage;
}

Damage PatternCanvasState::ZoomIn() { return SetZoom(5); }

Damage PatternCanvasState::ZoomOut() { return SetZoom(1); }

Damage PatternCanvasState::SetZoom(int32_t zoom) {
  if (zoom_ == zoom) return {};
  zoom_ = zoom;
  if (!pattern_) return {};
  Damage damage = WholeCanvas();
  damage.contentResized = true;
  return damage;
}

bool PatternCanvasState::CommitSelection() {
  EndDrag();
  return CommitFloating();
}

bool PatternCanvasState::CommitFloating() {
  if (!floating_) return false;
  SetBoundsToSelection();
  if (Usable()) floating_->OrInto(*pattern_, floatingAt_.x, floatingAt_.y);
  floating_.reset();
  frameVisible_ = false;
  return true;
}

void PatternCanvasState::TakeSnapshot() {
  if (!Usable()) return;
  snapshot_ = PatternBitmap::Of(*pattern_);
  undoAvailable_ = true;
}

Damage PatternCanvasState::Undo() {
  if (!undoAvailable_) return {};
  EndDrag();
  floating_.reset();
  // The snapshot has the size of the pattern loaded; should the pattern have
  // been resized behind the canvas's back, nothing is written.
  if (Usable()) snapshot_.CopyTo(*pattern_);
  undoAvailable_ = false;
  frameVisible_ = false;
  return WholeCanvas();
}

const PatternBitmap* PatternCanvasState::SelectionBitmap() const {
  return HasFloatingSelection() ? &*floating_ : nullptr;
}

Damage PatternCanvasState::DeleteSelection() {
  if (!HasFloatingSelection()) return {};
  Damage damage = EndDrag();
  damage.cells.push_back(*SelectionRect());
  floating_.reset();
  modified_ = true;
  frameVisible_ = false;
  return damage;
}

Damage PatternCanvasState::PasteBitmap(const PatternBitmap* picture, Point scroll) {
  if (!Usable()) return {};
  Damage damage = SetTool(PatternTool::Select);
  TakeSnapshot();
  if (picture == nullptr || picture->Empty()) return damage;
  // Only the top-left part that fits the pattern is taken.
  floating_ = picture->Region(0, 0, std::min(picture->Width(), pattern_->width),
                              std::min(picture->Height(), pattern_->height));
  floatingAt_ = MapPoint(scroll).cell;
  SetBoundsToSelection();
  frameVisible_ = true;
  modified_ = true;
  damage.cells.push_back(*SelectionRect());
  return damage;
}

// --- Mouse -------------------------------------------------------------

Damage PatternCanvasState::Press(Button button, Point point) {
  if (drag_ != DragState::None || !Usable()) return {};
  const Hit hit = MapPoint(point);
  if (tool_ == PatternTool::Select) return button == Button::Left ? PressSelect(hit) : Damage{};
  if (!hit.inside) return {};
  TakeSnapshot();
  start_ = end_ = hit.cell;
  drag_ = button == Button::Left ? DragState::Left : DragState::Right;
  Damage damage;
  damage.cells.push_back(CellRect::Spanned(start_, end_));
  if (tool_ == PatternTool::Pen) {
    dragKind_ = DragKind::Pen;
    pattern_->SetPixel(hit.cell.x, hit.cell.y, button == Button::Left);
    modified_ = true;
  } else {
    dragKind_ = DragKind::Shape;
    rubberBand_.emplace(pattern_->width, pattern_->height);
    PlotShape(rubberBand_->RasterTarget(), true);
  }
  return damage;
}

Damage PatternCanvasState::PressSelect(Hit hit) {
  const std::optional<CellRect> selection = SelectionRect();
  if (selection && hit.inside && selection->Contains(hit.cell)) {
    moveOffset_ = {floatingAt_.x - hit.cell.x, floatingAt_.y - hit.cell.y};
    drag_ = DragState::Left;
    dragKind_ = DragKind::MoveSelection;
    return {};
  }
  Damage damage;
  if (CommitFloating()) damage.cells.push_back(*selection);
  if (hit.inside) {
    start_ = end_ = hit.cell;
    drag_ = DragState::Left;
    dragKind_ = DragKind::SelectRect;
    AddFrame(damage, FrameCells());
  }
  return damage;
}

Damage PatternCanvasState::Move(Point point) {
  const Hit hit = MapPoint(point);
  const std::optional<CellRect> selection = SelectionRect();
  moveCursor_ = tool_ == PatternTool::Select && hit.inside && selection && selection->Contains(hit.cell);
  Damage damage;
  switch (dragKind_) {
    case DragKind::None:
      break;
    case DragKind::SelectRect:
      if (hit.cell == end_) break;
      AddFrame(damage, FrameCells());
      end_ = hit.cell;
      AddFrame(damage, FrameCells());
      break;
    case DragKind::MoveSelection:
      return DragSelection(hit.cell);
    case DragKind::Pen:
      if (!hit.inside || hit.cell == end_) break;
      end_ = hit.cell;
      pattern_->SetPixel(end_.x, end_.y, drag_ == DragState::Left);
      damage.cells.push_back(CellRect::Spanned(end_, end_));
      break;
    case DragKind::Shape:
      if (hit.cell == end_) break;
      damage.cells.push_back(FrameCells());
      // Unplotting the old shape clears exactly what it set.
      PlotShape(rubberBand_->RasterTarget(), false);
      end_ = hit.cell;
      PlotShape(rubberBand_->RasterTarget(), true);
      damage.cells.push_back(FrameCells());
      break;
  }
  return damage;
}

Damage PatternCanvasState::DragSelection(Cell cell) {
  if (!floating_) return {};
  const Cell to{std::clamp(cell.x + moveOffset_.x, 0, pattern_->width - floating_->Width()),
                std::clamp(cell.y + moveOffset_.y, 0, pattern_->height - floating_->Height())};
  if (to == floatingAt_) return {};
  Damage damage;
  damage.cells.push_back(*SelectionRect());
  floatingAt_ = to;
  SetBoundsToSelection();
  damage.cells.push_back(*SelectionRect());
  modified_ = true;
  return damage;
}

Damage PatternCanvasState::Release(Button button) {
  if (drag_ == DragState::None || (button == Button::Left) != (drag_ == DragState::Left)) return {};
  const DragKind kind = dragKind_;
  const bool ink = drag_ == DragState::Left;
  drag_ = DragState::None;
  dragKind_ = DragKind::None;
  if (kind == DragKind::SelectRect) return ReleaseSelectRect();
  if (kind != DragKind::Shape) return {};
  rubberBand_.reset();
  PlotShape({pattern_->bits.data(), pattern_->width, pattern_->height, pattern_->Stride()}, ink);
  modified_ = true;
  Damage damage;
  damage.cells.push_back(FrameCells());
  return damage;
}

Damage PatternCanvasState::ReleaseSelectRect() {
  Damage damage;
  const CellRect rect = FrameCells();
  AddFrame(damage, rect);
  // A rectangle within one cell of its start in both directions is a click.
  if (std::abs(start_.x - end_.x) < 2 && std::abs(start_.y - end_.y) < 2) return damage;
  TakeSnapshot();
  if (Lift(rect)) {
    frameVisible_ = true;
    damage.cells.push_back(rect);
  } else {
    // Nothing was lifted, so there is nothing the snapshot could undo.
    undoAvailable_ = false;
  }
  return damage;
}

bool PatternCanvasState::Lift(const CellRect& rect) {
  PatternBitmap lifted(rect.right - rect.left + 1, rect.bottom - rect.top + 1);
  bool any = false;
  for (int32_t y = rect.top; y <= rect.bottom; ++y)
    for (int32_t x = rect.left; x <= rect.right; ++x)
      if (pattern_->Pixel(x, y)) {
        lifted.SetPixel(x - rect.left, y - rect.top, true);
        pattern_->SetPixel(x, y, false);
        any = true;
      }
  if (!any) return false;
  floating_ = std::move(lifted);
  floatingAt_ = {rect.left, rect.top};
  SetBoundsToSelection();
  return true;
}

Damage PatternCanvasState::EndDrag() {
  Damage damage;
  if (dragKind_ == DragKind::SelectRect) AddFrame(damage, FrameCells());
  if (dragKind_ == DragKind::Shape) {
    damage.cells.push_back(FrameCells());
    rubberBand_.reset();
  }
  drag_ = DragState::None;
  dragKind_ = DragKind::None;
  return damage;
}

void PatternCanvasState::PlotShape(const ShapeRasterizer::Bitmap& target, bool ink) const {
  if (tool_ == PatternTool::Ellipse)
    ShapeRasterizer::DrawEllipseCells(target, start_, end_, ink);
  else
    ShapeRasterizer::DrawLineCells(target, start_, end_, ink);
}

void PatternCanvasState::SetBoundsToSelection() {
  start_ = floatingAt_;
  end_ = {floatingAt_.x + floating_->Width() - 1, floatingAt_.y + floating_->Height() - 1};
}

void PatternCanvasState::AddFrame(Damage& damage, const CellRect& rect) {
  // The frame runs through the centres of the border cells: repaint those.
  if (rect.right - rect.left < 2 || rect.bottom - rect.top < 2) {
    damage.cells.push_back(rect);
    return;
  }
  damage.cells.push_back({rect.left, rect.top, rect.right, rect.top});
  damage.cells.push_back({rect.left, rect.bottom, rect.right, rect.bottom});
  damage.cells.push_back({rect.left, rect.top + 1, rect.left, rect.bottom - 1});
  damage.cells.push_back({rect.right, rect.top + 1, rect.right, rect.bottom - 1});
}

// --- State and geometry ----------------------------------------------------

bool PatternCanvasState::HasFloatingSelection() const {
  return floating_.has_value() && tool_ == PatternTool::Select;
}

std::optional<CellRect> PatternCanvasState::SelectionRect() const {
  if (!floating_) return std::nullopt;
  return CellRect{floatingAt_.x, floatingAt_.y, floatingAt_.x + floating_->Width() - 1,
                  floatingAt_.y + floating_->Height() - 1};
}

int32_t PatternCanvasState::ContentWidth() const {
  return pattern_ ? ContentExtent(zoom_, pattern_->width) : 0;
}

int32_t PatternCanvasState::ContentHeight() const {
  return pattern_ ? ContentExtent(zoom_, pattern_->height) : 0;
}

PatternCanvasState::Hit PatternCanvasState::MapPoint(Point point) const {
  if (!Usable()) return {};
  const int32_t x = CellIndex(point.x, zoom_), y = CellIndex(point.y, zoom_);
  Hit hit;
  hit.inside = x >= 0 && x < pattern_->width && y >= 0 && y < pattern_->height;
  hit.cell = {std::clamp(x, 0, pattern_->width - 1), std::clamp(y, 0, pattern_->height - 1)};
  return hit;
}

PatternCanvasState::Point PatternCanvasState::CellCentre(Cell cell) const {
  return {kMargin + cell.x * zoom_ + zoom_ / 2, kMargin + cell.y * zoom_ + zoom_ / 2};
}

PatternCanvasState::PixelRect PatternCanvasState::RepaintPixels(const CellRect& rect) const {
  const Point from = CellCentre({rect.left, rect.top}), to = CellCentre({rect.right, rect.bottom});
  return {from.x - zoom_ / 2, from.y - zoom_ / 2, to.x + zoom_ / 2 + 1, to.y + zoom_ / 2 + 1};
}

PatternCanvasState::PixelRect PatternCanvasState::BitmapPixels() const {
  if (!pattern_) return {};
  return {kMargin, kMargin, ContentWidth() - kMargin, ContentHeight() - kMargin};
}

std::optional<PatternCanvasState::Overlay> PatternCanvasState::CurrentOverlay() const {
  if (rubberBand_) return Overlay{&*rubberBand_, {0, 0}, FrameCells(), true};
  if (floating_) return Overlay{&*floating_, floatingAt_, *SelectionRect(), false};
  return std::nullopt;
}

std::optional<PatternCanvasState::PixelRect> PatternCanvasState::FrameRect() const {
  if (!frameVisible_ && dragKind_ != DragKind::SelectRect) return std::nullopt;
  const CellRect cells = FrameCells();
  const Point from = CellCentre({cells.left, cells.top}), to = CellCentre({cells.right, cells.bottom});
  return PixelRect{from.x, from.y, to.x + 1, to.y + 1};
}

}  // namespace zanli
