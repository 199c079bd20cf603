#pragma once

// Making libraries, bodies and pins in tests, and comparing libraries by
// their structure rather than through a file format (both formats lose
// some states).
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <map>
#include <memory>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "model/library.h"

namespace zanli::testing {

inline PartBody* AddBody(Library& library, int32_t x = 2, int32_t y = 2, int32_t blocks = 1,
                         std::string prefix = "U") {
  auto body = std::make_unique<PartBody>();
  body->numberPrefix = std::move(prefix);
  body->xSize = x;
  body->ySize = y;
  body->blockCount = blocks;
  return library.AddBody(std::move(body));
}

inline PartEntry* AddEntry(Library& library, std::string name, PartBody* body) {
  return library.AddEntry(std::make_unique<PartEntry>(std::move(name), body));
}

// A body with one entry naming it.
inline PartBody* AddPart(Library& library, std::string name, int32_t x = 2, int32_t y = 2,
                         int32_t blocks = 1) {
  PartBody* body = AddBody(library, x, y, blocks);
  AddEntry(library, std::move(name), body);
  return body;
}

// Every block gets `number` unless `numbers` gives them one by one.
inline PinInfo* AddPin(PartBody& body, PinEdge edge, int32_t position, std::string name = "P",
                       std::string number = "D1", int32_t flags = 0, std::vector<std::string> numbers = {}) {
  auto pin = std::make_unique<PinInfo>(body.blockCount);
  pin->edge = edge;
  pin->position = position;
  pin->name = std::move(name);
  pin->flags = flags;
  if (numbers.empty())
    pin->numbers = std::vector<std::string>(pin->numbers.size(), number);
  else
    pin->numbers = std::move(numbers);
  return body.AddPin(std::move(pin));
}

// A pin given by its name, with one number per block as listed.
inline PinInfo* AddPin(PartBody& body, std::string name, PinEdge edge, int32_t position,
                       std::vector<std::string> numbers, int32_t flags = 0) {
  return AddPin(body, edge, position, std::move(name), "", flags, std::move(numbers));
}

inline PartBody* AddBody(Library& library, int32_t x, int32_t y, int32_t blocks, Pattern* pattern) {
  PartBody* body = AddBody(library, x, y, blocks);
  body->pattern = pattern;
  return body;
}

inline Pattern* AddPattern(Library& library, std::string name, int32_t width, int32_t height,
                           uint8_t fill = 0) {
  auto pattern = std::make_unique<Pattern>(std::move(name), width, height);
  for (auto& byte : pattern->bits) byte = fill;
  return library.AddPattern(std::move(pattern));
}

// A clean library: a 4 × 4 two-block gate with an alias, numbered in both
// blocks, and a 2 × 2 part drawn with a 21 × 21 pattern. Nothing in it is a
// problem, and both formats hold it exactly.
inline void BuildCleanLibrary(Library& library) {
  Pattern* pattern = AddPattern(library, "BOX", 21, 21);
  pattern->SetPixel(0, 0, true);
  PartBody* gate = AddBody(library, 4, 4, 2, "IC");
  AddPin(*gate, "A", PinEdge::Left, 1, {"D1", "D4"});
  AddPin(*gate, "\\C\\L\\K", PinEdge::Left, 3, {"D2", "D5"}, PinFlag::Clock);
  AddPin(*gate, "Y", PinEdge::Right, 2, {"D3", "D6"}, PinFlag::NegativeLogic);
  AddPin(*gate, "VCC", PinEdge::Top, 2, {"H14", "H14"}, PinFlag::NumberNearBody);
  PartBody* boxed = AddBody(library, 2, 2, 1, pattern);
  AddPin(*boxed, "", PinEdge::Bottom, 1, {"DA1"});
  AddEntry(library, "GATE", gate);
  AddEntry(library, "GATE2", gate);
  AddEntry(library, "BOXED", boxed);
}

// The whole structure in one line: patterns with their bits, bodies with
// every pin and every block's number, and entries with the index of the
// body they name, so sharing shows.
inline std::string Describe(const Library& library) {
  std::ostringstream out;
  std::map<const Pattern*, size_t> patternIndex;
  for (const auto& p : library.patterns) {
    patternIndex.emplace(p.get(), patternIndex.size());
    out << "ptn " << p->name << ' ' << p->width << 'x' << p->height;
    const size_t stride = p->width > 0 ? static_cast<size_t>(p->Stride()) : 0;
    for (size_t i = 0; i < p->bits.size(); ++i) {
      char hex[4];
      std::snprintf(hex, sizeof hex, "%02x", p->bits[i]);
      out << (stride && i % stride == 0 ? " " : "") << hex;
    }
    out << "; ";
  }
  std::map<const PartBody*, size_t> bodyIndex;
  for (const auto& b : library.bodies) {
    bodyIndex.emplace(b.get(), bodyIndex.size());
    out << "body " << b->xSize << 'x' << b->ySize << " b" << b->blockCount << " R=" << b->numberPrefix;
    if (b->pattern) {
      auto found = patternIndex.find(b->pattern);
      out << " P=" << b->pattern->name << '#'
          << (found == patternIndex.end() ? std::string("?") : std::to_string(found->second));
    }
    for (const auto& pin : b->pins) {
      out << " | pin " << pin->name << " f" << pin->flags << " e" << static_cast<int>(pin->edge) << ':'
          << pin->position << " [";
      for (size_t i = 0; i < pin->numbers.size(); ++i) out << (i ? "," : "") << pin->numbers[i];
      out << ']';
    }
    out << "; ";
  }
  for (const auto& e : library.entries) {
    auto found = bodyIndex.find(e->body);
    out << e->name << "->" << (found == bodyIndex.end() ? std::string("?") : std::to_string(found->second))
        << "; ";
  }
  std::string text = out.str();
  if (text.size() >= 2) text.resize(text.size() - 2);
  return text;
}

// A random library that keeps the model's rules: unique valid names, every
// body named (some by aliases), sizes and pins within range, some bodies
// with a pattern, pins with one number per block in the model's forms.
inline std::unique_ptr<Library> RandomLibrary(std::mt19937& random, int maxBodies = 6) {
  auto pick = [&random](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };
  auto library = std::make_unique<Library>();
  const int patterns = pick(0, 3);
  for (int i = 0; i < patterns; ++i) {
    Pattern* p = AddPattern(*library, std::string("PT").append(std::to_string(i)), pick(1, 41), pick(1, 41));
    for (auto& byte : p->bits) byte = static_cast<uint8_t>(pick(0, 255));
  }
  int names = 0;
  const int bodies = pick(0, maxBodies);
  for (int b = 0; b < bodies; ++b) {
    PartBody* body = AddBody(*library, pick(1, 8), pick(1, 8), pick(1, 4), pick(0, 1) ? "U" : "IC");
    if (patterns > 0 && pick(0, 2) == 0) body->pattern = library->patterns[pick(0, patterns - 1)].get();
    const int pins = pick(0, 8);
    for (int i = 0; i < pins; ++i) {
      std::vector<std::string> numbers;
      for (int k = 0; k < body->blockCount; ++k) {
        const int form = pick(0, 3);
        numbers.push_back(form == 0 ? std::string()
                                    : std::string(form == 1 ? "H" : "D").append(std::to_string(pick(0, 99))));
      }
      AddPin(*body, static_cast<PinEdge>(pick(0, 3)), pick(0, 10),
             pick(0, 1) ? "\\C" : std::string("A").append(std::to_string(i)), "",
             pick(0, 1) ? PinFlag::Clock : 0, numbers);
    }
    const int entries = pick(1, 3);
    for (int e = 0; e < entries; ++e)
      AddEntry(*library, std::string("E").append(std::to_string(names++)), body);
  }
  // Entries in a shuffled order, so aliases may come before their part.
  std::shuffle(library->entries.begin(), library->entries.end(), random);
  return library;
}

}  // namespace zanli::testing
