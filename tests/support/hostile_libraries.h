#pragma once

// Small files that ask for much work after they are read: the inputs the
// bounded checker, save check and renderer are measured and tested with.
// Written byte by byte, not through the writers, which refuse some of them.
#include <cstdint>
#include <string>

namespace zanli::testing {

// A text library of one part whose name is `nameLength` bytes and whose
// `pins` unnamed pins all sit at the left edge's position 0: every pin but
// the first is a problem, and every problem names the part. 32,000 and
// 4,000 make 76 KB; 32,000 and 36,400 make 432 KB.
inline std::string TextPartWithPinsAtOnePlace(size_t nameLength, size_t pins) {
  std::string text =
      "+VELD3_LIB_V.1.0\r\n+COMP,N:" + std::string(nameLength, 'A') + "\r\nX:4,Y:4,B:1\r\nR:U\r\n";
  text.reserve(text.size() + 11 * pins + 32);
  for (size_t i = 0; i < pins; ++i) text += "+PIN,-PIN\r\n";
  return text + "-COMP\r\n-VELD3_LIB_V.1.0\r\n";
}

// A text library of one part `x` by `y` grid steps named "BIG": 80 bytes
// whose drawing, at 3264 × 3264, would be 32761 pixels square.
inline std::string TextPartOfSize(int32_t x, int32_t y) {
  return "+VELD3_LIB_V.1.0\r\n+COMP,N:BIG\r\nX:" + std::to_string(x) + ",Y:" + std::to_string(y) +
         ",B:1\r\nR:U\r\n-COMP\r\n-VELD3_LIB_V.1.0\r\n";
}

// A binary library of one part whose name is `nameLength` bytes (in the
// string pool, which the reader takes up to its file bound) and whose
// `pins` pins (at most 4095) sit at the left edge's position 0, all
// numbered 1. 200,000 and 4,095 make 224 KB.
inline std::string BinaryPartWithPinsAtOnePlace(size_t nameLength, size_t pins) {
  const auto put16 = [](std::string& out, size_t at, uint32_t v) {
    out[at] = static_cast<char>(v & 0xFF);
    out[at + 1] = static_cast<char>((v >> 8) & 0xFF);
  };
  const auto put32 = [&](std::string& out, size_t at, uint32_t v) {
    put16(out, at, v & 0xFFFF);
    put16(out, at + 2, v >> 16);
  };
  constexpr size_t kNames = 54, kBodies = 58, kRecord = 60, kPin = 6;
  const size_t pool = kRecord + 12 + kPin * pins;
  std::string file(pool, '\0');
  file.replace(0, 14, std::string("LIB FOR NQ000\x1A", 14));
  put16(file, 16, 1);  // one entry
  for (const auto& [at, value] : {std::pair<size_t, size_t>{18, kNames},
                                  {22, kBodies},
                                  {26, kRecord},
                                  {30, pool},
                                  {34, pool},
                                  {38, pool}})
    put32(file, at, static_cast<uint32_t>(value));
  put32(file, kNames, 1);  // the name follows the empty prefix in the pool
  put16(file, kBodies, 0);
  file[kRecord] = file[kRecord + 1] = file[kRecord + 2] = 1;  // 1 × 1, one block
  put16(file, kRecord + 6, 0);                                // prefix ""
  put16(file, kRecord + 8, 0xFFFF);                           // no pattern
  put16(file, kRecord + 10, static_cast<uint32_t>(pins));
  for (size_t i = 0; i < pins; ++i) {
    const size_t at = kRecord + 12 + kPin * i;
    put16(file, at + 2, 0xFFFF);  // no name
    put16(file, at + 4, 1);       // number 1
  }
  file.push_back('\0');
  file.append(nameLength, 'A');
  file.push_back('\0');
  return file;
}

// A clipboard block whose `pins` pin names all name one string of
// `nameLength` bytes: small, but it would decode to pins × nameLength.
inline std::string ClipboardBlockSharingOneName(size_t nameLength, size_t pins) {
  const auto put32 = [](std::string& out, size_t at, uint32_t v) {
    for (size_t i = 0; i < 4; ++i) out[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
  };
  constexpr size_t kHeader = 28, kPin = 20;
  const size_t strings = kHeader + kPin * pins;
  std::string block(strings, '\0');
  put32(block, 0, static_cast<uint32_t>(strings));  // the part's name: the empty string
  put32(block, 4, static_cast<uint32_t>(strings));  // its prefix: the same
  put32(block, 8, 4);
  put32(block, 12, 4);
  put32(block, 16, 1);
  put32(block, 20, static_cast<uint32_t>(pins));
  for (size_t i = 0; i < pins; ++i) {
    put32(block, kHeader + kPin * i, static_cast<uint32_t>(strings + 1));   // the long name
    put32(block, kHeader + kPin * i + 16, static_cast<uint32_t>(strings));  // number ""
  }
  block.push_back('\0');
  block.append(nameLength, 'N');
  block.push_back('\0');
  return block;
}

}  // namespace zanli::testing
