// zanli-cli clip-encode and clip-decode, run as a script would run them.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "clipboard/part_clipboard_block.h"
#include "fileio/text_library_format.h"
#include "support/library_builder.h"

namespace zanli {
namespace {

namespace fs = std::filesystem;

class ClipCommandsTest : public ::testing::Test {
 protected:
  struct Result {
    int exitCode = -1;
    std::string out;
    std::string err;
  };

  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("zanli-clip-test-" + std::to_string(::getpid()) + "-" +
                                        ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }

  std::string Path(const std::string& name) const { return (dir_ / name).string(); }

  static std::string Slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }
  static void Spit(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
  }

  Result Run(const std::string& args) {
    const std::string errPath = Path("stderr.txt");
    const std::string command = std::string(ZANLI_CLI) + " " + args + " 2>'" + errPath + "'";
    Result result;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe) return result;
    char chunk[4096];
    size_t n;
    while ((n = std::fread(chunk, 1, sizeof chunk, pipe)) > 0) result.out.append(chunk, n);
    const int status = ::pclose(pipe);
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    result.err = Slurp(errPath);
    return result;
  }

  // "OR2" with the alias "OR2B": two blocks, a barred pin and a 9-pixel
  // pattern whose padding bits are set.
  void WriteSampleLibrary(const std::string& path) {
    Library library;
    Pattern* pattern = testing::AddPattern(library, "ORG", 9, 2);
    pattern->bits = {0xFF, 0x80, 0x81, 0x7F};
    PartBody* body = testing::AddBody(library, 3, 2, 2, "IC");
    body->pattern = pattern;
    // The text format hides per pin.
    testing::AddPin(*body, "\\C\\L", PinEdge::Top, 1, {"H1", "H12"}, PinFlag::NegativeLogic);
    testing::AddEntry(library, "OR2", body);
    testing::AddEntry(library, "OR2B", body);
    Spit(path, TextLibraryFormat::WriteBytes(library));
  }

  fs::path dir_;
};

TEST_F(ClipCommandsTest, EncodeWritesTheCopiedEntryAndDecodePrintsIt) {
  WriteSampleLibrary(Path("s.LB3"));
  const Result encoded = Run("clip-encode " + Path("s.LB3") + " OR2B " + Path("b.bin"));
  ASSERT_EQ(encoded.exitCode, 0) << encoded.err;
  EXPECT_TRUE(encoded.out.empty());

  // The alias name travels; the body is the shared one.
  Library library;
  ASSERT_TRUE(TextLibraryFormat::Read(Path("s.LB3"), library));
  EXPECT_EQ(Slurp(Path("b.bin")), PartClipboardBlock::Build("OR2B", *library.bodies[0]));

  const Result decoded = Run("clip-decode " + Path("b.bin"));
  ASSERT_EQ(decoded.exitCode, 0) << decoded.err;
  EXPECT_EQ(
      decoded.out,
      "{\"name\":\"OR2B\",\"prefix\":\"IC\",\"x\":3,\"y\":2,\"blocks\":2,\"pins\":["
      "{\"name\":\"\\u005cC\\u005cL\",\"edge\":1,\"position\":1,\"flags\":8,\"numbers\":[\"H1\",\"H12\"]}],"
      "\"pattern\":{\"name\":\"ORG\",\"width\":9,\"height\":2,\"bits\":\"ff80817f\"}}\n");
  EXPECT_TRUE(decoded.err.empty());
}

TEST_F(ClipCommandsTest, DecodeOfAPartWithoutPatternPrintsNull) {
  PartBody body;
  Spit(Path("plain.bin"), PartClipboardBlock::Build("R", body));
  const Result r = Run("clip-decode " + Path("plain.bin"));
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(r.out,
            "{\"name\":\"R\",\"prefix\":\"U\",\"x\":2,\"y\":2,\"blocks\":1,\"pins\":[],\"pattern\":null}\n");
}

TEST_F(ClipCommandsTest, FailuresExitOneWithAMessageAndUsageErrorsExitTwo) {
  WriteSampleLibrary(Path("s.LB3"));
  PartBody body;
  const std::string valid = PartClipboardBlock::Build("R", body);
  Spit(Path("cut.bin"), valid.substr(0, valid.size() - 1));
  Spit(Path("short.bin"), valid.substr(0, 27));
  struct Case {
    std::string args;
    int exitCode;
  };
  const Case cases[] = {
      {"clip-encode " + Path("s.LB3") + " NOPART " + Path("x.bin"), 1},
      {"clip-encode " + Path("missing.LB3") + " OR2 " + Path("x.bin"), 1},
      {"clip-encode " + Path("s.LB3") + " OR2 " + Path("nodir/x.bin"), 1},
      {"clip-decode " + Path("cut.bin"), 1},
      {"clip-decode " + Path("short.bin"), 1},
      {"clip-decode " + Path("missing.bin"), 1},
      {"clip-encode " + Path("s.LB3") + " OR2", 2},
      {"clip-decode", 2},
      {"clip-decode " + Path("cut.bin") + " extra", 2},
  };
  for (const Case& c : cases) {
    const Result r = Run(c.args);
    EXPECT_EQ(r.exitCode, c.exitCode) << c.args;
    EXPECT_TRUE(r.out.empty()) << c.args;
    EXPECT_FALSE(r.err.empty()) << c.args;
  }
  EXPECT_FALSE(fs::exists(Path("x.bin")));
}

}  // namespace
}  // namespace zanli
