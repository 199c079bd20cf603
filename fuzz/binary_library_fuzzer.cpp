// Reads arbitrary bytes as a binary library. Whatever is accepted must encode
// to a file that reads back, and after one round trip the encoding is stable:
// reading it and encoding again gives the same bytes. (The first round may
// still change bytes: names the writer stores alike, such as "AB" and a raw
// "AB\\", are shared only once they are equal in the model.) A library without
// entries is the exception: its file holds an entry count of 0, which reads
// back as an empty library. Written as text instead, it is either refused
// with the reasons named or read back by the text reader.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "fileio/binary_library_format.h"
#include "fileio/text_library_format.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  zanli::Library library;
  if (!zanli::BinaryLibraryFormat::ReadBytes(std::string_view(reinterpret_cast<const char*>(data), size),
                                             library))
    return 0;
  std::string text;
  std::vector<zanli::WriteProblem> problems;
  switch (zanli::TextLibraryFormat::Encode(library, text, problems)) {
    case zanli::WriteFailure::None:
      if (!zanli::TextLibraryFormat::Decode(text).Ok()) std::abort();
      break;
    case zanli::WriteFailure::Unreadable:
    case zanli::WriteFailure::TooLarge:
      if (problems.empty()) std::abort();
      break;
    default:
      std::abort();
  }
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
  zanli::Library third;
  if (!zanli::BinaryLibraryFormat::ReadBytes(second, third)) std::abort();
  std::string stable;
  if (zanli::BinaryLibraryFormat::Encode(third, stable) != zanli::BinaryWriteResult::Ok) std::abort();
  if (second != stable) std::abort();
  return 0;
}
