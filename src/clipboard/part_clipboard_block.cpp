#include "clipboard/part_clipboard_block.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string>
#include <utility>
#include <vector>

#include "model/validity.h"
#include "resources/message_texts.h"

namespace zanli {

namespace {

constexpr uint64_t kPinRecordBase = 16;
constexpr uint64_t kMaxBlockBytes = static_cast<uint64_t>(std::numeric_limits<int32_t>::max());

void PutInt32(std::string& block, size_t at, int32_t value) {
  const uint32_t v = static_cast<uint32_t>(value);
  for (size_t i = 0; i < 4; ++i) block[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
}

int32_t GetInt32(std::string_view block, uint64_t at) {
  uint32_t v = 0;
  for (size_t i = 0; i < 4; ++i)
    v |= static_cast<uint32_t>(static_cast<unsigned char>(block[static_cast<size_t>(at) + i])) << (8 * i);
  return static_cast<int32_t>(v);
}

uint64_t PinRecordSize(uint64_t blockCount) { return kPinRecordBase + 4 * blockCount; }

uint64_t BitmapSize(int32_t width, int32_t height) {
  if (width <= 0 || height <= 0) return 0;
  return static_cast<uint64_t>(Pattern::StrideFor(width)) * static_cast<uint64_t>(height);
}

// Appends a NUL-terminated string to the block and returns its offset.
int32_t AppendString(std::string& block, std::string_view text) {
  const size_t offset = block.size();
  const size_t nul = text.find('\0');
  if (nul != std::string_view::npos) text = text.substr(0, nul);
  block.append(text);
  block.push_back('\0');
  // Beyond the 32-bit range Build gives up on the whole block anyway.
  return offset <= kMaxBlockBytes ? static_cast<int32_t>(offset) : 0;
}

// Takes the string at `offset`: it must start inside the block and end with a
// NUL inside it. Offsets may share a string; `budget` is what the strings
// taken so far have left of the bytes a block may decode to, so thousands of
// offsets that all name one long string cannot multiply it without bound.
using Refusal = PartClipboardBlock::Refusal;
Refusal TakeString(std::string_view block, int32_t offset, size_t& budget, std::string& out) {
  if (offset < 0 || static_cast<uint64_t>(offset) >= block.size()) return Refusal::StringOutside;
  const size_t start = static_cast<size_t>(offset);
  const void* nul = std::memchr(block.data() + start, 0, block.size() - start);
  if (nul == nullptr) return Refusal::StringOutside;
  const size_t length = static_cast<size_t>(static_cast<const char*>(nul) - (block.data() + start));
  if (length >= budget) return Refusal::StringsTooLarge;
  budget -= length + 1;
  out.assign(block.data() + start, length);
  return Refusal::None;
}

// What the strings of a block of `size` bytes may decode to.
size_t StringBound(size_t size) { return (size_t{16} << 20) + 16 * size; }

bool InRange(int32_t value, int32_t low, int32_t high) { return value >= low && value <= high; }

bool SamePin(const PinInfo& a, const PinInfo& b) {
  return a.name == b.name && a.flags == b.flags && a.edge == b.edge && a.position == b.position &&
         a.numbers == b.numbers;
}

bool SameBody(const PartBody& a, const PartBody& b) {
  if (a.numberPrefix != b.numberPrefix || a.xSize != b.xSize || a.ySize != b.ySize ||
      a.blockCount != b.blockCount || a.pins.size() != b.pins.size())
    return false;
  for (size_t i = 0; i < a.pins.size(); ++i)
    if (!SamePin(*a.pins[i], *b.pins[i])) return false;
  return true;
}

}  // namespace

std::string PartClipboardBlock::Build(std::string_view entryName, const PartBody& body) {
  const uint64_t blocks = body.blockCount > 0 ? static_cast<uint64_t>(body.blockCount) : 0;
  const uint64_t pinCount = body.pins.size();
  const Pattern* pattern = body.pattern;
  const uint64_t pinsSize = pinCount * PinRecordSize(blocks);
  const uint64_t bitmapSize = pattern ? BitmapSize(pattern->width, pattern->height) : 0;
  const uint64_t fixedSize = kHeaderSize + pinsSize + (pattern ? kPatternRecordSize + bitmapSize : 0);
  if (pinCount > kMaxBlockBytes || fixedSize > kMaxBlockBytes) return {};

  std::string block(static_cast<size_t>(fixedSize), '\0');
  PutInt32(block, 0, AppendString(block, entryName));
  PutInt32(block, 4, AppendString(block, body.numberPrefix));
  PutInt32(block, 8, body.xSize);
  PutInt32(block, 12, body.ySize);
  PutInt32(block, 16, body.blockCount);
  PutInt32(block, 20, static_cast<int32_t>(pinCount));

  size_t at = kHeaderSize;
  for (const auto& pin : body.pins) {
    PutInt32(block, at, AppendString(block, pin->name));
    PutInt32(block, at + 4, pin->flags);
    PutInt32(block, at + 8, static_cast<int32_t>(pin->edge));
    PutInt32(block, at + 12, pin->position);
    at += kPinRecordBase;
    for (uint64_t k = 0; k < blocks; ++k, at += 4)
      PutInt32(block, at,
               AppendString(block, k < pin->numbers.size() ? std::string_view(pin->numbers[k]) : ""));
  }

  if (pattern) {
    PutInt32(block, 24, static_cast<int32_t>(at));
    PutInt32(block, at + 4, pattern->width);
    PutInt32(block, at + 8, pattern->height);
    const size_t copied = static_cast<size_t>(std::min<uint64_t>(bitmapSize, pattern->bits.size()));
    if (copied > 0) std::memcpy(block.data() + at + kPatternRecordSize, pattern->bits.data(), copied);
    PutInt32(block, at, AppendString(block, pattern->name));
  }

  if (block.size() > kMaxBlockBytes) return {};
  return block;
}

bool PartClipboardBlock::Read(std::string_view block, Part& out) {
  Refusal refusal = Refusal::None;
  return Read(block, out, refusal);
}

bool PartClipboardBlock::Read(std::string_view block, Part& out, Refusal& refusal) {
  const auto refuse = [&](Refusal why) {
    refusal = why;
    return false;
  };
  const uint64_t size = block.size();
  if (size < kHeaderSize) return refuse(Refusal::TooShort);
  const int32_t nameOffset = GetInt32(block, 0);
  const int32_t prefixOffset = GetInt32(block, 4);
  const int32_t xSize = GetInt32(block, 8);
  const int32_t ySize = GetInt32(block, 12);
  const int32_t blockCount = GetInt32(block, 16);
  const int32_t pinCount = GetInt32(block, 20);
  const int32_t patternOffset = GetInt32(block, 24);
  if (!IsValidSize(xSize) || !IsValidSize(ySize)) return refuse(Refusal::BodySize);
  if (!IsValidBlockCount(blockCount)) return refuse(Refusal::BlockCount);

  // Checked before anything is allocated, so a huge count costs nothing.
  const uint64_t recordSize = PinRecordSize(static_cast<uint64_t>(blockCount));
  if (pinCount < 0 || kHeaderSize + static_cast<uint64_t>(pinCount) * recordSize > size)
    return refuse(Refusal::PinCount);

  // Far beyond what any built block needs (it stores every string once).
  size_t budget = StringBound(block.size());
  std::string name;
  auto body = std::make_unique<PartBody>();
  if (const Refusal why = TakeString(block, nameOffset, budget, name); why != Refusal::None)
    return refuse(why);
  if (const Refusal why = TakeString(block, prefixOffset, budget, body->numberPrefix); why != Refusal::None)
    return refuse(why);
  body->xSize = xSize;
  body->ySize = ySize;
  body->blockCount = blockCount;
  body->pins.reserve(static_cast<size_t>(pinCount));

  uint64_t at = kHeaderSize;
  std::vector<std::string> numbers(static_cast<size_t>(blockCount));
  for (int32_t i = 0; i < pinCount; ++i) {
    auto pin = std::make_unique<PinInfo>(blockCount);
    const int32_t edge = GetInt32(block, at + 8);
    pin->flags = GetInt32(block, at + 4);
    pin->position = GetInt32(block, at + 12);
    // The block carries positions as far as sides go; whether a library may
    // hold them is the paste's question.
    if (!InRange(edge, 0, 3)) return refuse(Refusal::PinEdge);
    if (!InRange(pin->position, 0, limits::kMaxSize)) return refuse(Refusal::PinPosition);
    pin->edge = static_cast<PinEdge>(edge);
    if (const Refusal why = TakeString(block, GetInt32(block, at), budget, pin->name); why != Refusal::None)
      return refuse(why);
    at += kPinRecordBase;
    for (int32_t k = 0; k < blockCount; ++k, at += 4)
      if (const Refusal why = TakeString(block, GetInt32(block, at), budget, numbers[static_cast<size_t>(k)]);
          why != Refusal::None)
        return refuse(why);
    pin->numbers = numbers;
    body->pins.push_back(std::move(pin));
  }

  std::unique_ptr<Pattern> pattern;
  if (patternOffset != 0) {
    const uint64_t record = static_cast<uint64_t>(patternOffset);
    if (patternOffset < 0 || record + kPatternRecordSize > size) return refuse(Refusal::PatternRecord);
    const int32_t width = GetInt32(block, record + 4);
    const int32_t height = GetInt32(block, record + 8);
    if (!IsValidSize(width) || !IsValidSize(height)) return refuse(Refusal::PatternSize);
    const uint64_t bitmapSize = BitmapSize(width, height);
    if (record + kPatternRecordSize + bitmapSize > size) return refuse(Refusal::PatternBitmap);
    std::string patternName;
    if (const Refusal why = TakeString(block, GetInt32(block, record), budget, patternName);
        why != Refusal::None)
      return refuse(why);
    pattern = std::make_unique<Pattern>(std::move(patternName), width, height);
    std::memcpy(pattern->bits.data(), block.data() + record + kPatternRecordSize,
                static_cast<size_t>(bitmapSize));
  }

  out.name = std::move(name);
  out.body = std::move(body);
  out.pattern = std::move(pattern);
  refusal = Refusal::None;
  return true;
}

std::string PartClipboardBlock::Why(Refusal refusal, size_t blockSize) {
  const auto fill = [](const char* text, uint64_t limit) {
    std::string out(text);
    const size_t at = out.find("%1");
    return at == std::string::npos ? out : out.replace(at, 2, std::to_string(limit));
  };
  switch (refusal) {
    case Refusal::None:
      break;
    case Refusal::TooShort:
      return fill(texts::kBlockTooShort, kHeaderSize);
    case Refusal::BodySize:
      return fill(texts::kBlockBodySize, limits::kMaxSize);
    case Refusal::BlockCount:
      return fill(texts::kBlockBlockCount, limits::kMaxBlocks);
    case Refusal::PinCount:
      return texts::kBlockPinCount;
    case Refusal::PinEdge:
      return texts::kBlockPinEdge;
    case Refusal::PinPosition:
      return fill(texts::kBlockPinPosition, limits::kMaxSize);
    case Refusal::StringOutside:
      return texts::kBlockStringOutside;
    case Refusal::StringsTooLarge:
      return fill(texts::kBlockStringsTooLarge, StringBound(blockSize));
    case Refusal::PatternRecord:
      return texts::kBlockPatternRecord;
    case Refusal::PatternSize:
      return fill(texts::kBlockPatternSize, limits::kMaxSize);
    case Refusal::PatternBitmap:
      return texts::kBlockPatternBitmap;
  }
  return {};
}

bool PartClipboardBlock::SameContent(const Part& a, const Part& b) {
  if (a.name != b.name || !a.body != !b.body || !a.pattern != !b.pattern) return false;
  if (a.body && !SameBody(*a.body, *b.body)) return false;
  if (a.pattern && (a.pattern->name != b.pattern->name || a.pattern->width != b.pattern->width ||
                    a.pattern->height != b.pattern->height || a.pattern->bits != b.pattern->bits))
    return false;
  return true;
}

}  // namespace zanli
