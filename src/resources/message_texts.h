#pragma once

// The editor's user-facing texts that the core's results map to, in UTF-8.
// Shared by the editor and zanli-cli; no Qt here. "%1", "%2" and "%3" are
// replaced by arguments.
namespace zanli::texts {

inline constexpr const char* kAppName = "Zanli";
inline constexpr const char* kSaveChanges = "%1 への変更を保存しますか?";                       // 102
inline constexpr const char* kDataTooLarge = "ﾃﾞｰﾀのｻｲｽﾞが大きすぎます。\n分割してください。";  // 103
inline constexpr const char* kDataInconsistent = "ﾃﾞｰﾀの不整合を発生しました";                  // 104
inline constexpr const char* kWriteFailed = "ﾌｧｲﾙへの書き込みに失敗しました";                   // 105
inline constexpr const char* kReadFailed = "%1\nﾌｧｲﾙの読み込みに失敗しました";
inline constexpr const char* kMissingTrailer =
    "ﾌｧｲﾙの終わりが見つかりません。\n内容が欠けている可能性があります";

// Why a file could not be read or written: the line after the message, after
// the file's path. System errors give the system's own text instead.
inline constexpr const char* kNotRegularFile = "通常のﾌｧｲﾙではありません";
inline constexpr const char* kFileTooLarge = "ﾌｧｲﾙが大きすぎます (上限 %1 ﾊﾞｲﾄ)";
inline constexpr const char* kNotALibrary = "ﾗｲﾌﾞﾗﾘの形式が正しくありません";
inline constexpr const char* kOverBudget = "ﾌｧｲﾙのｻｲｽﾞに比べてﾃﾞｰﾀが大きすぎます";
inline constexpr const char* kOutOfMemory = "ﾒﾓﾘが不足しています";
inline constexpr const char* kTargetNotRegular = "通常のﾌｧｲﾙではないため上書きできません";
inline constexpr const char* kTargetLinkLoop = "ｼﾝﾎﾞﾘｯｸﾘﾝｸが循環しています";
inline constexpr const char* kTargetReadOnly = "ﾌｧｲﾙは読み取り専用です。別の名前で保存してください";
inline constexpr const char* kFolderNotWritable = "ﾌｫﾙﾀﾞにﾌｧｲﾙを作成できません (%1)";
inline constexpr const char* kBackupFailed = "元のﾌｧｲﾙを %1 として残せないため中止しました (%2)";
inline constexpr const char* kBackupNameTooLong =
    "元のﾌｧｲﾙを拡張子 .$ib で残す名前が長すぎるため保存できません。短い名前で保存してください";
inline constexpr const char* kUnreadable = "このままでは読み込めないﾌｧｲﾙになります:";
inline constexpr const char* kMoreProblems = "ほか %1 件";
// A name longer than a message shows: its first characters, then this mark.
inline constexpr const char* kShortenedName = "%1…";

// The system's reasons for the common file errors; others are shown as the
// system words them.
inline constexpr const char* kNoSuchFile = "ﾌｧｲﾙまたはﾌｫﾙﾀﾞがありません";
inline constexpr const char* kAccessDenied = "ｱｸｾｽが拒否されました";
inline constexpr const char* kNoSpace = "ﾃﾞｨｽｸの空き容量が足りません";
inline constexpr const char* kReadOnlyFileSystem = "読み取り専用のﾌｧｲﾙｼｽﾃﾑです";
inline constexpr const char* kIsAFolder = "ﾌｫﾙﾀﾞです";
inline constexpr const char* kNameTooLong = "名前が長すぎます";
inline constexpr const char* kNotAFolder = "ﾊﾟｽの途中にﾌｫﾙﾀﾞでないものがあります";

// What a write problem concerns: an entry or pattern by name, or by its place
// when it has none.
inline constexpr const char* kPartNamed = "部品 %1";
inline constexpr const char* kPartNumbered = "%1番目の部品";
inline constexpr const char* kAliasNumbered = "%1番目の部品 (%2 の別名)";
inline constexpr const char* kPatternNamed = "ﾊﾟﾀｰﾝ %1";
inline constexpr const char* kPatternNumbered = "%1番目のﾊﾟﾀｰﾝ";
inline constexpr const char* kBodyNumbered = "%1番目の部品ﾃﾞｰﾀ (名前なし)";

// What is wrong with it: %1 the value found, %2 the limit.
inline constexpr const char* kProblemPatternSize = "幅と高さは 1～%2 ﾄﾞｯﾄです (%1)";
inline constexpr const char* kProblemPatternImage = "ｲﾒｰｼﾞが %1 ﾊﾞｲﾄあり、上限の %2 ﾊﾞｲﾄを超えます";
inline constexpr const char* kProblemBitmapArea =
    "ﾊﾟﾀｰﾝのｲﾒｰｼﾞが合計 %1 ﾊﾞｲﾄになり、上限の %2 ﾊﾞｲﾄを超えます";
inline constexpr const char* kProblemBodySize = "ｻｲｽﾞとﾌﾞﾛｯｸ数は 1～%2 です (%1)";
inline constexpr const char* kProblemPinCount = "ﾋﾟﾝが %1 本あり、上限の %2 本を超えます";
inline constexpr const char* kProblemPinPosition = "ﾋﾟﾝの位置 %1 が 0～%2 の範囲外です";
inline constexpr const char* kProblemPinName = "ﾋﾟﾝ名が %1 ﾊﾞｲﾄあり、上限の %2 ﾊﾞｲﾄを超えます";
inline constexpr const char* kProblemPartRecord = "部品ﾃﾞｰﾀが %1 ﾊﾞｲﾄあり、上限の %2 ﾊﾞｲﾄを超えます";
inline constexpr const char* kProblemPartRecordArea =
    "部品ﾃﾞｰﾀが合計 %1 ﾊﾞｲﾄになり、上限の %2 ﾊﾞｲﾄを超えます";
inline constexpr const char* kProblemStringPool =
    "名前と文字列が合計 %1 ﾊﾞｲﾄになり、上限の %2 ﾊﾞｲﾄを超えます";
inline constexpr const char* kProblemEntryCount = "部品と別名が %1 個あり、上限の %2 個を超えます";
inline constexpr const char* kProblemFileSize = "ﾌｧｲﾙが %1 ﾊﾞｲﾄになり、上限の %2 ﾊﾞｲﾄを超えます";
inline constexpr const char* kProblemReadBudget =
    "読み込みに %1 ﾊﾞｲﾄのﾒﾓﾘが必要になり、上限の %2 ﾊﾞｲﾄを超えます";
inline constexpr const char* kProblemMissingBody = "部品の本体がﾗｲﾌﾞﾗﾘにありません";
inline constexpr const char* kProblemEmptyName = "名前がありません";
inline constexpr const char* kProblemLongName = "名前か文字列が %1 ﾊﾞｲﾄあり、上限の %2 ﾊﾞｲﾄを超えます";

// Part names and the part commands.
inline constexpr const char* kPartNameTaken = "部品名 %1 は既に存在しています";     // 106
inline constexpr const char* kPartNameInvalid = "%1 は有効な部品名ではありません";  // 107
inline constexpr const char* kRenamePartCaption = "部品名の変更";
inline constexpr const char* kNewPartCaption = "新しい部品";                            // 108
inline constexpr const char* kNewAliasCaption = "新しい別名";                           // 109
inline constexpr const char* kXSizeRange = "Xｻｲｽﾞは1～255でなければなりません";         // 110
inline constexpr const char* kYSizeRange = "Yｻｲｽﾞは1～255でなければなりません";         // 111
inline constexpr const char* kBlockCountRange = "ﾌﾞﾛｯｸ数は1～255でなければなりません";  // 112
inline constexpr const char* kPastedPartRenamed =
    "同名の部品が存在するため\r\n  %1を\r\n  %2 に\r\n変更して貼り付けます";  // 120
// A pasted part without a name (no file could hold one) gets a default name.
inline constexpr const char* kPastedPartNamed = "名前のない部品を\r\n  %1 として\r\n貼り付けます";
inline constexpr const char* kPastedPatternRenamed =
    "同名のﾊﾟﾀｰﾝが存在するため\r\n  %1 を\r\n  %2 に\r\n変更して貼り付けます";  // 121
inline constexpr const char* kUseExistingPattern =
    "貼り付けようとしたものと同じ内容のﾊﾟﾀｰﾝが存在します\r\n既存のﾊﾟﾀｰﾝを使いますか?";  // 122
inline constexpr const char* kPasteDataDamaged = "貼り付けるﾃﾞｰﾀが壊れています";
// Which rule a part clipboard block breaks, after kPasteDataDamaged or
// zanli-cli's kNotAClipboardBlock; %1 the limit.
inline constexpr const char* kBlockTooShort = "ﾃﾞｰﾀが見出しの %1 ﾊﾞｲﾄに足りません";
inline constexpr const char* kBlockBodySize = "部品のｻｲｽﾞが 1～%1 を外れています";
inline constexpr const char* kBlockBlockCount = "ﾌﾞﾛｯｸ数が 1～%1 を外れています";
inline constexpr const char* kBlockPinCount = "ﾋﾟﾝの数だけの記録がﾃﾞｰﾀにありません";
inline constexpr const char* kBlockPinEdge = "ﾋﾟﾝの辺が 0～3 を外れています";
inline constexpr const char* kBlockPinPosition = "ﾋﾟﾝの位置が 0～%1 を外れています";
inline constexpr const char* kBlockStringOutside = "文字列がﾃﾞｰﾀの外を指しているか、終わりがありません";
inline constexpr const char* kBlockStringsTooLarge = "文字列が合計 %1 ﾊﾞｲﾄを超えます";
inline constexpr const char* kBlockPatternRecord = "ﾊﾟﾀｰﾝの記録がﾃﾞｰﾀの外にあります";
inline constexpr const char* kBlockPatternSize = "ﾊﾟﾀｰﾝのｻｲｽﾞが 1～%1 を外れています";
inline constexpr const char* kBlockPatternBitmap = "ﾊﾟﾀｰﾝの画像がﾃﾞｰﾀに収まりません";

// A character typed or pasted into a field that the library's code page has no
// code for; %1 the character.
inline constexpr const char* kUnstorableCharacter = "この文字はﾗｲﾌﾞﾗﾘに保存できません: %1";

}  // namespace zanli::texts
