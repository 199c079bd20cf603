// Feeds arbitrary bytes to the clipboard block reader as another process
// could. A block that is accepted must survive being built again: the second
// decode has to carry exactly what the first did.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "clipboard/part_clipboard_block.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using zanli::PartClipboardBlock;
  PartClipboardBlock::Part first;
  if (!PartClipboardBlock::Read(std::string_view(reinterpret_cast<const char*>(data), size), first)) return 0;
  if (!first.body || first.body->pattern) std::abort();
  first.body->pattern = first.pattern.get();
  const std::string rebuilt = PartClipboardBlock::Build(first.name, *first.body);
  first.body->pattern = nullptr;
  PartClipboardBlock::Part second;
  if (!PartClipboardBlock::Read(rebuilt, second)) std::abort();
  if (!PartClipboardBlock::SameContent(first, second)) std::abort();
  return 0;
}
