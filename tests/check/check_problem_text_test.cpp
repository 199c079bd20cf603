#include "check/check_problem_text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

namespace zanli {
namespace {

const std::string kSjisInput = "\x93\xfc\x97\xcd";

// Stands in for the Shift-JIS decoders of the editor and zanli-cli.
std::string Display(std::string_view bytes) { return bytes == kSjisInput ? "入力" : std::string(bytes); }

CheckProblem Problem(CheckKind kind, std::function<void(CheckProblem&)> fill) {
  CheckProblem problem;
  problem.kind = kind;
  fill(problem);
  return problem;
}

void OnPin(CheckProblem& p, const char* entry, PinEdge edge, int32_t position, std::string name) {
  p.entryIndex = 0;
  p.entryName = entry;
  p.pinIndex = 0;
  p.pinEdge = edge;
  p.pinPosition = position;
  p.pinName = std::move(name);
}

TEST(CheckProblemText, OneJapaneseLinePerProblemWithNamesThroughTheDisplayCallback) {
  using K = CheckKind;
  const struct {
    CheckProblem problem;
    const char* expected;
  } cases[] = {
      {Problem(K::PinNumberChanged,
               [](CheckProblem& p) {
                 OnPin(p, "GATE", PinEdge::Left, 1, "A");
                 p.block = 2;
                 p.before = "D77";
               }),
       "部品 GATE, ﾋﾟﾝ 左1 (A), ﾌﾞﾛｯｸ2: 保存すると番号が 77 から (なし) に変わります"},
      {Problem(K::PinNumberChanged,
               [](CheckProblem& p) {
                 OnPin(p, "GATE", PinEdge::Bottom, 3, "");
                 p.block = 1;
                 p.before = "H4";
                 p.after = "DB4";
               }),
       "部品 GATE, ﾋﾟﾝ 下3, ﾌﾞﾛｯｸ1: 保存すると番号が 4 (非表示) から B4 に変わります"},
      {Problem(K::PinNameChanged,
               [](CheckProblem& p) {
                 OnPin(p, "XTAL", PinEdge::Right, 1, kSjisInput);
                 p.before = kSjisInput;
                 p.after = "\\\x13\\|";
               }),
       "部品 XTAL, ﾋﾟﾝ 右1 (入力): 保存するとﾋﾟﾝ名が 入力 から \\\\x13\\| に変わります"},
      {Problem(K::PinFlagsChanged,
               [](CheckProblem& p) {
                 OnPin(p, "FF", PinEdge::Top, 0, "\\C\\K");
                 p.value = PinFlag::Clock | PinFlag::NegativeLogic;
               }),
       "部品 FF, ﾋﾟﾝ 上0 (\\C\\K): 保存するとﾋﾟﾝの種類が 負論理・ｸﾛｯｸ から (なし) に変わります"},
      {Problem(K::RefusedXSize,
               [](CheckProblem& p) {
                 p.entryIndex = 2;
                 p.entryName = "BOXED";
                 p.value = 300;
                 p.limit = 255;
               }),
       "部品 BOXED: ﾊﾞｲﾅﾘ形式では保存できません: Xｻｲｽﾞ 300 が 1～255 を外れています"},
      {Problem(K::RefusedBlockCount,
               [](CheckProblem& p) {
                 p.bodyIndex = 2;
                 p.limit = 255;
               }),
       "名前のない部品本体 3: ﾊﾞｲﾅﾘ形式では保存できません: ﾌﾞﾛｯｸ数 0 が 1～255 を外れています"},
      {Problem(K::RefusedFileSize,
               [](CheckProblem& p) {
                 p.value = 70000;
                 p.limit = 65534;
               }),
       "ﾊﾞｲﾅﾘ形式では保存できません: ﾌｧｲﾙが 70000 ﾊﾞｲﾄになり、上限 65534 ﾊﾞｲﾄを超えます"},
      {Problem(K::UnreadableEmptyPartName, [](CheckProblem& p) { p.entryIndex = 4; }),
       "部品 (なし): 保存したﾌｧｲﾙは読み込めなくなります: 部品名が空です"},
      {Problem(K::PatternTooSmall,
               [](CheckProblem& p) {
                 p.entryIndex = 2;
                 p.entryName = "BOXED";
                 p.patternIndex = 0;
                 p.patternName = "BOX";
                 p.before = "21x21";
                 p.after = "21x31";
               }),
       "部品 BOXED: ﾊﾟﾀｰﾝ BOX のｻｲｽﾞ 21x21 が部品の大きさ 21x31 に足りません"},
      {Problem(K::UnusedPattern,
               [](CheckProblem& p) {
                 p.patternIndex = 1;
                 p.patternName = "SPARE";
               }),
       "ﾊﾟﾀｰﾝ SPARE: どの部品にも使われていません"},
      {Problem(K::InvalidPartName,
               [](CheckProblem& p) {
                 p.entryIndex = 0;
                 p.entryName = "A\nB";
               }),
       "部品 A\\x0AB: A\\x0AB は有効な部品名ではありません"},
  };
  for (const auto& c : cases) EXPECT_EQ(CheckProblemText::Describe(c.problem, Display), c.expected);
}

TEST(CheckProblemText, EveryKindHasWordsSeverityAndIdentifier) {
  std::vector<std::string> ids;
  for (int k = 0; k < kCheckKindCount; ++k) {
    CheckProblem problem;
    problem.kind = static_cast<CheckKind>(k);
    const std::string text = CheckProblemText::Describe(problem, Display);
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
