#include "fileio/text_library_format.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <new>

#include "fileio/first_match_index.h"
#include "fileio/library_file.h"
#include "fileio/text_library_budget.h"
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

// Counts the bytes and keeps none: the text's size before a byte of it is
// kept anywhere.
class CountingSink : public TextLineWriter::Sink {
 public:
  bool Append(std::string_view bytes) override {
    total_ += bytes.size();
    return true;
  }
  size_t Total() const { return total_; }

 private:
  size_t total_ = 0;
};

// Passes on the bytes up to a limit and counts them all.
class LimitedSink : public TextLineWriter::Sink {
 public:
  LimitedSink(TextLineWriter::Sink& out, size_t limit) : out_(out), limit_(limit) {}
  bool Append(std::string_view bytes) override {
    const size_t room = total_ < limit_ ? limit_ - total_ : 0;
    total_ += bytes.size();
    return room == 0 || out_.Append(bytes.substr(0, room));
  }
  size_t Total() const { return total_; }

 private:
  TextLineWriter::Sink& out_;
  size_t limit_;
  size_t total_ = 0;
};

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

// Writes a library one item at a time (the header, a pattern, an entry, the
// trailer), so that its text can be taken as it comes.
class LibraryWriter {
 public:
  LibraryWriter(const Library& library, TextLineWriter::Sink& sink)
      : library_(library), out_(sink), partOf_(library.bodies.size()) {}

  // Writes the next item; false once all are written (Done()) or a write
  // failed.
  bool WriteNext() {
    if (done_ || failed_) return false;
    if (!started_) {
      started_ = true;
      out_.WriteField(TextLibraryReader::kHeader);
      return Check(out_.EndLine());
    }
    if (pattern_ < library_.patterns.size()) return Check(WritePattern(out_, *library_.patterns[pattern_++]));
    if (entry_ < library_.entries.size()) return Check(WriteEntry(*library_.entries[entry_++]));
    out_.WriteField(TextLibraryReader::kTrailer);
    out_.EndLine();
    done_ = Check(out_.Flush());
    return false;
  }
  bool Done() const { return done_; }

 private:
  bool Check(bool written) {
    failed_ = !written;
    return written;
  }

  // The first entry of each body is its part; later ones become aliases that
  // name that first entry.
  bool WriteEntry(const PartEntry& entry) {
    if (!entry.body) return false;
    const PartEntry* part = partOf_.Insert(entry.body, &entry);
    if (part == &entry) return WritePart(out_, entry.name, *entry.body);
    out_.WriteField("+ALIAS");
    out_.WriteField("A:", entry.name);
    out_.WriteField("N:", part->name);
    out_.WriteField("-ALIAS");
    return out_.EndLine();
  }

  const Library& library_;
  TextLineWriter out_;
  FirstMatchIndex<const PartBody*, const PartEntry*> partOf_;
  bool started_ = false;
  bool done_ = false;
  bool failed_ = false;
  size_t pattern_ = 0;
  size_t entry_ = 0;
};

bool WriteLibrary(const Library& library, TextLineWriter::Sink& sink) {
  LibraryWriter writer(library, sink);
  while (writer.WriteNext()) {
  }
  return writer.Done();
}

// The writer's text as the reader's source: each read writes as many items
// as it takes to answer it, so the text is never held whole. Bytes past
// `limit` are counted and dropped, as a file that large is never read.
class WriterSource : public TextLineReader::Source, private TextLineWriter::Sink {
 public:
  WriterSource(const Library& library, size_t limit) : writer_(library, *this), limit_(limit) {}

  size_t Read(char* out, size_t size) override {
    // Keep only what has not been handed out yet: less than one read.
    pending_.erase(0, taken_);
    taken_ = 0;
    while (pending_.size() < size && writer_.WriteNext()) {
    }
    const size_t n = std::min(size, pending_.size());
    std::memcpy(out, pending_.data(), n);
    taken_ = n;
    return n;
  }
  // Writes what the reader did not ask for, to learn the whole size.
  void Finish() {
    while (writer_.WriteNext()) {
    }
  }
  bool Done() const { return writer_.Done(); }
  size_t Total() const { return total_; }

 private:
  bool Append(std::string_view bytes) override {
    const size_t room = total_ < limit_ ? limit_ - total_ : 0;
    pending_.append(bytes.substr(0, room));
    total_ += bytes.size();
    return true;
  }

  LibraryWriter writer_;
  size_t limit_;
  std::string pending_;
  size_t taken_ = 0;
  size_t total_ = 0;
};

// Refusals before a byte is written: an entry without a body, or what the
// reader would refuse (Examine).
WriteFailure RefuseBeforeWriting(const Library& library, TextLibraryFormat::Survey& survey,
                                 std::vector<WriteProblem>& problems) {
  for (size_t i = 0; i < library.entries.size(); ++i) {
    if (library.entries[i]->body != nullptr) continue;
    problems.push_back({WriteProblem::Kind::MissingBody,
                        WriteProblem::Subject::Entry,
                        i,
                        library.entries[i]->name,
                        {},
                        0,
                        0});
    return WriteFailure::Inconsistent;
  }
  survey = TextLibraryFormat::Examine(library);
  problems = std::move(survey.problems);
  return problems.empty() ? WriteFailure::None : WriteFailure::Unreadable;
}

// Refusals once the text is measured: within the reader's bounds, or it
// would refuse the file.
WriteFailure RefuseWritten(size_t total, size_t readCost, std::vector<WriteProblem>& problems) {
  const auto refuse = [&](WriteProblem::Kind kind, size_t value, size_t limit) {
    problems.push_back({kind,
                        WriteProblem::Subject::Library,
                        0,
                        {},
                        {},
                        static_cast<int64_t>(value),
                        static_cast<int64_t>(limit)});
    return WriteFailure::TooLarge;
  };
  if (total > TextLibraryBudget::kMaxFileSize)
    return refuse(WriteProblem::Kind::FileSize, total, TextLibraryBudget::kMaxFileSize);
  if (readCost > TextLibraryBudget::ForInput(total))
    return refuse(WriteProblem::Kind::ReadBudget, readCost, TextLibraryBudget::ForInput(total));
  return WriteFailure::None;
}

// Runs `write(readCost)` once the refusals that need no writing have passed;
// running out of memory is a result.
template <typename Write>
WriteFailure EncodeSurveyed(const Library& library, std::vector<WriteProblem>& problems, const Write& write) {
  problems.clear();
  try {
    TextLibraryFormat::Survey survey;
    if (const WriteFailure refused = RefuseBeforeWriting(library, survey, problems);
        refused != WriteFailure::None)
      return refused;
    return write(survey.readCost);
  } catch (const std::bad_alloc&) {
    problems.clear();
    return WriteFailure::OutOfMemory;
  }
}

// Reads with the reader `makeReader` builds for a fresh library, sending
// parts to `sink` if there is one.
template <typename MakeReader>
ReadResult DecodeWith(size_t inputBytes, const MakeReader& makeReader, TextLibrarySink* sink = nullptr) {
  ReadResult result;
  result.format = LibraryFormat::Text;
  if (inputBytes > TextLibraryBudget::kMaxFileSize) {
    result.failure = ReadFailure::FileTooLarge;
    return result;
  }
  try {
    auto library = std::make_unique<Library>();
    TextLibraryReader reader = makeReader(*library);
    if (sink) reader.SendTo(*sink);
    switch (reader.Read()) {
      case TextLibraryReader::Status::Ok:
        result.library = std::move(library);
        result.missingTrailer = reader.MissingTrailer();
        break;
      case TextLibraryReader::Status::Malformed:
        result.failure = ReadFailure::Malformed;
        break;
      case TextLibraryReader::Status::OverBudget:
        result.failure = ReadFailure::OverBudget;
        break;
      case TextLibraryReader::Status::Stopped:
        break;
    }
  } catch (const std::bad_alloc&) {
    result.failure = ReadFailure::OutOfMemory;
  }
  return result;
}

}  // namespace

ReadResult TextLibraryFormat::Decode(std::string_view bytes) {
  return DecodeWith(bytes.size(), [&](Library& library) { return TextLibraryReader(bytes, library); });
}

ReadResult TextLibraryFormat::Decode(TextLineReader::Source& source, size_t inputBytes,
                                     TextLibrarySink* sink) {
  return DecodeWith(
      inputBytes, [&](Library& library) { return TextLibraryReader(source, inputBytes, library); }, sink);
}

bool TextLibraryFormat::ReadBytes(std::string_view bytes, Library& library) {
  ReadResult result = Decode(bytes);
  if (!result.Ok()) return false;
  LibraryFile::ReplaceContents(library, *result.library);
  return true;
}

TextLibraryFormat::Survey TextLibraryFormat::Examine(const Library& library) {
  using Kind = WriteProblem::Kind;
  using Subject = WriteProblem::Subject;
  using Budget = TextLibraryBudget;
  // A key and its value share one field, which the reader cuts at its limit.
  constexpr size_t kMaxValue = TextLineReader::kMaxFieldLength - 2;
  Survey survey;
  const auto add = [&](Kind kind, Subject subject, size_t index, const std::string& name, int64_t value,
                       int64_t limit, const std::string& partName = {}) {
    survey.problems.push_back(WriteProblem{kind, subject, index, name, partName, value, limit});
  };
  for (size_t i = 0; i < library.patterns.size(); ++i) {
    const Pattern& pattern = *library.patterns[i];
    survey.readCost +=
        Budget::PatternCost(pattern.width, pattern.height) + Budget::StringCost(pattern.name.size());
    if (pattern.name.empty()) add(Kind::EmptyPatternName, Subject::Pattern, i, {}, 0, 0);
    if (pattern.name.size() > kMaxValue)
      add(Kind::LongName, Subject::Pattern, i, pattern.name, static_cast<int64_t>(pattern.name.size()),
          kMaxValue);
    for (int32_t side : {pattern.width, pattern.height})
      if (side < 1 || side > TextLibraryReader::kMaxSize) {
        add(Kind::PatternSize, Subject::Pattern, i, pattern.name, side, TextLibraryReader::kMaxSize);
        break;
      }
  }
  // The first entry of a body writes it; later ones are its aliases.
  FirstMatchIndex<const PartBody*, const PartEntry*> partOf(library.bodies.size());
  for (size_t i = 0; i < library.entries.size(); ++i) {
    const PartEntry& entry = *library.entries[i];
    if (entry.body == nullptr) continue;  // Encode refuses it as inconsistent
    survey.readCost += Budget::EntryCost() + Budget::StringCost(entry.name.size());
    const PartEntry* part = partOf.Insert(entry.body, &entry);
    const std::string partName = part == &entry ? std::string() : part->name;
    if (entry.name.empty()) add(Kind::EmptyEntryName, Subject::Entry, i, {}, 0, 0, partName);
    if (entry.name.size() > kMaxValue)
      add(Kind::LongName, Subject::Entry, i, entry.name, static_cast<int64_t>(entry.name.size()), kMaxValue,
          partName);
    if (part != &entry) continue;
    const PartBody& body = *entry.body;
    for (int32_t side : {body.xSize, body.ySize})
      if (side < 1 || side > TextLibraryReader::kMaxSize) {
        add(Kind::BodySize, Subject::Entry, i, entry.name, side, TextLibraryReader::kMaxSize);
        break;
      }
    if (body.blockCount < 1 || body.blockCount > TextLibraryReader::kMaxBlocks)
      add(Kind::BodySize, Subject::Entry, i, entry.name, body.blockCount, TextLibraryReader::kMaxBlocks);
    survey.readCost += Budget::BodyCost() + Budget::StringCost(body.numberPrefix.size());
    // The prefix, the pattern's name, each pin's name and numbers: the
    // writer puts out blockCount numbers, without their display letter.
    const size_t blocks = body.blockCount > 0 ? static_cast<size_t>(body.blockCount) : 0;
    size_t longest = std::max(body.numberPrefix.size(), body.pattern ? body.pattern->name.size() : 0);
    for (const auto& pin : body.pins) {
      longest = std::max(longest, pin->name.size());
      // Read back, a number keeps its length, or is gone when it held just
      // its letter: the model's lengths bound what the reader charges.
      size_t text = 0;
      for (size_t b = 0; b < blocks && b < pin->numbers.size(); ++b) {
        const size_t length = pin->numbers[b].size();
        text += length;
        longest = std::max(longest, length == 0 ? 0 : length - 1);
      }
      survey.readCost +=
          Budget::PinCost() + Budget::StringCost(pin->name.size()) + Budget::NumbersCost(blocks, text);
    }
    if (longest > kMaxValue)
      add(Kind::LongName, Subject::Entry, i, entry.name, static_cast<int64_t>(longest), kMaxValue);
  }
  return survey;
}

WriteFailure TextLibraryFormat::Encode(const Library& library, TextLineWriter::Sink& out,
                                       std::vector<WriteProblem>& problems) {
  return EncodeSurveyed(library, problems, [&](size_t readCost) {
    // Measured first, so a text the reader would refuse is refused before
    // the sink (a new file) sees a byte of it.
    CountingSink counter;
    WriteLibrary(library, counter);
    if (const WriteFailure refused = RefuseWritten(counter.Total(), readCost, problems);
        refused != WriteFailure::None)
      return refused;
    return WriteLibrary(library, out) ? WriteFailure::None : WriteFailure::WriteFailed;
  });
}

WriteFailure TextLibraryFormat::EncodeOnce(const Library& library, TextLineWriter::Sink& sink,
                                           std::vector<WriteProblem>& problems) {
  return EncodeSurveyed(library, problems, [&](size_t readCost) {
    LimitedSink limited(sink, TextLibraryBudget::kMaxFileSize);
    if (!WriteLibrary(library, limited)) return WriteFailure::WriteFailed;
    return RefuseWritten(limited.Total(), readCost, problems);
  });
}

WriteFailure TextLibraryFormat::Encode(const Library& library, std::string& out,
                                       std::vector<WriteProblem>& problems) {
  try {
    std::string bytes;
    StringSink sink(bytes);
    const WriteFailure failure = Encode(library, sink, problems);
    if (failure == WriteFailure::None) out = std::move(bytes);
    return failure;
  } catch (const std::bad_alloc&) {
    problems.clear();
    return WriteFailure::OutOfMemory;
  }
}

WriteFailure TextLibraryFormat::ReadBack(const Library& library, ReadResult& back,
                                         std::vector<WriteProblem>& problems, TextLibrarySink* sink) {
  problems.clear();
  back = ReadResult();
  try {
    Survey survey;
    if (const WriteFailure refused = RefuseBeforeWriting(library, survey, problems);
        refused != WriteFailure::None)
      return refused;
    // The size is known only at the end, so the reader starts with the
    // budget of the largest file; the text is then refused as Encode would
    // if it is larger, or costs more than its own size allows, so that what
    // comes back is what a file of it gives.
    WriterSource source(library, TextLibraryBudget::kMaxFileSize);
    back = Decode(source, TextLibraryBudget::kMaxFileSize, sink);
    source.Finish();
    if (!source.Done()) return back = ReadResult(), WriteFailure::WriteFailed;
    const WriteFailure refused = RefuseWritten(source.Total(), survey.readCost, problems);
    if (refused != WriteFailure::None) back = ReadResult();
    return refused;
  } catch (const std::bad_alloc&) {
    problems.clear();
    back = ReadResult();
    return WriteFailure::OutOfMemory;
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

bool TextLibraryFormat::Read(const std::string& path, Library& library) {
  ReadResult result = LibraryFile::Read(path, LibraryFormat::Text);
  if (!result.Ok()) return false;
  LibraryFile::ReplaceContents(library, *result.library);
  return true;
}

bool TextLibraryFormat::Write(const std::string& path, const Library& library) {
  return LibraryFile::Write(path, library, LibraryFormat::Text).Ok();
}

}  // namespace zanli
