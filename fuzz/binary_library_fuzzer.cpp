// Reads arbitrary bytes as a binary library. Whatever is accepted must encode
// to a stable form: reading that encoding back and encoding it again gives
// the same bytes. A library without entries is the exception: its file holds
// an entry count of 0, which reads back as an empty library.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "fileio/binary_library_format.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  zanli::Library library;
  if (!zanli::BinaryLibraryFormat::ReadBytes(std::string_view(reinterpret_cast<const char*>(data), size),
                                             library))
    return 0;
  std::string first;
  if (zanli::BinaryLibraryFormat::Encode(library, first) != zanli::BinaryWriteResult::Ok) return 0;
  zanli::Library again;
  if (!zanli::BinaryLibraryFormat::ReadBytes(first, again)) std::abort();
  if (library.entries.empty()) {
    if (!again.patterns.empty() || !again.bodies.empty() || !again.entries.empty()) std::abort();
    return 0;
  }
  std::string second;
  if (zanli::BinaryLibraryFormat::Encode(again, second) != zanli::BinaryWriteResult::Ok) std::abort();
  if (first != second) std::abort();
  return 0;
}
