#pragma once

#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>

#include "fileio/text_line_reader.h"
#include "model/library.h"

namespace zanli::text_test {

// A compact, order-preserving picture of a library for comparisons:
// patterns with their rows in hex, bodies with their pins, entries with the
// index of their body.
inline std::string Describe(const Library& library) {
  std::ostringstream out;
  std::map<const Pattern*, size_t> patternIndex;
  for (const auto& p : library.patterns) {
    patternIndex[p.get()] = patternIndex.size();
    out << "ptn " << p->name << ' ' << p->width << 'x' << p->height;
    const size_t stride = p->width > 0 ? static_cast<size_t>(p->Stride()) : 0;
    for (size_t i = 0; i < p->bits.size(); ++i) {
      char hex[4];
      std::snprintf(hex, sizeof hex, "%02x", p->bits[i]);
      out << (stride && i % stride == 0 ? " " : "") << hex;
    }
    out << "; ";
  }
  std::map<const PartBody*, size_t> bodyIndex;
  for (const auto& b : library.bodies) {
    bodyIndex[b.get()] = bodyIndex.size();
    out << "body " << b->xSize << 'x' << b->ySize << " b" << b->blockCount << " R=" << b->numberPrefix;
    if (b->pattern) out << " P=" << b->pattern->name << '#' << patternIndex[b->pattern];
    for (const auto& pin : b->pins) {
      out << " | pin " << pin->name << " f" << pin->flags << " e" << static_cast<int>(pin->edge) << ':'
          << pin->position << " [";
      for (size_t i = 0; i < pin->numbers.size(); ++i) out << (i ? "," : "") << pin->numbers[i];
      out << ']';
    }
    out << "; ";
  }
  for (const auto& e : library.entries) {
    out << e->name << "->";
    if (bodyIndex.count(e->body))
      out << bodyIndex[e->body];
    else
      out << '?';
    out << "; ";
  }
  std::string text = out.str();
  if (text.size() >= 2) text.resize(text.size() - 2);
  return text;
}

// Hands out bytes a few at a time, as a slow file might.
class PieceSource : public TextLineReader::Source {
 public:
  PieceSource(std::string_view bytes, size_t piece) : bytes_(bytes), piece_(piece) {}
  size_t Read(char* out, size_t size) override {
    const size_t n = std::min({size, piece_, bytes_.size()});
    bytes_.copy(out, n);
    bytes_.remove_prefix(n);
    return n;
  }

 private:
  std::string_view bytes_;
  size_t piece_;
};

// Turns LF line ends into CR LF, as the writer ends its lines.
inline std::string Crlf(std::string_view text) {
  std::string out;
  for (char c : text) {
    if (c == '\n') out.push_back('\r');
    out.push_back(c);
  }
  return out;
}

inline std::string FileBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

inline void PutFile(const std::filesystem::path& path, std::string_view bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// A fresh directory removed with its contents at the end of the test.
class TempDir {
 public:
  TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "zanli-text-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    path_ = pattern;
  }
  ~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  const std::filesystem::path& path() const { return path_; }
  std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

 private:
  std::filesystem::path path_;
};

}  // namespace zanli::text_test
