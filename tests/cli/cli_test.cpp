// zanli-cli driven as a user would: exit codes, stdout and stderr.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "fileio/binary_library_format.h"
#include "fileio/text_library_format.h"

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

  RunResult Run(const std::string& args) {
    fs::path errFile = dir_ / "stderr.txt";
    std::string command = std::string(ZANLI_CLI) + " " + args + " 2>'" + errFile.string() + "'";
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
  Pattern* pattern = library.AddPattern(std::make_unique<Pattern>("TRI", 9, 2));
  pattern->bits = {0xFF, 0x80, 0x81, 0x00};
  auto body = std::make_unique<PartBody>();
  body->blockCount = 2;
  body->numberPrefix = "IC";
  body->pattern = pattern;
  auto pin = std::make_unique<PinInfo>(2);
  pin->name = "\\C\\L\\R";
  pin->flags = PinFlag::NegativeLogic;
  pin->edge = PinEdge::Top;
  pin->position = 1;
  pin->numbers = {"H1", "H12"};
  body->AddPin(std::move(pin));
  PartBody* b = library.AddBody(std::move(body));
  library.AddEntry(std::make_unique<PartEntry>("NAND\"2", b));
  library.AddEntry(std::make_unique<PartEntry>(std::string("\x83\x41", 2), b));
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

}  // namespace
}  // namespace zanli
