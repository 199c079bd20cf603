#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "kicad/kicad_symbol_library.h"
#include "kicad/sexpr_tree.h"

namespace zanli {

class LineCounter;

// Reads a KiCad symbol library (.kicad_sym, KiCad 6 to 9) into plain data,
// one symbol at a time, so that memory follows one symbol rather than the
// file. The whole text is checked first: a file that is not one well-formed
// S-expression within the bounds, or not a symbol library, is refused whole
// with a reason and a line. Inside a good file, a symbol with a missing or
// malformed field comes back by name with its problem, so one damaged symbol
// never costs the others. Tokens this reader does not know (later versions
// add some) are passed over.
//   std::string text;
//   KicadSymbolReader::Status loaded = KicadSymbolReader::LoadFile(path, text);
//   KicadSymbolReader reader(text);            // if loaded.Ok()
//   if (reader.GetStatus().Ok())
//     for (size_t i = 0; i < reader.SymbolCount(); ++i) use(reader.ReadSymbol(i));
class KicadSymbolReader {
 public:
  enum class Failure {
    None,
    CannotOpen,      // `error` says why
    NotRegularFile,  // a FIFO, device or folder: never read
    FileTooLarge,    // over KicadLimits::kMaxFileSize, refused unread
    ReadError,       // `error` says why
    Syntax,          // `syntax` and `line` say what and where
    NotSymbolLibrary,
    OutOfMemory,
  };
  struct Status {
    Failure failure = Failure::None;
    SExprTree::Status syntax = SExprTree::Status::Ok;
    size_t line = 0;
    int error = 0;
    bool Ok() const { return failure == Failure::None; }
  };

  // Checks `text`, which must outlive the reader.
  explicit KicadSymbolReader(std::string_view text);
  ~KicadSymbolReader();
  KicadSymbolReader(const KicadSymbolReader&) = delete;
  KicadSymbolReader& operator=(const KicadSymbolReader&) = delete;

  const Status& GetStatus() const { return status_; }
  int64_t Version() const { return version_; }
  const std::string& Generator() const { return generator_; }
  size_t SymbolCount() const { return symbols_.size(); }
  // Symbol `index` in file order.
  KicadSymbol ReadSymbol(size_t index);

  // The whole file into `text`, within KicadLimits::kMaxFileSize.
  static Status LoadFile(const std::string& path, std::string& text);
  // Every symbol at once, for small files and tests.
  static Status Read(std::string_view text, KicadSymbolLibrary& library);

  // A decimal number of the file ("-12.7") in 0.0001 mm, rounded; false for
  // anything else, exponents included, or beyond `limit` either way.
  static bool ParseNumber(std::string_view text, int64_t limit, int64_t& value);

 private:
  std::string_view text_;
  Status status_;
  int64_t version_ = 0;
  std::string generator_;
  std::vector<SExprTree::Span> symbols_;
  SExprTree tree_;
  std::unique_ptr<LineCounter> lines_;
};

}  // namespace zanli
