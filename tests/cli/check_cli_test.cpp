// zanli-cli check driven as a user would: exit codes, one problem a line, JSON.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "fileio/text_library_format.h"
#include "support/library_builder.h"

namespace zanli {
namespace {

namespace fs = std::filesystem;
using namespace zanli::testing;

struct Result {
  int exitCode = -1;
  std::string out;
  std::string err;
};

class CheckCliTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ =
        fs::temp_directory_path() / (std::string("zanli-check-cli-").append(std::to_string(::getpid())) +
                                     "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }

  Result Run(const std::string& args) {
    const fs::path errFile = dir_ / "err";
    const std::string command = std::string(ZANLI_CLI) + " check " + args + " 2>'" + errFile.string() + "'";
    Result result;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe) return result;
    char chunk[4096];
    for (size_t n; (n = std::fread(chunk, 1, sizeof chunk, pipe)) > 0;) result.out.append(chunk, n);
    const int status = ::pclose(pipe);
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    std::ifstream in(errFile, std::ios::binary);
    std::stringstream err;
    err << in.rdbuf();
    result.err = err.str();
    return result;
  }

  fs::path dir_;
};

TEST_F(CheckCliTest, ExampleLibrariesHaveNoProblemInEitherFormat) {
  int seen = 0;
  for (const auto& file : fs::directory_iterator(ZANLI_EXAMPLES_DIR)) {
    ++seen;
    for (const char* options : {"", " --format text", " --format binary", " --json"}) {
      const Result r = Run(std::string("'").append(file.path().string()).append("'").append(options));
      EXPECT_EQ(r.exitCode, 0) << file.path() << options << '\n' << r.out << r.err;
      if (std::string(options) == " --json")
        EXPECT_NE(r.out.find("\"problems\":[]"), std::string::npos) << r.out;
      else
        EXPECT_EQ(r.out, "") << file.path() << options;
    }
  }
  EXPECT_GE(seen, 4);
}

TEST_F(CheckCliTest, PlantedProblemsComeOneALineWithDecodedNamesAndExitOne) {
  Library library;
  BuildCleanLibrary(library);
  PartBody& gate = *library.bodies[0];
  gate.pins[0]->name = "\x93\xfc\x97\xcd";  // 入力 in Shift-JIS
  gate.pins[2]->numbers.Set(0, "D2");       // the clock pin's number in block 1
  gate.xSize = 1;                           // VCC at top 2 is now beyond the edge
  const std::string path = (dir_ / "planted.lb3").string();
  ASSERT_TRUE(TextLibraryFormat::Write(path, library));

  const std::string design =
      "警告: 部品 GATE, ﾋﾟﾝ 左1 (入力): ﾋﾟﾝ名 入力 に表示できない文字があります\n"
      "警告: 部品 GATE, ﾋﾟﾝ 上2 (VCC): ﾋﾟﾝが部品の辺 (0～1) の外にあり、ｶｰｿﾙで選べません\n"
      "ｴﾗｰ: 部品 GATE, ﾋﾟﾝ 右2 (Y), ﾌﾞﾛｯｸ1: 番号 2 が同じﾌﾞﾛｯｸの別のﾋﾟﾝにもあります\n";
  Result r = Run(path);
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(r.out, design);
  EXPECT_EQ(r.err, "");

  // The losses of the other format follow the design problems.
  r = Run("--format binary " + path);
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(r.out, design +
                       "警告: 部品 GATE, ﾋﾟﾝ 左1 (入力): 保存するとﾋﾟﾝ名が 入力 から \\\\x13\\|\\\\x17\\M "
                       "に変わります\n");

  r = Run(path + " --json");
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_NE(r.out.find(R"("library":)"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find(R"("format":"text")"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find(R"({"kind":"duplicate_pin_number","severity":"error","entry":"GATE","entryIndex":0,)"
                       R"("bodyIndex":0,"pattern":null,"patternIndex":null,)"
                       R"("pin":{"edge":"right","position":2,"index":2,"name":"Y"},"block":1,"before":"2",)"),
            std::string::npos)
      << r.out;
  EXPECT_NE(r.out.find(R"("name":"\u0093\u00fc\u0097\u00cd"})"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find(R"("text":"部品 GATE, ﾋﾟﾝ 左1 (入力): ﾋﾟﾝ名 入力 に表示できない文字があります"})"),
            std::string::npos)
      << r.out;
}

TEST_F(CheckCliTest, UnreadableLibraryExitsOneAndUsageErrorsTwo) {
  const std::string missing = (dir_ / "missing.LB3").string();
  Result r = Run(missing);
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(r.out, "");
  EXPECT_NE(r.err.find(missing), std::string::npos) << r.err;

  for (const std::string args : {"", "a.LB3 b.LB3", "a.LB3 --format", "a.LB3 --format lib", "a.LB3 --jsn"}) {
    r = Run(args);
    EXPECT_EQ(r.exitCode, 2) << args;
    EXPECT_EQ(r.out, "") << args;
    EXPECT_NE(r.err.find("usage: zanli-cli check LIBRARY"), std::string::npos) << args;
  }
}

}  // namespace
}  // namespace zanli
