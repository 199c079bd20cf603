// Reads arbitrary bytes as a text library. Whatever is accepted must write
// out in a stable form: the checked writer takes it (or finds it too large
// for the reader), the written bytes read back into a library of the same
// shape, and writing that again gives the same bytes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "fileio/text_library_format.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace zanli;
  const ReadResult read =
      TextLibraryFormat::Decode(std::string_view(reinterpret_cast<const char*>(data), size));
  if (!read.Ok()) return 0;
  const Library& library = *read.library;
  if (library.entries.size() < library.bodies.size()) std::abort();
  std::string first;
  std::vector<WriteProblem> problems;
  const WriteFailure written = TextLibraryFormat::Encode(library, first, problems);
  if (written == WriteFailure::TooLarge) return 0;
  if (written != WriteFailure::None) std::abort();  // what the reader took, the writer must write
  const ReadResult again = TextLibraryFormat::Decode(first);
  if (!again.Ok() || again.missingTrailer) std::abort();
  if (again.library->patterns.size() != library.patterns.size() ||
      again.library->bodies.size() != library.bodies.size() ||
      again.library->entries.size() != library.entries.size())
    std::abort();
  if (TextLibraryFormat::WriteBytes(*again.library) != first) std::abort();
  return 0;
}
