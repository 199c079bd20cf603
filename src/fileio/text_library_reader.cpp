#include "fileio/text_library_reader.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <limits>
#include <utility>

#include "model/validity.h"

namespace zanli {

namespace {

// A key field splits at its first colon; without a key it is ignored.
inline bool SplitKey(std::string_view field, char& key, std::string_view& value) {
  // Only one-letter keys mean anything; longer ones are unknown keys.
  if (field.size() < 2 || field[1] != ':') return false;
  key = field[0];
  value = field.substr(2);
  return true;
}

// ParseInt for its common case, a few plain digits, without the call. One
// or two digits, as most sizes and pin places have, are read without a
// branch on which: that varies from pin to pin.
inline int32_t ReadInt(std::string_view text) {
  if (text.size() - 1 < 2) {
    const unsigned first = static_cast<unsigned char>(text[0]) - unsigned{'0'};
    const unsigned last = static_cast<unsigned char>(text[text.size() - 1]) - unsigned{'0'};
    if ((first | last) > 9) return TextLibraryReader::ParseInt(text);
    return static_cast<int32_t>(text.size() == 2 ? first * 10 + last : first);
  }
  if (text.empty() || text.size() > 9) return TextLibraryReader::ParseInt(text);
  int32_t value = 0;
  for (char c : text) {
    const unsigned digit = static_cast<unsigned char>(c) - unsigned{'0'};
    if (digit > 9) return TextLibraryReader::ParseInt(text);
    value = value * 10 + static_cast<int32_t>(digit);
  }
  return value;
}

// Edges come in no order, so a table rather than a chain of tests that
// would miss its guesses; any other letter is the bottom edge.
inline PinEdge EdgeOf(char letter) {
  static constexpr auto kEdges = [] {
    std::array<PinEdge, 256> edges{};
    edges.fill(PinEdge::Bottom);
    edges['L'] = PinEdge::Left;
    edges['T'] = PinEdge::Top;
    edges['R'] = PinEdge::Right;
    return edges;
  }();
  return kEdges[static_cast<uint8_t>(letter)];
}

// What a letter of a pin's "T" field sets: its flag, or kHiddenMark.
constexpr uint32_t kHiddenMark = 0x10000;
inline uint32_t PinMarksOf(char letter) {
  static constexpr auto kMarks = [] {
    std::array<uint32_t, 256> marks{};
    marks['C'] = PinFlag::Clock;
    marks['N'] = PinFlag::NegativeLogic;
    marks['S'] = PinFlag::NumberNearBody;
    marks['m'] = kHiddenMark;
    return marks;
  }();
  return kMarks[static_cast<uint8_t>(letter)];
}

// Equality with a short field of known size, as a single compare of that
// many bytes: the reader asks it of every block opening and closing, a
// million times each for a large library, where a loop or a library call
// would cost more than the bytes.
inline bool SameField(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::memcmp(a.data(), b.data(), b.size()) == 0;
}

// `out = value`, by fixed-size moves when the value is short and `readable`
// bytes from its start may be read: the string's own assignment branches on
// the length, which for a million pin names of every length goes wrong
// often enough to cost a tenth of the read.
inline void AssignShort(std::string& out, std::string_view value, size_t readable) {
  constexpr size_t kShort = 15;  // what any string holds without a heap block
  if (value.size() > kShort || readable < kShort) {
    out = value;
    return;
  }
  out.assign(kShort, '\0');  // a fixed size, so no branch on the old one either
  std::memcpy(out.data(), value.data(), kShort);
  out.resize(value.size());
}

// The name index starts with room for one part per this many bytes of
// text, a little more than a part with a few pins takes, so that a large
// library is not indexed again each time the index doubles; libraries of
// smaller parts still grow it.
constexpr size_t kTextBytesPerPart = 512;

inline bool IsOpening(std::string_view field) { return !field.empty() && field[0] == '+'; }
inline bool IsClosing(std::string_view field) { return !field.empty() && field[0] == '-'; }

}  // namespace

TextLibraryReader::TextLibraryReader(std::string_view bytes, Library& library)
    : lines_(bytes),
      library_(library),
      budget_(bytes.size()),
      partsByName_(bytes.size() / kTextBytesPerPart) {}

TextLibraryReader::TextLibraryReader(TextLineReader::Source& source, size_t inputBytes, Library& library,
                                     size_t chunkBytes)
    : lines_(source, chunkBytes),
      library_(library),
      budget_(inputBytes),
      partsByName_(inputBytes / kTextBytesPerPart) {}

void TextLibraryReader::SendTo(TextLibrarySink& sink) {
  sink_ = &sink;
  scratchBody_ = std::make_unique<PartBody>();
}

inline bool TextLibraryReader::Spend(size_t bytes) {
  if (!budget_.Spend(bytes)) overBudget_ = true;
  return !overBudget_;
}

int32_t TextLibraryReader::ParseInt(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r'))) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  constexpr int64_t kLimit = int64_t{std::numeric_limits<int32_t>::max()} + 1;
  int64_t value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
    if (value < kLimit) value = value * 10 + (text[i] - '0');
  if (negative) value = -value;
  if (value > std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
  if (value < std::numeric_limits<int32_t>::min()) return std::numeric_limits<int32_t>::min();
  return static_cast<int32_t>(value);
}

inline bool TextLibraryReader::NextField(std::string_view& field, std::string_view knownBlock) {
  if (!lines_.ReadField(field)) return false;
  return !IsOpening(field) || SameField(field, knownBlock) || SkipBlocks(field, knownBlock);
}

bool TextLibraryReader::SkipBlocks(std::string_view& field, std::string_view knownBlock) {
  do {
    if (!lines_.SkipBlock(field) || !lines_.ReadField(field)) return false;
  } while (IsOpening(field) && field != knownBlock);
  return true;
}

TextLibraryReader::Status TextLibraryReader::Read() {
  std::string_view field;
  if (!lines_.ReadField(field) || field != kHeader) return Status::Malformed;
  while (lines_.ReadField(field)) {
    // Anything but a block at this level (the trailer, stray closing fields,
    // key fields) carries nothing; the trailer is not even required, but a
    // block after it means the file goes on and may be cut off after all.
    // Decided before the block is read, which moves the field's bytes.
    if (!IsOpening(field)) {
      if (field == kTrailer) trailerLast_ = true;
      continue;
    }
    trailerLast_ = false;
    bool ok = true;
    if (field == "+PTN")
      ok = ReadPattern();
    else if (field == "+COMP")
      ok = ReadPart();
    else if (field == "+ALIAS")
      ok = ReadAlias();
    else
      ok = lines_.SkipBlock(field);
    if (!ok) return overBudget_ ? Status::OverBudget : stopped_ ? Status::Stopped : Status::Malformed;
  }
  return Status::Ok;
}

bool TextLibraryReader::ReadPattern() {
  std::string name;
  int32_t x = 0;
  int32_t y = 0;
  bool haveBitmap = false;
  int32_t width = 0;
  int32_t height = 0;
  std::vector<uint8_t> bits;
  std::string_view field;
  for (;;) {
    if (!NextField(field, "+BMP")) return false;
    if (IsOpening(field)) {
      if (x > kMaxSize || y > kMaxSize) return false;
      if (x > 0 && y > 0 && !name.empty() && !haveBitmap) {
        if (!Spend(TextLibraryBudget::PatternCost(x, y)) || !ReadBitmap(x, y, bits)) return false;
        haveBitmap = true;
        width = x;
        height = y;
      } else if (!lines_.SkipBlock(field)) {
        return false;
      }
      continue;
    }
    if (IsClosing(field)) {
      if (field != "-PTN" || !haveBitmap) return false;
      break;
    }
    char key;
    std::string_view value;
    if (!SplitKey(field, key, value) || value.empty()) continue;
    if (key == 'N')
      name = value;
    else if (key == 'X')
      x = ParseInt(value);
    else if (key == 'Y')
      y = ParseInt(value);
  }
  if (!Spend(TextLibraryBudget::StringCost(name.size()))) return false;
  auto pattern = std::make_unique<Pattern>(std::move(name), 0, 0);
  pattern->width = width;
  pattern->height = height;
  pattern->bits = std::move(bits);
  Pattern* added = library_.AddPattern(std::move(pattern));
  patternsByName_.Insert(added->name, added);
  if (sink_ && !sink_->TakePattern(*added, library_.patterns.size() - 1)) stopped_ = true;
  return !stopped_;
}

bool TextLibraryReader::ReadBitmap(int32_t width, int32_t height, std::vector<uint8_t>& bits) {
  const size_t stride = static_cast<size_t>(Pattern::StrideFor(width));
  const size_t used = static_cast<size_t>((width + 7) / 8);
  bits.assign(stride * static_cast<size_t>(height), 0);  // may throw std::bad_alloc
  int32_t row = 0;
  std::string_view field;
  for (;;) {
    if (!NextField(field)) return false;
    if (IsClosing(field)) return field == "-BMP";
    // Every other field is a row, key fields and empty ones included.
    if (row >= height) continue;
    uint8_t* out = bits.data() + static_cast<size_t>(row) * stride;
    const size_t pairs = std::min(field.size() / 2, used);
    for (size_t i = 0; i < pairs; ++i) {
      const unsigned high = static_cast<uint8_t>(field[2 * i]) - 0x40u;
      const unsigned low = static_cast<uint8_t>(field[2 * i + 1]) - 0x40u;
      out[i] = high < 16 && low < 16 ? static_cast<uint8_t>(high << 4 | low) : 0;
    }
    ++row;
  }
}

bool TextLibraryReader::ReadPart() {
  std::string name;
  std::string prefix = "U";
  std::string patternName;
  int32_t x = 0;
  int32_t y = 0;
  int32_t blocks = 0;
  pins_.clear();
  std::string_view field;
  for (;;) {
    if (!NextField(field, "+PIN")) return false;
    if (IsOpening(field)) {
      if (x < 1 || y < 1 || blocks < 1) return false;
      // Charged once it is read: a pin at most overdraws the budget by itself.
      auto pin = std::make_unique<PinInfo>(blocks);
      size_t numbers = 0;
      if (!ReadPin(blocks, *pin, numbers) ||
          !Spend(TextLibraryBudget::PinCost() + TextLibraryBudget::StringCost(pin->name.size()) + numbers))
        return false;
      pins_.push_back(std::move(pin));
      continue;
    }
    if (IsClosing(field)) {
      if (!SameField(field, "-COMP") || name.empty() || x < 1 || y < 1 || blocks < 1) return false;
      break;
    }
    char key;
    std::string_view value;
    if (!SplitKey(field, key, value)) continue;
    switch (key) {
      case 'N':
        name = value;
        // The entry goes into the index once the pins are read; by then
        // its slot is in the cache.
        partsByName_.Prefetch(name);
        break;
      case 'R':
        prefix = value;
        break;
      case 'P':
        patternName = value;
        break;
      case 'X':
      case 'Y': {
        const int32_t size = ReadInt(value);
        if (size < 0 || size > kMaxSize) return false;
        (key == 'X' ? x : y) = size;
        break;
      }
      case 'B': {
        // Given once: a second "B" fails even with the same value, but a
        // "B:0" leaves the count unset.
        if (blocks != 0) return false;
        const int32_t count = ReadInt(value);
        if (count < 0 || count > kMaxBlocks) return false;
        blocks = count;
        break;
      }
      default:
        break;
    }
  }
  if (!Spend(TextLibraryBudget::BodyCost() + TextLibraryBudget::StringCost(prefix.size()))) return false;
  std::unique_ptr<PartBody> made = sink_ ? nullptr : std::make_unique<PartBody>();
  PartBody& body = made ? *made : *scratchBody_;
  body.numberPrefix = std::move(prefix);
  body.xSize = x;
  body.ySize = y;
  body.blockCount = blocks;
  // Only patterns read so far count: a later block does not serve.
  body.pattern = patternName.empty() ? nullptr : patternsByName_.Find(patternName);
  body.pins.assign(std::make_move_iterator(pins_.begin()), std::make_move_iterator(pins_.end()));
  pins_.clear();
  return AddEntry(std::move(name), made ? library_.AddBody(std::move(made)) : &body);
}

bool TextLibraryReader::ReadPin(int32_t blocks, PinInfo& pin, size_t& numberCost) {
  bool hidden = false;
  // Numbers go straight into the pin while they fit there; blocks without
  // an "M" field keep an empty number.
  size_t filled = 0;
  size_t textBytes = 0;
  bool collecting = false;
  // A pin is a line of fields: find their ends at once.
  lines_.ScanAhead();
  std::string_view field;
  for (;;) {
    if (!NextField(field)) return false;
    if (IsClosing(field)) {
      if (!SameField(field, "-PIN")) return false;
      numberCost += TextLibraryBudget::NumbersCost(static_cast<size_t>(blocks), textBytes);
      if (collecting) SetNumbers(blocks, pin);
      return true;
    }
    char key;
    std::string_view value;
    // Empty values count for nothing; "T:" is left to its case, which needs
    // no test for it.
    if (!SplitKey(field, key, value) || (value.empty() && key != 'T')) continue;
    switch (key) {
      case 'N':
        AssignShort(pin.name, value, lines_.ReadableFrom(value.data()));
        break;
      case 'L': {
        pin.edge = EdgeOf(value[0]);
        const int32_t position = ReadInt(value.substr(1));
        if (IsValidPinPlace(pin.edge, position)) pin.position = position;
        break;
      }
      case 'T': {
        // Most pins have no mark or one, and which varies from pin to pin:
        // up to one is read without a branch on which. The byte after an
        // empty value is the separator that ended it, which marks nothing.
        uint32_t marks = 0;
        if (value.size() <= 1 && lines_.ReadableFrom(value.data()) >= 1)
          marks = PinMarksOf(value.data()[0]);
        else
          for (char c : value) marks |= PinMarksOf(c);
        pin.flags |= static_cast<int32_t>(marks & ~kHiddenMark);
        hidden |= (marks & kHiddenMark) != 0;
        break;
      }
      case 'M':
        if (filled < static_cast<size_t>(blocks)) {
          const char mark = hidden ? 'H' : 'D';
          textBytes += 1 + value.size();
          const size_t index = filled++;
          if (!collecting && pin.numbers.FillInOrder(index, mark, value)) break;
          if (!collecting) {
            collecting = true;
            numberText_.clear();
            numberEnds_.clear();
            for (size_t i = 0; i < index; ++i) {
              numberText_.append(pin.numbers[i]);
              numberEnds_.push_back(numberText_.size());
            }
          }
          numberText_.push_back(mark);
          numberText_.append(value);
          numberEnds_.push_back(numberText_.size());
        }
        break;
      default:
        break;
    }
  }
}

void TextLibraryReader::SetNumbers(int32_t blocks, PinInfo& pin) {
  // Blocks without an "M" field keep an empty number.
  numberViews_.assign(static_cast<size_t>(blocks), std::string_view());
  size_t begin = 0;
  for (size_t i = 0; i < numberEnds_.size(); ++i) {
    numberViews_[i] = std::string_view(numberText_).substr(begin, numberEnds_[i] - begin);
    begin = numberEnds_[i];
  }
  pin.numbers.Assign(numberViews_);
}

bool TextLibraryReader::ReadAlias() {
  std::string partName;
  std::string aliasName;
  std::string_view field;
  for (;;) {
    if (!NextField(field)) return false;
    if (IsClosing(field)) {
      if (field != "-ALIAS" || partName.empty() || aliasName.empty()) return false;
      break;
    }
    char key;
    std::string_view value;
    if (!SplitKey(field, key, value) || value.empty()) continue;
    if (key == 'N')
      partName = value;
    else if (key == 'A')
      aliasName = value;
  }
  // Entries added by earlier aliases count too, so an alias of an alias
  // shares the part's body. An unknown name adds nothing.
  const size_t part = partsByName_.Find(partName, kNoPart);
  return part == kNoPart || AddEntry(std::move(aliasName), nullptr, part);
}

bool TextLibraryReader::AddEntry(std::string name, PartBody* body, size_t part) {
  if (!Spend(TextLibraryBudget::EntryCost() + TextLibraryBudget::StringCost(name.size()))) return false;
  const size_t index = entryCount_++;
  if (part == kNoPart) part = index;
  if (!sink_) {
    if (!body) body = library_.entries[part]->body;
    PartEntry* entry = library_.AddEntry(std::make_unique<PartEntry>(std::move(name), body));
    partsByName_.Insert(entry->name, part);
    return true;
  }
  partsByName_.Insert(KeepName(name), part);
  if (!sink_->TakeEntry(index, name, part, body)) {
    stopped_ = true;
    return false;
  }
  // The pins go back to their pool for the next part's.
  if (body) body->pins.clear();
  return true;
}

std::string_view TextLibraryReader::KeepName(std::string_view name) {
  constexpr size_t kBlockBytes = size_t{64} << 10;
  if (!nameFree_ || name.size() > nameRoom_) {
    const size_t size = std::max(kBlockBytes, name.size());
    std::unique_ptr<char[]> block(new char[size]);
    nameBlocks_.push_back(std::move(block));
    nameFree_ = nameBlocks_.back().get();
    nameRoom_ = size;
  }
  const std::string_view kept(nameFree_, name.size());
  std::memcpy(nameFree_, name.data(), name.size());
  nameFree_ += name.size();
  nameRoom_ -= name.size();
  return kept;
}

}  // namespace zanli
