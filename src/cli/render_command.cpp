#include <cstdio>
#include <cstdlib>

#include "cli/cli_commands.h"
#include "fileio/library_file.h"
#include "fileio/library_file_messages.h"
#include "qtshared/png_encoder.h"
#include "render/rgb_raster.h"
#include "render/symbol_renderer.h"
#include "resources/cli_texts.h"

namespace zanli::cli {

namespace {

bool ParseInt(const std::string& text, int64_t& value) {
  if (text.empty() || text.size() > 18) return false;
  char* end = nullptr;
  value = std::strtoll(text.c_str(), &end, 10);
  return end != nullptr && *end == '\0';
}

int Usage() {
  std::fprintf(stderr, "usage: zanli-cli render LIBRARY NAME OUT.png [--block N]\n");
  return kExitUsage;
}

}  // namespace

int RunRender(const std::vector<std::string>& args) {
  std::vector<std::string> positional;
  int64_t block = 1;
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--block") {
      if (i + 1 >= args.size() || !ParseInt(args[i + 1], block)) return Usage();
      ++i;
    } else {
      positional.push_back(args[i]);
    }
  }
  if (positional.size() != 3) return Usage();
  const std::string& libraryPath = positional[0];
  const std::string& name = positional[1];
  const std::string& outPath = positional[2];

  const std::unique_ptr<Library> library = ReadLibrary(libraryPath);
  if (!library) return kExitFailed;
  const PartEntry* entry = FindEntry(*library, name);
  if (entry == nullptr || entry->body == nullptr) {
    PrintMessage(texts::cli::kNoPartNamed, {libraryPath, ShownName(name)});
    return kExitFailed;
  }
  const PartBody& body = *entry->body;
  if (block < 1 || block > body.blockCount) {
    PrintMessage(texts::cli::kBlockOutOfRange,
                 {libraryPath, std::to_string(block), ShownName(name), std::to_string(body.blockCount)});
    return kExitFailed;
  }
  // The part view's drawing extent: the body plus a 60-unit margin on each side.
  const int64_t width = SymbolRenderer::DrawingWidth(body);
  const int64_t height = SymbolRenderer::DrawingHeight(body);
  if (!SymbolRenderer::DrawingFits(width, height)) {
    PrintMessage(texts::cli::kTooLargeToRender,
                 {libraryPath, ShownName(name), std::to_string(width), std::to_string(height),
                  std::to_string(SymbolRenderer::kMaxDrawingPixels)});
    return kExitFailed;
  }

  RgbRaster raster(static_cast<int32_t>(width), static_cast<int32_t>(height), Rgb{255, 255, 255});
  SymbolRenderer::DrawPart(raster, nullptr, body, static_cast<int32_t>(block - 1));

  // Encoded in memory, then saved like a library: the same refusals of odd
  // targets, and a reason when it fails.
  const QByteArray png = PngEncoder::Encode(raster);
  if (png.isEmpty()) {
    PrintMessage(texts::cli::kPngEncodingFailed, {outPath});
    return kExitFailed;
  }
  const WriteResult written =
      LibraryFile::SaveBytes(outPath, std::string_view(png.constData(), static_cast<size_t>(png.size())));
  if (!written.Ok()) {
    PrintMessage(LibraryFileMessages::WriteFailure(written, outPath, ShownName));
    return kExitFailed;
  }
  return kExitOk;
}

}  // namespace zanli::cli
