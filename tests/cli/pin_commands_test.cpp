// zanli-cli pins and add-part as a script runs them: a part's table out, a
// part made from the same list in, refusals that leave the library alone.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "cli_runner.h"
#include "fileio/library_file.h"
#include "pinlist/pin_table_text.h"
#include "support/library_builder.h"

namespace zanli {
namespace {

namespace fs = std::filesystem;

class PinCommandsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("zanli-pins-cli-" + std::to_string(::getpid()));
    fs::remove_all(dir_);
    fs::create_directories(dir_);
    Library library;
    PartBody* body = testing::AddPart(library, "GATE", 4, 3, 2);
    testing::AddPin(*body, "\\CLR", PinEdge::Left, 1, {"H1", "H22"}, Clock);
    testing::AddPin(*body, "Q", PinEdge::Right, 2, {"D3", "D4"});
    library_ = (dir_ / "parts.LB3").string();
    ASSERT_EQ(LibraryFile::Write(library_, library).failure, WriteFailure::None);
  }
  void TearDown() override { fs::remove_all(dir_); }
  std::string Write(const std::string& name, const std::string& text) {
    const fs::path path = dir_ / name;
    std::ofstream(path, std::ios::binary) << text;
    return path.string();
  }
  std::string Pins(const Library& library, const std::string& name) {
    for (const auto& entry : library.entries)
      if (entry->name == name) return PinTableText(*entry->body, PinsInCursorOrder(*entry->body));
    return "missing";
  }

  fs::path dir_;
  std::string library_;
};

TEST_F(PinCommandsTest, PinsPrintedAreAddedBackAsTheSamePart) {
  const testing::CliRun pins = testing::RunCli({"pins", library_, "GATE"}, dir_);
  ASSERT_EQ(pins.exitCode, 0) << pins.err;
  EXPECT_EQ(pins.out,
            "辺\t位置\t名前\t番号をﾊﾟｰﾂに寄せる\tｸﾛｯｸ\t負論理\t番号1\t非表示1\t番号2\t非表示2\r\n"
            "左\t1\t\\CLR\t\t1\t\t1\t1\t22\t1\r\n"
            "右\t2\tQ\t\t\t\t3\t\t4\t\r\n");
  const std::string list = Write("gate.tsv", pins.out);
  const testing::CliRun added =
      testing::RunCli({"add-part", library_, "GATE2", list, "--prefix", "IC"}, dir_);
  ASSERT_EQ(added.exitCode, 0) << added.err;
  const ReadResult read = LibraryFile::Read(library_);
  ASSERT_NE(read.library, nullptr);
  EXPECT_EQ(Pins(*read.library, "GATE2"), Pins(*read.library, "GATE"));
  EXPECT_EQ(read.library->entries.back()->body->numberPrefix, "IC");
}

TEST_F(PinCommandsTest, RefusalsSayWhyAndLeaveTheLibraryAlone) {
  const std::string good = Write("good.tsv", "1\tA\n2\tB\n");
  const struct {
    std::vector<std::string> args;
    const char* says;
  } cases[] = {
      {{"add-part", library_, "GATE", good}, "exists already"},
      {{"add-part", library_, "A B", good}, "not a valid part name"},
      {{"add-part", library_, "NEW", Write("bad.tsv", "Name,Side\nA,L\nB,Q\n")}, "3"},
      {{"add-part", library_, "NEW", Write("euro.tsv", "1\tA€\n")}, "€"},
      {{"add-part", library_, "NEW", Write("taken.tsv", "Name,Side,Pos\nA,L,1\nB,L,1\n")}, "3"},
  };
  const ReadResult before = LibraryFile::Read(library_);
  for (const auto& c : cases) {
    const testing::CliRun run = testing::RunCli(c.args, dir_);
    EXPECT_EQ(run.exitCode, 1) << c.args[2];
    EXPECT_NE(run.err.find(c.says), std::string::npos) << run.err;
    const ReadResult after = LibraryFile::Read(library_);
    EXPECT_EQ(testing::Describe(*after.library), testing::Describe(*before.library)) << c.args[2];
  }
}

}  // namespace
}  // namespace zanli
