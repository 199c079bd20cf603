#pragma once

#include <memory>
#include <string>
#include <vector>

#include "model/part_body.h"
#include "model/part_entry.h"
#include "model/pattern.h"
#include "model/pin_info.h"

namespace zanli {

// The one open library: it owns every pattern, body and entry.
class Library final {
 public:
  static constexpr const char* kUntitled = "Untitled.LIB";

  Library();
  ~Library();
  Library(const Library&) = delete;
  Library& operator=(const Library&) = delete;

  // Destroys all contents and resets the file fields to an untitled library.
  void Clear();

  Pattern* AddPattern(std::unique_ptr<Pattern> pattern);
  PartBody* AddBody(std::unique_ptr<PartBody> body);
  PartEntry* AddEntry(std::unique_ptr<PartEntry> entry);

  std::vector<std::unique_ptr<Pattern>> patterns;
  std::vector<std::unique_ptr<PartBody>> bodies;
  std::vector<std::unique_ptr<PartEntry>> entries;
  std::string fileTitle;
  std::string filePath;
  bool hasFilePath = false;
};

}  // namespace zanli
