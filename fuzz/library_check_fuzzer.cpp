// The work done after reading, on whatever a reader accepts: the checker
// with the save check in the format the first byte picks, the words of every
// problem it keeps, and the drawing of the first part when it fits the
// budget. Every part must stay within its bound: at most kMaxPerKind
// problems of a kind, each referring to places the libraries hold, words of
// bounded length whatever the names, and a save check that refuses exactly
// when the format's writer does.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "check/check_problem_text.h"
#include "check/library_check.h"
#include "check/save_losses.h"
#include "fileio/binary_library_format.h"
#include "fileio/text_library_format.h"
#include "render/rgb_raster.h"
#include "render/symbol_renderer.h"

namespace {

using namespace zanli;

bool Refers(const CheckProblem& p, const Library& library, const CheckReport& report) {
  const auto within = [](size_t index, size_t size) { return index == CheckProblem::kNone || index < size; };
  if (!within(p.entryIndex, library.entries.size()) || !within(p.bodyIndex, library.bodies.size()) ||
      !within(p.patternIndex, library.patterns.size()) || !within(p.partOf, library.entries.size()))
    return false;
  const size_t backEntries = report.SavedBackEntries();
  const size_t backPatterns = report.SavedBack() ? report.SavedBack()->patterns.size() : 0;
  return within(p.backEntryIndex, backEntries) && within(p.backPartOf, backEntries) &&
         within(p.backPatternIndex, backPatterns);
}

// Whether the writer of `format` refuses the library.
bool WriterRefuses(const Library& library, LibraryFormat format) {
  std::string bytes;
  if (format == LibraryFormat::Binary)
    return BinaryLibraryFormat::Encode(library, bytes) != BinaryWriteResult::Ok;
  std::vector<WriteProblem> problems;
  return TextLibraryFormat::Encode(library, bytes, problems) != WriteFailure::None;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  // Bit 0: the file's format; bit 1: the format of the save check.
  const LibraryFormat read = data[0] & 1 ? LibraryFormat::Binary : LibraryFormat::Text;
  const LibraryFormat saved = data[0] & 2 ? LibraryFormat::Binary : LibraryFormat::Text;
  const std::string_view bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
  const ReadResult result =
      read == LibraryFormat::Text ? TextLibraryFormat::Decode(bytes) : BinaryLibraryFormat::Decode(bytes);
  if (!result.Ok()) return 0;
  const Library& library = *result.library;

  const CheckReport report = LibraryCheck::Run(library, saved);
  const auto display = [](std::string_view name) { return std::string(name); };
  for (int k = 0; k < kCheckKindCount; ++k) {
    size_t kept = 0;
    for (const CheckProblem& p : report.Problems()) kept += p.kind == static_cast<CheckKind>(k);
    if (kept > CheckReport::kMaxPerKind) std::abort();
    if (report.Omitted(static_cast<CheckKind>(k)) > 0 && kept != CheckReport::kMaxPerKind) std::abort();
  }
  for (const CheckProblem& p : report.Problems()) {
    if (!Refers(p, library, report)) std::abort();
    // A subject, a pin name and two values, each cut to 64 characters that
    // may each show as \xNN, in a sentence of some hundred bytes.
    if (CheckProblemText::Describe(p, report, display).size() > 4 * 64 * 4 + 512) std::abort();
  }
  // Memory running out is the only way the save check cannot answer, and a
  // refusal is the writer's own.
  if (report.Has(CheckKind::SaveNotChecked)) std::abort();
  if (report.HasSaveRefusal() != WriterRefuses(library, saved)) std::abort();
  // Comparing the text part by part as it is read finds what comparing the
  // library read back whole finds, in the same words.
  CheckReport streamed(library);
  CheckReport whole(library);
  SaveLosses::Find(library, saved, streamed);
  SaveLosses::FindWhole(library, saved, whole);
  if (streamed.Problems().size() != whole.Problems().size() || streamed.Omitted() != whole.Omitted())
    std::abort();
  for (size_t i = 0; i < whole.Problems().size(); ++i) {
    const CheckProblem& a = streamed.Problems()[i];
    const CheckProblem& b = whole.Problems()[i];
    if (a.kind != b.kind || a.backEntryIndex != b.backEntryIndex || a.backPinIndex != b.backPinIndex ||
        a.backPatternIndex != b.backPatternIndex ||
        CheckProblemText::Describe(a, streamed, display) != CheckProblemText::Describe(b, whole, display))
      std::abort();
  }

  // The first part's drawing, only within the budget that zanli-cli render
  // and Copy keep to.
  const PartEntry* first = library.entries.empty() ? nullptr : library.entries[0].get();
  if (first && first->body) {
    const int64_t width = SymbolRenderer::DrawingWidth(*first->body);
    const int64_t height = SymbolRenderer::DrawingHeight(*first->body);
    if (SymbolRenderer::DrawingFits(width, height)) {
      RgbRaster raster(static_cast<int32_t>(width), static_cast<int32_t>(height), Rgb{255, 255, 255});
      SymbolRenderer::DrawPart(raster, nullptr, *first->body, 0);
    }
  }
  return 0;
}
