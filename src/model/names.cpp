#include "model/names.h"

namespace zanli {

namespace {

bool IsNameByte(unsigned char c) { return c >= 0x21 && c <= 0x7E && c != '{' && c != '}'; }

bool IsValidName(std::string_view name, size_t maxLength) {
  if (name.empty() || name.size() > maxLength) return false;
  for (char c : name)
    if (!IsNameByte(static_cast<unsigned char>(c))) return false;
  return true;
}

std::string UniqueName(const NameLookup& taken, std::string_view stem) {
  std::string candidate;
  for (int i = 0; i <= 999; ++i) {
    candidate.assign(stem);
    candidate += std::to_string(i);
    if (!taken.IsNameTaken(candidate)) return candidate;
  }
  // Every default name is in use: callers get the last one all the same.
  return candidate;
}

}  // namespace

bool IsValidPartName(std::string_view name) { return IsValidName(name, limits::kMaxPartNameLength); }

bool IsValidPatternName(std::string_view name) { return IsValidName(name, limits::kMaxPatternNameLength); }

std::string UniquePartName(const NameLookup& taken) { return UniqueName(taken, "NEWNAME"); }

std::string UniquePatternName(const NameLookup& taken) { return UniqueName(taken, "NEW_"); }

}  // namespace zanli
