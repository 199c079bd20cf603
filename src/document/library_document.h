#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "document/document_change.h"
#include "document/document_edit.h"
#include "document/document_observer.h"
#include "model/library.h"
#include "model/name_set.h"

namespace zanli {

// The editable part of a pin: what the pin panel writes.
struct PinData {
  std::string name;
  int32_t flags = 0;
  PinNumbers numbers;  // one per block
};

// A part ready to be pasted: its name and body (whose pattern is ignored),
// and either a pattern of its own to add or one the library already holds.
struct PastedPart {
  std::string name;
  std::unique_ptr<PartBody> body;
  std::unique_ptr<Pattern> newPattern;
  Pattern* existingPattern = nullptr;
};

// What a part's attribute dialog sets.
struct PartAttributes {
  std::string numberPrefix;
  int32_t xSize = 2;
  int32_t ySize = 2;
  int32_t blockCount = 1;
  Pattern* pattern = nullptr;
};

// One element of the pattern list after a pattern-editor session: an
// existing pattern (kept as the same object, so bodies keep pointing at it)
// or a new one, with the content it ends up with.
struct PatternReplacement {
  const Pattern* original = nullptr;  // null for a pattern the session made
  PatternContent content;
};

enum class EditStatus {
  Done,       // the library changed; `change` undoes and redoes it
  Unchanged,  // the arguments asked for what is already there: no step
  Refused,    // the arguments would break the model's rules: nothing changed
};

struct EditResult {
  EditStatus status = EditStatus::Unchanged;
  std::unique_ptr<DocumentChange> change;
};

// The open library as a document: the one owner of the library and of the
// order of its entries, which every view reads. Every change is a named
// operation that checks its arguments against the model's rules first; an
// operation refuses, changing nothing, rather than make a library that the
// editor, a format or another step could not handle. A change that is done
// comes back as a DocumentChange, which undoes and redoes it exactly.
//
// Rows are indices into the library's entries. Model rules kept here: every
// entry names a body of the library and every body is named; sizes are at
// least 1, block counts 1 to 256, pin positions 0 to 255 on edges 0 to 3;
// a pin holds one number per block, each empty or "D"/"H" plus its text.
class LibraryDocument {
 public:
  static constexpr int32_t kMaxPosition = 255;
  static constexpr int32_t kMaxBlocks = 256;
  static constexpr int32_t kMaxSize = 32767;

  LibraryDocument();
  ~LibraryDocument();
  LibraryDocument(const LibraryDocument&) = delete;
  LibraryDocument& operator=(const LibraryDocument&) = delete;

  const Library& library() const { return *library_; }
  int EntryCount() const { return static_cast<int>(library_->entries.size()); }
  // Null for a row out of range.
  const PartEntry* Entry(int row) const;
  PartBody* BodyOf(int row) const;
  // Entry names as a multiset (files may hold the same name twice).
  const NameLookup& EntryNames() const { return entryNames_; }
  const NameLookup& PatternNames() const { return patternNames_; }

  void AddObserver(DocumentObserver* observer);
  void RemoveObserver(DocumentObserver* observer);

  // Takes over a library just read or made empty (New, Open). Not a step:
  // whoever keeps steps of the old library must drop them first.
  void ReplaceLibrary(std::unique_ptr<Library> library);
  // The file the library was read from or written to; the title is its name.
  void SetFilePath(const std::string& path);

  // --- pins of the body of `row`, at a position its edge may hold ---
  // Sets the first pin at the position, adds one there, or with no data
  // removes the first pin there.
  EditResult EditPin(int row, PinEdge edge, int32_t position, const std::optional<PinData>& pin);
  // Moves the pins at and after the position one place on; refused when a
  // pin would pass the last position.
  EditResult InsertBlankPin(int row, PinEdge edge, int32_t position);
  // Removes every pin at the position and moves the later ones back.
  EditResult DeletePinAndCloseUp(int row, PinEdge edge, int32_t position);

  // --- entries ---
  // The entry at `from` ends up at row `to`.
  EditResult MoveEntry(int from, int to);
  // A new default body under a valid, free name, inserted before `row`
  // (appended when `row` is out of range). `selected` is the row selected
  // now, where an undo goes back to.
  EditResult AddPart(int row, const std::string& name, int selected);
  // A valid name that no other entry has; its own name is no change.
  EditResult RenameEntry(int row, const std::string& name);
  // A new name for the body of `row`, inserted before it.
  EditResult AddAlias(int row, const std::string& name);
  // Removes the entry and, when no other entry names it, its body (its
  // pattern stays). `kind` tells a cut from a delete.
  EditResult DeleteEntry(int row, StepKind kind = StepKind::DeleteEntry);
  // Adds a pasted part before `row` (appended when out of range). The names
  // are the caller's to resolve; they must not be empty.
  EditResult PastePart(int row, PastedPart part, int selected);

  // --- bodies and patterns ---
  EditResult SetAttributes(int row, const PartAttributes& attributes);
  // Makes the pattern list what a pattern-editor session left: the patterns
  // it kept, in their order, with their new content, and those it added.
  // A pattern a body still uses cannot be dropped.
  EditResult ReplacePatterns(const std::vector<PatternReplacement>& patterns);

  // Whether a pin as given could stand in a body of `blocks` blocks.
  static bool IsValidPin(const PinData& pin, int32_t blocks);
  // Whether a body, with every pin, and a pattern keep the model's rules
  // (what Paste checks before it asks the user anything).
  static bool IsValidBody(const PartBody& body);
  static bool IsValidPattern(const Pattern& pattern);

 private:
  friend class DocumentEdit;

  // The primitives that edits apply; each tells the observers.
  void InsertEntryAt(int row, std::unique_ptr<PartEntry> entry);
  std::unique_ptr<PartEntry> TakeEntryAt(int row);
  void MoveEntryAt(int from, int to);
  std::string SwapEntryName(int row, std::string name);
  void InsertBodyAt(int index, std::unique_ptr<PartBody> body);
  std::unique_ptr<PartBody> TakeBodyAt(int index);
  void InsertPatternAt(int index, std::unique_ptr<Pattern> pattern);
  std::unique_ptr<Pattern> TakePatternAt(int index);
  void SwapPatternContent(Pattern& pattern, PatternContent& content);
  void NotifyBodyChanged(const PartBody* body);

  // Applies the edits and wraps them as one step.
  EditResult Commit(StepKind kind, std::vector<DocumentEdit> edits, DocumentFocus undoFocus,
                    DocumentFocus redoFocus);
  bool IsPinAddress(int row, PinEdge edge, int32_t position) const;
  int BodyIndex(const PartBody* body) const;
  bool IsBodyNamedElsewhere(const PartBody* body, int exceptRow) const;
  int PatternIndex(const Pattern* pattern) const;
  void RebuildNames();

  std::unique_ptr<Library> library_;
  NameSet entryNames_;
  NameSet patternNames_;
  std::vector<DocumentObserver*> observers_;
};

}  // namespace zanli
