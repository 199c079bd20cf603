#pragma once

#include <functional>
#include <initializer_list>
#include <string>
#include <string_view>

#include "fileio/library_file_result.h"

namespace zanli {

// The user's texts for the results of LibraryFile, in UTF-8: the editor's
// message first (103, 104, 105, or the read failure), then a line with the
// path and why, from the system (strerror) or in the editor's words.
//
// Paths come in the form the caller shows them. Names from a library are
// Shift-JIS bytes, so they reach the text only through `decode`, which the
// GUI gives a Shift-JIS decoder and zanli-cli an escaping one.
class LibraryFileMessages {
 public:
  using NameDecoder = std::function<std::string(std::string_view bytes)>;

  // The message of a failed read; empty for a successful one.
  static std::string ReadFailure(const ReadResult& result, std::string_view shownPath);
  // The warning after a read whose text ends without its closing line.
  static std::string MissingTrailer();
  // The system's reason for an errno value, in the editor's words for the
  // common ones.
  static std::string SystemReason(int error);
  // The message of a failed write; empty for a successful one. Lists up to
  // kMaxListed problems, then how many more there are.
  static std::string WriteFailure(const WriteResult& result, std::string_view shownPath,
                                  const NameDecoder& decode);

  static constexpr size_t kMaxListed = 10;

  // Names longer than this many characters (a Shift-JIS double-byte
  // character counts as one) are cut in every message, so one odd name of
  // 40,000 bytes cannot flood it.
  static constexpr size_t kMaxShownCharacters = 64;
  // The bytes of `name` a message shows: all of them, or the first
  // kMaxShownCharacters characters.
  static std::string_view ShownPart(std::string_view name);
  // `name` as a message shows it: its ShownPart decoded, followed by "…"
  // when that is not all of it.
  static std::string ShownName(std::string_view name, const NameDecoder& decode);

  // One problem, e.g. "部品 NAND: ﾋﾟﾝが 5000 本あり、上限の 4095 本を超えます".
  static std::string Describe(const WriteProblem& problem, const NameDecoder& decode);
  // `text` with "%1", "%2", ... replaced by `args` in order.
  static std::string Format(std::string_view text, std::initializer_list<std::string_view> args);
};

}  // namespace zanli
