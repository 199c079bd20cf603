#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "fileio/library_file_result.h"
#include "fileio/text_library_sink.h"
#include "fileio/text_line_reader.h"
#include "fileio/text_line_writer.h"
#include "model/library.h"

namespace zanli {

// The line-oriented text library (".LB3"): its codec. Files go through
// LibraryFile, which chooses the format and checks the file itself.
class TextLibraryFormat {
 public:
  // A fresh library from the bytes, or why not: FileTooLarge, Malformed,
  // OverBudget (TextLibraryBudget) or OutOfMemory. Reports a missing
  // closing line.
  static ReadResult Decode(std::string_view bytes);
  // The same from `source`, `inputBytes` long, never held whole. Whether
  // the source itself failed is the caller's to ask it. With a `sink`, the
  // parts and aliases go to it as they are read (TextLibraryReader::SendTo),
  // the library holds only the patterns, and a read the sink stopped gives
  // neither a library nor a failure.
  static ReadResult Decode(TextLineReader::Source& source, size_t inputBytes,
                           TextLibrarySink* sink = nullptr);
  // The same into `library`, whose contents are replaced only on success.
  static bool ReadBytes(std::string_view bytes, Library& library);

  // What the reader would make of the text of `library`, in one walk over
  // it: what it would refuse, in pattern and entry order (empty names, sizes
  // and block counts outside what it takes, names longer than a field), and
  // at most what reading it back would charge its TextLibraryBudget.
  struct Survey {
    std::vector<WriteProblem> problems;
    size_t readCost = 0;
  };
  static Survey Examine(const Library& library);
  // Writes the text into `sink`, or refuses with its problems before the
  // sink sees a byte: Inconsistent (an entry without a body), Unreadable
  // (Examine), TooLarge (beyond what the reader takes from a file, found by
  // a first pass that counts the bytes and keeps none). Then WriteFailed
  // when the sink refused bytes; OutOfMemory.
  static WriteFailure Encode(const Library& library, TextLineWriter::Sink& sink,
                             std::vector<WriteProblem>& problems);
  // The same into `out`, which is set only on success.
  static WriteFailure Encode(const Library& library, std::string& out, std::vector<WriteProblem>& problems);
  // Encode in one pass, for a sink that can still be thrown away (a file
  // that replaces its target only later): the same refusals, but TooLarge
  // comes once the text is written, the sink having been given at most the
  // largest file the reader takes.
  static WriteFailure EncodeOnce(const Library& library, TextLineWriter::Sink& sink,
                                 std::vector<WriteProblem>& problems);
  // What reading back the text of `library` gives, without the text being
  // held: the writer's output goes straight into the reader, a window at a
  // time. Refuses as Encode does, with `back` then empty; otherwise `back`
  // is what Decode makes of the text (a failure included), with `sink` as
  // Decode takes it.
  static WriteFailure ReadBack(const Library& library, ReadResult& back, std::vector<WriteProblem>& problems,
                               TextLibrarySink* sink = nullptr);
  // The bytes unchecked (CR LF line ends); empty for an entry without a body
  // or when memory runs out.
  static std::string WriteBytes(const Library& library);

  // The editor's calls until it uses LibraryFile, with the same checks. Read
  // replaces the contents of `library` only on success.
  static bool Read(const std::string& path, Library& library);
  static bool Write(const std::string& path, const Library& library);
};

}  // namespace zanli
