#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// Little-endian integer access for the fixed-layout binary library. Readers
// check bounds before calling; these only assemble and split the bytes.
namespace zanli::le {

inline uint8_t U8(std::string_view bytes, size_t at) { return static_cast<uint8_t>(bytes[at]); }

inline uint16_t U16(std::string_view bytes, size_t at) {
  return static_cast<uint16_t>(U8(bytes, at) | (U8(bytes, at + 1) << 8));
}

inline int16_t I16(std::string_view bytes, size_t at) { return static_cast<int16_t>(U16(bytes, at)); }

inline int32_t I32(std::string_view bytes, size_t at) {
  return static_cast<int32_t>(static_cast<uint32_t>(U16(bytes, at)) |
                              (static_cast<uint32_t>(U16(bytes, at + 2)) << 16));
}

inline void PutU8(std::string& out, uint32_t value) { out.push_back(static_cast<char>(value & 0xFF)); }

inline void PutU16(std::string& out, uint32_t value) {
  PutU8(out, value);
  PutU8(out, value >> 8);
}

inline void PutU32(std::string& out, uint32_t value) {
  PutU16(out, value);
  PutU16(out, value >> 16);
}

}  // namespace zanli::le
