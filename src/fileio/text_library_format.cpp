#include "fileio/text_library_format.h"

#include <charconv>
#include <new>

#include "fileio/first_match_index.h"
#include "fileio/safe_file_writer.h"
#include "fileio/text_library_reader.h"
#include "fileio/text_line_writer.h"

namespace zanli {

namespace {

class StringSink : public TextLineWriter::Sink {
 public:
  explicit StringSink(std::string& out) : out_(out) {}
  bool Append(std::string_view bytes) override {
    out_.append(bytes);
    return true;
  }

 private:
  std::string& out_;
};

class FileSink : public TextLineWriter::Sink {
 public:
  explicit FileSink(SafeFileWriter& file) : file_(file) {}
  bool Append(std::string_view bytes) override { return file_.Write(bytes); }

 private:
  SafeFileWriter& file_;
};

constexpr std::string_view kTrailer = "-VELD3_LIB_V.1.0";

bool WritePattern(TextLineWriter& out, const Pattern& pattern) {
  out.WriteField("+PTN");
  out.WriteField("N:", pattern.name);
  out.WriteField("X:", pattern.width);
  out.WriteField("Y:", pattern.height);
  out.EndLine();
  out.WriteField("+BMP");
  if (!out.EndLine()) return false;
  const size_t used = pattern.width > 0 ? static_cast<size_t>((pattern.width + 7) / 8) : 0;
  const size_t stride = pattern.width > 0 ? static_cast<size_t>(pattern.Stride()) : 0;
  std::string row(used * 2, '\0');
  for (int32_t r = 0; r < pattern.height; ++r) {
    const size_t offset = static_cast<size_t>(r) * stride;
    for (size_t i = 0; i < used; ++i) {
      // Bytes a malformed model lacks are written as blank.
      const uint8_t byte = offset + i < pattern.bits.size() ? pattern.bits[offset + i] : 0;
      row[2 * i] = static_cast<char>(0x40 + (byte >> 4));
      row[2 * i + 1] = static_cast<char>(0x40 + (byte & 0xF));
    }
    out.WriteField(row);
    if (!out.EndLine()) return false;
  }
  out.WriteField("-BMP");
  out.EndLine();
  out.WriteField("-PTN");
  return out.EndLine();
}

bool WritePin(TextLineWriter& out, const PinInfo& pin, int32_t blocks) {
  static constexpr char kEdgeLetters[] = "LTRB";
  const auto edge = static_cast<int32_t>(pin.edge);
  char location[16];
  location[0] = edge >= 0 && edge <= 3 ? kEdgeLetters[edge] : 'B';
  const auto end = std::to_chars(location + 1, location + sizeof location, pin.position).ptr;

  char type[4];
  size_t typeLength = 0;
  if (pin.flags & PinFlag::NegativeLogic) type[typeLength++] = 'N';
  if (pin.flags & PinFlag::NumberNearBody) type[typeLength++] = 'S';
  if (pin.flags & PinFlag::Clock) type[typeLength++] = 'C';
  if (!pin.numbers.empty() && !pin.numbers[0].empty() && pin.numbers[0][0] == 'H') type[typeLength++] = 'm';

  out.WriteField("+PIN");
  out.WriteField("N:", pin.name);
  out.WriteField("L:", std::string_view(location, static_cast<size_t>(end - location)));
  out.WriteField("T:", std::string_view(type, typeLength));
  for (int32_t i = 0; i < blocks; ++i) {
    // The number without its display letter; an empty number stays empty.
    std::string_view number;
    if (static_cast<size_t>(i) < pin.numbers.size()) number = pin.numbers[static_cast<size_t>(i)];
    out.WriteField("M:", number.empty() ? number : number.substr(1));
  }
  out.WriteField("-PIN");
  return out.EndLine();
}

bool WritePart(TextLineWriter& out, const std::string& name, const PartBody& body) {
  out.WriteField("+COMP");
  out.WriteField("N:", name);
  out.EndLine();
  out.WriteField("X:", body.xSize);
  out.WriteField("Y:", body.ySize);
  out.WriteField("B:", body.blockCount);
  out.EndLine();
  out.WriteField("R:", body.numberPrefix);
  out.EndLine();
  if (body.pattern) {
    out.WriteField("P:", body.pattern->name);
    out.EndLine();
  }
  for (const auto& pin : body.pins)
    if (!WritePin(out, *pin, body.blockCount)) return false;
  out.WriteField("-COMP");
  return out.EndLine();
}

bool WriteLibrary(const Library& library, TextLineWriter::Sink& sink) {
  TextLineWriter out(sink);
  out.WriteField(TextLibraryReader::kHeader);
  out.EndLine();
  for (const auto& pattern : library.patterns)
    if (!WritePattern(out, *pattern)) return false;
  // The first entry of each body is its part; later ones become aliases that
  // name that first entry.
  FirstMatchIndex<const PartBody*, const PartEntry*> partOf(library.bodies.size());
  for (const auto& entry : library.entries) {
    if (!entry->body) return false;
    const PartEntry* part = partOf.Insert(entry->body, entry.get());
    if (part == entry.get()) {
      if (!WritePart(out, entry->name, *entry->body)) return false;
    } else {
      out.WriteField("+ALIAS");
      out.WriteField("A:", entry->name);
      out.WriteField("N:", part->name);
      out.WriteField("-ALIAS");
      if (!out.EndLine()) return false;
    }
  }
  out.WriteField(kTrailer);
  out.EndLine();
  return out.Flush();
}

}  // namespace

bool TextLibraryFormat::Read(const std::string& path, Library& library) {
  library.Clear();
  std::string bytes;
  try {
    if (!ReadWholeFile(path, bytes)) return false;
  } catch (const std::bad_alloc&) {
    return false;
  }
  return ReadBytes(bytes, library);
}

bool TextLibraryFormat::ReadBytes(std::string_view bytes, Library& library) {
  library.Clear();
  bool ok = false;
  try {
    ok = TextLibraryReader(bytes, library).Read();
  } catch (const std::bad_alloc&) {
    // A pattern too large to hold is refused like any malformed block.
    ok = false;
  }
  if (!ok) library.Clear();
  return ok;
}

bool TextLibraryFormat::Write(const std::string& path, const Library& library) {
  SafeFileWriter file(path);
  if (!file.Open()) return false;
  FileSink sink(file);
  // Without a commit the writer's destructor removes the temporary file and
  // the previous file stays as it was.
  try {
    return WriteLibrary(library, sink) && file.Commit();
  } catch (const std::bad_alloc&) {
    return false;
  }
}

std::string TextLibraryFormat::WriteBytes(const Library& library) {
  std::string out;
  StringSink sink(out);
  try {
    if (WriteLibrary(library, sink)) return out;
  } catch (const std::bad_alloc&) {
  }
  return {};
}

}  // namespace zanli
