#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>

#include "fileio/binary_library_format.h"
#include "model/library.h"

namespace zanli {

// Builds the bytes of a binary library in memory. Everything the format
// cannot hold faithfully is refused with TooLarge rather than cut down, and
// the checks run in the order the sections are built (patterns, bodies,
// entries, then the whole size), so the first problem found decides.
class BinaryLibraryWriter {
 public:
  static constexpr size_t kMaxFileSize = 0xFFFE;
  static constexpr size_t kMaxAreaSize = 64000;     // part records, bitmaps, strings
  static constexpr size_t kMaxScratchSize = 32000;  // one image or one part record

  explicit BinaryLibraryWriter(const Library& library) : library_(library) {}

  // The file's bytes, or the refusal with its detail in `refusal` if given.
  BinaryWriteResult Encode(std::string& out, BinaryWriteRefusal* refusal = nullptr);

 private:
  BinaryWriteResult AddPatterns();
  BinaryWriteResult AddBodies();
  BinaryWriteResult AddBody(const PartBody& body);
  BinaryWriteResult AddEntries();
  void Assemble(std::string& out) const;
  // Notes the limit met by the element in refusal_ and answers TooLarge.
  BinaryWriteResult Refuse(BinaryWriteRefusal::Limit limit, int64_t value, int64_t maximum);

  bool AddImage(const std::string& image, std::string& table);
  // Pool offset of a NUL-terminated string; false when the pool is full.
  bool StoreString(const std::string& text, uint16_t& offset);
  // Pool offset of a length-prefixed pin name; false when it cannot be stored.
  bool StorePinName(const std::string& name, uint16_t& offset);
  bool AppendToPool(const std::string& bytes, uint16_t& offset);

  const Library& library_;
  std::string entryNames_;
  std::string entryBodies_;
  std::string records_;
  std::string patternTable_;
  std::string patternNames_;
  std::string bitmaps_;
  std::string pool_;
  std::unordered_map<const Pattern*, uint16_t> patternIndex_;
  std::unordered_map<const PartBody*, uint16_t> recordOffset_;
  // Strings already in the pool, one table per encoding.
  std::unordered_map<std::string, uint16_t> storedStrings_;
  std::unordered_map<std::string, uint16_t> storedPinNames_;
  // The element being stored, and after a refusal the limit it met.
  BinaryWriteRefusal refusal_;
};

}  // namespace zanli
