#include "catalog/catalog_writer.h"

#include <algorithm>
#include <cmath>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "fileio/library_file.h"
#include "render/part_picture.h"
#include "render/symbol_renderer.h"
#include "zanli_version.h"

namespace zanli {

namespace {

// A4 in points, and the frame the grid of cells fills.
constexpr double kPageWidth = 595;
constexpr double kPageHeight = 842;
constexpr double kMargin = 36;
constexpr double kHeadHeight = 24;
constexpr double kPadding = 4;
// Courier's every glyph is 0.6 em wide, so text is measured without metrics.
constexpr double kCourierAdvance = 0.6;
constexpr int kAliasLines = 2;

// The fixed objects, written first; pages and pictures follow.
constexpr int32_t kCatalogId = 1;
constexpr int32_t kPagesId = 2;
constexpr int32_t kRegularFontId = 3;
constexpr int32_t kBoldFontId = 4;
constexpr int32_t kInfoId = 5;

struct Grid {
  int columns;
  int rows;
  double cellWidth;
  double cellHeight;
  double fontSize;
  size_t charsPerLine;
};

Grid GridFor(int32_t perPage) {
  const double width = kPageWidth - 2 * kMargin, height = kPageHeight - 2 * kMargin - kHeadHeight;
  Grid grid{};
  // Columns so that cells come out about as tall as wide.
  grid.columns = std::max(1, static_cast<int>(std::lround(std::sqrt(perPage * width / height))));
  grid.rows = (perPage + grid.columns - 1) / grid.columns;
  grid.cellWidth = width / grid.columns;
  grid.cellHeight = height / grid.rows;
  // A name of the longest the editor allows fits one line, within 4 to 9 points.
  const double textWidth = grid.cellWidth - 2 * kPadding;
  grid.fontSize = std::clamp(textWidth / (kCourierAdvance * 16), 4.0, 9.0);
  grid.charsPerLine =
      static_cast<size_t>(std::max(4.0, std::floor(textWidth / (kCourierAdvance * grid.fontSize))));
  return grid;
}

// `text` cut to `chars` characters, ending in "..." when cut.
std::string Fit(std::string_view text, size_t chars) {
  if (text.size() <= chars) return std::string(text);
  return std::string(text.substr(0, chars - 3)).append("...");
}

// The aliases as "A, B, C" broken into at most kAliasLines lines of `chars`;
// the last ends in "..." when more did not fit.
std::vector<std::string> AliasLines(const std::vector<std::string_view>& aliases, size_t chars) {
  std::vector<std::string> lines;
  for (size_t i = 0; i < aliases.size(); ++i) {
    const std::string item = Fit(aliases[i], chars - 1) + (i + 1 < aliases.size() ? "," : "");
    if (lines.empty() || lines.back().size() + 1 + item.size() > chars) {
      if (lines.size() == kAliasLines) {
        std::string& lastLine = lines.back();
        lastLine.resize(std::min(lastLine.size(), chars - 4));
        lastLine += " ...";
        break;
      }
      lines.push_back(item);
    } else {
      lines.back().append(" ").append(item);
    }
  }
  return lines;
}

// The parts in list order and, for each entry, the next entry of its body.
struct PartIndex {
  std::vector<int> parts;
  std::vector<int> nextOfBody;
};

PartIndex IndexParts(const Library& library) {
  PartIndex index;
  index.nextOfBody.assign(library.entries.size(), -1);
  std::unordered_map<const PartBody*, int> last;
  for (size_t i = 0; i < library.entries.size(); ++i) {
    const PartBody* body = library.entries[i]->body;
    if (body == nullptr) continue;
    const auto [at, isNew] = last.try_emplace(body, static_cast<int>(i));
    if (isNew) {
      index.parts.push_back(static_cast<int>(i));
    } else {
      index.nextOfBody[static_cast<size_t>(at->second)] = static_cast<int>(i);
      at->second = static_cast<int>(i);
    }
  }
  return index;
}

// The picture as an image object: indices into its few colours, run-length
// encoded (a symbol is mostly white rows). Viewers keep the pixels sharp.
bool WriteImage(PdfWriter& pdf, int32_t id, const RgbRaster& raster) {
  std::vector<Rgb> palette;
  std::string indices(static_cast<size_t>(raster.Width()) * static_cast<size_t>(raster.Height()), '\0');
  const std::vector<uint8_t>& pixels = raster.Pixels();
  size_t last = 0;
  for (size_t i = 0; i < indices.size(); ++i) {
    const Rgb colour{pixels[3 * i], pixels[3 * i + 1], pixels[3 * i + 2]};
    if (palette.empty() || !(palette[last] == colour)) {
      last = static_cast<size_t>(std::find(palette.begin(), palette.end(), colour) - palette.begin());
      // The renderer draws in four colours; a 257th would share the last slot.
      if (last == palette.size()) {
        if (palette.size() < 256) palette.push_back(colour);
        last = palette.size() - 1;
      }
    }
    indices[i] = static_cast<char>(last);
  }
  std::string dictionary =
      std::string("/Type /XObject /Subtype /Image /Width ").append(std::to_string(raster.Width())) +
      " /Height " + std::to_string(raster.Height()) + " /ColorSpace [/Indexed /DeviceRGB " +
      std::to_string(palette.size() - 1) + " <";
  static const char kHex[] = "0123456789ABCDEF";
  for (const Rgb& c : palette)
    for (const uint8_t v : {c.r, c.g, c.b}) dictionary.append({kHex[v >> 4], kHex[v & 15]});
  dictionary += ">] /BitsPerComponent 8 /Interpolate false /Filter /RunLengthDecode";
  return pdf.WriteStream(id, dictionary, PdfWriter::RunLengthEncode(indices));
}

void AppendText(std::string& content, int font, double size, double x, double y, std::string_view text) {
  content.append("BT /F").append(std::to_string(font)).append(" ").append(PdfWriter::Number(size));
  content.append(" Tf ").append(PdfWriter::Number(x)).append(" ").append(PdfWriter::Number(y));
  content.append(" Td ").append(PdfWriter::Literal(text)).append(" Tj ET\n");
}

// One cell: frame, picture and names. The picture is written as object
// `imageId` and shown under `imageName`, which is cleared when there is no
// picture (too large, or no room). False when the sink failed.
bool DrawCell(PdfWriter& pdf, std::string& content, const Grid& grid, double left, double top,
              const PartEntry& part, const std::vector<std::string_view>& aliases, int32_t imageId,
              std::string& imageName) {
  content.append("0.5 w 0.8 G ")
      .append(PdfWriter::Number(left + 1))
      .append(" ")
      .append(PdfWriter::Number(top - grid.cellHeight + 1))
      .append(" ")
      .append(PdfWriter::Number(grid.cellWidth - 2))
      .append(" ")
      .append(PdfWriter::Number(grid.cellHeight - 2))
      .append(" re S\n");
  const double lineHeight = grid.fontSize * 1.25;
  const double textHeight = lineHeight * (1 + kAliasLines);
  const double areaWidth = grid.cellWidth - 2 * kPadding;
  const double areaHeight = grid.cellHeight - 2 * kPadding - textHeight;
  const double textLeft = left + kPadding;
  double baseline = top - grid.cellHeight + kPadding + textHeight - grid.fontSize;
  const PartBody& body = *part.body;
  const int64_t width = PartPicture::Width(body, 1), height = PartPicture::Height(body, 1);
  if (width * height > CatalogWriter::kMaxDrawingPixels || areaHeight <= 0) {
    imageName.clear();
    if (areaHeight > 0)
      AppendText(content, kRegularFontId, grid.fontSize, textLeft, top - kPadding - grid.fontSize,
                 Fit("(too large to draw)", grid.charsPerLine));
  } else {
    if (!WriteImage(pdf, imageId, PartPicture::Raster(body, 0, 1))) return false;
    // Up to two points a pixel (the part view's zoom 2 on paper), centred.
    const double scale = std::min({areaWidth / width, areaHeight / height, 2.0});
    const double w = width * scale, h = height * scale;
    const double x = left + kPadding + (areaWidth - w) / 2, y = top - kPadding - (areaHeight + h) / 2;
    content.append("q ").append(PdfWriter::Number(w)).append(" 0 0 ").append(PdfWriter::Number(h));
    content.append(" ").append(PdfWriter::Number(x)).append(" ").append(PdfWriter::Number(y));
    content.append(" cm /").append(imageName).append(" Do Q\n");
  }
  AppendText(content, kBoldFontId, grid.fontSize, textLeft, baseline, Fit(part.name, grid.charsPerLine));
  for (const std::string& line : AliasLines(aliases, grid.charsPerLine)) {
    baseline -= lineHeight;
    AppendText(content, kRegularFontId, grid.fontSize, textLeft, baseline, line);
  }
  return true;
}

}  // namespace

size_t CatalogWriter::PartCount(const Library& library) { return IndexParts(library).parts.size(); }

size_t CatalogWriter::PageCount(const Library& library, int32_t perPage) {
  const size_t parts = PartCount(library),
               per = static_cast<size_t>(std::clamp(perPage, kMinPerPage, kMaxPerPage));
  return std::max<size_t>(1, (parts + per - 1) / per);
}

CatalogStatus CatalogWriter::Write(const Library& library, const CatalogOptions& options,
                                   const PdfWriter::Sink& sink, const CatalogProgress& progress) {
  const int32_t perPage = std::clamp(options.perPage, kMinPerPage, kMaxPerPage);
  const Grid grid = GridFor(perPage);
  const PartIndex index = IndexParts(library);
  const size_t total = index.parts.size();
  const size_t pageCount =
      std::max<size_t>(1, (total + static_cast<size_t>(perPage) - 1) / static_cast<size_t>(perPage));

  PdfWriter pdf(sink);
  for (int32_t id = kCatalogId; id <= kInfoId; ++id) pdf.Reserve();
  const std::string producer = std::string("Zanli ") + kVersion;
  const std::string pagesRef = std::to_string(kPagesId) + " 0 R";
  if (!pdf.WriteObject(kCatalogId, "<< /Type /Catalog /Pages " + pagesRef + " >>") ||
      !pdf.WriteObject(kRegularFontId,
                       "<< /Type /Font /Subtype /Type1 /BaseFont /Courier /Encoding /WinAnsiEncoding >>") ||
      !pdf.WriteObject(
          kBoldFontId,
          "<< /Type /Font /Subtype /Type1 /BaseFont /Courier-Bold /Encoding /WinAnsiEncoding >>") ||
      !pdf.WriteObject(kInfoId, std::string("<< /Title ").append(PdfWriter::Literal(options.title)) +
                                    " /Producer " + PdfWriter::Literal(producer) + " >>"))
    return CatalogStatus::Failed;

  // Text names its font by the font's object number (AppendText).
  const std::string fonts = std::string("/F").append(std::to_string(kRegularFontId)) + " " +
                            std::to_string(kRegularFontId) + " 0 R /F" + std::to_string(kBoldFontId) + " " +
                            std::to_string(kBoldFontId) + " 0 R";
  std::vector<int32_t> pageIds;
  size_t done = 0;
  for (size_t page = 0; page < pageCount; ++page) {
    std::string content, images;
    const double headBaseline = kPageHeight - kMargin - 12;
    AppendText(content, kBoldFontId, 10, kMargin, headBaseline, Fit(options.title, 60));
    const std::string number =
        std::string("page ").append(std::to_string(page + 1)) + " of " + std::to_string(pageCount);
    AppendText(content, kRegularFontId, 10, kPageWidth - kMargin - number.size() * kCourierAdvance * 10,
               headBaseline, number);
    if (total == 0) AppendText(content, kRegularFontId, 10, kMargin, headBaseline - 30, "(no parts)");
    for (int cell = 0; cell < perPage && done < total; ++cell, ++done) {
      const PartEntry& part = *library.entries[static_cast<size_t>(index.parts[done])];
      std::vector<std::string_view> aliases;
      for (int e = index.nextOfBody[static_cast<size_t>(index.parts[done])]; e >= 0;
           e = index.nextOfBody[static_cast<size_t>(e)])
        aliases.push_back(library.entries[static_cast<size_t>(e)]->name);
      const double left = kMargin + (cell % grid.columns) * grid.cellWidth;
      const double top = kPageHeight - kMargin - kHeadHeight - (cell / grid.columns) * grid.cellHeight;
      const int32_t imageId = pdf.Reserve();
      std::string imageName = std::string("I").append(std::to_string(cell));
      if (!DrawCell(pdf, content, grid, left, top, part, aliases, imageId, imageName))
        return CatalogStatus::Failed;
      if (!imageName.empty())
        images.append(" /").append(imageName).append(" ").append(std::to_string(imageId)).append(" 0 R");
      if (progress && !progress(done + 1, total)) return CatalogStatus::Cancelled;
    }
    const int32_t contentId = pdf.Reserve(), pageId = pdf.Reserve();
    pageIds.push_back(pageId);
    const std::string pageObject = "<< /Type /Page /Parent " + pagesRef + " /MediaBox [0 0 " +
                                   PdfWriter::Number(kPageWidth) + " " + PdfWriter::Number(kPageHeight) +
                                   "] /Resources << /Font << " + fonts + " >>" +
                                   (images.empty() ? std::string() : " /XObject <<" + images + " >>") +
                                   " >> /Contents " + std::to_string(contentId) + " 0 R >>";
    if (!pdf.WriteStream(contentId, "", content) || !pdf.WriteObject(pageId, pageObject))
      return CatalogStatus::Failed;
  }
  std::string kids;
  for (const int32_t id : pageIds) kids.append(std::to_string(id)).append(" 0 R ");
  if (!pdf.WriteObject(kPagesId, "<< /Type /Pages /Kids [ " + kids + "] /Count " +
                                     std::to_string(pageIds.size()) + " >>") ||
      !pdf.Finish(kCatalogId, kInfoId))
    return CatalogStatus::Failed;
  return CatalogStatus::Done;
}

CatalogResult CatalogWriter::WriteFile(const std::string& path, const Library& library,
                                       const CatalogOptions& options, const CatalogProgress& progress) {
  CatalogResult result;
  result.write = LibraryFile::SaveStreamed(path, [&](const LibraryFile::ByteWriter& write) {
    result.status = Write(library, options, write, progress);
    return result.status == CatalogStatus::Done;
  });
  if (!result.write.Ok()) result.status = CatalogStatus::Failed;
  if (result.status == CatalogStatus::Done) result.pages = PageCount(library, options.perPage);
  return result;
}

}  // namespace zanli
