#pragma once

// The texts of the library checker and of the save-loss list, in UTF-8, in the
// style of the editor's own texts. "%1", "%2" and "%3" are replaced by
// arguments. Shared by the editor and zanli-cli; no Qt here.
namespace zanli::texts::check {

// The heading of the save dialog's list, its buttons, and the line that
// counts what the list leaves out.
inline constexpr const char* kSaveChangesHeading = "保存すると次の内容が変わります";
inline constexpr const char* kSaveButton = "保存";
inline constexpr const char* kCancelButton = "ｷｬﾝｾﾙ";
inline constexpr const char* kMoreChanges = "ほか %1 件";
// When the check could not run before a save: Save saves all the same.
inline constexpr const char* kSaveUnchecked =
    "ﾒﾓﾘが足りないため、保存で変わる内容を確かめられませんでした。\nこのまま保存しますか?";

// The checker window.
inline constexpr const char* kCheckCaption = "ﾗｲﾌﾞﾗﾘのﾁｪｯｸ";
inline constexpr const char* kNoProblems = "問題は見つかりませんでした";
// After the problems, when more of one kind were found than are listed:
// %1 how many are left out, %2 how many of a kind are listed.
inline constexpr const char* kOmitted = "ほか %1 件 (同じ種類の問題は %2 件まで挙げます)";
inline constexpr const char* kCheckAgain = "再ﾁｪｯｸ(&R)";
inline constexpr const char* kClose = "閉じる";

inline constexpr const char* kError = "ｴﾗｰ";
inline constexpr const char* kWarning = "警告";
inline constexpr const char* kInfo = "情報";

// Subjects, joined by kSubjectSeparator and followed by kSubjectEnd.
inline constexpr const char* kPart = "部品 %1";
inline constexpr const char* kUnnamedBody = "名前のない部品本体 %1";  // %1: its place in the library, from 1
inline constexpr const char* kPattern = "ﾊﾟﾀｰﾝ %1";
inline constexpr const char* kPin = "ﾋﾟﾝ %1";            // %1: edge and position
inline constexpr const char* kNamedPin = "ﾋﾟﾝ %1 (%2)";  // %2: the pin's name
inline constexpr const char* kBlock = "ﾌﾞﾛｯｸ%1";
inline constexpr const char* kSubjectSeparator = ", ";
inline constexpr const char* kSubjectEnd = ": ";
inline constexpr const char* kEdges[] = {"左", "上", "右", "下"};

// Values.
inline constexpr const char* kNothing = "(なし)";
inline constexpr const char* kHiddenNumber = "%1 (非表示)";
inline constexpr const char* kNegativeLogic = "負論理";
inline constexpr const char* kClock = "ｸﾛｯｸ";
inline constexpr const char* kNumberNearBody = "番号をﾊﾟｰﾂに寄せる";
inline constexpr const char* kFlagSeparator = "・";

// The binary writer's refusals: %1 what the library needs, %2 the limit.
inline constexpr const char* kRefusedBinary = "ﾊﾞｲﾅﾘ形式では保存できません: %1";
inline constexpr const char* kRefusedPatternSide = "ﾊﾟﾀｰﾝのｻｲｽﾞ %3 が 1～%2 を外れています";
inline constexpr const char* kRefusedPatternImage = "ﾊﾟﾀｰﾝ %3 の画像が %1 ﾊﾞｲﾄで、上限 %2 ﾊﾞｲﾄを超えています";
inline constexpr const char* kRefusedBitmapArea = "ﾊﾟﾀｰﾝ画像の領域が %1 ﾊﾞｲﾄになり、上限 %2 ﾊﾞｲﾄを超えます";
inline constexpr const char* kRefusedXSize = "Xｻｲｽﾞ %1 が 1～%2 を外れています";
inline constexpr const char* kRefusedYSize = "Yｻｲｽﾞ %1 が 1～%2 を外れています";
inline constexpr const char* kRefusedBlockCount = "ﾌﾞﾛｯｸ数 %1 が 1～%2 を外れています";
inline constexpr const char* kRefusedPinCount = "ﾋﾟﾝ数 %1 が上限 %2 を超えています";
inline constexpr const char* kRefusedPartRecordSize = "部品のﾃﾞｰﾀが %1 ﾊﾞｲﾄで、上限 %2 ﾊﾞｲﾄを超えています";
inline constexpr const char* kRefusedPinPosition = "ﾋﾟﾝの位置 %1 が 0～%2 を外れています";
inline constexpr const char* kRefusedPinNameLength = "ﾋﾟﾝ名が %1 文字で、上限 %2 文字を超えています";
inline constexpr const char* kRefusedPartRecordArea =
    "部品ﾃﾞｰﾀの領域が %1 ﾊﾞｲﾄになり、上限 %2 ﾊﾞｲﾄを超えます";
inline constexpr const char* kRefusedStringPool = "文字列の領域が %1 ﾊﾞｲﾄになり、上限 %2 ﾊﾞｲﾄを超えます";
inline constexpr const char* kRefusedEntryCount = "部品名の数 %1 が上限 %2 を超えています";
inline constexpr const char* kRefusedFileSize = "ﾌｧｲﾙが %1 ﾊﾞｲﾄになり、上限 %2 ﾊﾞｲﾄを超えます";
inline constexpr const char* kRefusedEntryWithoutBody =
    "保存できません: ﾃﾞｰﾀの不整合 (部品の本体がありません)";

// A file its reader would refuse.
inline constexpr const char* kUnreadable = "保存したﾌｧｲﾙは読み込めなくなります";
inline constexpr const char* kUnreadableBecause = "保存したﾌｧｲﾙは読み込めなくなります: %1";
// The save check ran out of memory: nothing is known, nothing is refused.
inline constexpr const char* kSaveNotChecked = "ﾒﾓﾘが足りないため、保存で変わる内容を確かめられませんでした";
inline constexpr const char* kNameTooLong = "名前が長すぎます (%1 ﾊﾞｲﾄ、最大 %2)";
inline constexpr const char* kTextTooLarge = "ﾃﾞｰﾀが大きすぎます (読み込みに %1 ﾊﾞｲﾄ、上限 %2)";
inline constexpr const char* kEmptyPartName = "部品名が空です";
inline constexpr const char* kEmptyPatternName = "ﾊﾟﾀｰﾝ名が空です";
inline constexpr const char* kSizeOutOfRange = "ｻｲｽﾞ %1 が 1～%2 を外れています";
inline constexpr const char* kBlockCountOutOfRange = "ﾌﾞﾛｯｸ数 %1 が 1～%2 を外れています";

// Changes a save makes.
inline constexpr const char* kEntryLost = "保存するとこの部品名はなくなります";
inline constexpr const char* kEntryAdded = "保存すると部品名 %1 が加わります";
inline constexpr const char* kEntryRenamed = "保存すると部品名が %1 に変わります";
inline constexpr const char* kAliasChanged = "保存すると本体を共有する部品が %1 から %2 に変わります";
inline constexpr const char* kPatternLost = "保存するとこのﾊﾟﾀｰﾝはなくなります";
inline constexpr const char* kPatternAdded = "保存するとﾊﾟﾀｰﾝ %1 が加わります";
inline constexpr const char* kPatternRenamed = "保存するとﾊﾟﾀｰﾝ名が %1 に変わります";
inline constexpr const char* kPatternSizeChanged = "保存するとﾊﾟﾀｰﾝのｻｲｽﾞが %1 から %2 に変わります";
inline constexpr const char* kPatternBitsChanged = "保存するとﾊﾟﾀｰﾝの %1 行目から絵が変わります";
inline constexpr const char* kPartPatternChanged = "保存すると使うﾊﾟﾀｰﾝが %1 から %2 に変わります";
inline constexpr const char* kPartSizeChanged = "保存するとｻｲｽﾞが %1 から %2 に変わります";
inline constexpr const char* kBlockCountChanged = "保存するとﾌﾞﾛｯｸ数が %1 から %2 に変わります";
inline constexpr const char* kPrefixChanged = "保存すると番号ﾌﾟﾘﾌｨｯｸｽが %1 から %2 に変わります";
inline constexpr const char* kPinLost = "保存するとこのﾋﾟﾝはなくなります";
inline constexpr const char* kPinAdded = "保存すると %1 にﾋﾟﾝが加わります";
inline constexpr const char* kPinMoved = "保存するとﾋﾟﾝが %1 に移ります";
inline constexpr const char* kPinNameChanged = "保存するとﾋﾟﾝ名が %1 から %2 に変わります";
inline constexpr const char* kPinFlagsChanged = "保存するとﾋﾟﾝの種類が %1 から %2 に変わります";
inline constexpr const char* kPinNumberChanged = "保存すると番号が %1 から %2 に変わります";

// Design problems.
inline constexpr const char* kPinOutsideBody = "ﾋﾟﾝが部品の辺 (0～%1) の外にあり、ｶｰｿﾙで選べません";
inline constexpr const char* kPinsAtOnePosition = "同じ位置に前のﾋﾟﾝがあり、このﾋﾟﾝは表示も編集もできません";
inline constexpr const char* kDuplicatePinNumber = "番号 %1 が同じﾌﾞﾛｯｸの別のﾋﾟﾝにもあります";
inline constexpr const char* kPartlyNumberedPin = "このﾌﾞﾛｯｸには番号がありません (ほかのﾌﾞﾛｯｸにはあります)";
inline constexpr const char* kPatternTooSmall = "ﾊﾟﾀｰﾝ %1 のｻｲｽﾞ %2 が部品の大きさ %3 に足りません";
inline constexpr const char* kUnusedPattern = "どの部品にも使われていません";
inline constexpr const char* kInvalidPartName = "%1 は有効な部品名ではありません";       // as string 107
inline constexpr const char* kDuplicatePartName = "部品名 %1 は既に存在しています";      // as string 106
inline constexpr const char* kInvalidPatternName = "%1 は有効なﾊﾟﾀｰﾝ名ではありません";   // as string 114
inline constexpr const char* kDuplicatePatternName = "ﾊﾟﾀｰﾝ名 %1 は既に存在しています";  // as string 115
inline constexpr const char* kPinNameUndrawable = "ﾋﾟﾝ名 %1 に表示できない文字があります";
inline constexpr const char* kPinNumberUndrawable = "番号 %1 に表示できない文字があります";

}  // namespace zanli::texts::check
