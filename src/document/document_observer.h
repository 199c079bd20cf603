#pragma once

#include <cstdint>

namespace zanli {

class PartBody;

// Told of every change a LibraryDocument makes, as it happens, so views stay
// in step whether the change came from a command, an undo or a redo. Indices
// are entry rows at the moment of the call.
class DocumentObserver {
 public:
  virtual ~DocumentObserver() = default;

  virtual void EntryInserted(int /*row*/) {}
  virtual void EntryRemoved(int /*row*/) {}
  // The entry at `from` now stands at `to`; the rows between shifted by one.
  virtual void EntryMoved(int /*from*/, int /*to*/) {}
  virtual void EntryRenamed(int /*row*/) {}
  // Pins, sizes, prefix, block count or pattern of the body changed.
  virtual void BodyChanged(const PartBody* /*body*/) {}
  // The pattern list or a pattern's name, size or bits changed.
  virtual void PatternsChanged() {}
  // A whole new library (New, Open): everything is to be shown afresh.
  virtual void LibraryReplaced() {}
};

}  // namespace zanli
