// zanli-cli import-kicad and export-kicad driven as a user would.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace zanli {
namespace {

namespace fs = std::filesystem;

class KicadCliTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("zanli-kicad-cli-" + std::to_string(::getpid()) + "-" +
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
  void Spit(const std::string& name, const std::string& text) const { std::ofstream(Path(name)) << text; }
  // Exit status; stdout and stderr in out_ and err_.
  int Run(const std::string& args) {
    const int status = std::system(
        (std::string(ZANLI_CLI) + " " + args + " >'" + Path("out") + "' 2>'" + Path("err") + "'").c_str());
    out_ = Slurp(Path("out"));
    err_ = Slurp(Path("err"));
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

  fs::path dir_;
  std::string out_, err_;
};

const char* const kGates =
    "(kicad_symbol_lib (version 20211014) (generator test)\n"
    "(symbol \"INV\" (property \"Reference\" \"U\")\n"
    " (symbol \"INV_1_1\" (polyline (pts (xy -2.54 2.54) (xy 2.54 0) (xy -2.54 -2.54) (xy -2.54 2.54)))\n"
    "  (pin input line (at -5.08 0 0) (length 2.54) (name \"A\") (number \"1\"))\n"
    "  (pin output inverted (at 5.08 0 180) (length 2.54) (name \"Y\") (number \"2\"))))\n"
    "(symbol \"INV2\" (extends \"INV\"))\n"
    "(symbol \"EMPTY\" (symbol \"EMPTY_1_1\" (rectangle (start 0 0) (end 2.54 2.54)))))\n";

TEST_F(KicadCliTest, ImportsSeveralFilesIntoOneLibraryWithAReport) {
  Spit("a.kicad_sym", kGates);
  Spit("b.kicad_sym", kGates);  // the same names again: renamed, never lost
  ASSERT_EQ(Run("import-kicad '" + Path("a.kicad_sym") + "' '" + Path("b.kicad_sym") + "' '" +
                Path("out.LB3") + "' --report '" + Path("r.json") + "'"),
            0)
      << err_;
  EXPECT_NE(out_.find("6 symbols: 4 exact, 0 with changes, 2 refused; 4 parts and aliases"),
            std::string::npos)
      << out_;
  const std::string report = Slurp(Path("r.json"));
  EXPECT_NE(report.find("\"name\":\"INV\",\"line\":2,\"outcome\":\"exact\",\"entries\":[\"INV_1\"]"),
            std::string::npos)
      << report;
  EXPECT_NE(report.find("\"kind\":\"no-pins\""), std::string::npos);
  ASSERT_EQ(Run("dump '" + Path("out.LB3") + "'"), 0) << err_;
  for (const char* name : {"\"INV\"", "\"INV2\"", "\"INV_1\"", "\"INV2_1\"", "\"name\":\"INV\",\"width\":21"})
    EXPECT_NE(out_.find(name), std::string::npos) << name;
}

TEST_F(KicadCliTest, AnUnreadableFileStopsTheImportAndSaysWhere) {
  Spit("bad.kicad_sym", "(kicad_symbol_lib\n(symbol \"X\"\n");
  EXPECT_EQ(Run("import-kicad '" + Path("bad.kicad_sym") + "' '" + Path("out.LB3") + "'"), 1);
  EXPECT_NE(err_.find("bad.kicad_sym: 3 行目: かっこが閉じていません"), std::string::npos) << err_;
  EXPECT_FALSE(fs::exists(Path("out.LB3")));
  EXPECT_EQ(Run("import-kicad '" + Path("bad.kicad_sym") + "'"), 2);
  EXPECT_EQ(Run("export-kicad '" + std::string(ZANLI_EXAMPLES_DIR) + "/logic.LB3' '" + Path("x.kicad_sym") +
                "' NOSUCHPART"),
            1);
}

TEST_F(KicadCliTest, ExportedPartsImportBackAsTheyWere) {
  const std::string logic = std::string(ZANLI_EXAMPLES_DIR) + "/logic.LB3";
  const std::string analog = std::string(ZANLI_EXAMPLES_DIR) + "/analog.LB3";
  for (const std::string& library : {logic, analog}) {
    SCOPED_TRACE(library);
    ASSERT_EQ(Run("export-kicad '" + library + "' '" + Path("all.kicad_sym") + "'"), 0) << err_;
    ASSERT_EQ(Run("import-kicad '" + Path("all.kicad_sym") + "' '" + Path("back.LB3") + "'"), 0) << err_;
    ASSERT_EQ(Run("dump '" + library + "'"), 0);
    const std::string before = out_;
    ASSERT_EQ(Run("dump '" + Path("back.LB3") + "'"), 0);
    EXPECT_EQ(out_, before);
  }
  // Chosen parts only: an alias brings its body under its own name.
  ASSERT_EQ(Run("export-kicad '" + logic + "' '" + Path("one.kicad_sym") + "' 74LS00"), 0) << err_;
  const std::string one = Slurp(Path("one.kicad_sym"));
  EXPECT_NE(one.find("(symbol \"74LS00\""), std::string::npos);
  EXPECT_EQ(one.find("(symbol \"74HC00\""), std::string::npos);
}

}  // namespace
}  // namespace zanli
