#include <cstdio>
#include <cstdlib>

#include "cli/cli_commands.h"
#include "fileio/library_file.h"
#include "fileio/library_file_messages.h"
#include "qtshared/png_encoder.h"
#include "qtshared/shift_jis_codec.h"
#include "render/part_picture.h"
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
  std::fprintf(stderr, "usage: zanli-cli render LIBRARY NAME OUT [--block N] [--zoom N] [--svg]\n");
  return kExitUsage;
}

}  // namespace

int RunRender(const std::vector<std::string>& args) {
  std::vector<std::string> positional;
  int64_t block = 1;
  int64_t zoom = 1;
  bool svg = false;
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--block" || args[i] == "--zoom") {
      if (i + 1 >= args.size() || !ParseInt(args[i + 1], args[i] == "--block" ? block : zoom)) return Usage();
      ++i;
    } else if (args[i] == "--svg") {
      svg = true;
    } else {
      positional.push_back(args[i]);
    }
  }
  if (positional.size() != 3) return Usage();
  if (zoom < PartPicture::kMinZoom || zoom > PartPicture::kMaxZoom) {
    std::fprintf(stderr, "zanli-cli: zoom %lld is out of range: %d to %d\n", static_cast<long long>(zoom),
                 static_cast<int>(PartPicture::kMinZoom), static_cast<int>(PartPicture::kMaxZoom));
    return kExitUsage;
  }
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
  // The part view's drawing extent at the zoom: the body and a 60-unit margin.
  const int32_t zoomFactor = static_cast<int32_t>(zoom);
  const int64_t width = PartPicture::Width(body, zoomFactor);
  const int64_t height = PartPicture::Height(body, zoomFactor);
  if (!SymbolRenderer::DrawingFits(width, height)) {
    PrintMessage(texts::cli::kTooLargeToRender,
                 {libraryPath, ShownName(name), std::to_string(width), std::to_string(height),
                  std::to_string(SymbolRenderer::kMaxDrawingPixels)});
    return kExitFailed;
  }

  const int32_t blockIndex = static_cast<int32_t>(block - 1);
  QByteArray bytes;
  if (svg) {
    bytes = QByteArray::fromStdString(
        PartPicture::Svg(body, blockIndex, zoomFactor, ShiftJisCodec::Decode(name).toStdString()));
  } else {
    // Encoded in memory, then saved like a library: the same refusals of odd
    // targets, and a reason when it fails.
    bytes = PngEncoder::Encode(PartPicture::Raster(body, blockIndex, zoomFactor));
    if (bytes.isEmpty()) {
      PrintMessage(texts::cli::kPngEncodingFailed, {outPath});
      return kExitFailed;
    }
  }
  const WriteResult written =
      LibraryFile::SaveBytes(outPath, std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())));
  if (!written.Ok()) {
    PrintMessage(LibraryFileMessages::WriteFailure(written, outPath, ShownName));
    return kExitFailed;
  }
  return kExitOk;
}

}  // namespace zanli::cli
