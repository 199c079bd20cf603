#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace zanli {

// Writes a PDF file front to back through a sink, object by object, so a
// document of any length is never held: only each object's offset is kept
// for the cross-reference table at the end. Objects may be written in any
// order once their number is reserved, so a parent (the page tree) can be
// written last while its children point at it from the start.
//   PdfWriter pdf(sink);
//   const int32_t root = pdf.Reserve();
//   ... pdf.WriteObject(id, "<< ... >>"); pdf.WriteStream(id, "/Subtype /Image ...", bytes);
//   pdf.Finish(root, info);
// Every call answers false once the sink has failed; nothing more is written.
class PdfWriter {
 public:
  using Sink = std::function<bool(std::string_view bytes)>;

  explicit PdfWriter(Sink sink);

  // A new object number, to write once.
  int32_t Reserve();
  bool WriteObject(int32_t id, std::string_view value);
  // A stream object: `dictionary` holds the entries other than /Length.
  bool WriteStream(int32_t id, std::string_view dictionary, std::string_view data);
  // The cross-reference table and the trailer; `info` 0 for none.
  bool Finish(int32_t root, int32_t info);

  // A literal string: "(", the text with "(", ")" and "\" escaped, ")".
  // Bytes outside printable ASCII become "?": the standard fonts are used
  // with their own encoding, and every name the editor accepts is ASCII.
  static std::string Literal(std::string_view text);
  // Data for the /RunLengthDecode filter, end marker included.
  static std::string RunLengthEncode(std::string_view data);
  // A number with at most two decimals, no exponent, as PDF wants it.
  static std::string Number(double value);

 private:
  bool Emit(std::string_view bytes);

  Sink sink_;
  bool failed_ = false;
  uint64_t offset_ = 0;
  std::vector<uint64_t> offsets_;  // by object number - 1; 0 while unwritten
};

}  // namespace zanli
