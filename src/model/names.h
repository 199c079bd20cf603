#pragma once

#include <string>
#include <string_view>

#include "model/limits.h"
#include "model/name_lookup.h"

namespace zanli {

// 1 to 15 bytes from 0x21-0x7E other than '{' and '}'.
bool IsValidPartName(std::string_view name);
// 1 to 8 bytes of the same set.
bool IsValidPatternName(std::string_view name);

// The lowest free "NEWNAME%d"; NEWNAME999 when 0 to 999 are all taken.
std::string UniquePartName(const NameLookup& taken);
// The lowest free "NEW_%d"; NEW_999 when 0 to 999 are all taken.
std::string UniquePatternName(const NameLookup& taken);

}  // namespace zanli
