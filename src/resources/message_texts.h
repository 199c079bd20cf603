#pragma once

// The editor's user-facing texts that the core's results map to, in UTF-8.
// Shared by the editor and zanli-cli; no Qt here.
namespace zanli::texts {

inline constexpr const char* kAppName = "Zanli";
inline constexpr const char* kSaveChanges = "%1 への変更を保存しますか?";                       // 102
inline constexpr const char* kDataTooLarge = "ﾃﾞｰﾀのｻｲｽﾞが大きすぎます。\n分割してください。";  // 103
inline constexpr const char* kDataInconsistent = "ﾃﾞｰﾀの不整合を発生しました";                  // 104
inline constexpr const char* kWriteFailed = "ﾌｧｲﾙへの書き込みに失敗しました";                   // 105
inline constexpr const char* kReadFailed = "%1\nﾌｧｲﾙの読み込みに失敗しました";

}  // namespace zanli::texts
