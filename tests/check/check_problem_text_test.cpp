#include "check/check_problem_text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "support/library_builder.h"

namespace zanli {
namespace {

const std::string kSjisInput = "\x93\xfc\x97\xcd";

// Stands in for the Shift-JIS decoders of the editor and zanli-cli: each
// whole 入力 decodes, anything else stays as it is.
std::string Display(std::string_view bytes) {
  std::string out;
  while (!bytes.empty()) {
    const bool sjis = bytes.substr(0, 4) == kSjisInput;
    out += sjis ? std::string("入力") : std::string(bytes.substr(0, 1));
    bytes.remove_prefix(sjis ? 4 : 1);
  }
  return out;
}

// The libraries the problems below refer to: the one checked and the one
// its saved file gives back.
struct Libraries {
  Library checked;
  std::unique_ptr<Library> savedBack = std::make_unique<Library>();
  Libraries() {
    Library& back = *savedBack;
    using namespace zanli::testing;
    Pattern* box = AddPattern(checked, "BOX", 21, 21);
    AddPattern(checked, "SPARE", 1, 1);
    PartBody* gate = AddBody(checked, 4, 4, 2);
    AddPin(*gate, "A", PinEdge::Left, 1, {"D1", "D77"});
    AddPin(*gate, "", PinEdge::Bottom, 3, {"H4", "H4"});
    AddPin(*AddPart(checked, "XTAL"), kSjisInput, PinEdge::Right, 1, {"D1"});
    AddPin(*AddPart(checked, "FF"), "\\C\\K", PinEdge::Top, 0, {"D1"},
           PinFlag::Clock | PinFlag::NegativeLogic);
    AddEntry(checked, "GATE", gate);
    AddEntry(checked, "BOXED", AddBody(checked, 2, 3, 1, box));
    AddEntry(checked, "", gate);
    AddEntry(checked, "A\nB", gate);
    std::string longName;
    for (int i = 0; i < 40; ++i) longName += kSjisInput;  // 80 characters
    AddEntry(checked, longName, gate);
    AddBody(checked, 1, 1, 0);  // named by no entry

    PartBody* gateBack = AddPart(back, "GATE", 4, 4, 2);
    AddPin(*gateBack, "A", PinEdge::Left, 1, {"D1", ""});
    AddPin(*gateBack, "", PinEdge::Bottom, 3, {"DB4", "DB4"});
    AddPin(*AddPart(back, "XTAL"), "\\\x13\\|", PinEdge::Right, 1, {"D1"});
  }
};

CheckProblem Problem(CheckKind kind, std::function<void(CheckProblem&)> fill) {
  CheckProblem problem;
  problem.kind = kind;
  fill(problem);
  return problem;
}

// Pin `pin` of entry `entry`, which the saved library holds at `back`.
void OnPin(CheckProblem& p, size_t entry, size_t pin, PinEdge edge, int32_t position, size_t back = 0) {
  p.entryIndex = entry;
  p.pinIndex = pin;
  p.pinEdge = edge;
  p.pinPosition = position;
  p.backEntryIndex = back;
  p.backPinIndex = pin;
}

TEST(CheckProblemText, OneJapaneseLinePerProblemWithValuesReadFromBothLibraries) {
  using K = CheckKind;
  Libraries libraries;
  CheckReport report(libraries.checked);
  report.KeepSavedBack(std::move(libraries.savedBack));
  const struct {
    CheckProblem problem;
    const char* expected;
  } cases[] = {
      {Problem(K::PinNumberChanged,
               [](CheckProblem& p) {
                 OnPin(p, 2, 0, PinEdge::Left, 1);
                 p.block = 2;
               }),
       "部品 GATE, ﾋﾟﾝ 左1 (A), ﾌﾞﾛｯｸ2: 保存すると番号が 77 から (なし) に変わります"},
      {Problem(K::PinNumberChanged,
               [](CheckProblem& p) {
                 OnPin(p, 2, 1, PinEdge::Bottom, 3);
                 p.block = 1;
               }),
       "部品 GATE, ﾋﾟﾝ 下3, ﾌﾞﾛｯｸ1: 保存すると番号が 4 (非表示) から B4 に変わります"},
      {Problem(K::PinNameChanged, [](CheckProblem& p) { OnPin(p, 0, 0, PinEdge::Right, 1, 1); }),
       "部品 XTAL, ﾋﾟﾝ 右1 (入力): 保存するとﾋﾟﾝ名が 入力 から \\\\x13\\| に変わります"},
      {Problem(K::PinFlagsChanged,
               [](CheckProblem& p) {
                 OnPin(p, 1, 0, PinEdge::Top, 0);
                 p.value = PinFlag::Clock | PinFlag::NegativeLogic;
               }),
       "部品 FF, ﾋﾟﾝ 上0 (\\C\\K): 保存するとﾋﾟﾝの種類が 負論理・ｸﾛｯｸ から (なし) に変わります"},
      {Problem(K::RefusedXSize,
               [](CheckProblem& p) {
                 p.entryIndex = 3;
                 p.value = 300;
                 p.limit = 255;
               }),
       "部品 BOXED: ﾊﾞｲﾅﾘ形式では保存できません: Xｻｲｽﾞ 300 が 1～255 を外れています"},
      {Problem(K::RefusedBlockCount,
               [](CheckProblem& p) {
                 p.bodyIndex = 4;
                 p.limit = 255;
               }),
       "名前のない部品本体 5: ﾊﾞｲﾅﾘ形式では保存できません: ﾌﾞﾛｯｸ数 0 が 1～255 を外れています"},
      {Problem(K::RefusedPatternImage,
               [](CheckProblem& p) {
                 p.patternIndex = 0;
                 p.value = 40000;
                 p.limit = 32000;
               }),
       "ﾊﾟﾀｰﾝ BOX: ﾊﾞｲﾅﾘ形式では保存できません: ﾊﾟﾀｰﾝ 21x21 の画像が 40000 ﾊﾞｲﾄで、上限 32000 "
       "ﾊﾞｲﾄを超えています"},
      {Problem(K::UnreadableEmptyPartName, [](CheckProblem& p) { p.entryIndex = 4; }),
       "部品 (なし): 保存したﾌｧｲﾙは読み込めなくなります: 部品名が空です"},
      {Problem(K::PatternTooSmall,
               [](CheckProblem& p) {
                 p.entryIndex = 3;
                 p.patternIndex = 0;
               }),
       "部品 BOXED: ﾊﾟﾀｰﾝ BOX のｻｲｽﾞ 21x21 が部品の大きさ 21x31 に足りません"},
      {Problem(K::UnusedPattern, [](CheckProblem& p) { p.patternIndex = 1; }),
       "ﾊﾟﾀｰﾝ SPARE: どの部品にも使われていません"},
      {Problem(K::InvalidPartName, [](CheckProblem& p) { p.entryIndex = 5; }),
       "部品 A\\x0AB: A\\x0AB は有効な部品名ではありません"},
      {Problem(K::SaveNotChecked, [](CheckProblem&) {}),
       "ﾒﾓﾘが足りないため、保存で変わる内容を確かめられませんでした"},
  };
  for (const auto& c : cases) EXPECT_EQ(CheckProblemText::Describe(c.problem, report, Display), c.expected);
  // A name of 80 characters shows its first 64 and a mark, never half of a
  // double-byte character.
  std::string shown;
  for (int i = 0; i < 32; ++i) shown += "入力";
  shown += "…";
  EXPECT_EQ(CheckProblemText::Describe(
                Problem(K::DuplicatePartName, [](CheckProblem& p) { p.entryIndex = 6; }), report, Display),
            "部品 " + shown + ": 部品名 " + shown + " は既に存在しています");
}

TEST(CheckProblemText, EveryKindHasWordsSeverityAndIdentifier) {
  const Library empty;
  std::vector<std::string> ids;
  for (int k = 0; k < kCheckKindCount; ++k) {
    CheckProblem problem;
    problem.kind = static_cast<CheckKind>(k);
    const std::string text = CheckProblemText::Describe(problem, CheckReport(empty), Display);
    EXPECT_FALSE(text.empty()) << k;
    EXPECT_EQ(text.find('%'), std::string::npos) << text;  // every argument was filled
    ids.push_back(KindId(problem.kind));
    EXPECT_EQ(ids.back().find_first_not_of("abcdefghijklmnopqrstuvwxyz_"), std::string::npos) << ids.back();
  }
  std::sort(ids.begin(), ids.end());
  EXPECT_EQ(std::adjacent_find(ids.begin(), ids.end()), ids.end());
  EXPECT_EQ(SeverityOf(CheckKind::RefusedFileSize), CheckSeverity::Error);
  EXPECT_EQ(SeverityOf(CheckKind::PinNumberChanged), CheckSeverity::Warning);
  EXPECT_EQ(SeverityOf(CheckKind::UnusedPattern), CheckSeverity::Info);
  EXPECT_STREQ(CheckProblemText::SeverityLabel(CheckSeverity::Warning), "警告");
  EXPECT_EQ(CheckProblemText::Fill("%2 と %1、%3%1", {"A", "B"}), "B と A、A");
}

}  // namespace
}  // namespace zanli
