#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>

#include "fileio/binary_library_format.h"
#include "fileio/library_file_result.h"
#include "model/library.h"

namespace zanli {

// Builds the bytes of a binary library in memory. Everything the format
// cannot hold faithfully is refused with TooLarge rather than cut down, and
// the checks run in the order the sections are built (patterns, bodies,
// entries, then the whole size), so the first problem found decides; Problem
// says which limit it was and where.
class BinaryLibraryWriter {
 public:
  explicit BinaryLibraryWriter(const Library& library) : library_(library) {}

  BinaryWriteResult Encode(std::string& out);
  // After a refusal: the limit passed and the pattern, entry or body concerned.
  const WriteProblem& Problem() const { return problem_; }

 private:
  BinaryWriteResult AddPatterns();
  BinaryWriteResult AddBodies();
  BinaryWriteResult AddBody(const PartBody& body);
  BinaryWriteResult AddEntries();
  void Assemble(std::string& out) const;

  BinaryWriteResult Refuse(WriteProblem::Kind kind, size_t value, size_t limit);
  BinaryWriteResult RefusePool();
  void Blame(WriteProblem::Subject subject, size_t index, const std::string& name);
  void BlameBody(const PartBody& body);

  // Pool offset of a NUL-terminated string; false when the pool is full.
  bool StoreString(const std::string& text, uint16_t& offset);
  // Pool offset of a length-prefixed pin name, or the refusal.
  BinaryWriteResult StorePinName(const std::string& name, uint16_t& offset);
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
  size_t poolWanted_ = 0;  // the pool size a refused string would have made
  WriteProblem problem_;
};

}  // namespace zanli
