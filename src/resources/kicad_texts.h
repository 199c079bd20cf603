#pragma once

// The texts of KiCad symbol import and export, in UTF-8, in the style of the
// editor's own. "%1", "%2" and "%3" are replaced by arguments. Shared by the
// editor and zanli-cli; no Qt here.
namespace zanli::texts::kicad {

// A symbol's outcome.
inline constexpr const char* kExact = "そのまま";
inline constexpr const char* kChanged = "変更あり";
inline constexpr const char* kRefused = "取り込めません";

// Why a file cannot be read: the line after the path. System errors give
// the system's own text instead.
inline constexpr const char* kNotSymbolLibrary = "KiCad のｼﾝﾎﾞﾙﾗｲﾌﾞﾗﾘではありません";
inline constexpr const char* kSyntax = "%1 行目: %2";
inline constexpr const char* kEmpty = "中身がありません";
inline constexpr const char* kNotAList = "S式ではありません";
inline constexpr const char* kTooDeep = "かっこの入れ子が深すぎます";
inline constexpr const char* kTokenTooLong = "長すぎる語があります";
inline constexpr const char* kUnterminated = "文字列が閉じていません";
inline constexpr const char* kUnclosed = "かっこが閉じていません";
inline constexpr const char* kStrayClose = "対応する開きかっこのない閉じかっこがあります";
inline constexpr const char* kTrailingText = "最後のかっこの後に文字があります";
inline constexpr const char* kTooManyNodes = "ﾌｧｲﾙのｻｲｽﾞに比べて要素が多すぎます";

// Refusals.
inline constexpr const char* kUnreadable = "%1 が正しくありません (%2 行目)";
inline constexpr const char* kUnreadableRange = "%1 の数値が範囲外です (%2 行目)";
inline constexpr const char* kUnreadablePoints = "%1 の点が多すぎます (%2 行目)";
inline constexpr const char* kUnreadableTooLarge = "ｼﾝﾎﾞﾙが大きすぎます (%2 行目)";
inline constexpr const char* kNoPins = "ﾋﾟﾝがありません";
inline constexpr const char* kPinDirection = "ﾋﾟﾝ %1 の向き (%2 度) が上下左右のどれでもありません";
inline constexpr const char* kPinDirectionOdd = "ﾋﾟﾝ %1 の向きが上下左右のどれでもありません";
inline constexpr const char* kTooManyPlaces = "辺に %1 か所が必要で、部品の辺に収まりません";
inline constexpr const char* kTooManyUnits = "ﾕﾆｯﾄが %1 個あり、ﾌﾞﾛｯｸの上限を超えます";
inline constexpr const char* kMissingBase = "元のｼﾝﾎﾞﾙ %1 がﾌｧｲﾙにありません";
inline constexpr const char* kBaseRefused = "元のｼﾝﾎﾞﾙ %1 を取り込めません";

// Changes.
inline constexpr const char* kPinsMoved = "ﾋﾟﾝ %1 本を動かしました (最大 %2 mm)";
inline constexpr const char* kStackedPins = "同じ位置のﾋﾟﾝをﾋﾟﾝ %1 にまとめました (%2)";
inline constexpr const char* kUnitsSplit = "ﾕﾆｯﾄごとに別の部品にしました: %1";
inline constexpr const char* kPowerUnit = "電源ﾋﾟﾝだけのﾕﾆｯﾄ %1 のﾋﾟﾝを各ﾌﾞﾛｯｸに入れました";
inline constexpr const char* kEmptyUnit = "ﾋﾟﾝのないﾕﾆｯﾄ %1 は入れません";
inline constexpr const char* kRenamed = "部品名を %1 にしました";

// What the library does not keep.
inline constexpr const char* kHiddenPins = "非表示のﾋﾟﾝを番号非表示で表示します: %1";
inline constexpr const char* kPinNamesHidden = "非表示のﾋﾟﾝ名を表示します";
inline constexpr const char* kPinTypes = "ﾋﾟﾝの種類は残りません: %1";
inline constexpr const char* kPinShapes = "ﾋﾟﾝの形を近いものにしました: %1";
inline constexpr const char* kPinCharacters = "ﾋﾟﾝ名か番号の文字を ? にしました: ﾋﾟﾝ %1";
inline constexpr const char* kAlternateFunctions = "ﾋﾟﾝの代替機能 %1 件は残りません";
inline constexpr const char* kAlternateStyle = "代替の本体 (ﾄﾞ･ﾓﾙｶﾞﾝ) は残りません";
inline constexpr const char* kProperties = "ﾌﾟﾛﾊﾟﾃｨは残りません: %1";
inline constexpr const char* kTexts = "図の中の文字 %1 件は残りません";
inline constexpr const char* kDrawingCut = "本体からはみ出た図を切り取りました";
inline constexpr const char* kDrawingTooLarge = "図がﾊﾟﾀｰﾝには大きすぎるため枠で描きます (%1x%2)";
inline constexpr const char* kReferenceLetters = "ﾘﾌｧﾚﾝｽ %1 のうち %2 を接頭語にしました";
inline constexpr const char* kAliasReference = "別名のﾘﾌｧﾚﾝｽ %1 は残らず、部品の接頭語 %2 になります";

// Export: what a KiCad file cannot say as the library does.
inline constexpr const char* kExportPinName = "部品 %1: ﾋﾟﾝ名 %2 はそのままでは書けません";
inline constexpr const char* kExportStacked =
    "部品 %1: 同じ位置のﾋﾟﾝが重なり、読み戻すと 1 本になります (%2)";
inline constexpr const char* kExportOutside = "部品 %1: 本体の外のﾋﾟﾝは読み戻すと辺に移ります (%2)";
inline constexpr const char* kExportName = "部品 %1 の名前を %2 として書きます";
inline constexpr const char* kExportText = "部品 %1: 文字を UTF-8 にできません: %2";

}  // namespace zanli::texts::kicad
