#pragma once

// Texts of the pin table, the pin-list paste and `zanli-cli add-part`, in
// UTF-8. "%1" and "%2" are replaced by arguments.
namespace zanli::texts {

inline constexpr const char* kPinTableTitle = "ﾋﾟﾝ一覧 - %1";
inline constexpr const char* kBadSide = "辺は 左、上、右、下 (L, T, R, B) のどれかです";
inline constexpr const char* kPositionRange = "位置は 0 から %1 までです";
inline constexpr const char* kPlaceTaken = "その位置には既にﾋﾟﾝがあります";
inline constexpr const char* kNumberTooLong = "ﾋﾟﾝ番号は16文字までです";
inline constexpr const char* kBadNumberText = "ﾋﾟﾝ番号にﾗｲﾌﾞﾗﾘに保存できない文字があります";
inline constexpr const char* kBadNameText = "ﾋﾟﾝ名にﾗｲﾌﾞﾗﾘに保存できない文字があります";

// Why a pin list cannot be pasted, by PinListProblem, and the row at fault.
inline constexpr const char* kPinListRow = "%1行目: %2";
inline constexpr const char* kNoPins = "ﾋﾟﾝになる行がありません";
inline constexpr const char* kBadPosition = "位置が数ではありません";
inline constexpr const char* kBeyondLastPosition = "位置が255を超えます";
inline constexpr const char* kTooManyBlocks = "ﾌﾞﾛｯｸは256までです";
inline constexpr const char* kPinListRefused = "ﾋﾟﾝ一覧を貼り付けられません";

}  // namespace zanli::texts
