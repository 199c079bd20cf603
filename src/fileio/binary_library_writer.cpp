#include "fileio/binary_library_writer.h"

#include "fileio/binary_library_layout.h"
#include "fileio/binary_pattern_image.h"
#include "fileio/binary_pin_codec.h"
#include "fileio/little_endian.h"

namespace zanli {

namespace {

using namespace binary_layout;

using Kind = WriteProblem::Kind;

// A model value for a problem report; below 0 reads as 0.
size_t Count(int32_t value) { return value < 0 ? 0 : static_cast<size_t>(value); }

bool InByteRange(int32_t value, int32_t low) { return value >= low && value <= kMaxByteValue; }

uint8_t PinFlagBits(int32_t flags) {
  uint8_t bits = 0;
  if (flags & PinFlag::NumberNearBody) bits |= 0x10;
  if (flags & PinFlag::Clock) bits |= 0x40;
  if (flags & PinFlag::NegativeLogic) bits |= 0x80;
  return bits;
}

}  // namespace

BinaryWriteResult BinaryLibraryWriter::Encode(std::string& out) {
  for (auto step : {&BinaryLibraryWriter::AddPatterns, &BinaryLibraryWriter::AddBodies,
                    &BinaryLibraryWriter::AddEntries}) {
    BinaryWriteResult result = (this->*step)();
    if (result != BinaryWriteResult::Ok) return result;
  }
  const size_t total = kHeaderSize + entryNames_.size() + entryBodies_.size() + records_.size() +
                       patternTable_.size() + patternNames_.size() + bitmaps_.size() + pool_.size();
  if (total > kMaxFileSize) return Refuse(Kind::FileSize, total, kMaxFileSize);
  Assemble(out);
  return BinaryWriteResult::Ok;
}

BinaryWriteResult BinaryLibraryWriter::Refuse(Kind kind, size_t value, size_t limit) {
  problem_.kind = kind;
  problem_.value = static_cast<int64_t>(value);
  problem_.limit = static_cast<int64_t>(limit);
  return kind == Kind::MissingBody ? BinaryWriteResult::Inconsistent : BinaryWriteResult::TooLarge;
}

void BinaryLibraryWriter::Blame(WriteProblem::Subject subject, size_t index, const std::string& name) {
  problem_.subject = subject;
  problem_.index = index;
  problem_.name = name;
}

void BinaryLibraryWriter::BlameBody(const PartBody& body) {
  // A body is known to the user by its part: the first entry naming it.
  for (size_t i = 0; i < library_.entries.size(); ++i)
    if (library_.entries[i]->body == &body)
      return Blame(WriteProblem::Subject::Entry, i, library_.entries[i]->name);
  for (size_t i = 0; i < library_.bodies.size(); ++i)
    if (library_.bodies[i].get() == &body) return Blame(WriteProblem::Subject::Body, i, {});
}

BinaryWriteResult BinaryLibraryWriter::AddPatterns() {
  for (size_t index = 0; index < library_.patterns.size(); ++index) {
    const Pattern* pattern = library_.patterns[index].get();
    Blame(WriteProblem::Subject::Pattern, index, pattern->name);
    uint16_t nameOffset;
    if (!StoreString(pattern->name, nameOffset)) return RefusePool();
    le::PutU16(patternNames_, nameOffset);
    for (int32_t side : {pattern->width, pattern->height})
      if (side < 1 || side > kMaxImageSide) return Refuse(Kind::PatternSize, Count(side), kMaxImageSide);
    const size_t imageSize = BinaryPatternImage::ByteSize(pattern->width, pattern->height);
    if (imageSize > kMaxScratchSize) return Refuse(Kind::PatternImage, imageSize, kMaxScratchSize);
    const std::string full = BinaryPatternImage::Pack(*pattern);
    for (const std::string& image :
         {full, BinaryPatternImage::Reduce(full, 2), BinaryPatternImage::Reduce(full, 5)}) {
      if (bitmaps_.size() + image.size() > kMaxAreaSize)
        return Refuse(Kind::BitmapArea, bitmaps_.size() + image.size(), kMaxAreaSize);
      le::PutU16(patternTable_, static_cast<uint32_t>(bitmaps_.size()));
      bitmaps_ += image;
    }
    // A body naming a pattern listed twice refers to its first place.
    patternIndex_.emplace(pattern, static_cast<uint16_t>(index));
  }
  return BinaryWriteResult::Ok;
}

BinaryWriteResult BinaryLibraryWriter::AddBodies() {
  for (const auto& body : library_.bodies) {
    BinaryWriteResult result = AddBody(*body);
    if (result != BinaryWriteResult::Ok) {
      BlameBody(*body);
      return result;
    }
  }
  return BinaryWriteResult::Ok;
}

BinaryWriteResult BinaryLibraryWriter::AddBody(const PartBody& body) {
  problem_.pinIndex = WriteProblem::kNoPin;
  const int32_t blocks = body.blockCount;
  for (int32_t value : {body.xSize, body.ySize, blocks})
    if (!InByteRange(value, 1)) return Refuse(Kind::BodySize, Count(value), kMaxByteValue);
  if (body.pins.size() > kMaxPins) return Refuse(Kind::PinCount, body.pins.size(), kMaxPins);
  const size_t recordSize =
      kRecordHeadSize + body.pins.size() * (kPinHeadSize + kPinNumberSize * static_cast<size_t>(blocks));
  if (recordSize > kMaxScratchSize) return Refuse(Kind::PartRecord, recordSize, kMaxScratchSize);

  uint16_t prefixOffset;
  if (!StoreString(body.numberPrefix, prefixOffset)) return RefusePool();
  std::string pins;
  uint32_t edgeBits = 0;
  for (size_t index = 0; index < body.pins.size(); ++index) {
    const auto& pin = body.pins[index];
    problem_.pinIndex = index;
    if (!InByteRange(pin->position, 0)) return Refuse(Kind::PinPosition, Count(pin->position), kMaxByteValue);
    const uint32_t edge = static_cast<uint32_t>(pin->edge) & 3;
    edgeBits |= 0x8000u >> edge;
    uint16_t nameOffset = kNone;
    if (!pin->name.empty()) {
      const BinaryWriteResult stored = StorePinName(pin->name, nameOffset);
      if (stored != BinaryWriteResult::Ok) return stored;
    }
    le::PutU8(pins, static_cast<uint32_t>(pin->position));
    le::PutU8(pins, edge | PinFlagBits(pin->flags));
    le::PutU16(pins, nameOffset);
    for (int32_t b = 0; b < blocks; ++b) {
      const size_t i = static_cast<size_t>(b);
      le::PutU16(pins, i < pin->numbers.size() ? BinaryPinCodec::EncodeNumber(pin->numbers[i]) : 0);
    }
  }
  problem_.pinIndex = WriteProblem::kNoPin;
  if (records_.size() + recordSize > kMaxAreaSize)
    return Refuse(Kind::PartRecordArea, records_.size() + recordSize, kMaxAreaSize);

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
  Blame(WriteProblem::Subject::Library, 0, {});
  if (library_.entries.size() > kMaxEntries)
    return Refuse(Kind::EntryCount, library_.entries.size(), kMaxEntries);
  for (size_t index = 0; index < library_.entries.size(); ++index) {
    const PartEntry& entry = *library_.entries[index];
    Blame(WriteProblem::Subject::Entry, index, entry.name);
    uint16_t nameOffset;
    if (!StoreString(entry.name, nameOffset)) return RefusePool();
    le::PutU32(entryNames_, nameOffset);
    const auto record = recordOffset_.find(entry.body);
    if (record == recordOffset_.end()) return Refuse(Kind::MissingBody, 0, 0);
    le::PutU16(entryBodies_, record->second);
  }
  Blame(WriteProblem::Subject::Library, 0, {});
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
  out.append(kMagic);
  out.append(kEntryCountAt - kMagic.size(), '\0');
  le::PutU16(out, static_cast<uint32_t>(library_.entries.size()));
  for (size_t at : {entryNamesAt, entryBodiesAt, recordsAt, patternTableAt, bitmapsAt, poolAt})
    le::PutU32(out, static_cast<uint32_t>(at));
  out.append(kReservedSize, '\0');
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

BinaryWriteResult BinaryLibraryWriter::StorePinName(const std::string& name, uint16_t& offset) {
  if (auto it = storedPinNames_.find(name); it != storedPinNames_.end()) {
    offset = it->second;
    return BinaryWriteResult::Ok;
  }
  const std::string stored = BinaryPinCodec::EncodeName(name);
  if (stored.size() > kMaxStoredPinName) return Refuse(Kind::PinName, stored.size(), kMaxStoredPinName);
  if (!AppendToPool(static_cast<char>(stored.size()) + stored, offset)) return RefusePool();
  storedPinNames_.emplace(name, offset);
  return BinaryWriteResult::Ok;
}

bool BinaryLibraryWriter::AppendToPool(const std::string& bytes, uint16_t& offset) {
  if (pool_.size() + bytes.size() > kMaxAreaSize) {
    poolWanted_ = pool_.size() + bytes.size();
    return false;
  }
  offset = static_cast<uint16_t>(pool_.size());
  pool_ += bytes;
  return true;
}

BinaryWriteResult BinaryLibraryWriter::RefusePool() {
  return Refuse(Kind::StringPool, poolWanted_, kMaxAreaSize);
}

}  // namespace zanli
