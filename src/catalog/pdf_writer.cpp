#include "catalog/pdf_writer.h"

#include <cmath>
#include <cstdio>
#include <utility>

namespace zanli {

PdfWriter::PdfWriter(Sink sink) : sink_(std::move(sink)) {
  // The comment of high bytes tells transfer programs the file is binary.
  Emit("%PDF-1.4\n%\xE2\xE3\xCF\xD3\n");
}

bool PdfWriter::Emit(std::string_view bytes) {
  if (failed_) return false;
  if (!sink_(bytes)) {
    failed_ = true;
    return false;
  }
  offset_ += bytes.size();
  return true;
}

int32_t PdfWriter::Reserve() {
  offsets_.push_back(0);
  return static_cast<int32_t>(offsets_.size());
}

bool PdfWriter::WriteObject(int32_t id, std::string_view value) {
  offsets_[static_cast<size_t>(id) - 1] = offset_;
  const std::string head = std::to_string(id) + " 0 obj\n";
  return Emit(head) && Emit(value) && Emit("\nendobj\n");
}

bool PdfWriter::WriteStream(int32_t id, std::string_view dictionary, std::string_view data) {
  offsets_[static_cast<size_t>(id) - 1] = offset_;
  std::string head = std::to_string(id) + " 0 obj\n<< ";
  head.append(dictionary).append(" /Length ").append(std::to_string(data.size())).append(" >>\nstream\n");
  return Emit(head) && Emit(data) && Emit("\nendstream\nendobj\n");
}

bool PdfWriter::Finish(int32_t root, int32_t info) {
  const uint64_t xref = offset_;
  std::string table =
      std::string("xref\n0 ").append(std::to_string(offsets_.size() + 1)) + "\n0000000000 65535 f \n";
  if (!Emit(table)) return false;
  // Entries of exactly 20 bytes; a reserved object never written is free.
  std::string chunk;
  for (size_t i = 0; i < offsets_.size(); ++i) {
    char entry[24];
    std::snprintf(entry, sizeof entry, offsets_[i] ? "%010llu 00000 n \n" : "%010llu 00000 f \n",
                  static_cast<unsigned long long>(offsets_[i]));
    chunk += entry;
    if (chunk.size() >= 64 * 1024 && !Emit(std::exchange(chunk, {}))) return false;
  }
  std::string trailer = chunk + "trailer\n<< /Size " + std::to_string(offsets_.size() + 1) + " /Root " +
                        std::to_string(root) + " 0 R";
  if (info != 0) trailer.append(" /Info ").append(std::to_string(info)).append(" 0 R");
  trailer.append(" >>\nstartxref\n").append(std::to_string(xref)).append("\n%%EOF\n");
  return Emit(trailer);
}

std::string PdfWriter::Literal(std::string_view text) {
  std::string out = "(";
  for (const char c : text) {
    if (c == '(' || c == ')' || c == '\\') out += '\\';
    out += c >= 0x20 && c <= 0x7E ? c : '?';
  }
  return out + ")";
}

std::string PdfWriter::RunLengthEncode(std::string_view data) {
  // A length byte n: 0-127 copies the next n + 1 bytes, 129-255 repeats the
  // next byte 257 - n times; 128 ends the data.
  // Runs shorter than three cost no less as literal bytes, so only longer
  // ones break a literal: the output is never more than one byte in 128
  // longer than the input, plus the end marker.
  const auto runAt = [&](size_t at) {
    size_t run = 1;
    while (at + run < data.size() && run < 128 && data[at + run] == data[at]) ++run;
    return run;
  };
  std::string out;
  size_t i = 0;
  while (i < data.size()) {
    const size_t run = runAt(i);
    if (run >= 3) {
      out += static_cast<char>(257 - run);
      out += data[i];
      i += run;
      continue;
    }
    size_t end = i + 1;
    while (end < data.size() && end - i < 128 && runAt(end) < 3) ++end;
    out += static_cast<char>(end - i - 1);
    out.append(data.substr(i, end - i));
    i = end;
  }
  out += static_cast<char>(128);
  return out;
}

std::string PdfWriter::Number(double value) {
  const double rounded = std::round(value * 100) / 100;
  char text[32];
  std::snprintf(text, sizeof text, "%.2f", rounded == 0 ? 0.0 : rounded);
  std::string out = text;
  while (out.back() == '0') out.pop_back();
  if (out.back() == '.') out.pop_back();
  return out;
}

}  // namespace zanli
