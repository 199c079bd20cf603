#include "document/document_edit.h"

#include <utility>

#include "document/library_document.h"

namespace zanli {

DocumentEdit DocumentEdit::InsertEntry(int row, std::unique_ptr<PartEntry> entry) {
  return DocumentEdit(InsertEntryData{row, std::move(entry)});
}
DocumentEdit DocumentEdit::RemoveEntry(int row) { return DocumentEdit(RemoveEntryData{row}); }
DocumentEdit DocumentEdit::MoveEntry(int from, int to) { return DocumentEdit(MoveEntryData{from, to}); }
DocumentEdit DocumentEdit::RenameEntry(int row, std::string name) {
  return DocumentEdit(RenameEntryData{row, std::move(name)});
}
DocumentEdit DocumentEdit::InsertBody(int index, std::unique_ptr<PartBody> body) {
  return DocumentEdit(InsertBodyData{index, std::move(body)});
}
DocumentEdit DocumentEdit::RemoveBody(int index) { return DocumentEdit(RemoveBodyData{index}); }
DocumentEdit DocumentEdit::InsertPattern(int index, std::unique_ptr<Pattern> pattern) {
  return DocumentEdit(InsertPatternData{index, std::move(pattern)});
}
DocumentEdit DocumentEdit::RemovePattern(int index) { return DocumentEdit(RemovePatternData{index}); }
DocumentEdit DocumentEdit::SetPatternContent(Pattern* pattern, PatternContent content) {
  return DocumentEdit(PatternContentData{pattern, std::move(content)});
}
DocumentEdit DocumentEdit::InsertPin(PartBody* body, int index, std::unique_ptr<PinInfo> pin) {
  return DocumentEdit(InsertPinData{body, index, std::move(pin)});
}
DocumentEdit DocumentEdit::RemovePin(PartBody* body, int index) {
  return DocumentEdit(RemovePinData{body, index});
}
DocumentEdit DocumentEdit::ReplacePin(PartBody* body, int index, PinData pin) {
  return DocumentEdit(ReplacePinData{body, index, std::move(pin)});
}
DocumentEdit DocumentEdit::ShiftPins(PartBody* body, PinEdge edge, int32_t from, int32_t delta) {
  return DocumentEdit(ShiftPinsData{body, edge, from, delta});
}
DocumentEdit DocumentEdit::SetAttributes(PartBody* body, PartAttributes attributes) {
  return DocumentEdit(AttributesData{body, std::move(attributes), {}});
}

DocumentEdit DocumentEdit::SwapContents(std::unique_ptr<Library> library) {
  return DocumentEdit(ContentsData{std::move(library)});
}

// The library itself changes only in the document's primitives; each
// function here calls one and answers the edit that takes it back.
struct DocumentEdit::Perform {
  LibraryDocument& document;

  Data operator()(InsertEntryData& d) const {
    document.InsertEntryAt(d.row, std::move(d.entry));
    return RemoveEntryData{d.row};
  }
  Data operator()(RemoveEntryData& d) const { return InsertEntryData{d.row, document.TakeEntryAt(d.row)}; }
  Data operator()(MoveEntryData& d) const {
    document.MoveEntryAt(d.from, d.to);
    return MoveEntryData{d.to, d.from};
  }
  Data operator()(RenameEntryData& d) const {
    document.SwapEntryName(d.row, d.name);
    return std::move(d);
  }
  Data operator()(InsertBodyData& d) const {
    document.InsertBodyAt(d.index, std::move(d.body));
    return RemoveBodyData{d.index};
  }
  Data operator()(RemoveBodyData& d) const { return InsertBodyData{d.index, document.TakeBodyAt(d.index)}; }
  Data operator()(InsertPatternData& d) const {
    document.InsertPatternAt(d.index, std::move(d.pattern));
    return RemovePatternData{d.index};
  }
  Data operator()(RemovePatternData& d) const {
    return InsertPatternData{d.index, document.TakePatternAt(d.index)};
  }
  Data operator()(PatternContentData& d) const {
    document.SwapPatternContent(*d.pattern, d.content);
    return std::move(d);
  }
  Data operator()(InsertPinData& d) const {
    document.InsertPinAt(*d.body, d.index, std::move(d.pin));
    return RemovePinData{d.body, d.index};
  }
  Data operator()(RemovePinData& d) const {
    return InsertPinData{d.body, d.index, document.TakePinAt(*d.body, d.index)};
  }
  Data operator()(ReplacePinData& d) const {
    document.SwapPinData(*d.body, d.index, d.pin);
    return std::move(d);
  }
  Data operator()(ShiftPinsData& d) const {
    document.ShiftPinsAt(*d.body, d.edge, d.from, d.delta);
    // The pins that moved now start at from + delta; moving them back
    // restores every one, since nothing else stands there.
    return ShiftPinsData{d.body, d.edge, d.from + d.delta, -d.delta};
  }
  Data operator()(AttributesData& d) const {
    document.SwapAttributes(*d.body, d.attributes, d.numbers);
    return std::move(d);
  }
  Data operator()(ContentsData& d) const {
    document.SwapContents(*d.library);
    return std::move(d);
  }
};

void DocumentEdit::Apply(LibraryDocument& document) { data_ = std::visit(Perform{document}, data_); }

}  // namespace zanli
