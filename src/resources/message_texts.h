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

// Part names and the part commands.
inline constexpr const char* kPartNameTaken = "部品名 %1 は既に存在しています";              // 106
inline constexpr const char* kPartNameInvalid = "%1 は有効な部品名ではありません";            // 107
inline constexpr const char* kRenamePartCaption = "部品名の変更";
inline constexpr const char* kNewPartCaption = "新しい部品";                                   // 108
inline constexpr const char* kNewAliasCaption = "新しい別名";                                  // 109
inline constexpr const char* kXSizeRange = "Xｻｲｽﾞは1～255でなければなりません";              // 110
inline constexpr const char* kYSizeRange = "Yｻｲｽﾞは1～255でなければなりません";              // 111
inline constexpr const char* kBlockCountRange = "ﾌﾞﾛｯｸ数は1～255でなければなりません";        // 112
inline constexpr const char* kPastedPartRenamed =
    "同名の部品が存在するため\r\n  %1を\r\n  %2 に\r\n変更して貼り付けます";  // 120
inline constexpr const char* kPastedPatternRenamed =
    "同名のﾊﾟﾀｰﾝが存在するため\r\n  %1 を\r\n  %2 に\r\n変更して貼り付けます";  // 121
inline constexpr const char* kUseExistingPattern =
    "貼り付けようとしたものと同じ内容のﾊﾟﾀｰﾝが存在します\r\n既存のﾊﾟﾀｰﾝを使いますか?";  // 122
inline constexpr const char* kPasteDataDamaged = "貼り付けるﾃﾞｰﾀが壊れています";

}  // namespace zanli::texts
