#pragma once

#include <memory>
#include <string>
#include <vector>

#include "model/library.h"

// Small libraries for the checker's tests, built in a few lines.
namespace zanli::check_builders {

inline Pattern* AddPattern(Library& library, std::string name, int32_t width, int32_t height) {
  return library.AddPattern(std::make_unique<Pattern>(std::move(name), width, height));
}

inline PartBody* AddBody(Library& library, int32_t x, int32_t y, int32_t blocks, Pattern* pattern = nullptr) {
  auto body = std::make_unique<PartBody>();
  body->xSize = x;
  body->ySize = y;
  body->blockCount = blocks;
  body->pattern = pattern;
  return library.AddBody(std::move(body));
}

inline PinInfo* AddPin(PartBody& body, std::string name, PinEdge edge, int32_t position,
                       std::vector<std::string> numbers, int32_t flags = 0) {
  auto pin = std::make_unique<PinInfo>(body.blockCount);
  pin->name = std::move(name);
  pin->edge = edge;
  pin->position = position;
  pin->numbers = std::move(numbers);
  pin->flags = flags;
  return body.AddPin(std::move(pin));
}

inline PartEntry* AddEntry(Library& library, std::string name, PartBody* body) {
  return library.AddEntry(std::make_unique<PartEntry>(std::move(name), body));
}

// A clean library: a 4 × 4 two-block gate with an alias, numbered in both
// blocks, and a 2 × 2 part drawn with a 21 × 21 pattern. Nothing in it is a
// problem, and both formats hold it exactly.
inline void BuildCleanLibrary(Library& library) {
  Pattern* pattern = AddPattern(library, "BOX", 21, 21);
  pattern->SetPixel(0, 0, true);
  PartBody* gate = AddBody(library, 4, 4, 2);
  gate->numberPrefix = "IC";
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

}  // namespace zanli::check_builders
