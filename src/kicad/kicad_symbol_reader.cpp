#include "kicad/kicad_symbol_reader.h"

#include <algorithm>
#include <memory>
#include <new>

#include "fileio/bounded_file_reader.h"
#include "kicad/kicad_limits.h"

namespace zanli {

// Lines counted forward from the last question, since symbols are read in
// file order: counting from the start each time would cost the file's size
// per symbol.
class LineCounter {
 public:
  explicit LineCounter(std::string_view text) : text_(text) {}
  size_t LineAt(size_t offset) {
    offset = std::min(offset, text_.size());
    if (offset < offset_) offset_ = 0, line_ = 1;
    line_ += static_cast<size_t>(std::count(text_.begin() + static_cast<ptrdiff_t>(offset_),
                                            text_.begin() + static_cast<ptrdiff_t>(offset), '\n'));
    offset_ = offset;
    return line_;
  }

 private:
  std::string_view text_;
  size_t offset_ = 0;
  size_t line_ = 1;
};

namespace {

using Problem = KicadSymbol::Problem;

// Thrown inside one symbol only; the symbol keeps it as its problem.
struct SymbolFault {
  Problem::Kind kind;
  std::string_view field;
  uint32_t node;
};

class Walker {
 public:
  Walker(const SExprTree& tree, LineCounter& lines, size_t base) : tree_(tree), lines_(lines), base_(base) {}

  KicadSymbol ReadSymbol(uint32_t node) {
    KicadSymbol symbol;
    symbol.line = LineOf(node);
    const uint32_t nameNode = tree_.Next(tree_.FirstChild(node));
    if (nameNode != SExprTree::kNone && tree_.At(nameNode).kind != SExprTree::Kind::List)
      symbol.name = tree_.Text(nameNode);
    try {
      if (nameNode == SExprTree::kNone || tree_.At(nameNode).kind == SExprTree::Kind::List)
        throw SymbolFault{Problem::Kind::Malformed, "symbol", node};
      for (uint32_t child = tree_.Next(nameNode); child != SExprTree::kNone; child = tree_.Next(child)) {
        if (tree_.At(child).kind != SExprTree::Kind::List) continue;
        const std::string_view head = tree_.Head(child);
        if (head == "extends")
          symbol.extends = StringArg(child, "extends");
        else if (head == "power")
          symbol.power = true;
        else if (head == "pin_numbers")
          symbol.pinNumbersHidden = Hidden(child);
        else if (head == "pin_names")
          symbol.pinNamesHidden = Hidden(child);
        else if (head == "property")
          symbol.properties.push_back(ReadProperty(child));
        else if (head == "symbol")
          symbol.units.push_back(ReadUnit(child));
      }
    } catch (const SymbolFault& fault) {
      KicadSymbol broken;
      broken.name = std::move(symbol.name);
      broken.line = symbol.line;
      broken.problem = Problem{fault.kind, std::string(fault.field), LineOf(fault.node)};
      return broken;
    }
    return symbol;
  }

 private:
  size_t LineOf(uint32_t node) const { return lines_.LineAt(base_ + tree_.OffsetOf(node)); }

  [[noreturn]] void Malformed(std::string_view field, uint32_t node) const {
    throw SymbolFault{Problem::Kind::Malformed, field, node};
  }

  // The n-th element after the head (0-based), or kNone.
  uint32_t Arg(uint32_t list, int n) const {
    uint32_t node = tree_.Next(tree_.FirstChild(list));
    for (; n > 0 && node != SExprTree::kNone; --n) node = tree_.Next(node);
    return node;
  }

  std::string StringArg(uint32_t list, std::string_view field) const {
    const uint32_t node = Arg(list, 0);
    if (node == SExprTree::kNone || tree_.At(node).kind == SExprTree::Kind::List) Malformed(field, list);
    return tree_.Text(node);
  }

  int64_t Number(uint32_t node, std::string_view field, uint32_t list) const {
    if (node == SExprTree::kNone || tree_.At(node).kind != SExprTree::Kind::Atom) Malformed(field, list);
    int64_t value = 0;
    if (!KicadSymbolReader::ParseNumber(tree_.Raw(node), KicadLimits::kMaxCoordinate, value)) {
      int64_t any = 0;
      const bool number = KicadSymbolReader::ParseNumber(tree_.Raw(node), INT64_MAX / 2, any);
      throw SymbolFault{number ? Problem::Kind::OutOfRange : Problem::Kind::Malformed, field, node};
    }
    return value;
  }

  // (head X Y ...) inside `list`, as a point.
  KicadPoint Point(uint32_t list, std::string_view head) const {
    const uint32_t node = tree_.Find(list, head);
    if (node == SExprTree::kNone) Malformed(head, list);
    return PointOf(node, head);
  }
  KicadPoint PointOf(uint32_t node, std::string_view head) const {
    return KicadPoint{Number(Arg(node, 0), head, node), Number(Arg(node, 1), head, node)};
  }

  // "hide" as an atom, or (hide yes), directly inside `list` or inside its
  // (effects ...).
  bool Hidden(uint32_t list) const {
    for (uint32_t child = tree_.FirstChild(list); child != SExprTree::kNone; child = tree_.Next(child)) {
      if (tree_.IsAtom(child, "hide")) return true;
      if (tree_.At(child).kind != SExprTree::Kind::List) continue;
      const std::string_view head = tree_.Head(child);
      if (head == "hide") {
        const uint32_t value = Arg(child, 0);
        return value == SExprTree::kNone || tree_.IsAtom(value, "yes");
      }
      if (head == "effects" && Hidden(child)) return true;
    }
    return false;
  }

  KicadProperty ReadProperty(uint32_t list) const {
    KicadProperty property;
    const uint32_t key = Arg(list, 0);
    const uint32_t value = Arg(list, 1);
    if (key == SExprTree::kNone || value == SExprTree::kNone || tree_.At(key).kind == SExprTree::Kind::List ||
        tree_.At(value).kind == SExprTree::Kind::List)
      Malformed("property", list);
    property.key = tree_.Text(key);
    property.value = tree_.Text(value);
    property.hidden = Hidden(list);
    return property;
  }

  // "NAME_U_S": the two numbers after the last two underscores.
  KicadUnit ReadUnit(uint32_t list) const {
    KicadUnit unit;
    const std::string name = StringArg(list, "symbol");
    const size_t second = name.rfind('_');
    const size_t first =
        second == std::string::npos || second == 0 ? std::string::npos : name.rfind('_', second - 1);
    if (first == std::string::npos || !UnitNumber(name.substr(first + 1, second - first - 1), unit.unit) ||
        !UnitNumber(name.substr(second + 1), unit.style))
      Malformed("symbol", list);
    for (uint32_t child = tree_.Next(Arg(list, 0)); child != SExprTree::kNone; child = tree_.Next(child)) {
      if (tree_.At(child).kind != SExprTree::Kind::List) continue;
      const std::string_view head = tree_.Head(child);
      if (head == "pin")
        unit.pins.push_back(ReadPin(child));
      else if (head == "rectangle" || head == "polyline" || head == "circle" || head == "arc" ||
               head == "bezier" || head == "text" || head == "text_box")
        unit.graphics.push_back(ReadGraphic(child, head));
    }
    return unit;
  }

  static bool UnitNumber(std::string_view text, int32_t& value) {
    if (text.empty() || text.size() > 4) return false;
    value = 0;
    for (char c : text) {
      if (c < '0' || c > '9') return false;
      value = value * 10 + (c - '0');
    }
    return value <= KicadLimits::kMaxUnit;
  }

  KicadPin ReadPin(uint32_t list) const {
    KicadPin pin;
    const uint32_t type = Arg(list, 0);
    const uint32_t shape = Arg(list, 1);
    if (type == SExprTree::kNone || shape == SExprTree::kNone ||
        tree_.At(type).kind != SExprTree::Kind::Atom || tree_.At(shape).kind != SExprTree::Kind::Atom)
      Malformed("pin", list);
    pin.electricalType = tree_.Raw(type);
    pin.shape = tree_.Raw(shape);
    const uint32_t at = tree_.Find(list, "at");
    if (at == SExprTree::kNone) Malformed("at", list);
    pin.at = PointOf(at, "at");
    const uint32_t angleNode = Arg(at, 2);
    const int64_t angle = angleNode == SExprTree::kNone ? 0 : Number(angleNode, "at", at);
    const int64_t turn = 360 * KicadLimits::kUnitsPerMm;
    pin.angle = (angle % turn + turn) % turn;
    const uint32_t length = tree_.Find(list, "length");
    if (length == SExprTree::kNone) Malformed("length", list);
    pin.length = Number(Arg(length, 0), "length", length);
    pin.hidden = Hidden(list);
    for (uint32_t child = tree_.FirstChild(list); child != SExprTree::kNone; child = tree_.Next(child)) {
      if (tree_.At(child).kind != SExprTree::Kind::List) continue;
      const std::string_view head = tree_.Head(child);
      if (head == "name") {
        pin.name = StringArg(child, "name");
      } else if (head == "number") {
        pin.number = StringArg(child, "number");
        pin.numberHidden = Hidden(child);
      } else if (head == "alternate") {
        ++pin.alternates;
      }
    }
    return pin;
  }

  KicadGraphic::Fill FillOf(uint32_t list) const {
    const uint32_t fill = tree_.Find(list, "fill");
    if (fill == SExprTree::kNone) return KicadGraphic::Fill::None;
    const uint32_t type = tree_.Find(fill, "type");
    const uint32_t value = type == SExprTree::kNone ? SExprTree::kNone : Arg(type, 0);
    if (value == SExprTree::kNone) return KicadGraphic::Fill::None;
    if (tree_.IsAtom(value, "outline")) return KicadGraphic::Fill::Outline;
    if (tree_.IsAtom(value, "background")) return KicadGraphic::Fill::Background;
    return KicadGraphic::Fill::None;
  }

  KicadGraphic ReadGraphic(uint32_t list, std::string_view head) const {
    using Kind = KicadGraphic::Kind;
    KicadGraphic graphic;
    graphic.fill = FillOf(list);
    const uint32_t stroke = tree_.Find(list, "stroke");
    const uint32_t width = stroke == SExprTree::kNone ? SExprTree::kNone : tree_.Find(stroke, "width");
    if (width != SExprTree::kNone) graphic.strokeWidth = Number(Arg(width, 0), "width", width);
    if (head == "rectangle" || head == "text_box") {
      graphic.kind = head == "rectangle" ? Kind::Rectangle : Kind::Text;
      if (head == "text_box") graphic.text = StringArg(list, "text_box");
      graphic.points = head == "rectangle" ? std::vector<KicadPoint>{Point(list, "start"), Point(list, "end")}
                                           : std::vector<KicadPoint>{Point(list, "at")};
    } else if (head == "circle") {
      graphic.kind = Kind::Circle;
      graphic.points = {Point(list, "center")};
      const uint32_t radius = tree_.Find(list, "radius");
      if (radius == SExprTree::kNone) Malformed("radius", list);
      graphic.radius = Number(Arg(radius, 0), "radius", radius);
    } else if (head == "arc") {
      graphic.kind = Kind::Arc;
      graphic.points = {Point(list, "start"), Point(list, "mid"), Point(list, "end")};
    } else if (head == "text") {
      graphic.kind = Kind::Text;
      graphic.text = StringArg(list, "text");
      graphic.points = {Point(list, "at")};
    } else {
      graphic.kind = head == "bezier" ? Kind::Bezier : Kind::Polyline;
      const uint32_t pts = tree_.Find(list, "pts");
      if (pts == SExprTree::kNone) Malformed("pts", list);
      for (uint32_t xy = tree_.FirstChild(pts); xy != SExprTree::kNone; xy = tree_.Next(xy)) {
        if (tree_.At(xy).kind != SExprTree::Kind::List || tree_.Head(xy) != "xy") continue;
        if (graphic.points.size() >= KicadLimits::kMaxPoints)
          throw SymbolFault{Problem::Kind::TooManyPoints, head, list};
        graphic.points.push_back(PointOf(xy, "xy"));
      }
    }
    return graphic;
  }

  const SExprTree& tree_;
  LineCounter& lines_;
  size_t base_;
};

}  // namespace

bool KicadSymbolReader::ParseNumber(std::string_view text, int64_t limit, int64_t& value) {
  size_t i = 0;
  const bool negative = !text.empty() && (text[0] == '-' || text[0] == '+');
  if (negative) i = 1;
  const bool minus = negative && text[0] == '-';
  int64_t whole = 0;
  size_t digits = 0;
  const int64_t wholeLimit = limit / KicadLimits::kUnitsPerMm + 1;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i, ++digits) {
    whole = whole * 10 + (text[i] - '0');
    if (whole > wholeLimit) return false;
  }
  int64_t fraction = 0;
  int64_t scale = KicadLimits::kUnitsPerMm;
  bool roundUp = false;
  if (i < text.size() && text[i] == '.') {
    ++i;
    size_t fractionDigits = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i, ++digits, ++fractionDigits) {
      if (scale > 1) {
        scale /= 10;
        fraction += (text[i] - '0') * scale;
      } else if (fractionDigits == 4) {
        roundUp = text[i] >= '5';
      }
    }
  }
  if (digits == 0 || i != text.size()) return false;
  int64_t units = whole * KicadLimits::kUnitsPerMm + fraction + (roundUp ? 1 : 0);
  if (units > limit) return false;
  value = minus ? -units : units;
  return true;
}

namespace {

// The head keyword of a list element, read from the text.
std::string_view HeadOf(std::string_view element) {
  size_t i = 1;
  while (i < element.size() &&
         (element[i] == ' ' || element[i] == '\t' || element[i] == '\n' || element[i] == '\r'))
    ++i;
  size_t j = i;
  while (j < element.size() && element[j] != ' ' && element[j] != '\t' && element[j] != '\n' &&
         element[j] != '\r' && element[j] != '(' && element[j] != ')' && element[j] != '"')
    ++j;
  return element.substr(i, j - i);
}

}  // namespace

KicadSymbolReader::KicadSymbolReader(std::string_view text)
    : text_(text), lines_(std::make_unique<LineCounter>(text)) {
  if (text.size() > KicadLimits::kMaxFileSize) {
    status_.failure = Failure::FileTooLarge;
    return;
  }
  std::vector<SExprTree::Span> elements;
  const SExprTree::Result scanned = SExprTree::Scan(text, elements);
  if (!scanned.Ok()) {
    status_.failure =
        scanned.status == SExprTree::Status::OutOfMemory ? Failure::OutOfMemory : Failure::Syntax;
    status_.syntax = scanned.status;
    status_.line = SExprTree::LineAt(text, scanned.offset);
    return;
  }
  if (elements.empty() ||
      text.substr(elements[0].begin, elements[0].end - elements[0].begin) != "kicad_symbol_lib") {
    status_.failure = Failure::NotSymbolLibrary;
    status_.line = 1;
    return;
  }
  try {
    for (size_t i = 1; i < elements.size(); ++i) {
      const std::string_view element = text.substr(elements[i].begin, elements[i].end - elements[i].begin);
      if (element[0] != '(') continue;
      const std::string_view head = HeadOf(element);
      if (head == "symbol") {
        symbols_.push_back(elements[i]);
      } else if (head == "version" || head == "generator") {
        SExprTree tree;
        if (!tree.Parse(element).Ok()) continue;
        const uint32_t value = tree.Next(tree.FirstChild(0));
        if (value == SExprTree::kNone || tree.At(value).kind == SExprTree::Kind::List) continue;
        int64_t version = 0;
        if (head == "generator")
          generator_ = tree.Text(value);
        else if (ParseNumber(tree.Raw(value), INT64_MAX / 2, version))
          version_ = version / KicadLimits::kUnitsPerMm;
      }
    }
  } catch (const std::bad_alloc&) {
    symbols_.clear();
    status_.failure = Failure::OutOfMemory;
  }
}

KicadSymbolReader::~KicadSymbolReader() = default;

KicadSymbol KicadSymbolReader::ReadSymbol(size_t index) {
  const SExprTree::Span span = symbols_[index];
  const std::string_view element = text_.substr(span.begin, span.end - span.begin);
  const SExprTree::Result parsed = tree_.Parse(element);
  if (!parsed.Ok()) {
    // Scan passed the text, so only the node bound or memory can stop it.
    KicadSymbol symbol;
    symbol.line = lines_->LineAt(span.begin);
    symbol.problem = KicadSymbol::Problem{KicadSymbol::Problem::Kind::TooLarge, "symbol", symbol.line};
    return symbol;
  }
  return Walker(tree_, *lines_, span.begin).ReadSymbol(0);
}

KicadSymbolReader::Status KicadSymbolReader::Read(std::string_view text, KicadSymbolLibrary& library) {
  KicadSymbolReader reader(text);
  library = KicadSymbolLibrary{};
  if (!reader.GetStatus().Ok()) return reader.GetStatus();
  library.version = reader.Version();
  library.generator = reader.Generator();
  try {
    library.symbols.reserve(reader.SymbolCount());
    for (size_t i = 0; i < reader.SymbolCount(); ++i) library.symbols.push_back(reader.ReadSymbol(i));
  } catch (const std::bad_alloc&) {
    library = KicadSymbolLibrary{};
    Status status;
    status.failure = Failure::OutOfMemory;
    return status;
  }
  return reader.GetStatus();
}

KicadSymbolReader::Status KicadSymbolReader::LoadFile(const std::string& path, std::string& text) {
  Status status;
  const BoundedFileReader::Result read = BoundedFileReader::Read(path, KicadLimits::kMaxFileSize, text);
  using ReadStatus = BoundedFileReader::Status;
  switch (read.status) {
    case ReadStatus::Ok:
      break;
    case ReadStatus::CannotOpen:
      status.failure = Failure::CannotOpen;
      break;
    case ReadStatus::NotRegularFile:
      status.failure = Failure::NotRegularFile;
      break;
    case ReadStatus::TooLarge:
      status.failure = Failure::FileTooLarge;
      break;
    case ReadStatus::ReadError:
      status.failure = Failure::ReadError;
      break;
    case ReadStatus::OutOfMemory:
      status.failure = Failure::OutOfMemory;
      break;
  }
  status.error = read.error;
  return status;
}

}  // namespace zanli
