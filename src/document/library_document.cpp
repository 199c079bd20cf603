#include "document/library_document.h"

#include <algorithm>
#include <unordered_set>
#include <utility>

#include "model/names.h"
#include "model/validity.h"

namespace zanli {

namespace {

bool IsValidPatternContent(const PatternContent& content) {
  return IsValidPattern(content.name, content.width, content.height, content.bits.size());
}

bool SameContent(const Pattern& pattern, const PatternContent& content) {
  return pattern.name == content.name && pattern.width == content.width && pattern.height == content.height &&
         pattern.bits == content.bits;
}

// A kept pattern may keep the name it was read with, even an empty one (a
// binary file can hold it): a session that only drew on it or resized it
// must close, or every change of the session would be lost.
bool IsValidKeptContent(const Pattern& original, const PatternContent& content) {
  if (SameContent(original, content)) return true;
  if (content.name == original.name)
    return IsValidPatternShape(content.width, content.height, content.bits.size());
  return IsValidPatternContent(content);
}

// The edits that add a part's body, with its pattern (a new one, or one of
// the library's), at the end of their lists; answers the body, which the
// part's entries then name.
PartBody* AppendBodyEdits(const Library& library, std::unique_ptr<PartBody> body,
                          std::unique_ptr<Pattern> newPattern, Pattern* existingPattern,
                          std::vector<DocumentEdit>& edits) {
  body->pattern = existingPattern;
  if (newPattern) {
    body->pattern = newPattern.get();
    edits.push_back(
        DocumentEdit::InsertPattern(static_cast<int>(library.patterns.size()), std::move(newPattern)));
  }
  PartBody* added = body.get();
  edits.push_back(DocumentEdit::InsertBody(static_cast<int>(library.bodies.size()), std::move(body)));
  return added;
}

int PinIndexAt(const PartBody& body, PinEdge edge, int32_t position) {
  for (size_t i = 0; i < body.pins.size(); ++i)
    if (body.pins[i]->edge == edge && body.pins[i]->position == position) return static_cast<int>(i);
  return -1;
}

std::unique_ptr<PinInfo> MakePin(const PinData& data, PinEdge edge, int32_t position, int32_t blocks) {
  auto pin = std::make_unique<PinInfo>(blocks);
  pin->name = data.name;
  pin->flags = data.flags;
  pin->edge = edge;
  pin->position = position;
  pin->numbers = data.numbers;
  return pin;
}

DocumentFocus RowFocus(int row) {
  DocumentFocus focus;
  focus.row = row;
  return focus;
}

DocumentFocus PinFocus(int row, PinEdge edge, int32_t position) {
  DocumentFocus focus = RowFocus(row);
  focus.hasPin = true;
  focus.edge = edge;
  focus.position = position;
  return focus;
}

// An undo goes back to the selection of the moment; a row that was not
// there means no selection.
DocumentFocus SelectionFocus(int selected, int count) {
  return RowFocus(selected >= 0 && selected < count ? selected : -1);
}

}  // namespace

// The operations of an open group, already applied, and the group's focus.
struct LibraryDocument::Group {
  StepKind kind;
  std::vector<DocumentEdit> edits;
  std::optional<DocumentFocus> undoFocus;
  DocumentFocus redoFocus;
  bool refused = false;
};

LibraryDocument::LibraryDocument() : library_(std::make_unique<Library>()) {}

LibraryDocument::~LibraryDocument() = default;

const PartEntry* LibraryDocument::Entry(int row) const {
  return row >= 0 && row < EntryCount() ? library_->entries[static_cast<size_t>(row)].get() : nullptr;
}

PartBody* LibraryDocument::BodyOf(int row) const {
  const PartEntry* entry = Entry(row);
  return entry ? entry->body : nullptr;
}

void LibraryDocument::AddObserver(DocumentObserver* observer) { observers_.push_back(observer); }

void LibraryDocument::RemoveObserver(DocumentObserver* observer) { std::erase(observers_, observer); }

void LibraryDocument::ReplaceLibrary(std::unique_ptr<Library> library) {
  // A group's edits belong to the old library.
  group_.reset();
  library_ = library ? std::move(library) : std::make_unique<Library>();
  ForgetNames();
  Notify([](DocumentObserver& observer) { observer.LibraryReplaced(); });
}

EditResult LibraryDocument::AdoptSavedLibrary(std::unique_ptr<Library> saved, int selected) {
  if (saved == nullptr || group_) return Refuse();
  // Where the selection was, or the last row when the file holds fewer.
  const int count = static_cast<int>(saved->entries.size());
  DocumentFocus redo;
  redo.row = count == 0 ? -1 : std::clamp(selected, 0, count - 1);
  DocumentFocus undo;
  undo.row = selected;
  std::vector<DocumentEdit> edits;
  edits.push_back(DocumentEdit::SwapContents(std::move(saved)));
  return Commit(StepKind::AdoptSaved, std::move(edits), undo, redo);
}

void LibraryDocument::SwapContents(Library& other) {
  library_->patterns.swap(other.patterns);
  library_->bodies.swap(other.bodies);
  library_->entries.swap(other.entries);
  ForgetNames();
  Notify([](DocumentObserver& observer) { observer.LibraryReplaced(); });
}

void LibraryDocument::SetFilePath(const std::string& path) {
  library_->filePath = path;
  const size_t slash = path.find_last_of('/');
  library_->fileTitle = slash == std::string::npos ? path : path.substr(slash + 1);
  library_->hasFilePath = true;
}

LibraryDocument::UsedNameSets& LibraryDocument::UsedNames() const {
  if (!namesMade_) {
    // Counted as made only once whole: running out of memory half-way must
    // not leave names missing that a later check would then let through.
    ForgetNames();
    usedNames_.entries.Reserve(library_->entries.size());
    for (const auto& entry : library_->entries) usedNames_.entries.Add(entry->name);
    usedNames_.patterns.Reserve(library_->patterns.size());
    for (const auto& pattern : library_->patterns) usedNames_.patterns.Add(pattern->name);
    namesMade_ = true;
  }
  return usedNames_;
}

void LibraryDocument::ForgetNames() const {
  namesMade_ = false;
  usedNames_.entries.Clear();
  usedNames_.patterns.Clear();
}

bool LibraryDocument::IsPinAddress(int row, PinEdge edge, int32_t position) const {
  return BodyOf(row) != nullptr && IsValidPinPlace(edge, position);
}

int LibraryDocument::BodyIndex(const PartBody* body) const {
  for (size_t i = 0; i < library_->bodies.size(); ++i)
    if (library_->bodies[i].get() == body) return static_cast<int>(i);
  return -1;
}

int LibraryDocument::PatternIndex(const Pattern* pattern) const {
  for (size_t i = 0; i < library_->patterns.size(); ++i)
    if (library_->patterns[i].get() == pattern) return static_cast<int>(i);
  return -1;
}

bool LibraryDocument::IsBodyNamedElsewhere(const PartBody* body, int exceptRow) const {
  for (int row = 0; row < EntryCount(); ++row)
    if (row != exceptRow && library_->entries[static_cast<size_t>(row)]->body == body) return true;
  return false;
}

EditResult LibraryDocument::Commit(StepKind kind, std::vector<DocumentEdit> edits, DocumentFocus undoFocus,
                                   DocumentFocus redoFocus) {
  if (edits.empty()) return NoChange();
  if (!group_) {
    auto change = std::make_unique<DocumentChange>(kind, std::move(edits), undoFocus, redoFocus);
    change->Redo(*this);
    return EditResult{EditStatus::Done, std::move(change)};
  }
  if (group_->refused) return Refuse();
  for (DocumentEdit& edit : edits) {
    edit.Apply(*this);
    group_->edits.push_back(std::move(edit));
  }
  if (!group_->undoFocus) group_->undoFocus = undoFocus;
  group_->redoFocus = redoFocus;
  return EditResult{EditStatus::Done, nullptr};
}

EditResult LibraryDocument::NoChange() const {
  // Inside a refused group nothing is done any more, not even nothing.
  return EditResult{group_ && group_->refused ? EditStatus::Refused : EditStatus::Unchanged, nullptr};
}

EditResult LibraryDocument::Refuse() {
  if (group_ && !group_->refused) {
    group_->refused = true;
    TakeBackGroup();
  }
  return EditResult{EditStatus::Refused, nullptr};
}

void LibraryDocument::TakeBackGroup() {
  std::vector<DocumentEdit>& edits = group_->edits;
  for (auto it = edits.rbegin(); it != edits.rend(); ++it) it->Apply(*this);
  edits.clear();
}

// --- composite steps ---

bool LibraryDocument::BeginGroup(StepKind kind) {
  if (group_) return false;
  group_ = std::make_unique<Group>();
  group_->kind = kind;
  return true;
}

EditResult LibraryDocument::CommitGroup() {
  if (!group_) return EditResult{EditStatus::Refused, nullptr};
  const std::unique_ptr<Group> group = std::move(group_);
  if (group->refused) return EditResult{EditStatus::Refused, nullptr};
  if (group->edits.empty()) return EditResult{EditStatus::Unchanged, nullptr};
  // Applied already, operation by operation.
  return EditResult{EditStatus::Done, std::make_unique<DocumentChange>(group->kind, std::move(group->edits),
                                                                       *group->undoFocus, group->redoFocus)};
}

void LibraryDocument::AbortGroup() {
  if (!group_) return;
  if (!group_->refused) TakeBackGroup();
  group_.reset();
}

// --- pins ---

EditResult LibraryDocument::EditPin(int row, PinEdge edge, int32_t position,
                                    const std::optional<PinData>& pin) {
  if (!IsPinAddress(row, edge, position)) return Refuse();
  PartBody* body = BodyOf(row);
  if (pin && !IsValidPin(*pin, body->blockCount)) return Refuse();
  const int index = PinIndexAt(*body, edge, position);
  std::vector<DocumentEdit> edits;
  if (index < 0) {
    if (!pin) return NoChange();
    edits.push_back(DocumentEdit::InsertPin(body, static_cast<int>(body->pins.size()),
                                            MakePin(*pin, edge, position, body->blockCount)));
  } else if (!pin) {
    edits.push_back(DocumentEdit::RemovePin(body, index));
  } else {
    const PinInfo& old = *body->pins[static_cast<size_t>(index)];
    if (old.name == pin->name && old.flags == pin->flags && old.numbers == pin->numbers) return NoChange();
    edits.push_back(DocumentEdit::ReplacePin(body, index, *pin));
  }
  const DocumentFocus focus = PinFocus(row, edge, position);
  return Commit(StepKind::EditPin, std::move(edits), focus, focus);
}

EditResult LibraryDocument::InsertBlankPin(int row, PinEdge edge, int32_t position) {
  if (!IsPinAddress(row, edge, position)) return Refuse();
  PartBody* body = BodyOf(row);
  bool moves = false;
  for (const auto& pin : body->pins) {
    if (pin->edge != edge || pin->position < position) continue;
    // Positions end at 255: a pin pushed past it could be neither stored
    // nor reached.
    if (pin->position >= limits::kMaxPosition) return Refuse();
    moves = true;
  }
  if (!moves) return NoChange();
  std::vector<DocumentEdit> edits;
  edits.push_back(DocumentEdit::ShiftPins(body, edge, position, 1));
  const DocumentFocus focus = PinFocus(row, edge, position);
  return Commit(StepKind::InsertBlankPin, std::move(edits), focus, focus);
}

EditResult LibraryDocument::DeletePinAndCloseUp(int row, PinEdge edge, int32_t position) {
  if (!IsPinAddress(row, edge, position)) return Refuse();
  PartBody* body = BodyOf(row);
  std::vector<DocumentEdit> edits;
  bool later = false;
  // Backwards, so each removal leaves the indices of the next ones alone.
  for (int i = static_cast<int>(body->pins.size()) - 1; i >= 0; --i) {
    const PinInfo& pin = *body->pins[static_cast<size_t>(i)];
    if (pin.edge != edge) continue;
    if (pin.position == position) edits.push_back(DocumentEdit::RemovePin(body, i));
    if (pin.position > position) later = true;
  }
  if (later) edits.push_back(DocumentEdit::ShiftPins(body, edge, position + 1, -1));
  const DocumentFocus focus = PinFocus(row, edge, position);
  return Commit(StepKind::DeletePin, std::move(edits), focus, focus);
}

EditResult LibraryDocument::MovePin(int row, PinEdge edge, int32_t position, PinEdge toEdge,
                                    int32_t toPosition) {
  if (!IsPinAddress(row, edge, position) || !IsPinAddress(row, toEdge, toPosition)) return Refuse();
  PartBody* body = BodyOf(row);
  const int index = PinIndexAt(*body, edge, position);
  if (index < 0) return Refuse();
  if (edge == toEdge && position == toPosition) return NoChange();
  if (PinIndexAt(*body, toEdge, toPosition) >= 0) return Refuse();
  const PinInfo& old = *body->pins[static_cast<size_t>(index)];
  auto moved = MakePin(PinData{old.name, old.flags, old.numbers}, toEdge, toPosition, body->blockCount);
  std::vector<DocumentEdit> edits;
  edits.push_back(DocumentEdit::RemovePin(body, index));
  edits.push_back(DocumentEdit::InsertPin(body, index, std::move(moved)));
  return Commit(StepKind::MovePin, std::move(edits), PinFocus(row, edge, position),
                PinFocus(row, toEdge, toPosition));
}

// --- entries ---

EditResult LibraryDocument::MoveEntry(int from, int to) {
  if (!Entry(from) || !Entry(to)) return Refuse();
  if (from == to) return NoChange();
  std::vector<DocumentEdit> edits;
  edits.push_back(DocumentEdit::MoveEntry(from, to));
  return Commit(StepKind::MoveEntry, std::move(edits), RowFocus(from), RowFocus(to));
}

EditResult LibraryDocument::AddPart(int row, const std::string& name, int selected) {
  if (!IsValidPartName(name) || UsedNames().entries.IsNameTaken(name)) return Refuse();
  const int at = row >= 0 && row < EntryCount() ? row : EntryCount();
  auto body = std::make_unique<PartBody>();
  PartBody* raw = body.get();
  std::vector<DocumentEdit> edits;
  edits.push_back(DocumentEdit::InsertBody(static_cast<int>(library_->bodies.size()), std::move(body)));
  edits.push_back(DocumentEdit::InsertEntry(at, std::make_unique<PartEntry>(name, raw)));
  return Commit(StepKind::AddPart, std::move(edits), SelectionFocus(selected, EntryCount()), RowFocus(at));
}

EditResult LibraryDocument::RenameEntry(int row, const std::string& name) {
  const PartEntry* entry = Entry(row);
  if (!entry) return Refuse();
  if (entry->name == name) return NoChange();
  if (!IsValidPartName(name) || UsedNames().entries.IsNameTaken(name)) return Refuse();
  std::vector<DocumentEdit> edits;
  edits.push_back(DocumentEdit::RenameEntry(row, name));
  return Commit(StepKind::RenameEntry, std::move(edits), RowFocus(row), RowFocus(row));
}

EditResult LibraryDocument::AddAlias(int row, const std::string& name) {
  PartBody* body = BodyOf(row);
  if (!body || !IsValidPartName(name) || UsedNames().entries.IsNameTaken(name)) return Refuse();
  std::vector<DocumentEdit> edits;
  edits.push_back(DocumentEdit::InsertEntry(row, std::make_unique<PartEntry>(name, body)));
  return Commit(StepKind::AddAlias, std::move(edits), RowFocus(row), RowFocus(row));
}

EditResult LibraryDocument::DeleteEntry(int row, StepKind kind) {
  PartBody* body = BodyOf(row);
  if (!body) return Refuse();
  std::vector<DocumentEdit> edits;
  edits.push_back(DocumentEdit::RemoveEntry(row));
  if (!IsBodyNamedElsewhere(body, row)) edits.push_back(DocumentEdit::RemoveBody(BodyIndex(body)));
  // The selection stays on the row that follows, or the new last row.
  const int remaining = EntryCount() - 1;
  return Commit(kind, std::move(edits), RowFocus(row), RowFocus(std::min(row, remaining - 1)));
}

EditResult LibraryDocument::PastePart(int row, PastedPart part, int selected) {
  if (part.name.empty() || !part.body || !IsValidBody(*part.body)) return Refuse();
  if (part.newPattern && part.existingPattern) return Refuse();
  if (part.existingPattern && PatternIndex(part.existingPattern) < 0) return Refuse();
  if (part.newPattern && !IsValidPattern(*part.newPattern)) return Refuse();
  const int at = row >= 0 && row < EntryCount() ? row : EntryCount();
  std::vector<DocumentEdit> edits;
  PartBody* body = AppendBodyEdits(*library_, std::move(part.body), std::move(part.newPattern),
                                   part.existingPattern, edits);
  edits.push_back(DocumentEdit::InsertEntry(at, std::make_unique<PartEntry>(part.name, body)));
  return Commit(StepKind::PastePart, std::move(edits), SelectionFocus(selected, EntryCount()), RowFocus(at));
}

EditResult LibraryDocument::InsertPart(int row, InsertedPart part, int selected) {
  if (part.names.empty() || !part.body || !IsValidBody(*part.body)) return Refuse();
  std::unordered_set<std::string> names;
  for (const std::string& name : part.names)
    if (!IsValidPartName(name) || UsedNames().entries.IsNameTaken(name) || !names.insert(name).second)
      return Refuse();
  if (part.newPattern && part.existingPattern) return Refuse();
  if (part.existingPattern && PatternIndex(part.existingPattern) < 0) return Refuse();
  if (part.newPattern &&
      (!IsValidPattern(*part.newPattern) || UsedNames().patterns.IsNameTaken(part.newPattern->name)))
    return Refuse();
  const int at = row >= 0 && row < EntryCount() ? row : EntryCount();
  std::vector<DocumentEdit> edits;
  PartBody* body = AppendBodyEdits(*library_, std::move(part.body), std::move(part.newPattern),
                                   part.existingPattern, edits);
  for (size_t i = 0; i < part.names.size(); ++i)
    edits.push_back(DocumentEdit::InsertEntry(at + static_cast<int>(i),
                                              std::make_unique<PartEntry>(std::move(part.names[i]), body)));
  return Commit(StepKind::InsertPart, std::move(edits), SelectionFocus(selected, EntryCount()), RowFocus(at));
}

// --- bodies and patterns ---

EditResult LibraryDocument::SetAttributes(int row, const PartAttributes& attributes) {
  PartBody* body = BodyOf(row);
  if (!body || !IsValidAttributes(attributes)) return Refuse();
  if (attributes.pattern && PatternIndex(attributes.pattern) < 0) return Refuse();
  if (body->Attributes() == attributes) return NoChange();
  std::vector<DocumentEdit> edits;
  edits.push_back(DocumentEdit::SetAttributes(body, attributes));
  return Commit(StepKind::SetAttributes, std::move(edits), RowFocus(row), RowFocus(row));
}

EditResult LibraryDocument::ReplacePatterns(const std::vector<PatternReplacement>& patterns) {
  // The kept patterns must be ours, each once, in their present order.
  std::unordered_set<const Pattern*> kept;
  int lastIndex = -1;
  for (const PatternReplacement& item : patterns) {
    if (item.original) {
      const int index = PatternIndex(item.original);
      if (index <= lastIndex || !kept.insert(item.original).second) return Refuse();
      lastIndex = index;
      if (!IsValidKeptContent(*item.original, item.content)) return Refuse();
    } else if (!IsValidPatternContent(item.content)) {
      return Refuse();
    }
  }
  for (const auto& body : library_->bodies)
    if (body->pattern && !kept.count(body->pattern)) return Refuse();

  std::vector<DocumentEdit> edits;
  for (int i = static_cast<int>(library_->patterns.size()) - 1; i >= 0; --i)
    if (!kept.count(library_->patterns[static_cast<size_t>(i)].get()))
      edits.push_back(DocumentEdit::RemovePattern(i));
  for (size_t i = 0; i < patterns.size(); ++i) {
    const PatternReplacement& item = patterns[i];
    if (item.original) {
      if (!SameContent(*item.original, item.content))
        edits.push_back(DocumentEdit::SetPatternContent(const_cast<Pattern*>(item.original), item.content));
      continue;
    }
    auto pattern = std::make_unique<Pattern>(item.content.name, item.content.width, item.content.height);
    pattern->bits = item.content.bits;
    edits.push_back(DocumentEdit::InsertPattern(static_cast<int>(i), std::move(pattern)));
  }
  return Commit(StepKind::EditPatterns, std::move(edits), DocumentFocus{}, DocumentFocus{});
}

// --- primitives ---

template <typename Call>
void LibraryDocument::Notify(const Call& call) {
  // A copy: an observer may leave while it is told.
  for (DocumentObserver* observer : std::vector<DocumentObserver*>(observers_)) call(*observer);
}

void LibraryDocument::InsertEntryAt(int row, std::unique_ptr<PartEntry> entry) {
  if (namesMade_) usedNames_.entries.Add(entry->name);
  library_->entries.insert(library_->entries.begin() + row, std::move(entry));
  Notify([row](DocumentObserver& observer) { observer.EntryInserted(row); });
}

std::unique_ptr<PartEntry> LibraryDocument::TakeEntryAt(int row) {
  auto& entries = library_->entries;
  std::unique_ptr<PartEntry> entry = std::move(entries[static_cast<size_t>(row)]);
  entries.erase(entries.begin() + row);
  if (namesMade_) usedNames_.entries.Remove(entry->name);
  Notify([row](DocumentObserver& observer) { observer.EntryRemoved(row); });
  return entry;
}

void LibraryDocument::MoveEntryAt(int from, int to) {
  auto& entries = library_->entries;
  std::unique_ptr<PartEntry> entry = std::move(entries[static_cast<size_t>(from)]);
  entries.erase(entries.begin() + from);
  entries.insert(entries.begin() + to, std::move(entry));
  Notify([from, to](DocumentObserver& observer) { observer.EntryMoved(from, to); });
}

void LibraryDocument::SwapEntryName(int row, std::string& name) {
  PartEntry& entry = *library_->entries[static_cast<size_t>(row)];
  if (namesMade_) {
    usedNames_.entries.Remove(entry.name);
    usedNames_.entries.Add(name);
  }
  std::swap(entry.name, name);
  Notify([row](DocumentObserver& observer) { observer.EntryRenamed(row); });
}

void LibraryDocument::InsertBodyAt(int index, std::unique_ptr<PartBody> body) {
  library_->bodies.insert(library_->bodies.begin() + index, std::move(body));
}

std::unique_ptr<PartBody> LibraryDocument::TakeBodyAt(int index) {
  auto& bodies = library_->bodies;
  std::unique_ptr<PartBody> body = std::move(bodies[static_cast<size_t>(index)]);
  bodies.erase(bodies.begin() + index);
  return body;
}

void LibraryDocument::InsertPatternAt(int index, std::unique_ptr<Pattern> pattern) {
  if (namesMade_) usedNames_.patterns.Add(pattern->name);
  library_->patterns.insert(library_->patterns.begin() + index, std::move(pattern));
  Notify([](DocumentObserver& observer) { observer.PatternsChanged(); });
}

std::unique_ptr<Pattern> LibraryDocument::TakePatternAt(int index) {
  auto& patterns = library_->patterns;
  std::unique_ptr<Pattern> pattern = std::move(patterns[static_cast<size_t>(index)]);
  patterns.erase(patterns.begin() + index);
  if (namesMade_) usedNames_.patterns.Remove(pattern->name);
  Notify([](DocumentObserver& observer) { observer.PatternsChanged(); });
  return pattern;
}

void LibraryDocument::SwapPatternContent(Pattern& pattern, PatternContent& content) {
  if (namesMade_) {
    usedNames_.patterns.Remove(pattern.name);
    usedNames_.patterns.Add(content.name);
  }
  std::swap(pattern.name, content.name);
  std::swap(pattern.width, content.width);
  std::swap(pattern.height, content.height);
  std::swap(pattern.bits, content.bits);
  Notify([](DocumentObserver& observer) { observer.PatternsChanged(); });
}

void LibraryDocument::InsertPinAt(PartBody& body, int index, std::unique_ptr<PinInfo> pin) {
  const PinEdge edge = pin->edge;
  const int32_t position = pin->position;
  body.pins.insert(body.pins.begin() + index, std::move(pin));
  Notify([&](DocumentObserver& observer) { observer.PinChanged(&body, edge, position); });
}

std::unique_ptr<PinInfo> LibraryDocument::TakePinAt(PartBody& body, int index) {
  auto& pins = body.pins;
  std::unique_ptr<PinInfo> pin = std::move(pins[static_cast<size_t>(index)]);
  pins.erase(pins.begin() + index);
  Notify([&](DocumentObserver& observer) { observer.PinChanged(&body, pin->edge, pin->position); });
  return pin;
}

void LibraryDocument::SwapPinData(PartBody& body, int index, PinData& data) {
  // The pin object stays; only what the panel edits changes hands.
  PinInfo& pin = *body.pins[static_cast<size_t>(index)];
  std::swap(pin.name, data.name);
  std::swap(pin.flags, data.flags);
  std::swap(pin.numbers, data.numbers);
  Notify([&](DocumentObserver& observer) { observer.PinChanged(&body, pin.edge, pin.position); });
}

void LibraryDocument::ShiftPinsAt(PartBody& body, PinEdge edge, int32_t from, int32_t delta) {
  for (auto& pin : body.pins)
    if (pin->edge == edge && pin->position >= from) pin->position += delta;
  Notify([&](DocumentObserver& observer) { observer.BodyChanged(&body); });
}

void LibraryDocument::SwapAttributes(PartBody& body, PartAttributes& attributes,
                                     std::vector<PinNumbers>& numbers) {
  if (attributes.blockCount != body.blockCount) {
    const int32_t old = body.blockCount;
    if (numbers.empty()) {
      numbers.reserve(body.pins.size());
      for (const auto& pin : body.pins) numbers.push_back(pin->numbers);
      body.SetBlockCount(attributes.blockCount);
    } else {
      for (size_t i = 0; i < body.pins.size(); ++i) body.pins[i]->numbers = std::move(numbers[i]);
      body.blockCount = attributes.blockCount;
      numbers.clear();
    }
    attributes.blockCount = old;
  }
  std::swap(body.numberPrefix, attributes.numberPrefix);
  std::swap(body.xSize, attributes.xSize);
  std::swap(body.ySize, attributes.ySize);
  std::swap(body.pattern, attributes.pattern);
  Notify([&](DocumentObserver& observer) { observer.BodyChanged(&body); });
}

}  // namespace zanli
