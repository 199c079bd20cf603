// zanli-cli driven as a user would: exit codes, stdout and stderr.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "fileio/binary_library_format.h"
#include "fileio/text_library_format.h"
#include "support/library_builder.h"
#include "zanli_version.h"

namespace zanli {
namespace {

namespace fs = std::filesystem;

struct RunResult {
  int exitCode = -1;
  std::string out;
  std::string err;
};

std::string Slurp(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

void Spit(const fs::path& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary);
  out << bytes;
}

class CliTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("zanli-cli-test-" + std::to_string(::getpid()) + "-" +
                                        ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }

  // `shell` goes before the command, e.g. a ulimit or a timeout.
  RunResult Run(const std::string& args, const std::string& shell = "") {
    fs::path errFile = dir_ / "stderr.txt";
    std::string command = shell + std::string(ZANLI_CLI) + " " + args + " 2>'" + errFile.string() + "'";
    RunResult result;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe) return result;
    char chunk[4096];
    size_t n;
    while ((n = std::fread(chunk, 1, sizeof chunk, pipe)) > 0) result.out.append(chunk, n);
    int status = ::pclose(pipe);
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    result.err = Slurp(errFile);
    return result;
  }

  std::string Path(const std::string& name) const { return (dir_ / name).string(); }

  fs::path dir_;
};

// A small library with an alias, two blocks, a barred pin and a pattern.
void FillSample(Library& library) {
  Pattern* pattern = testing::AddPattern(library, "TRI", 9, 2);
  pattern->bits = {0xFF, 0x80, 0x81, 0x00};
  PartBody* b = testing::AddBody(library, 2, 2, 2, "IC");
  b->pattern = pattern;
  testing::AddPin(*b, "\\C\\L\\R", PinEdge::Top, 1, {"H1", "H12"}, PinFlag::NegativeLogic);
  testing::AddEntry(library, "NAND\"2", b);
  testing::AddEntry(library, std::string("\x83\x41", 2), b);
}

TEST_F(CliTest, DumpPrintsTheLibraryWithEscapedBytes) {
  Library library;
  FillSample(library);
  Spit(Path("s.LB3"), TextLibraryFormat::WriteBytes(library));

  RunResult r = Run("dump " + Path("s.LB3"));
  ASSERT_EQ(r.exitCode, 0) << r.err;
  std::string json = r.out;
  json.erase(std::remove_if(json.begin(), json.end(), [](char c) { return c == ' ' || c == '\n'; }),
             json.end());
  EXPECT_NE(json.find(R"({"name":"TRI","width":9,"height":2,"bits":"ff808100"})"), std::string::npos) << json;
  EXPECT_NE(json.find(R"("prefix":"IC","x":2,"y":2,"blocks":2,"pattern":0)"), std::string::npos) << json;
  EXPECT_NE(
      json.find(R"({"name":"\u005cC\u005cL\u005cR","edge":1,"position":1,"flags":8,"numbers":["H1","H12"]})"),
      std::string::npos)
      << json;
  EXPECT_NE(json.find(R"({"name":"NAND\u00222","body":0})"), std::string::npos) << json;
  EXPECT_NE(json.find(R"({"name":"\u0083A","body":0})"), std::string::npos) << json;
}

TEST_F(CliTest, FailuresExitOneWithNothingOnStdoutAndUsageErrorsExitTwo) {
  Spit(Path("bad.LB3"), "+NOT_A_LIBRARY\r\n");
  Spit(Path("bad.LIB"), "LIB FOR NQ000");  // shorter than a header
  const std::pair<std::string, int> cases[] = {
      {"dump " + Path("missing.LB3"), 1},
      {"dump " + Path("bad.LB3"), 1},
      {"dump " + Path("bad.LIB"), 1},
      {"convert " + Path("bad.LIB") + " " + Path("out.LB3"), 1},
      {"", 2},
      {"frobnicate", 2},
      {"dump", 2},
      {"dump a b", 2},
      {"convert only-one", 2},
  };
  for (const auto& [args, code] : cases) {
    RunResult r = Run(args);
    EXPECT_EQ(r.exitCode, code) << args;
    EXPECT_TRUE(r.out.empty()) << args;
    EXPECT_FALSE(r.err.empty()) << args;
  }
  EXPECT_FALSE(fs::exists(Path("out.LB3")));
}

TEST_F(CliTest, ConvertRoundTripsThroughBothFormatsChoosingByExtension) {
  Library library;
  FillSample(library);
  const std::string text = TextLibraryFormat::WriteBytes(library);
  Spit(Path("a.LB3"), text);

  ASSERT_EQ(Run("convert " + Path("a.LB3") + " " + Path("b.lib")).exitCode, 0);
  ASSERT_EQ(Run("convert " + Path("b.lib") + " " + Path("c.lb3")).exitCode, 0);
  ASSERT_EQ(Run("convert " + Path("c.lb3") + " " + Path("d.dat")).exitCode, 0);
  EXPECT_EQ(Slurp(Path("c.lb3")), text);
  EXPECT_EQ(Slurp(Path("d.dat")), Slurp(Path("b.lib")));
  EXPECT_EQ(Slurp(Path("b.lib")).substr(0, 13), "LIB FOR NQ000");

  // The binary writer keeps the previous file under ".$ib".
  ASSERT_EQ(Run("convert " + Path("a.LB3") + " " + Path("b.lib")).exitCode, 0);
  EXPECT_EQ(Slurp(Path("b.$ib")), Slurp(Path("b.lib")));
}

TEST_F(CliTest, ConvertRefusesWhatTheBinaryFormatCannotHoldAndLeavesTheTarget) {
  Library library;
  auto body = std::make_unique<PartBody>();
  body->xSize = 300;  // one byte in the binary format
  library.AddEntry(std::make_unique<PartEntry>("BIG", library.AddBody(std::move(body))));
  Spit(Path("big.LB3"), TextLibraryFormat::WriteBytes(library));
  Spit(Path("keep.LIB"), "previous contents");

  RunResult r = Run("convert " + Path("big.LB3") + " " + Path("keep.LIB"));
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_NE(r.err.find("ﾃﾞｰﾀのｻｲｽﾞが大きすぎます。"), std::string::npos) << r.err;
  EXPECT_EQ(Slurp(Path("keep.LIB")), "previous contents");
  EXPECT_FALSE(fs::exists(Path("keep.$ib")));
}

TEST_F(CliTest, ExamplesDumpAndSurviveBothFormats) {
  int seen = 0;
  for (const auto& file : fs::directory_iterator(ZANLI_EXAMPLES_DIR)) {
    std::string ext = file.path().extension().string();
    for (char& c : ext) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    if (ext != ".LB3" && ext != ".LIB") continue;
    ++seen;
    const std::string path = "'" + file.path().string() + "'";
    RunResult dump = Run("dump " + path);
    EXPECT_EQ(dump.exitCode, 0) << file.path() << dump.err;
    if (ext != ".LB3") continue;
    // The committed binary twin is what the converter makes of the text file,
    // and one round trip through text changes it no further.
    ASSERT_EQ(Run("convert " + path + " " + Path("x.LIB")).exitCode, 0) << file.path();
    fs::path twin = file.path();
    twin.replace_extension(".LIB");
    EXPECT_EQ(Slurp(Path("x.LIB")), Slurp(twin)) << twin;
    ASSERT_EQ(Run("convert " + Path("x.LIB") + " " + Path("x.LB3")).exitCode, 0) << file.path();
    ASSERT_EQ(Run("convert " + Path("x.LB3") + " " + Path("y.LIB")).exitCode, 0) << file.path();
    EXPECT_EQ(Slurp(Path("y.LIB")), Slurp(Path("x.LIB"))) << file.path();
    // The examples hold nothing the binary format loses: text to binary and
    // back gives the same file.
    EXPECT_EQ(Slurp(Path("x.LB3")), Slurp(file.path())) << file.path();
  }
  EXPECT_GE(seen, 4);
}

TEST_F(CliTest, HelpAndVersionAnswerOnStdout) {
  const RunResult help = Run("--help");
  EXPECT_EQ(help.exitCode, 0);
  for (const char* command : {"dump", "convert", "render", "clip-encode", "clip-decode", "--version"})
    EXPECT_NE(help.out.find(command), std::string::npos) << command;
  const RunResult version = Run("--version");
  EXPECT_EQ(version.exitCode, 0);
  EXPECT_EQ(version.out, std::string("zanli-cli ") + kVersion + "\n");
}

// Each run has a time limit: a read that blocks or streams ends in exit 124.
TEST_F(CliTest, WhatIsNoLibraryIsRefusedAtOnceWithThePathAndWhy) {
  ASSERT_EQ(::mkfifo(Path("fifo.LIB").c_str(), 0644), 0);
  for (const char* name : {"huge.LIB", "huge.LB3"}) {
    std::ofstream(Path(name)).close();
    fs::resize_file(Path(name), size_t{2} << 30);
  }
  // Eight patterns of 32767 × 32767 in a few hundred bytes.
  std::string patterns = "+VELD3_LIB_V.1.0\r\n";
  for (int i = 0; i < 8; ++i)
    patterns += "+PTN,N:P" + std::to_string(i) + ",X:32767,Y:32767,+BMP,-BMP,-PTN\r\n";
  Spit(Path("patterns.LB3"), patterns);
  const std::pair<std::string, std::string> cases[] = {
      {Path("fifo.LIB"), "通常のﾌｧｲﾙではありません"},
      {"/dev/zero", "通常のﾌｧｲﾙではありません"},
      {Path("huge.LIB"), "ﾌｧｲﾙが大きすぎます (上限 16777216 ﾊﾞｲﾄ)"},
      {Path("huge.LB3"), "ﾌｧｲﾙが大きすぎます (上限 67108864 ﾊﾞｲﾄ)"},
      {Path("patterns.LB3"), "ﾌｧｲﾙのｻｲｽﾞに比べてﾃﾞｰﾀが大きすぎます"},
      {Path("missing.LB3"), "ﾌｧｲﾙまたはﾌｫﾙﾀﾞがありません"},
  };
  for (const auto& [path, reason] : cases) {
    for (const std::string command : {"dump ", "convert "}) {
      const RunResult r =
          Run(command + path + (command == "dump " ? "" : " " + Path("out.LB3")), "timeout 20 ");
      EXPECT_EQ(r.exitCode, 1) << command << path;
      const std::string name = fs::path(path).filename();
      EXPECT_EQ(r.err,
                "zanli-cli: " + name + "\nﾌｧｲﾙの読み込みに失敗しました\n" + path + ": " + reason + "\n");
    }
  }
  EXPECT_FALSE(fs::exists(Path("out.LB3")));
}

TEST_F(CliTest, ACutOffTextIsReadWithAWarning) {
  const std::string full = Slurp(fs::path(ZANLI_EXAMPLES_DIR) / "logic.LB3");
  Spit(Path("cut.LB3"), full.substr(0, full.rfind("+COMP")));
  const RunResult cut = Run("dump " + Path("cut.LB3"));
  EXPECT_EQ(cut.exitCode, 0);
  EXPECT_FALSE(cut.out.empty());
  EXPECT_EQ(cut.err, "zanli-cli: " + Path("cut.LB3") +
                         ": ﾌｧｲﾙの終わりが見つかりません。\n内容が欠けている可能性があります\n");
  const RunResult whole = Run("dump " + std::string(ZANLI_EXAMPLES_DIR) + "/logic.LB3");
  EXPECT_EQ(whole.exitCode, 0);
  EXPECT_EQ(whole.err, "");
}

TEST_F(CliTest, WritingFailuresSayWhyAndLeaveTheTarget) {
  // A binary library may hold names the text reader refuses.
  Library empty;
  auto* body = empty.AddBody(std::make_unique<PartBody>());
  empty.AddEntry(std::make_unique<PartEntry>("", body));
  empty.AddEntry(std::make_unique<PartEntry>("", body));
  std::string binary;
  ASSERT_EQ(BinaryLibraryFormat::Encode(empty, binary), BinaryWriteResult::Ok);
  Spit(Path("empty.LIB"), binary);
  Library sample;
  FillSample(sample);
  Spit(Path("in.LB3"), TextLibraryFormat::WriteBytes(sample));
  Spit(Path("ro.LIB"), "mine");
  ::chmod(Path("ro.LIB").c_str(), 0444);
  Spit(Path("keep.LB3"), "mine");
  const std::string failed = "zanli-cli: ﾌｧｲﾙへの書き込みに失敗しました\n";
  const std::tuple<std::string, std::string, std::string> cases[] = {
      {Path("in.LB3"), Path("ro.LIB"),
       failed + Path("ro.LIB") + ": ﾌｧｲﾙは読み取り専用です。別の名前で保存してください\n"},
      {Path("in.LB3"), Path("no/x.LIB"), failed + Path("no/x.LIB") + ": ﾌｧｲﾙまたはﾌｫﾙﾀﾞがありません\n"},
      {Path("in.LB3"), Path("."), failed + Path(".") + ": 通常のﾌｧｲﾙではないため上書きできません\n"},
      {Path("empty.LIB"), Path("keep.LB3"),
       "zanli-cli: ﾃﾞｰﾀの不整合を発生しました\n" + Path("keep.LB3") +
           ": このままでは読み込めないﾌｧｲﾙになります:\n1番目の部品: 名前がありません\n2番目の部品: "
           "名前がありません\n"},
  };
  for (const auto& [in, out, err] : cases) {
    const RunResult r = Run("convert " + in + " " + out);
    EXPECT_EQ(r.exitCode, 1) << out;
    EXPECT_EQ(r.err, err);
  }
  EXPECT_EQ(Slurp(Path("ro.LIB")), "mine");
  EXPECT_EQ(Slurp(Path("keep.LB3")), "mine");
}

// Under a shrinking address space every run either finishes or says memory
// ran out (or cannot even start): never an abort.
TEST_F(CliTest, RunningOutOfMemoryIsExitOneWithAMessage) {
#if defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP() << "the address sanitizer needs far more address space than any limit here";
#else
  // 32 MB of pattern bits, 64 MB of JSON.
  Spit(Path("big.LB3"), "+VELD3_LIB_V.1.0\r\n+PTN,N:P,X:32767,Y:8000,+BMP,-BMP,-PTN\r\n-VELD3_LIB_V.1.0\r\n");
  int finished = 0, outOfMemory = 0, afterReading = 0;
  for (int megabytes = 64; megabytes <= 1024; megabytes += megabytes / 2) {
    const RunResult r =
        Run("dump " + Path("big.LB3"), "ulimit -v " + std::to_string(megabytes * 1024) + "; ");
    if (r.exitCode == 127) continue;  // too little to load the program
    if (r.exitCode == 0) {
      ++finished;
      continue;
    }
    EXPECT_EQ(r.exitCode, 1) << megabytes << " MB: " << r.err;
    // Whether reading or the JSON ran out, the message names the file.
    EXPECT_NE(r.err.find(Path("big.LB3") + ": ﾒﾓﾘが不足しています"), std::string::npos)
        << megabytes << " MB: " << r.err;
    ++outOfMemory;
    afterReading += r.err.find("読み込みに失敗") == std::string::npos;
  }
  EXPECT_GT(finished, 0);
  EXPECT_GT(outOfMemory, 0);
  EXPECT_GT(afterReading, 0);
#endif
}

}  // namespace
}  // namespace zanli
