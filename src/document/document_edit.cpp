#include "document/document_edit.h"

#include <type_traits>
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
DocumentEdit DocumentEdit::ReplacePin(PartBody* body, int index, std::unique_ptr<PinInfo> pin) {
  return DocumentEdit(ReplacePinData{body, index, std::move(pin)});
}
DocumentEdit DocumentEdit::ShiftPins(PartBody* body, PinEdge edge, int32_t from, int32_t delta) {
  return DocumentEdit(ShiftPinsData{body, edge, from, delta});
}
DocumentEdit DocumentEdit::SetAttributes(PartBody* body, BodyAttributes attributes) {
  return DocumentEdit(AttributesData{body, std::move(attributes)});
}
DocumentEdit DocumentEdit::SetBlockCount(PartBody* body, int32_t blockCount) {
  return DocumentEdit(BlockCountData{body, blockCount, {}});
}

void DocumentEdit::Apply(LibraryDocument& document) {
  // Each branch performs the edit and leaves its inverse in data_.
  std::visit(
      [&](auto& d) {
        using T = std::decay_t<decltype(d)>;
        if constexpr (std::is_same_v<T, InsertEntryData>) {
          const int row = d.row;
          document.InsertEntryAt(row, std::move(d.entry));
          data_ = RemoveEntryData{row};
        } else if constexpr (std::is_same_v<T, RemoveEntryData>) {
          const int row = d.row;
          data_ = InsertEntryData{row, document.TakeEntryAt(row)};
        } else if constexpr (std::is_same_v<T, MoveEntryData>) {
          document.MoveEntryAt(d.from, d.to);
          std::swap(d.from, d.to);
        } else if constexpr (std::is_same_v<T, RenameEntryData>) {
          d.name = document.SwapEntryName(d.row, std::move(d.name));
        } else if constexpr (std::is_same_v<T, InsertBodyData>) {
          const int index = d.index;
          document.InsertBodyAt(index, std::move(d.body));
          data_ = RemoveBodyData{index};
        } else if constexpr (std::is_same_v<T, RemoveBodyData>) {
          const int index = d.index;
          data_ = InsertBodyData{index, document.TakeBodyAt(index)};
        } else if constexpr (std::is_same_v<T, InsertPatternData>) {
          const int index = d.index;
          document.InsertPatternAt(index, std::move(d.pattern));
          data_ = RemovePatternData{index};
        } else if constexpr (std::is_same_v<T, RemovePatternData>) {
          const int index = d.index;
          data_ = InsertPatternData{index, document.TakePatternAt(index)};
        } else if constexpr (std::is_same_v<T, PatternContentData>) {
          document.SwapPatternContent(*d.pattern, d.content);
        } else if constexpr (std::is_same_v<T, InsertPinData>) {
          auto& pins = d.body->pins;
          pins.insert(pins.begin() + d.index, std::move(d.pin));
          PartBody* body = d.body;
          const int index = d.index;
          data_ = RemovePinData{body, index};
          document.NotifyBodyChanged(body);
        } else if constexpr (std::is_same_v<T, RemovePinData>) {
          auto& pins = d.body->pins;
          std::unique_ptr<PinInfo> pin = std::move(pins[static_cast<size_t>(d.index)]);
          pins.erase(pins.begin() + d.index);
          PartBody* body = d.body;
          data_ = InsertPinData{body, d.index, std::move(pin)};
          document.NotifyBodyChanged(body);
        } else if constexpr (std::is_same_v<T, ReplacePinData>) {
          // The pin object stays; only what the panel edits changes hands.
          PinInfo& pin = *d.body->pins[static_cast<size_t>(d.index)];
          std::swap(pin.name, d.pin->name);
          std::swap(pin.flags, d.pin->flags);
          std::swap(pin.numbers, d.pin->numbers);
          document.NotifyBodyChanged(d.body);
        } else if constexpr (std::is_same_v<T, ShiftPinsData>) {
          for (auto& pin : d.body->pins)
            if (pin->edge == d.edge && pin->position >= d.from) pin->position += d.delta;
          // The pins that moved now start at from + delta; moving them back
          // restores every one, since nothing else stands there.
          d.from += d.delta;
          d.delta = -d.delta;
          document.NotifyBodyChanged(d.body);
        } else if constexpr (std::is_same_v<T, AttributesData>) {
          PartBody& body = *d.body;
          std::swap(body.numberPrefix, d.attributes.numberPrefix);
          std::swap(body.xSize, d.attributes.xSize);
          std::swap(body.ySize, d.attributes.ySize);
          std::swap(body.pattern, d.attributes.pattern);
          document.NotifyBodyChanged(d.body);
        } else if constexpr (std::is_same_v<T, BlockCountData>) {
          PartBody& body = *d.body;
          const int32_t old = body.blockCount;
          if (d.numbers.empty()) {
            std::vector<PinNumbers> saved;
            saved.reserve(body.pins.size());
            for (const auto& pin : body.pins) saved.push_back(pin->numbers);
            body.SetBlockCount(d.blockCount);
            d.numbers = std::move(saved);
          } else {
            for (size_t i = 0; i < body.pins.size(); ++i) body.pins[i]->numbers = std::move(d.numbers[i]);
            body.blockCount = d.blockCount;
            d.numbers.clear();
          }
          d.blockCount = old;
          document.NotifyBodyChanged(d.body);
        }
      },
      data_);
}

}  // namespace zanli
