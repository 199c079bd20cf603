#include "fileio/binary_library_reader.h"

#include <iterator>
#include <memory>
#include <unordered_map>

#include "fileio/binary_library_layout.h"
#include "fileio/binary_pattern_image.h"
#include "fileio/binary_pin_codec.h"
#include "fileio/little_endian.h"
#include "model/validity.h"

namespace zanli {

namespace {

namespace layout = binary_layout;

int32_t PinFlagsFromBits(uint8_t bits) {
  int32_t flags = 0;
  if (bits & 0x10) flags |= PinFlag::NumberNearBody;
  if (bits & 0x40) flags |= PinFlag::Clock;
  if (bits & 0x80) flags |= PinFlag::NegativeLogic;
  return flags;
}

}  // namespace

bool BinaryLibraryReader::Read() {
  if (bytes_.empty()) return true;
  if (bytes_.size() < layout::kHeaderSize) return false;
  if (bytes_.substr(0, layout::kMagic.size()) != layout::kMagic) return false;
  const int32_t count = le::I16(bytes_, layout::kEntryCountAt);
  if (count == 0) return true;
  // A real library (at most 65534 bytes) builds a few megabytes at most; what
  // this stops is thousands of references all naming one huge record, image
  // or string.
  budget_ = (size_t{64} << 20) + 64 * bytes_.size();
  patternTableAt_ = le::I32(bytes_, layout::kPatternTableAt);
  bitmapsAt_ = le::I32(bytes_, layout::kBitmapsAt);
  poolAt_ = le::I32(bytes_, layout::kPoolAt);
  if (!Fits(poolAt_, 0)) return false;
  if (!ReadPatterns()) return false;
  return count < 0 || ReadEntries(count);
}

bool BinaryLibraryReader::ReadPatterns() {
  if (!Fits(patternTableAt_, 0) || !Fits(bitmapsAt_, 0)) return false;
  // The table's size is the gap between the two sections; none is no patterns.
  const size_t patterns = bitmapsAt_ > patternTableAt_ ? static_cast<size_t>(bitmapsAt_ - patternTableAt_) /
                                                             layout::kPatternTableStride
                                                       : 0;
  const size_t table = static_cast<size_t>(patternTableAt_);
  for (size_t i = 0; i < patterns; ++i) {
    const int64_t imageAt = bitmapsAt_ + le::U16(bytes_, table + layout::kPatternEntrySize * i);
    if (!Fits(imageAt, BinaryPatternImage::kHeaderSize)) return false;
    const size_t at = static_cast<size_t>(imageAt);
    const int32_t width = le::I16(bytes_, at);
    const int32_t height = le::I16(bytes_, at + 2);
    if (!IsValidSize(width) || !IsValidSize(height)) return false;
    const size_t size = BinaryPatternImage::ByteSize(width, height);
    if (!Fits(imageAt, static_cast<int64_t>(size)) ||
        !Spend(sizeof(Pattern) +
               static_cast<size_t>(Pattern::StrideFor(width)) * static_cast<size_t>(height)))
      return false;
    std::string name;
    const size_t nameAt = table + layout::kPatternEntrySize * patterns + layout::kPatternNameSize * i;
    if (!PoolString(le::U16(bytes_, nameAt), name)) return false;
    auto pattern = std::make_unique<Pattern>(std::move(name), width, height);
    BinaryPatternImage::Unpack(bytes_.substr(at, size), *pattern);
    library_.AddPattern(std::move(pattern));
  }
  return true;
}

bool BinaryLibraryReader::ReadEntries(int32_t count) {
  const int64_t namesAt = le::I32(bytes_, layout::kEntryNamesAt);
  const int64_t bodiesAt = le::I32(bytes_, layout::kEntryBodiesAt);
  const int64_t recordsAt = le::I32(bytes_, layout::kRecordsAt);
  if (!Fits(namesAt, int64_t{layout::kEntryNameSize} * count) ||
      !Fits(bodiesAt, int64_t{layout::kEntryBodySize} * count) || !Fits(recordsAt, 0))
    return false;
  // Equal entry-body values name one body: the first entry is the part.
  std::unordered_map<uint16_t, PartBody*> bodyAt;
  for (size_t i = 0; i < static_cast<size_t>(count); ++i) {
    std::string name;
    if (!PoolString(le::I32(bytes_, static_cast<size_t>(namesAt) + layout::kEntryNameSize * i), name))
      return false;
    const uint16_t recordOffset = le::U16(bytes_, static_cast<size_t>(bodiesAt) + layout::kEntryBodySize * i);
    PartBody*& body = bodyAt[recordOffset];
    if (!body) {
      auto fresh = std::make_unique<PartBody>();
      if (!ReadBody(static_cast<size_t>(recordsAt) + recordOffset, *fresh)) return false;
      body = library_.AddBody(std::move(fresh));
    }
    library_.AddEntry(std::make_unique<PartEntry>(std::move(name), body));
  }
  return true;
}

bool BinaryLibraryReader::ReadBody(size_t at, PartBody& body) {
  if (!Fits(static_cast<int64_t>(at), layout::kRecordHeadSize)) return false;
  body.xSize = le::U8(bytes_, at);
  body.ySize = le::U8(bytes_, at + 1);
  body.blockCount = le::U8(bytes_, at + 2);
  if (!IsValidSize(body.xSize) || !IsValidSize(body.ySize) || !IsValidBlockCount(body.blockCount))
    return false;
  const size_t blocks = static_cast<size_t>(body.blockCount);
  const size_t pinCount = le::U16(bytes_, at + layout::kRecordPinsAt) & layout::kPinCountMask;
  const size_t pinSize = layout::kPinHeadSize + layout::kPinNumberSize * blocks;
  const size_t end = at + layout::kRecordHeadSize + pinCount * pinSize;
  if (!Fits(static_cast<int64_t>(at), static_cast<int64_t>(end - at)) ||
      !Spend(sizeof(PartBody) +
             pinCount * (sizeof(PinInfo) + 2 * sizeof(void*) + blocks * sizeof(std::string))))
    return false;
  if (!PoolString(le::U16(bytes_, at + layout::kRecordPrefixAt), body.numberPrefix)) return false;
  const uint16_t patternIndex = le::U16(bytes_, at + layout::kRecordPatternAt);
  if (patternIndex != layout::kNone) {
    if (patternIndex >= library_.patterns.size()) return false;
    body.pattern = library_.patterns[patternIndex].get();
  }
  std::vector<std::string> numbers(blocks);
  for (size_t p = 0; p < pinCount; ++p) {
    const size_t pinAt = at + layout::kRecordHeadSize + p * pinSize;
    auto pin = std::make_unique<PinInfo>(body.blockCount);
    pin->position = le::U8(bytes_, pinAt);
    const uint8_t bits = le::U8(bytes_, pinAt + 1);
    pin->edge = static_cast<PinEdge>(bits & 3);
    pin->flags = PinFlagsFromBits(bits);
    const uint16_t nameOffset = le::U16(bytes_, pinAt + 2);
    if (nameOffset != layout::kNone && !PoolPinName(nameOffset, pin->name)) return false;
    for (size_t b = 0; b < blocks; ++b) {
      const size_t numberAt = pinAt + layout::kPinHeadSize + layout::kPinNumberSize * b;
      numbers[b] = BinaryPinCodec::DecodeNumber(le::U16(bytes_, numberAt));
    }
    pin->numbers = numbers;
    body.AddPin(std::move(pin));
  }
  return true;
}

bool BinaryLibraryReader::Fits(int64_t at, int64_t length) const {
  return at >= 0 && length >= 0 && at <= static_cast<int64_t>(bytes_.size()) &&
         length <= static_cast<int64_t>(bytes_.size()) - at;
}

bool BinaryLibraryReader::Spend(size_t bytes) {
  if (bytes > budget_) {
    overBudget_ = true;
    return false;
  }
  budget_ -= bytes;
  return true;
}

bool BinaryLibraryReader::PoolString(int64_t offset, std::string& out) {
  if (offset < 0 || !Fits(poolAt_ + offset, 1)) return false;
  const std::string_view rest = bytes_.substr(static_cast<size_t>(poolAt_ + offset));
  const size_t length = rest.find('\0');
  if (length == std::string_view::npos || !Spend(length)) return false;
  out.assign(rest.substr(0, length));
  return true;
}

bool BinaryLibraryReader::PoolPinName(int64_t offset, std::string& out) {
  const int64_t at = poolAt_ + offset;
  if (!Fits(at, 1)) return false;
  // The length byte is signed: 0 and anything above 127 mean no name.
  const int8_t length = static_cast<int8_t>(le::U8(bytes_, static_cast<size_t>(at)));
  if (length <= 0) {
    out.clear();
    return true;
  }
  if (!Fits(at + 1, length) || !Spend(2 * static_cast<size_t>(length))) return false;
  out = BinaryPinCodec::DecodeName(bytes_.substr(static_cast<size_t>(at) + 1, static_cast<size_t>(length)));
  return true;
}

}  // namespace zanli
