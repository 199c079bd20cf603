#include "model/library.h"

namespace zanli {

Library::Library() { Clear(); }

Library::~Library() {
  // Entries refer to bodies and bodies to patterns: drop the referrers first.
  entries.clear();
  bodies.clear();
  patterns.clear();
}

void Library::Clear() {
  // The lists' own arrays go too: a cleared library holds nothing of its
  // former size.
  entries = decltype(entries)();
  bodies = decltype(bodies)();
  patterns = decltype(patterns)();
  filePath = kUntitled;
  fileTitle = kUntitled;
  hasFilePath = false;
}

Pattern* Library::AddPattern(std::unique_ptr<Pattern> pattern) {
  patterns.push_back(std::move(pattern));
  return patterns.back().get();
}

PartBody* Library::AddBody(std::unique_ptr<PartBody> body) {
  bodies.push_back(std::move(body));
  return bodies.back().get();
}

PartEntry* Library::AddEntry(std::unique_ptr<PartEntry> entry) {
  entries.push_back(std::move(entry));
  return entries.back().get();
}

}  // namespace zanli
