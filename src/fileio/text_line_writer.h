#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace zanli {

// Writes the fields of a text library: fields on a line are joined by commas,
// lines end with CR LF. Bytes 0x01-0x20, '%' and ',' are written as "%XX", so
// a written field never holds a separator, a space or a bare percent sign.
class TextLineWriter {
 public:
  // Where the bytes go: a file or a string, so both take the same path.
  class Sink {
   public:
    virtual ~Sink() = default;
    virtual bool Append(std::string_view bytes) = 0;
  };

  explicit TextLineWriter(Sink& sink);
  ~TextLineWriter();
  TextLineWriter(const TextLineWriter&) = delete;
  TextLineWriter& operator=(const TextLineWriter&) = delete;

  // Writes `key` and `value` as one field, both escaped; a comma goes first
  // unless the field starts a line. False once any write has failed.
  bool WriteField(std::string_view key, std::string_view value = {});
  bool WriteField(std::string_view key, int32_t value);
  bool EndLine();
  // Hands the buffered bytes to the sink; false when any write failed.
  bool Flush();

 private:
  void BeginField();
  void AppendEscaped(std::string_view text);
  bool FlushIfFull();

  Sink& sink_;
  std::string buffer_;
  bool atLineStart_ = true;
  bool failed_ = false;
};

}  // namespace zanli
