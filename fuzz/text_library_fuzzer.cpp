// Reads arbitrary bytes as a text library. Whatever is accepted must write
// out in a stable form: the written bytes read back into a library of the
// same shape, and writing that again gives the same bytes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "fileio/text_library_format.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  zanli::Library library;
  if (!zanli::TextLibraryFormat::ReadBytes(std::string_view(reinterpret_cast<const char*>(data), size),
                                           library))
    return 0;
  if (library.entries.size() < library.bodies.size()) std::abort();
  const std::string first = zanli::TextLibraryFormat::WriteBytes(library);
  if (first.empty()) std::abort();
  zanli::Library again;
  if (!zanli::TextLibraryFormat::ReadBytes(first, again)) std::abort();
  if (again.patterns.size() != library.patterns.size() || again.bodies.size() != library.bodies.size() ||
      again.entries.size() != library.entries.size())
    std::abort();
  if (zanli::TextLibraryFormat::WriteBytes(again) != first) std::abort();
  return 0;
}
