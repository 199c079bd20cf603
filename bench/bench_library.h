#pragma once

// The generated library shared by the benchmarks.
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "model/library.h"

namespace zanli::bench {

inline constexpr int kParts = 100000;

// A fixed pseudo-random sequence, so every run measures the same library.
class Sequence {
 public:
  uint32_t Next() {
    state_ = state_ * 1664525u + 1013904223u;
    return state_ >> 8;
  }
  uint32_t Below(uint32_t n) { return Next() % n; }

 private:
  uint32_t state_ = 12345;
};

inline const char* const kPrefixes[] = {"74HC", "74LS", "CD", "OPA", "REG", "MCU", "DRV", "ADC", "DAC", "IF"};
inline const char* const kPinNames[] = {
    "A",   "B",     "Y",      "\\C\\L\\R", "CLK",    "D0",    "D1",     "D2",   "D3",   "Q0",  "Q1",   "Q2",
    "Q3",  "\\Q",   "\\O\\E", "\\W\\R",    "\\R\\D", "EN",    "VCC",    "GND",  "IN+",  "IN-", "OUT",  "SDA",
    "SCL", "ADDR0", "ADDR1",  "TXD",       "RXD",    "RESET", "\\C\\S", "MOSI", "MISO", "SCK", "VREF", "NC"};

// The 100,000-part library every benchmark of a whole library measures:
// multi-block parts, aliases, patterns, 8 to 12 pins per part. A smaller
// `parts` gives the same library's first parts.
inline void BuildBenchLibrary(Library& library, int parts = kParts) {
  Sequence random;
  std::vector<Pattern*> patterns;
  for (int i = 0; i < 40; ++i) {
    const int32_t x = 2 + static_cast<int32_t>(random.Below(5));
    const int32_t y = 2 + static_cast<int32_t>(random.Below(5));
    char name[16];
    std::snprintf(name, sizeof name, "PT%02d", i);
    auto pattern = std::make_unique<Pattern>(name, 10 * x + 1, 10 * y + 1);
    for (auto& byte : pattern->bits) byte = static_cast<uint8_t>(random.Next());
    patterns.push_back(library.AddPattern(std::move(pattern)));
  }
  for (int i = 0; i < parts; ++i) {
    auto body = std::make_unique<PartBody>();
    body->xSize = 4 + static_cast<int32_t>(random.Below(4));
    body->ySize = 4 + static_cast<int32_t>(random.Below(8));
    body->blockCount = i % 5 == 0 ? 2 + static_cast<int32_t>(random.Below(3)) : 1;
    if (i % 7 == 0) body->pattern = patterns[random.Below(static_cast<uint32_t>(patterns.size()))];
    const int pins = 8 + static_cast<int>(random.Below(5));
    for (int p = 0; p < pins; ++p) {
      auto pin = std::make_unique<PinInfo>(body->blockCount);
      pin->name = kPinNames[random.Below(sizeof kPinNames / sizeof kPinNames[0])];
      pin->edge = static_cast<PinEdge>(p % 4);
      pin->position = 1 + p / 4;
      const uint32_t kind = random.Below(10);
      pin->flags = kind == 0   ? PinFlag::Clock
                   : kind == 1 ? PinFlag::NegativeLogic
                   : kind == 2 ? PinFlag::NumberNearBody
                               : 0;
      const bool power = pin->name == "VCC" || pin->name == "GND";
      for (int32_t b = 0; b < body->blockCount; ++b)
        pin->numbers.Set(static_cast<size_t>(b),
                         std::string(power ? "H" : "D").append(std::to_string(1 + p + b * pins)));
      body->AddPin(std::move(pin));
    }
    PartBody* added = library.AddBody(std::move(body));
    const std::string name = std::string(kPrefixes[i % 10]).append(std::to_string(i));
    library.AddEntry(std::make_unique<PartEntry>(name, added));
    if (i % 10 == 0) library.AddEntry(std::make_unique<PartEntry>(name + "A", added));
  }
}

}  // namespace zanli::bench
