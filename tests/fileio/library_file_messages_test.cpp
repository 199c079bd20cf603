#include "fileio/library_file_messages.h"

#include <gtest/gtest.h>

#include <cerrno>

namespace zanli {
namespace {

using Kind = WriteProblem::Kind;
using Subject = WriteProblem::Subject;

// Names pass through the caller's decoder, here one that marks them.
std::string Marked(std::string_view bytes) { return std::string("<").append(bytes).append(">"); }

ReadResult Read(ReadFailure failure, int error = 0, size_t limit = 0) {
  ReadResult result;
  result.failure = failure;
  result.error = error;
  result.sizeLimit = limit;
  return result;
}

WriteResult Written(WriteFailure failure, int error, std::vector<WriteProblem> problems = {}) {
  WriteResult result;
  result.failure = failure;
  result.error = error;
  result.problems = std::move(problems);
  return result;
}

TEST(LibraryFileMessages, ReadFailuresKeepTheMessageAndAddThePathAndWhy) {
  const std::string head = "a.LB3\nﾌｧｲﾙの読み込みに失敗しました\n/d/a.LB3: ";
  const std::pair<ReadResult, std::string> cases[] = {
      {Read(ReadFailure::CannotOpen, ENOENT), "ﾌｧｲﾙまたはﾌｫﾙﾀﾞがありません"},
      {Read(ReadFailure::ReadError, EIO), "Input/output error"},
      {Read(ReadFailure::NotRegularFile), "通常のﾌｧｲﾙではありません"},
      {Read(ReadFailure::FileTooLarge, 0, 16777216), "ﾌｧｲﾙが大きすぎます (上限 16777216 ﾊﾞｲﾄ)"},
      {Read(ReadFailure::Malformed), "ﾗｲﾌﾞﾗﾘの形式が正しくありません"},
      {Read(ReadFailure::OverBudget), "ﾌｧｲﾙのｻｲｽﾞに比べてﾃﾞｰﾀが大きすぎます"},
      {Read(ReadFailure::OutOfMemory, ENOMEM), "ﾒﾓﾘが不足しています"},
  };
  for (const auto& [result, reason] : cases)
    EXPECT_EQ(LibraryFileMessages::ReadFailure(result, "/d/a.LB3"), head + reason);
  EXPECT_EQ(LibraryFileMessages::ReadFailure(Read(ReadFailure::None), "/d/a.LB3"), "");
  EXPECT_EQ(LibraryFileMessages::MissingTrailer(),
            "ﾌｧｲﾙの終わりが見つかりません。\n内容が欠けている可能性があります");
}

TEST(LibraryFileMessages, CommonSystemReasonsAreInTheEditorsWordsOthersAsTheSystemSays) {
  const std::pair<int, std::string> cases[] = {
      {ENOENT, "ﾌｧｲﾙまたはﾌｫﾙﾀﾞがありません"},
      {EACCES, "ｱｸｾｽが拒否されました"},
      {EPERM, "ｱｸｾｽが拒否されました"},
      {ENOSPC, "ﾃﾞｨｽｸの空き容量が足りません"},
      {EROFS, "読み取り専用のﾌｧｲﾙｼｽﾃﾑです"},
      {EISDIR, "ﾌｫﾙﾀﾞです"},
      {ENAMETOOLONG, "名前が長すぎます"},
      {ENOTDIR, "ﾊﾟｽの途中にﾌｫﾙﾀﾞでないものがあります"},
      {EIO, "Input/output error"},
      {0, "?"},
  };
  for (const auto& [error, reason] : cases)
    EXPECT_EQ(LibraryFileMessages::SystemReason(error), reason) << error;
}

TEST(LibraryFileMessages, WriteFailuresKeepTheirMessageAndSayWhyWithNamesDecoded) {
  const std::string tooLarge = "ﾃﾞｰﾀのｻｲｽﾞが大きすぎます。\n分割してください。\n/d/a.LIB: ";
  const std::string failed = "ﾌｧｲﾙへの書き込みに失敗しました\n/d/a.LIB: ";
  const std::pair<WriteResult, std::string> cases[] = {
      {Written(WriteFailure::WriteFailed, ENOSPC), failed + "ﾃﾞｨｽｸの空き容量が足りません"},
      {Written(WriteFailure::ReadOnly, EACCES),
       failed + "ﾌｧｲﾙは読み取り専用です。別の名前で保存してください"},
      {Written(WriteFailure::NotRegularFile, 0), failed + "通常のﾌｧｲﾙではないため上書きできません"},
      {Written(WriteFailure::SymlinkLoop, ELOOP), failed + "ｼﾝﾎﾞﾘｯｸﾘﾝｸが循環しています"},
      {Written(WriteFailure::FolderNotWritable, EACCES),
       failed + "ﾌｫﾙﾀﾞにﾌｧｲﾙを作成できません (ｱｸｾｽが拒否されました)"},
      {Written(WriteFailure::BackupFailed, EIO),
       failed + "元のﾌｧｲﾙを a.$ib として残せないため中止しました (Input/output error)"},
      {Written(WriteFailure::OutOfMemory, ENOMEM), failed + "ﾒﾓﾘが不足しています"},
      {Written(WriteFailure::TooLarge, 0, {{Kind::PinCount, Subject::Entry, 3, "NAND", "", 4096, 4095}}),
       tooLarge + "部品 <NAND>: ﾋﾟﾝが 4096 本あり、上限の 4095 本を超えます"},
      {Written(WriteFailure::TooLarge, 0, {{Kind::FileSize, Subject::Library, 0, "", "", 65535, 65534}}),
       tooLarge + "ﾌｧｲﾙが 65535 ﾊﾞｲﾄになり、上限の 65534 ﾊﾞｲﾄを超えます"},
      {Written(WriteFailure::TooLarge, 0, {{Kind::BodySize, Subject::Body, 1, "", "", 300, 255}}),
       tooLarge + "2番目の部品ﾃﾞｰﾀ (名前なし): ｻｲｽﾞとﾌﾞﾛｯｸ数は 1～255 です (300)"},
      {Written(WriteFailure::Inconsistent, 0, {{Kind::MissingBody, Subject::Entry, 0, "X", "", 0, 0}}),
       "ﾃﾞｰﾀの不整合を発生しました\n/d/a.LIB: 部品 <X>: 部品の本体がﾗｲﾌﾞﾗﾘにありません"},
      {Written(WriteFailure::Unreadable, 0,
               {{Kind::EmptyPatternName, Subject::Pattern, 0, "", "", 0, 0},
                {Kind::EmptyEntryName, Subject::Entry, 2, "", "OR", 0, 0},
                {Kind::EmptyEntryName, Subject::Entry, 4, "", "", 0, 0}}),
       "ﾃﾞｰﾀの不整合を発生しました\n/d/a.LIB: このままでは読み込めないﾌｧｲﾙになります:\n"
       "1番目のﾊﾟﾀｰﾝ: 名前がありません\n3番目の部品 (<OR> の別名): 名前がありません\n5番目の部品: "
       "名前がありません"},
  };
  for (const auto& [result, text] : cases)
    EXPECT_EQ(LibraryFileMessages::WriteFailure(result, "/d/a.LIB", Marked), text);
  EXPECT_EQ(LibraryFileMessages::WriteFailure(Written(WriteFailure::None, 0), "/d/a.LIB", Marked), "");

  // A long list stops after ten.
  std::vector<WriteProblem> many(13, {Kind::EmptyPatternName, Subject::Pattern, 0, "", "", 0, 0});
  const std::string text =
      LibraryFileMessages::WriteFailure(Written(WriteFailure::Unreadable, 0, many), "a", Marked);
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 12);
  EXPECT_EQ(text.substr(text.rfind('\n') + 1), "ほか 3 件");
}

TEST(LibraryFileMessages, FormatFillsNumberedPlaceholdersOnly) {
  EXPECT_EQ(LibraryFileMessages::Format("%2 %1 %3 100% %x %", {"a", "b"}), "b a %3 100% %x %");
}

}  // namespace
}  // namespace zanli
