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

// A part ready to be pasted: its name and body (whose pattern is ignored),
// and either a pattern of its own to add or one the library already holds.
struct PastedPart {
  std::string name;
  std::unique_ptr<PartBody> body;
  std::unique_ptr<Pattern> newPattern;
  Pattern* existingPattern = nullptr;
};

// A part made outside the library (an import): its names, the part's first
// and then its aliases', its body (whose pattern is ignored), and either a
// pattern of its own to add or one the library already holds, so parts made
// together can share one.
struct InsertedPart {
  std::vector<std::string> names;
  std::unique_ptr<PartBody> body;
  std::unique_ptr<Pattern> newPattern;
  Pattern* existingPattern = nullptr;
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
  // Null for a done operation inside a group: the group's step holds it.
  std::unique_ptr<DocumentChange> change;
};

// The open library as a document: the one owner of the library and of the
// order of its entries, which every view reads. Every change is a named
// operation that checks its arguments against the model's rules first; an
// operation refuses, changing nothing, rather than make a library that the
// editor, a format or another step could not handle. A change that is done
// comes back as a DocumentChange, which undoes and redoes it exactly.
// Several operations can make one step together (BeginGroup below).
//
// Rows are indices into the library's entries. Every entry names a body of
// the library and every body is named; bodies, pins and patterns keep the
// model's rules (model/validity.h).
class LibraryDocument {
 public:
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
  const NameLookup& EntryNames() const { return UsedNames().entries; }
  const NameLookup& PatternNames() const { return UsedNames().patterns; }

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
  // Moves the first pin at one position to a free one, keeping its place
  // in the body's pin list; refused when the target holds a pin.
  EditResult MovePin(int row, PinEdge edge, int32_t position, PinEdge toEdge, int32_t toPosition);

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
  // Adds a part with its aliases, in their order, before `row` (appended when
  // out of range). Unlike a paste, nothing is settled here: every name must
  // be valid and free, and a new pattern's name free too.
  EditResult InsertPart(int row, InsertedPart part, int selected);

  // --- bodies and patterns ---
  // Valid attributes with a pattern of the library or none; a new block
  // count reshapes the pins' numbers.
  EditResult SetAttributes(int row, const PartAttributes& attributes);
  // Makes the pattern list what a pattern-editor session left: the patterns
  // it kept, in their order, with their new content, and those it added.
  // A pattern a body still uses cannot be dropped.
  EditResult ReplacePatterns(const std::vector<PatternReplacement>& patterns);
  // Makes the library what its saved file reads back as (a save the format
  // could not hold exactly), keeping the file name: one step, so that undo
  // brings back what the file lost. `selected` is the row selected now.
  EditResult AdoptSavedLibrary(std::unique_ptr<Library> saved, int selected);

  // --- composite steps ---
  // One user action made of several operations (a pasted list of pins, an
  // import of many parts) is one step: BeginGroup, the operations, then
  // CommitGroup. Each operation checks its arguments against the library as
  // the group's earlier operations left it and changes the library at once,
  // telling the observers as usual; a done one answers Done without a change
  // of its own. All or nothing: a refusal inside the group takes back
  // everything the group did, so the library is as it was at BeginGroup, and
  // the group's later operations are refused. Groups do not nest: false when
  // one is open already. A group opens and closes within one handler, with
  // no undo or redo of other steps in between.
  bool BeginGroup(StepKind kind);
  // Ends the group. Done: one step named by the group's kind that undoes
  // and redoes every operation as one, with the undo focus of its first done
  // operation and the redo focus of its last. Unchanged when no operation
  // changed anything; Refused after a refusal.
  EditResult CommitGroup();
  // Ends the group and takes back everything it did.
  void AbortGroup();
  bool InGroup() const { return group_ != nullptr; }

 private:
  friend class DocumentEdit;
  struct Group;

  // The primitives that edits apply: the one place where the library
  // changes. Each tells the observers what changed.
  void InsertEntryAt(int row, std::unique_ptr<PartEntry> entry);
  std::unique_ptr<PartEntry> TakeEntryAt(int row);
  void MoveEntryAt(int from, int to);
  void SwapEntryName(int row, std::string& name);
  void InsertBodyAt(int index, std::unique_ptr<PartBody> body);
  std::unique_ptr<PartBody> TakeBodyAt(int index);
  void InsertPatternAt(int index, std::unique_ptr<Pattern> pattern);
  std::unique_ptr<Pattern> TakePatternAt(int index);
  void SwapPatternContent(Pattern& pattern, PatternContent& content);
  void InsertPinAt(PartBody& body, int index, std::unique_ptr<PinInfo> pin);
  std::unique_ptr<PinInfo> TakePinAt(PartBody& body, int index);
  void SwapPinData(PartBody& body, int index, PinData& data);
  void ShiftPinsAt(PartBody& body, PinEdge edge, int32_t from, int32_t delta);
  // With `numbers` empty a new block count reshapes the pins' numbers and
  // leaves their old ones there; otherwise it puts those back.
  void SwapAttributes(PartBody& body, PartAttributes& attributes, std::vector<PinNumbers>& numbers);
  // Objects change hands whole, so pointers into either library stay valid.
  void SwapContents(Library& other);
  template <typename Call>
  void Notify(const Call& call);

  // Applies the edits and wraps them as one step, or adds them to the open
  // group. Refuse() is every refusal's answer: it takes back an open group.
  EditResult Commit(StepKind kind, std::vector<DocumentEdit> edits, DocumentFocus undoFocus,
                    DocumentFocus redoFocus);
  EditResult Refuse();
  EditResult NoChange() const;
  void TakeBackGroup();
  bool IsPinAddress(int row, PinEdge edge, int32_t position) const;
  int BodyIndex(const PartBody* body) const;
  bool IsBodyNamedElsewhere(const PartBody* body, int exceptRow) const;
  int PatternIndex(const Pattern* pattern) const;
  // The names in use, made from the library when first asked for: opening a
  // large library does not wait for sets that only naming and pasting need.
  // Until then, changes leave them alone. The sets themselves stay, so a
  // lookup handed out earlier never dangles.
  struct UsedNameSets {
    NameSet entries;
    NameSet patterns;
  };
  UsedNameSets& UsedNames() const;
  void ForgetNames() const;

  std::unique_ptr<Library> library_;
  mutable UsedNameSets usedNames_;
  mutable bool namesMade_ = false;
  std::vector<DocumentObserver*> observers_;
  std::unique_ptr<Group> group_;
};

}  // namespace zanli
