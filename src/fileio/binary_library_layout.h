#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

// The fixed layout of a binary library, shared by its reader and writer.
// All integers are little-endian; every area but the string pool is addressed
// with 16-bit offsets, which is what keeps the format small.
namespace zanli::binary_layout {

inline constexpr std::string_view kMagic{"LIB FOR NQ000\x1A", 14};

// Header fields: byte offsets within the 54-byte header.
inline constexpr size_t kHeaderSize = 54;
inline constexpr size_t kEntryCountAt = 16;  // int16
inline constexpr size_t kEntryNamesAt = 18;  // int32 file offsets from here on
inline constexpr size_t kEntryBodiesAt = 22;
inline constexpr size_t kRecordsAt = 26;
inline constexpr size_t kPatternTableAt = 30;
inline constexpr size_t kBitmapsAt = 34;  // also the end of the pattern table
inline constexpr size_t kPoolAt = 38;
inline constexpr size_t kReservedSize = 12;  // three int32 written as 0

inline constexpr size_t kEntryNameSize = 4;  // int32 pool offset per entry
inline constexpr size_t kEntryBodySize = 2;  // uint16 record offset per entry

// Part record: a 12-byte head, then pins of 4 + 2 × blocks bytes each.
inline constexpr size_t kRecordHeadSize = 12;
inline constexpr size_t kRecordPrefixAt = 6;   // uint16 pool offset
inline constexpr size_t kRecordPatternAt = 8;  // uint16 pattern index or kNone
inline constexpr size_t kRecordPinsAt = 10;    // low 12 bits pin count, high 4 bits edges
inline constexpr uint16_t kPinCountMask = 0x0FFF;
inline constexpr size_t kPinHeadSize = 4;    // position, edge and flags, name offset
inline constexpr size_t kPinNumberSize = 2;  // one uint16 per block
inline constexpr uint16_t kNone = 0xFFFF;    // no pattern, no pin name

// Pattern table: per pattern three uint16 image offsets, then per pattern a
// uint16 name offset; its length gives the pattern count.
inline constexpr size_t kPatternEntrySize = 6;
inline constexpr size_t kPatternNameSize = 2;
inline constexpr size_t kPatternTableStride = kPatternEntrySize + kPatternNameSize;

// What the writer keeps to, so that every 16-bit offset reaches its target.
inline constexpr size_t kMaxFileSize = 0xFFFE;
inline constexpr size_t kMaxAreaSize = 64000;     // part records, bitmaps, strings
inline constexpr size_t kMaxScratchSize = 32000;  // one image or one part record
inline constexpr size_t kMaxPins = 4095;
inline constexpr size_t kMaxEntries = 32767;
inline constexpr size_t kMaxStoredPinName = 127;  // the length byte is signed
inline constexpr int32_t kMaxByteValue = 255;     // sizes, block count, pin position
inline constexpr int32_t kMaxImageSide = 32767;

// The largest file the reader takes. This writer makes at most kMaxFileSize
// bytes, and since every area but the string pool is reached through 16-bit
// offsets, a file from any writer stays within a few hundred kilobytes.
// Refusing anything larger before reading it keeps a huge file from costing
// its size in memory.
inline constexpr size_t kMaxReadSize = size_t{16} << 20;

}  // namespace zanli::binary_layout
