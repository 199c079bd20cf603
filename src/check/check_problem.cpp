#include "check/check_problem.h"

namespace zanli {

namespace {

struct KindInfo {
  CheckKind kind;
  const char* id;
  CheckSeverity severity;
};

using S = CheckSeverity;
using K = CheckKind;

// In the order of CheckKind; the static_assert below keeps them in step.
constexpr KindInfo kKinds[] = {
    {K::RefusedPatternSide, "refused_pattern_side", S::Error},
    {K::RefusedPatternImage, "refused_pattern_image", S::Error},
    {K::RefusedBitmapArea, "refused_bitmap_area", S::Error},
    {K::RefusedXSize, "refused_x_size", S::Error},
    {K::RefusedYSize, "refused_y_size", S::Error},
    {K::RefusedBlockCount, "refused_block_count", S::Error},
    {K::RefusedPinCount, "refused_pin_count", S::Error},
    {K::RefusedPartRecordSize, "refused_part_record_size", S::Error},
    {K::RefusedPinPosition, "refused_pin_position", S::Error},
    {K::RefusedPinNameLength, "refused_pin_name_length", S::Error},
    {K::RefusedPartRecordArea, "refused_part_record_area", S::Error},
    {K::RefusedStringPool, "refused_string_pool", S::Error},
    {K::RefusedEntryCount, "refused_entry_count", S::Error},
    {K::RefusedFileSize, "refused_file_size", S::Error},
    {K::RefusedEntryWithoutBody, "refused_entry_without_body", S::Error},
    {K::UnreadableEmptyPartName, "unreadable_empty_part_name", S::Error},
    {K::UnreadableEmptyPatternName, "unreadable_empty_pattern_name", S::Error},
    {K::UnreadablePartSize, "unreadable_part_size", S::Error},
    {K::UnreadableBlockCount, "unreadable_block_count", S::Error},
    {K::UnreadablePatternSize, "unreadable_pattern_size", S::Error},
    {K::UnreadableLongName, "unreadable_long_name", S::Error},
    {K::UnreadableTooLarge, "unreadable_too_large", S::Error},
    {K::Unreadable, "unreadable", S::Error},
    {K::SaveNotChecked, "save_not_checked", S::Error},
    {K::EntryLost, "entry_lost", S::Warning},
    {K::EntryAdded, "entry_added", S::Warning},
    {K::EntryRenamed, "entry_renamed", S::Warning},
    {K::AliasChanged, "alias_changed", S::Warning},
    {K::PatternLost, "pattern_lost", S::Warning},
    {K::PatternAdded, "pattern_added", S::Warning},
    {K::PatternRenamed, "pattern_renamed", S::Warning},
    {K::PatternSizeChanged, "pattern_size_changed", S::Warning},
    {K::PatternBitsChanged, "pattern_bits_changed", S::Warning},
    {K::PartPatternChanged, "part_pattern_changed", S::Warning},
    {K::PartSizeChanged, "part_size_changed", S::Warning},
    {K::BlockCountChanged, "block_count_changed", S::Warning},
    {K::PrefixChanged, "prefix_changed", S::Warning},
    {K::PinLost, "pin_lost", S::Warning},
    {K::PinAdded, "pin_added", S::Warning},
    {K::PinMoved, "pin_moved", S::Warning},
    {K::PinNameChanged, "pin_name_changed", S::Warning},
    {K::PinFlagsChanged, "pin_flags_changed", S::Warning},
    {K::PinNumberChanged, "pin_number_changed", S::Warning},
    {K::PinOutsideBody, "pin_outside_body", S::Warning},
    {K::PinsAtOnePosition, "pins_at_one_position", S::Error},
    {K::DuplicatePinNumber, "duplicate_pin_number", S::Error},
    {K::PartlyNumberedPin, "partly_numbered_pin", S::Warning},
    {K::PatternTooSmall, "pattern_too_small", S::Warning},
    {K::UnusedPattern, "unused_pattern", S::Info},
    {K::InvalidPartName, "invalid_part_name", S::Warning},
    {K::DuplicatePartName, "duplicate_part_name", S::Warning},
    {K::InvalidPatternName, "invalid_pattern_name", S::Warning},
    {K::DuplicatePatternName, "duplicate_pattern_name", S::Warning},
    {K::PinNameUndrawable, "pin_name_undrawable", S::Warning},
    {K::PinNumberUndrawable, "pin_number_undrawable", S::Warning},
};

constexpr bool InKindOrder() {
  for (int i = 0; i < kCheckKindCount; ++i)
    if (static_cast<int>(kKinds[i].kind) != i) return false;
  return true;
}
static_assert(sizeof kKinds / sizeof kKinds[0] == kCheckKindCount && InKindOrder(),
              "kKinds must list every CheckKind in order");

const KindInfo& InfoOf(CheckKind kind) { return kKinds[static_cast<int>(kind)]; }

}  // namespace

CheckSeverity SeverityOf(CheckKind kind) { return InfoOf(kind).severity; }

bool IsSaveRefusal(CheckKind kind) {
  return static_cast<int>(kind) >= static_cast<int>(CheckKind::RefusedPatternSide) &&
         static_cast<int>(kind) <= static_cast<int>(CheckKind::Unreadable);
}

const char* KindId(CheckKind kind) { return InfoOf(kind).id; }

const char* SeverityId(CheckSeverity severity) {
  switch (severity) {
    case CheckSeverity::Error:
      return "error";
    case CheckSeverity::Warning:
      return "warning";
    case CheckSeverity::Info:
      return "info";
  }
  return "error";
}

}  // namespace zanli
