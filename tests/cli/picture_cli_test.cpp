// zanli-cli render --svg / --zoom and catalog, driven as a user would; the
// SVG is rasterised by another program and must give the PNG's pixels.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QImage>
#include <cstdlib>
#include <filesystem>
#include <set>

#include "fileio/library_file.h"
#include "support/required_tool.h"

namespace zanli {
namespace {

namespace fs = std::filesystem;

class PictureCliTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ =
        fs::temp_directory_path() / (std::string("zanli-picture-cli-").append(std::to_string(::getpid())) +
                                     "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }

  int Run(const std::string& program, const std::string& args) {
    const std::string command = program + " " + args + " 2>'" + (dir_ / "err").string() + "'";
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  int Cli(const std::string& args) { return Run(ZANLI_CLI, args); }
  std::string Path(const std::string& name) const { return (dir_ / name).string(); }

  fs::path dir_;
};

QImage Load(const std::string& path) {
  return QImage(QString::fromStdString(path)).convertToFormat(QImage::Format_RGB32);
}

// Each pixel of `image` as a zoom × zoom square: the part view's magnifying.
QImage Magnified(const QImage& image, int zoom) {
  QImage out(image.width() * zoom, image.height() * zoom, QImage::Format_RGB32);
  for (int y = 0; y < out.height(); ++y)
    for (int x = 0; x < out.width(); ++x) out.setPixel(x, y, image.pixel(x / zoom, y / zoom));
  return out;
}

TEST_F(PictureCliTest, SvgAndZoomedPngOfEveryExamplePartShowThePartViewsPixels) {
  ASSERT_TRUE(testing::HasTool("rsvg-convert", "librsvg2-bin"));
  int compared = 0;
  for (const char* file : {"logic.LB3", "analog.LB3"}) {
    const std::string library = std::string(ZANLI_EXAMPLES_DIR) + "/" + file;
    const ReadResult read = LibraryFile::Read(library);
    ASSERT_TRUE(read.Ok()) << library;
    std::set<const PartBody*> drawn;  // an alias draws its part's body
    for (const auto& entry : read.library->entries) {
      if (!drawn.insert(entry->body).second) continue;
      const std::string& name = entry->name;
      const int zoom = 1 + compared % 4;
      const std::string zoomArg = std::string(" --zoom ").append(std::to_string(zoom));
      ASSERT_EQ(Cli("render " + library + " " + name + " " + Path("one.png")), 0) << name;
      ASSERT_EQ(Cli("render " + library + " " + name + " " + Path("zoomed.png") + zoomArg), 0) << name;
      ASSERT_EQ(Cli("render --svg " + library + " " + name + " " + Path("part.svg") + zoomArg), 0) << name;
      ASSERT_EQ(Run("rsvg-convert", "-o " + Path("svg.png") + " " + Path("part.svg")), 0) << name;
      const QImage one = Load(Path("one.png")), zoomed = Load(Path("zoomed.png")),
                   svg = Load(Path("svg.png"));
      ASSERT_FALSE(one.isNull()) << name;
      EXPECT_EQ(zoomed, Magnified(one, zoom)) << name << " at zoom " << zoom;
      EXPECT_EQ(svg, zoomed) << name << " at zoom " << zoom;
      ++compared;
    }
  }
  EXPECT_EQ(compared, 21);  // every part of both examples
}

TEST_F(PictureCliTest, RefusesBadZoomsAndCataloguesOnlyWithAValidPageSize) {
  const std::string library = std::string(ZANLI_EXAMPLES_DIR) + "/logic.LB3";
  const struct {
    std::string args;
    int exitCode;
  } cases[] = {
      {"render " + library + " 74HC00 " + Path("p.png") + " --zoom 0", 2},
      {"render " + library + " 74HC00 " + Path("p.png") + " --zoom 5", 2},
      {"render " + library + " 74HC00 " + Path("p.png") + " --zoom", 2},
      {"catalog " + library, 2},
      {"catalog " + library + " " + Path("p.pdf") + " --per-page 0", 2},
      {"catalog " + library + " " + Path("p.pdf") + " --per-page 101", 2},
      {"catalog " + library + " " + Path("p.pdf") + " --per-page x", 2},
      {"catalog " + Path("missing.LB3") + " " + Path("p.pdf"), 1},
      {"catalog " + library + " " + Path("no-folder/p.pdf"), 1},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Cli(c.args), c.exitCode) << c.args;
    EXPECT_FALSE(fs::exists(Path("p.png")) || fs::exists(Path("p.pdf"))) << c.args;
  }
  ASSERT_EQ(Cli("catalog " + library + " " + Path("p.pdf") + " --per-page 5"), 0);
  EXPECT_GT(fs::file_size(Path("p.pdf")), 1000u);
}

}  // namespace
}  // namespace zanli
