#pragma once

#include <cstdint>

#include "model/pin_info.h"

namespace zanli {

class PartBody;

// Told of every change a LibraryDocument makes, as it happens, so views stay
// in step whether the change came from a command, an undo or a redo. Each
// call names what changed as closely as a view needs to redraw only that.
// Indices are entry rows at the moment of the call.
class DocumentObserver {
 public:
  virtual ~DocumentObserver() = default;

  virtual void EntryInserted(int /*row*/) {}
  virtual void EntryRemoved(int /*row*/) {}
  // The entry at `from` now stands at `to`; the rows between shifted by one.
  virtual void EntryMoved(int /*from*/, int /*to*/) {}
  virtual void EntryRenamed(int /*row*/) {}
  // A pin of the body at that place was added or removed, or its name, flags
  // or numbers changed; the body's other pins and attributes are as they
  // were. A step that touches several pins tells of each.
  virtual void PinChanged(const PartBody* /*body*/, PinEdge /*edge*/, int32_t /*position*/) {}
  // Pins moved along an edge, or the body's size, prefix, block count or
  // pattern changed: anything of the body may look different.
  virtual void BodyChanged(const PartBody* /*body*/) {}
  // The pattern list or a pattern's name, size or bits changed.
  virtual void PatternsChanged() {}
  // A whole new library (New, Open): everything is to be shown afresh.
  virtual void LibraryReplaced() {}
};

}  // namespace zanli
