// The catalogue as PDF readers see it: pages, the names on each, the
// pictures, and what a cancel or a failing disk leaves.
#include "catalog/catalog_writer.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <set>
#include <sstream>

#include "render/part_picture.h"
#include "support/library_builder.h"
#include "support/required_tool.h"

namespace zanli {
namespace {

namespace fs = std::filesystem;

std::string Output(const std::string& command) {
  std::string out;
  FILE* pipe = ::popen(command.c_str(), "r");
  if (pipe == nullptr) return out;
  char chunk[4096];
  for (size_t n; (n = std::fread(chunk, 1, sizeof chunk, pipe)) > 0;) out.append(chunk, n);
  ::pclose(pipe);
  return out;
}

std::string Slurp(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

class CatalogWriterTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / (std::string("zanli-catalog-").append(std::to_string(::getpid())));
    fs::remove_all(dir_);
    fs::create_directories(dir_);
    // 23 parts; P03 has two aliases, P01 one far from it at the end, and P02
    // is drawn with a pattern.
    Pattern* pattern = testing::AddPattern(library_, "TRI", 31, 21, 0x5A);
    for (int i = 0; i < 23; ++i) {
      char name[8];
      std::snprintf(name, sizeof name, "P%02d", i);
      PartBody* body =
          i == 2 ? testing::AddBody(library_, 3, 2, 1, pattern) : testing::AddBody(library_, 2 + i % 4, 3);
      testing::AddPin(*body, PinEdge::Left, 1, "IN", "D1", i % 2 ? PinFlag::Clock : 0);
      testing::AddEntry(library_, name, body);
      if (i == 3) {
        testing::AddEntry(library_, "P03A", body);
        testing::AddEntry(library_, "P03B", body);
      }
    }
    testing::AddEntry(library_, "P01ALT", library_.entries[1]->body);
  }
  void TearDown() override { fs::remove_all(dir_); }

  Library library_;
  fs::path dir_;
};

TEST_F(CatalogWriterTest, EachPageNamesItsPartsAndAliasesAndShowsTheirPictures) {
  ASSERT_TRUE(testing::HasTool("pdftotext", "poppler-utils"));
  const std::string pdf = (dir_ / "cat.pdf").string();
  std::vector<size_t> reported;
  const CatalogResult result =
      CatalogWriter::WriteFile(pdf, library_, {5, "demo.LB3"}, [&](size_t done, size_t total) {
        EXPECT_EQ(total, 23u);
        reported.push_back(done);
        return true;
      });
  ASSERT_EQ(result.status, CatalogStatus::Done);
  EXPECT_EQ(result.pages, 5u);
  EXPECT_EQ(reported.size(), 23u);
  EXPECT_EQ(reported.back(), 23u);
  EXPECT_EQ(Output("pdfinfo " + pdf + " | sed -n 's/^Pages: *//p'"), "5\n");

  // Page by page (a form feed ends each), the words other than the head.
  const std::string text = Output("pdftotext -enc ASCII7 " + pdf + " -");
  std::vector<std::set<std::string>> pages(1);
  std::istringstream pageStream(text);
  for (std::string line; std::getline(pageStream, line);) {
    for (size_t feed; (feed = line.find('\f')) != std::string::npos; line.erase(0, feed + 1))
      pages.emplace_back();
    std::istringstream words(line);
    for (std::string word; words >> word;) {
      if (word.back() == ',') word.pop_back();
      pages.back().insert(word);
    }
  }
  ASSERT_EQ(pages.size(), 6u);  // the last feed ends the fifth page
  const std::set<std::string> expected[] = {
      {"P00", "P01", "P01ALT", "P02", "P03", "P03A", "P03B", "P04"},
      {"P05", "P06", "P07", "P08", "P09"},
      {"P10", "P11", "P12", "P13", "P14"},
      {"P15", "P16", "P17", "P18", "P19"},
      {"P20", "P21", "P22"},
  };
  for (size_t page = 0; page < 5; ++page) {
    std::set<std::string> names = pages[page];
    for (const std::string& head :
         std::set<std::string>{"demo.LB3", "page", std::to_string(page + 1), "of", "5"})
      EXPECT_EQ(names.erase(head), 1u) << "page " << page + 1 << " lacks its head word " << head;
    EXPECT_EQ(names, expected[page]) << "page " << page + 1;
  }

  // The third picture (the pattern part) as a reader decodes it: the pixels
  // the part view draws.
  ASSERT_TRUE(testing::HasTool("pdfimages", "poppler-utils"));
  EXPECT_EQ(Output("pdfimages -list " + pdf + " | tail -n +3 | wc -l"), "23\n");
  ASSERT_EQ(std::system(("pdfimages -f 1 -l 1 " + pdf + " " + (dir_ / "img").string()).c_str()), 0);
  const RgbRaster raster = PartPicture::Raster(*library_.entries[2]->body, 0, 1);
  const std::string header = std::string("P6\n").append(std::to_string(raster.Width())) + " " +
                             std::to_string(raster.Height()) + "\n255\n";
  const std::string ppm = Slurp(dir_ / "img-002.ppm");
  ASSERT_EQ(ppm.substr(0, header.size()), header);
  EXPECT_TRUE(ppm.compare(header.size(), std::string::npos,
                          std::string(raster.Pixels().begin(), raster.Pixels().end())) == 0);
}

TEST_F(CatalogWriterTest, ACancelOrAFailingDiskLeavesThePreviousFile) {
  const fs::path pdf = dir_ / "cat.pdf";
  std::ofstream(pdf) << "previous";
  size_t calls = 0;
  const CatalogResult cancelled =
      CatalogWriter::WriteFile(pdf.string(), library_, {5, "x"}, [&](size_t, size_t) { return ++calls < 7; });
  EXPECT_EQ(cancelled.status, CatalogStatus::Cancelled);
  EXPECT_EQ(calls, 7u);
  EXPECT_EQ(Slurp(pdf), "previous");
  EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 1);

  // A sink that fills up part-way: the writer stops at once.
  size_t total = 0;
  ASSERT_EQ(CatalogWriter::Write(
                library_, {5, "x"},
                [&](std::string_view bytes) {
                  total += bytes.size();
                  return true;
                },
                nullptr),
            CatalogStatus::Done);
  for (const size_t room : {size_t{10}, total / 2, total - 1}) {
    size_t written = 0, callsAfterFull = 0;
    const CatalogStatus status = CatalogWriter::Write(
        library_, {5, "x"},
        [&](std::string_view bytes) {
          if (written > room) ++callsAfterFull;
          written += bytes.size();
          return written <= room;
        },
        nullptr);
    EXPECT_EQ(status, CatalogStatus::Failed) << room;
    EXPECT_EQ(callsAfterFull, 0u) << room;
  }
}

TEST(PdfWriterTest, RunLengthDataDecodesToTheInput) {
  const auto decode = [](const std::string& data) {
    std::string out;
    for (size_t i = 0; i < data.size();) {
      const auto length = static_cast<uint8_t>(data[i++]);
      if (length == 128) return i == data.size() ? out : std::string("trailing bytes");
      if (length < 128) {
        out.append(data, i, length + 1u);
        i += length + 1u;
      } else {
        out.append(257u - length, data[i++]);
      }
    }
    return std::string("no end marker");
  };
  std::mt19937 random(7);
  for (int round = 0; round < 300; ++round) {
    std::string input;
    const int pieces = static_cast<int>(random() % 12);
    for (int p = 0; p < pieces; ++p) {
      const size_t length = random() % 3 == 0 ? random() % 300 : random() % 4;
      input.append(length, static_cast<char>(random() % 3));
      if (random() % 2) input += static_cast<char>(random());
    }
    const std::string encoded = PdfWriter::RunLengthEncode(input);
    ASSERT_EQ(decode(encoded), input) << "round " << round;
    EXPECT_LE(encoded.size(), input.size() + input.size() / 128 + 2);
  }
}

}  // namespace
}  // namespace zanli
