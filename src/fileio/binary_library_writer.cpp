#include "fileio/binary_library_writer.h"

#include "fileio/binary_pattern_image.h"
#include "fileio/binary_pin_codec.h"
#include "fileio/little_endian.h"

namespace zanli {

namespace {

constexpr char kMagic[] = "LIB FOR NQ000\x1A";
constexpr size_t kHeaderSize = 54;
constexpr uint16_t kNone = 0xFFFF;
constexpr int32_t kMaxByteValue = 255;
constexpr int32_t kMaxImageSide = 32767;
constexpr size_t kMaxPins = 4095;
constexpr size_t kMaxEntries = 32767;
constexpr size_t kMaxStoredPinName = 127;

bool InByteRange(int32_t value, int32_t low) { return value >= low && value <= kMaxByteValue; }

uint8_t PinFlagBits(int32_t flags) {
  uint8_t bits = 0;
  if (flags & PinFlag::NumberNearBody) bits |= 0x10;
  if (flags & PinFlag::Clock) bits |= 0x40;
  if (flags & PinFlag::NegativeLogic) bits |= 0x80;
  return bits;
}

}  // namespace

BinaryWriteResult BinaryLibraryWriter::Encode(std::string& out, BinaryWriteRefusal* refusal) {
  BinaryWriteResult result = BinaryWriteResult::Ok;
  for (auto step : {&BinaryLibraryWriter::AddPatterns, &BinaryLibraryWriter::AddBodies,
                    &BinaryLibraryWriter::AddEntries}) {
    result = (this->*step)();
    if (result != BinaryWriteResult::Ok) break;
  }
  if (result == BinaryWriteResult::Ok) {
    refusal_ = {};
    const size_t total = kHeaderSize + entryNames_.size() + entryBodies_.size() + records_.size() +
                         patternTable_.size() + patternNames_.size() + bitmaps_.size() + pool_.size();
    if (total > kMaxFileSize)
      result = Refuse(BinaryWriteRefusal::Limit::FileSize, static_cast<int64_t>(total), kMaxFileSize);
    else
      Assemble(out);
  }
  if (refusal) *refusal = result == BinaryWriteResult::Ok ? BinaryWriteRefusal{} : refusal_;
  return result;
}

BinaryWriteResult BinaryLibraryWriter::Refuse(BinaryWriteRefusal::Limit limit, int64_t value,
                                              int64_t maximum) {
  refusal_.limit = limit;
  refusal_.value = value;
  refusal_.maximum = maximum;
  return BinaryWriteResult::TooLarge;
}

BinaryWriteResult BinaryLibraryWriter::AddPatterns() {
  for (size_t index = 0; index < library_.patterns.size(); ++index) {
    const Pattern* pattern = library_.patterns[index].get();
    refusal_.pattern = pattern;
    uint16_t nameOffset;
    if (!StoreString(pattern->name, nameOffset)) return BinaryWriteResult::TooLarge;
    le::PutU16(patternNames_, nameOffset);
    for (int32_t side : {pattern->width, pattern->height})
      if (side < 1 || side > kMaxImageSide)
        return Refuse(BinaryWriteRefusal::Limit::PatternSide, side, kMaxImageSide);
    const size_t imageSize = BinaryPatternImage::ByteSize(pattern->width, pattern->height);
    if (imageSize > kMaxScratchSize)
      return Refuse(BinaryWriteRefusal::Limit::PatternImage, imageSize, kMaxScratchSize);
    const std::string full = BinaryPatternImage::Pack(*pattern);
    if (!AddImage(full, patternTable_) || !AddImage(BinaryPatternImage::Reduce(full, 2), patternTable_) ||
        !AddImage(BinaryPatternImage::Reduce(full, 5), patternTable_))
      return BinaryWriteResult::TooLarge;
    // A body naming a pattern listed twice refers to its first place.
    patternIndex_.emplace(pattern, static_cast<uint16_t>(index));
  }
  return BinaryWriteResult::Ok;
}

bool BinaryLibraryWriter::AddImage(const std::string& image, std::string& table) {
  if (bitmaps_.size() + image.size() > kMaxAreaSize) {
    Refuse(BinaryWriteRefusal::Limit::BitmapArea, bitmaps_.size() + image.size(), kMaxAreaSize);
    return false;
  }
  le::PutU16(table, static_cast<uint32_t>(bitmaps_.size()));
  bitmaps_ += image;
  return true;
}

BinaryWriteResult BinaryLibraryWriter::AddBodies() {
  for (const auto& body : library_.bodies) {
    BinaryWriteResult result = AddBody(*body);
    if (result != BinaryWriteResult::Ok) return result;
  }
  return BinaryWriteResult::Ok;
}

BinaryWriteResult BinaryLibraryWriter::AddBody(const PartBody& body) {
  using Limit = BinaryWriteRefusal::Limit;
  refusal_.pattern = nullptr;
  refusal_.body = &body;
  refusal_.pin = nullptr;
  const int32_t blocks = body.blockCount;
  const struct {
    int32_t value;
    Limit limit;
  } bytes[] = {{body.xSize, Limit::XSize}, {body.ySize, Limit::YSize}, {blocks, Limit::BlockCount}};
  for (const auto& field : bytes)
    if (!InByteRange(field.value, 1)) return Refuse(field.limit, field.value, kMaxByteValue);
  if (body.pins.size() > kMaxPins) return Refuse(Limit::PinCount, body.pins.size(), kMaxPins);
  const size_t recordSize = 12 + body.pins.size() * (4 + 2 * static_cast<size_t>(blocks));
  if (recordSize > kMaxScratchSize) return Refuse(Limit::PartRecordSize, recordSize, kMaxScratchSize);

  uint16_t prefixOffset;
  if (!StoreString(body.numberPrefix, prefixOffset)) return BinaryWriteResult::TooLarge;
  std::string pins;
  uint32_t edgeBits = 0;
  for (const auto& pin : body.pins) {
    refusal_.pin = pin.get();
    if (!InByteRange(pin->position, 0)) return Refuse(Limit::PinPosition, pin->position, kMaxByteValue);
    const uint32_t edge = static_cast<uint32_t>(pin->edge) & 3;
    edgeBits |= 0x8000u >> edge;
    uint16_t nameOffset = kNone;
    if (!pin->name.empty() && !StorePinName(pin->name, nameOffset)) return BinaryWriteResult::TooLarge;
    le::PutU8(pins, static_cast<uint32_t>(pin->position));
    le::PutU8(pins, edge | PinFlagBits(pin->flags));
    le::PutU16(pins, nameOffset);
    for (int32_t b = 0; b < blocks; ++b) {
      const size_t i = static_cast<size_t>(b);
      le::PutU16(pins, i < pin->numbers.size() ? BinaryPinCodec::EncodeNumber(pin->numbers[i]) : 0);
    }
  }
  refusal_.pin = nullptr;
  if (records_.size() + recordSize > kMaxAreaSize)
    return Refuse(Limit::PartRecordArea, records_.size() + recordSize, kMaxAreaSize);

  recordOffset_.emplace(&body, static_cast<uint16_t>(records_.size()));
  const auto pattern = body.pattern ? patternIndex_.find(body.pattern) : patternIndex_.end();
  le::PutU8(records_, static_cast<uint32_t>(body.xSize));
  le::PutU8(records_, static_cast<uint32_t>(body.ySize));
  le::PutU8(records_, static_cast<uint32_t>(blocks));
  records_.append(3, '\0');
  le::PutU16(records_, prefixOffset);
  le::PutU16(records_, pattern != patternIndex_.end() ? pattern->second : kNone);
  le::PutU16(records_, edgeBits | static_cast<uint32_t>(body.pins.size()));
  records_ += pins;
  return BinaryWriteResult::Ok;
}

BinaryWriteResult BinaryLibraryWriter::AddEntries() {
  refusal_.pattern = nullptr;
  refusal_.body = nullptr;
  refusal_.pin = nullptr;
  if (library_.entries.size() > kMaxEntries)
    return Refuse(BinaryWriteRefusal::Limit::EntryCount, library_.entries.size(), kMaxEntries);
  for (const auto& entry : library_.entries) {
    refusal_.entry = entry.get();
    uint16_t nameOffset;
    if (!StoreString(entry->name, nameOffset)) return BinaryWriteResult::TooLarge;
    le::PutU32(entryNames_, nameOffset);
    const auto record = recordOffset_.find(entry->body);
    if (record == recordOffset_.end()) {
      refusal_.limit = BinaryWriteRefusal::Limit::BodyMissing;
      return BinaryWriteResult::Inconsistent;
    }
    le::PutU16(entryBodies_, record->second);
  }
  return BinaryWriteResult::Ok;
}

void BinaryLibraryWriter::Assemble(std::string& out) const {
  const size_t entryNamesAt = kHeaderSize;
  const size_t entryBodiesAt = entryNamesAt + entryNames_.size();
  const size_t recordsAt = entryBodiesAt + entryBodies_.size();
  const size_t patternTableAt = recordsAt + records_.size();
  const size_t bitmapsAt = patternTableAt + patternTable_.size() + patternNames_.size();
  const size_t poolAt = bitmapsAt + bitmaps_.size();

  out.clear();
  out.reserve(poolAt + pool_.size());
  out.append(kMagic, sizeof kMagic - 1);
  out.append(2, '\0');
  le::PutU16(out, static_cast<uint32_t>(library_.entries.size()));
  for (size_t at : {entryNamesAt, entryBodiesAt, recordsAt, patternTableAt, bitmapsAt, poolAt})
    le::PutU32(out, static_cast<uint32_t>(at));
  out.append(12, '\0');
  out += entryNames_;
  out += entryBodies_;
  out += records_;
  out += patternTable_;
  out += patternNames_;
  out += bitmaps_;
  out += pool_;
}

bool BinaryLibraryWriter::StoreString(const std::string& text, uint16_t& offset) {
  // The reader stops at the first NUL, so that is all that can be stored.
  std::string stored(text.c_str());
  if (auto it = storedStrings_.find(stored); it != storedStrings_.end()) {
    offset = it->second;
    return true;
  }
  stored.push_back('\0');
  if (!AppendToPool(stored, offset)) return false;
  stored.pop_back();
  storedStrings_.emplace(std::move(stored), offset);
  return true;
}

bool BinaryLibraryWriter::StorePinName(const std::string& name, uint16_t& offset) {
  if (auto it = storedPinNames_.find(name); it != storedPinNames_.end()) {
    offset = it->second;
    return true;
  }
  const std::string stored = BinaryPinCodec::EncodeName(name);
  if (stored.size() > kMaxStoredPinName) {
    Refuse(BinaryWriteRefusal::Limit::PinNameLength, stored.size(), kMaxStoredPinName);
    return false;
  }
  if (!AppendToPool(static_cast<char>(stored.size()) + stored, offset)) return false;
  storedPinNames_.emplace(name, offset);
  return true;
}

bool BinaryLibraryWriter::AppendToPool(const std::string& bytes, uint16_t& offset) {
  if (pool_.size() + bytes.size() > kMaxAreaSize) {
    Refuse(BinaryWriteRefusal::Limit::StringPool, pool_.size() + bytes.size(), kMaxAreaSize);
    return false;
  }
  offset = static_cast<uint16_t>(pool_.size());
  pool_ += bytes;
  return true;
}

}  // namespace zanli
