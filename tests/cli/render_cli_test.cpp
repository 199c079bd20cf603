// zanli-cli render driven as a user would: image size, blocks, refusals.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>

#include "fileio/text_library_format.h"
#include "support/library_builder.h"

namespace zanli {
namespace {

namespace fs = std::filesystem;

std::string Slurp(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

uint32_t BigEndian(const std::string& bytes, size_t at) {
  uint32_t v = 0;
  for (size_t i = 0; i < 4; ++i) v = (v << 8) | static_cast<uint8_t>(bytes[at + i]);
  return v;
}

class RenderCliTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("zanli-render-cli-" + std::to_string(::getpid()) + "-" +
                                        ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
    // A 5 × 3 part with two blocks whose pin numbers differ, and an alias.
    Library library;
    PartBody* b = testing::AddBody(library, 5, 3, 2);
    testing::AddPin(*b, "\\CLR", PinEdge::Left, 0, {"D1", "H22"}, Clock);
    testing::AddEntry(library, "DFF", b);
    testing::AddEntry(library, "DFF2", b);
    libraryPath_ = (dir_ / "parts.LB3").string();
    ASSERT_TRUE(TextLibraryFormat::Write(libraryPath_, library));
  }
  void TearDown() override { fs::remove_all(dir_); }

  int Run(const std::string& args) {
    const std::string command =
        std::string(ZANLI_CLI) + " render " + args + " 2>'" + (dir_ / "err").string() + "'";
    const int status = std::system(command.c_str());
    err_ = Slurp(dir_ / "err");
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

  fs::path dir_;
  std::string libraryPath_;
  std::string err_;
};

TEST_F(RenderCliTest, WritesAPngOfTheViewsExtentForTheChosenBlock) {
  const fs::path one = dir_ / "one.png", two = dir_ / "two.png", alias = dir_ / "alias.png";
  ASSERT_EQ(Run(libraryPath_ + " DFF " + one.string()), 0) << err_;
  ASSERT_EQ(Run(libraryPath_ + " DFF " + two.string() + " --block 2"), 0) << err_;
  ASSERT_EQ(Run("--block 1 " + libraryPath_ + " DFF2 " + alias.string()), 0) << err_;
  const std::string png = Slurp(one);
  ASSERT_GT(png.size(), 24u);
  EXPECT_EQ(png.substr(0, 8), std::string("\x89PNG\r\n\x1a\n", 8));
  EXPECT_EQ(BigEndian(png, 16), 10u * 5u + 121u);  // IHDR width
  EXPECT_EQ(BigEndian(png, 20), 10u * 3u + 121u);  // IHDR height
  EXPECT_NE(png, Slurp(two));                      // block 2 shows other numbers
  EXPECT_EQ(png, Slurp(alias));                    // an alias draws its part's body
}

TEST_F(RenderCliTest, RefusesUnknownPartsBadBlocksAndBadUsage) {
  const std::string out = (dir_ / "out.png").string();
  // Only a damaged or hand-made file holds a body this large; it must not ask
  // for a gigabyte image.
  Library huge;
  auto body = std::make_unique<PartBody>();
  body->xSize = 3264;
  body->ySize = 3264;
  huge.AddEntry(std::make_unique<PartEntry>("WIDE", huge.AddBody(std::move(body))));
  const std::string hugePath = (dir_ / "huge.LB3").string();
  ASSERT_TRUE(TextLibraryFormat::Write(hugePath, huge));
  const struct {
    std::string args;
    int exitCode;
    const char* message;
  } cases[] = {
      {libraryPath_ + " NOPE " + out, 1, "no part named"},
      {libraryPath_ + " DFF " + out + " --block 3", 1, "out of range"},
      {libraryPath_ + " DFF " + out + " --block 0", 1, "out of range"},
      {(dir_ / "missing.LB3").string() + " DFF " + out, 1, "missing.LB3: ﾌｧｲﾙまたはﾌｫﾙﾀﾞがありません"},
      {hugePath + " WIDE " + out, 1, "too large"},
      {libraryPath_ + " DFF", 2, "usage"},
      {libraryPath_ + " DFF " + out + " --block", 2, "usage"},
      {libraryPath_ + " DFF " + out + " --block two", 2, "usage"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Run(c.args), c.exitCode) << c.args;
    EXPECT_NE(err_.find(c.message), std::string::npos) << c.args << ": " << err_;
    EXPECT_FALSE(fs::exists(out)) << c.args;
  }
}

}  // namespace
}  // namespace zanli
