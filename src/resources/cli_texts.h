#pragma once

// zanli-cli's own messages, in UTF-8, after "zanli-cli: ". %1 is the file
// the command works on; names arrive quoted and escaped (ShownName). The
// failures of reading and writing libraries use message_texts.h instead.
namespace zanli::texts::cli {

// Where a command's result goes when it is printed, in place of a path.
inline constexpr const char* kStandardOutput = "standard output";

inline constexpr const char* kNoPartNamed = "%1: no part named %2";
inline constexpr const char* kNoPartOrAliasNamed = "%1: no part or alias named %2";
inline constexpr const char* kBlockOutOfRange = "%1: block %2 is out of range: %3 has %4 block(s)";
// %3 x %4 the drawing's size, %5 the most pixels a drawing may have.
inline constexpr const char* kTooLargeToRender =
    "%1: %2 is too large to render: its drawing is %3 x %4 pixels, more than %5 pixels in all";
inline constexpr const char* kPngEncodingFailed = "%1: encoding the PNG image failed";
inline constexpr const char* kTooLargeForBlock =
    "%1: %2 is too large for a clipboard block: the block would pass 2 GiB";
// %2 the rule the block breaks (PartClipboardBlock::Why).
inline constexpr const char* kNotAClipboardBlock = "%1: not a valid part clipboard block: %2";

// add-part: %2 the part's name, or the pin list's file for the last three.
inline constexpr const char* kBadPartName =
    "%1: %2 is not a valid part name: 1 to 15 characters from ! to ~, without { and }";
inline constexpr const char* kPartNameTaken = "%1: a part or alias named %2 exists already";
inline constexpr const char* kBadPrefix = "%1: the prefix %2 cannot be stored in the library";
inline constexpr const char* kUnstorableInPinList = "%1: the character %2 cannot be stored in the library";
inline constexpr const char* kPinListRefused = "%1: the pin list cannot be pasted: %2";

}  // namespace zanli::texts::cli
