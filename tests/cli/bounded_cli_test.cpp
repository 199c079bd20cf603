// zanli-cli on hostile inputs, as a user would run it: the work after reading
// stays within a bound of what reading took, and every failure names the
// file and says why.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "cli_runner.h"
#include "clipboard/part_clipboard_block.h"
#include "render/symbol_renderer.h"
#include "support/hostile_libraries.h"
#include "support/library_builder.h"

namespace zanli {
namespace {

namespace fs = std::filesystem;
using namespace zanli::testing;

// The sanitizer's shadow and quarantine make resident memory no measure.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool kSanitized = true;
#else
constexpr bool kSanitized = false;
#endif

class BoundedCliTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / (std::string("zanli-bounded-cli-") + std::to_string(::getpid()) + "-" +
                                        ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }

  std::string Write(const std::string& name, const std::string& bytes) {
    const fs::path path = dir_ / name;
    std::ofstream(path, std::ios::binary) << bytes;
    return path.string();
  }

  CliRun Run(const std::vector<std::string>& args, const std::string& stdoutPath = {}, long limit = 0) {
    return RunCli(args, dir_, stdoutPath, limit);
  }

  fs::path dir_;
};

// Each input once cost gigabytes or minutes after it was read. Now a check
// peaks at most at twice what dump needs for the same file (dump holds the
// library and its whole JSON), a render at dump's peak plus its image, and
// a clipboard block at the decoder's bound for its size.
TEST_F(BoundedCliTest, HostileInputsStayWithinTheirBoundAndSayWhatTheyFound) {
  const std::string pins72 = Write("pins72.LB3", TextPartWithPinsAtOnePlace(32000, 4000));
  const std::string pins432 = Write("pins432.LB3", TextPartWithPinsAtOnePlace(32000, 36400));
  const std::string name224 = Write("name224.LIB", BinaryPartWithPinsAtOnePlace(200000, 4095));
  const std::string big = Write("big.LB3", TextPartOfSize(3264, 3264));
  const std::string largest = Write("largest.LB3", TextPartOfSize(255, 255));
  const std::string sharedBlock = ClipboardBlockSharingOneName(60000, 4096);
  const std::string shared = Write("shared.bin", sharedBlock);
  const std::string png = (dir_ / "out.png").string();
  constexpr long kMiB = 1024;
  const long image = 3 * 2671 * 2671 / 1024;
  const long strings = static_cast<long>((size_t{16} << 20) + 16 * sharedBlock.size()) / 1024;
  const struct {
    std::vector<std::string> args;
    std::string reference;  // the file dump reads for the bound, or none (an empty process)
    long factor;
    long extraKilobytes;
    int exitCode;
    std::vector<std::string> said;  // on stdout or stderr
  } cases[] = {
      {{"check", "--json", pins72}, pins72, 2, 0, 1, {"\"omitted\":{\"pins_at_one_position\":2999}"}},
      {{"check", pins432}, pins432, 2, 0, 1, {"ほか 35399 件 (同じ種類の問題は 1000 件まで挙げます)"}},
      {{"check", "--json", name224},
       name224,
       2,
       0,
       1,
       {"refused_string_pool", "\"pins_at_one_position\":3094", "\"duplicate_pin_number\":3094"}},
      {{"render", big, "BIG", png},
       big,
       2,
       0,
       1,
       {big + ": \"BIG\" is too large to render: its drawing is 32761 x 32761 pixels, more than 8388608"}},
      {{"render", largest, "BIG", png}, largest, 1, image + 4 * kMiB, 0, {}},
      {{"clip-decode", shared},
       "",
       1,
       strings + 4 * kMiB,
       1,
       {shared + ": not a valid part clipboard block: 文字列が合計"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.args[0] + " " + c.args.back());
    const CliRun reference =
        c.reference.empty() ? Run({"--version"}) : Run({"dump", c.reference}, "/dev/null");
    ASSERT_EQ(reference.exitCode, 0) << reference.err;
    const CliRun run = Run(c.args);
    EXPECT_EQ(run.exitCode, c.exitCode) << run.err;
    for (const std::string& text : c.said)
      EXPECT_NE((run.out + run.err).find(text), std::string::npos) << text << "\n" << run.err;
    if (!kSanitized) {
      EXPECT_LE(run.peakKilobytes, c.factor * reference.peakKilobytes + c.extraKilobytes)
          << "reference " << reference.peakKilobytes << " KB";
    }
  }
}

// Every refusal and failure names the file (or standard output) and says
// why; a name of 40,000 bytes is shortened, never printed whole.
TEST_F(BoundedCliTest, EveryFailureNamesTheFileAndTheReason) {
  const std::string logic = (fs::path(ZANLI_EXAMPLES_DIR) / "logic.LB3").string();
  PartBody body;
  body.xSize = body.ySize = body.blockCount = 1;
  const std::string valid = Write("valid.bin", PartClipboardBlock::Build("P", body));
  std::string damaged = PartClipboardBlock::Build("P", body);
  damaged[20] = '\x7f';  // far more pins than the block holds
  const std::string hostile = Write("hostile.bin", damaged);
  const std::string longName(40000, 'A');
  const std::string noRoom = (dir_ / std::string(253, 'n')).string();  // no room for ".$ib"
  const std::string full = "standard output: ﾃﾞｨｽｸの空き容量が足りません";
  const struct {
    std::vector<std::string> args;
    std::string stdoutPath;
    std::vector<std::string> said;
  } cases[] = {
      {{"dump", logic}, "/dev/full", {"ﾌｧｲﾙへの書き込みに失敗しました", full}},
      {{"check", "--json", logic}, "/dev/full", {full}},
      {{"clip-decode", valid}, "/dev/full", {full}},
      {{"render", logic, "74HC00", "o.png", "--block", "9"},
       "",
       {logic + ": block 9 is out of range: \"74HC00\" has 4 block(s)"}},
      {{"render", logic, longName, "o.png"},
       "",
       {logic + ": no part named \"" + std::string(64, 'A') + "\"…"}},
      {{"clip-encode", logic, "NOPE", "o.bin"}, "", {logic + ": no part or alias named \"NOPE\""}},
      {{"export-kicad", logic, "o.kicad_sym", longName},
       "",
       {logic + ": no part named \"" + std::string(64, 'A') + "\"…"}},
      {{"clip-decode", hostile},
       "",
       {hostile + ": not a valid part clipboard block: ﾋﾟﾝの数だけの記録がﾃﾞｰﾀにありません"}},
      {{"convert", logic, noRoom},
       "",
       {noRoom + ": 元のﾌｧｲﾙを拡張子 .$ib で残す名前が長すぎるため保存できません"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.args[0] + " " + c.stdoutPath);
    const CliRun run = Run(c.args, c.stdoutPath);
    EXPECT_EQ(run.exitCode, 1);
    for (const std::string& text : c.said) EXPECT_NE(run.err.find(text), std::string::npos) << run.err;
    EXPECT_EQ(run.err.find(std::string(65, 'A')), std::string::npos);
  }
  EXPECT_FALSE(fs::exists(noRoom));
}

}  // namespace
}  // namespace zanli
