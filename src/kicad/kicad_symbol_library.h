#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// A KiCad symbol library (.kicad_sym, KiCad 6 and later) as plain data: what
// the reader takes from a file and the writer puts into one. Texts are UTF-8
// as in the file; lengths and coordinates are in 0.0001 mm with y pointing up.
namespace zanli {

struct KicadPoint {
  int64_t x = 0;
  int64_t y = 0;
  friend bool operator==(const KicadPoint&, const KicadPoint&) = default;
};

struct KicadPin {
  std::string electricalType = "passive";  // input, output, power_in, ...
  std::string shape = "line";              // line, inverted, clock, ...
  KicadPoint at;                           // the connection point
  int64_t angle = 0;                       // 0.0001 degrees, 0 to 360 exclusive; 0 points right, 90 up
  int64_t length = 0;
  bool hidden = false;
  bool numberHidden = false;  // the number's own effects hide it
  std::string name;
  std::string number;
  size_t alternates = 0;  // alternate functions (names and types), dropped
};

struct KicadGraphic {
  enum class Kind { Rectangle, Polyline, Circle, Arc, Bezier, Text };
  enum class Fill { None, Outline, Background };
  Kind kind = Kind::Polyline;
  Fill fill = Fill::None;
  // Rectangle: two corners. Polyline and Bezier: the points. Circle: the
  // centre. Arc: start, mid, end. Text: where it stands.
  std::vector<KicadPoint> points;
  int64_t radius = 0;
  int64_t strokeWidth = 0;
  std::string text;
};

// One unit and body style: "NAME_U_S". Unit 0 holds what every unit shares;
// style 1 is the normal body, 2 the alternate (De Morgan) one, 0 both.
struct KicadUnit {
  int32_t unit = 1;
  int32_t style = 1;
  std::vector<KicadGraphic> graphics;
  std::vector<KicadPin> pins;
};

struct KicadProperty {
  std::string key;
  std::string value;
  bool hidden = false;
};

struct KicadSymbol {
  std::string name;
  std::string extends;  // the base symbol's name for a derived symbol
  bool power = false;
  bool pinNumbersHidden = false;
  bool pinNamesHidden = false;
  std::vector<KicadProperty> properties;
  std::vector<KicadUnit> units;
  // Why the symbol could not be read; such a symbol carries its name only.
  struct Problem {
    enum class Kind {
      None,
      Malformed,      // `field` is missing or not of its form
      OutOfRange,     // a number of `field` beyond what a symbol can mean
      TooManyPoints,  // a polyline or curve beyond the bound
      TooLarge,       // more tokens than its text's size allows
    };
    Kind kind = Kind::None;
    std::string field;
    size_t line = 0;
  };
  Problem problem;
  size_t line = 0;  // where it starts in its file

  bool Readable() const { return problem.kind == Problem::Kind::None; }

  const KicadProperty* FindProperty(std::string_view key) const {
    for (const KicadProperty& property : properties)
      if (property.key == key) return &property;
    return nullptr;
  }
};

struct KicadSymbolLibrary {
  int64_t version = 0;
  std::string generator;
  std::vector<KicadSymbol> symbols;
};

}  // namespace zanli
