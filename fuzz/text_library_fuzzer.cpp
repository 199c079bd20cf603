// Reads arbitrary bytes as a text library. Whatever is accepted must write
// out in a stable form: the checked writer takes it (or finds it too large
// for the reader), the written bytes read back into a library of the same
// shape, and writing that again gives the same bytes. Read a few bytes at a
// time through a small window, as files are, the bytes must give the same
// library or the same refusal; reading back what the writer writes
// without holding it must give what reading the written bytes gives; and a
// reader that hands each part to a sink as it reads it must hand over what
// the library read whole holds.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "fileio/text_library_format.h"
#include "fileio/text_library_reader.h"

namespace {

class PieceSource : public zanli::TextLineReader::Source {
 public:
  PieceSource(std::string_view bytes, size_t piece) : bytes_(bytes), piece_(piece) {}
  size_t Read(char* out, size_t size) override {
    const size_t n = std::min({size, piece_, bytes_.size()});
    bytes_.copy(out, n);
    bytes_.remove_prefix(n);
    return n;
  }

 private:
  std::string_view bytes_;
  size_t piece_;
};

// An entry as text: its place, name and part, and for a part its body
// with the pattern's place in `patterns` and every pin.
std::string EntryText(const zanli::Library& patterns, size_t index, std::string_view name, size_t part,
                      const zanli::PartBody* body) {
  std::string s = std::to_string(index) + ' ' + std::string(name) + ' ' + std::to_string(part);
  if (!body) return s;
  size_t pattern = 0;
  while (pattern < patterns.patterns.size() && patterns.patterns[pattern].get() != body->pattern) ++pattern;
  s += ' ' + body->numberPrefix + ' ' + std::to_string(body->xSize) + 'x' + std::to_string(body->ySize) +
       'b' + std::to_string(body->blockCount) + 'p' + (body->pattern ? std::to_string(pattern) : "-");
  for (const auto& pin : body->pins) {
    s += '|' + std::to_string(static_cast<int>(pin->edge)) + ':' + std::to_string(pin->position) + ' ' +
         pin->name + ' ' + std::to_string(pin->flags);
    for (std::string_view number : pin->numbers) s.append(" ").append(number);
  }
  return s;
}

class RecordingSink : public zanli::TextLibrarySink {
 public:
  explicit RecordingSink(const zanli::Library& patterns) : patterns_(patterns) {}
  bool TakePattern(zanli::Pattern&, size_t index) override {
    if (index != patterns) std::abort();
    ++patterns;
    return true;
  }
  bool TakeEntry(size_t index, std::string_view name, size_t part, const zanli::PartBody* body) override {
    entries.push_back(EntryText(patterns_, index, name, part, body));
    return true;
  }
  size_t patterns = 0;
  std::vector<std::string> entries;

 private:
  const zanli::Library& patterns_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace zanli;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const ReadResult read = TextLibraryFormat::Decode(bytes);

  const size_t window = size > 0 ? 1 + data[size - 1] % 13 : 1;
  PieceSource source(bytes, 1 + window / 3);
  Library streamed;
  TextLibraryReader reader(source, size, streamed, window);
  const TextLibraryReader::Status status = reader.Read();
  if ((status == TextLibraryReader::Status::Ok) != read.Ok()) std::abort();
  if (read.Ok() && (reader.MissingTrailer() != read.missingTrailer ||
                    TextLibraryFormat::WriteBytes(streamed) != TextLibraryFormat::WriteBytes(*read.library)))
    std::abort();
  if (!read.Ok() &&
      (status == TextLibraryReader::Status::OverBudget) != (read.failure == ReadFailure::OverBudget))
    std::abort();

  Library patternsOnly;
  RecordingSink sink(patternsOnly);
  TextLibraryReader sending(bytes, patternsOnly);
  sending.SendTo(sink);
  if ((sending.Read() == TextLibraryReader::Status::Ok) != read.Ok()) std::abort();
  if (!read.Ok()) return 0;
  const Library& library = *read.library;
  if (sink.patterns != library.patterns.size() || patternsOnly.patterns.size() != sink.patterns ||
      !patternsOnly.entries.empty() || !patternsOnly.bodies.empty() ||
      sink.entries.size() != library.entries.size())
    std::abort();
  std::map<const PartBody*, size_t> partOf;
  for (size_t i = 0; i < library.entries.size(); ++i) {
    const PartEntry& entry = *library.entries[i];
    const size_t part = partOf.emplace(entry.body, i).first->second;
    if (sink.entries[i] != EntryText(library, i, entry.name, part, part == i ? entry.body : nullptr))
      std::abort();
  }
  if (library.entries.size() < library.bodies.size()) std::abort();
  std::string first;
  std::vector<WriteProblem> problems;
  const WriteFailure written = TextLibraryFormat::Encode(library, first, problems);
  ReadResult back;
  std::vector<WriteProblem> backProblems;
  if (TextLibraryFormat::ReadBack(library, back, backProblems) != written) std::abort();
  if (written == WriteFailure::TooLarge) return 0;
  if (written != WriteFailure::None) std::abort();  // what the reader took, the writer must write
  const ReadResult again = TextLibraryFormat::Decode(first);
  if (!again.Ok() || again.missingTrailer) std::abort();
  if (again.library->patterns.size() != library.patterns.size() ||
      again.library->bodies.size() != library.bodies.size() ||
      again.library->entries.size() != library.entries.size())
    std::abort();
  if (TextLibraryFormat::WriteBytes(*again.library) != first) std::abort();
  if (!back.Ok() || TextLibraryFormat::WriteBytes(*back.library) != first) std::abort();
  return 0;
}
