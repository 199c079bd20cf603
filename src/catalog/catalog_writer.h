#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

#include "catalog/pdf_writer.h"
#include "fileio/library_file_result.h"
#include "model/library.h"

namespace zanli {

struct CatalogOptions {
  int32_t perPage = 12;  // parts on one page, kMinPerPage to kMaxPerPage
  std::string title;     // each page's head: the library's file name, say
};

// Told after each part with the parts done and their total; answering false
// cancels the catalogue.
using CatalogProgress = std::function<bool(size_t done, size_t total)>;

enum class CatalogStatus { Done, Cancelled, Failed };

struct CatalogResult {
  CatalogStatus status = CatalogStatus::Done;
  WriteResult write;  // why a file could not be written (Failed)
  size_t pages = 0;   // pages written (Done)
};

// A contact sheet of a library as a PDF of A4 pages: every part in list order,
// drawn as the part view draws it (block 1, no cursor), with its name and its
// aliases beneath, in a grid of equal cells. Pages are made and written one
// at a time, each part's picture dropped once written, so the memory needed
// does not grow with the library.
//   CatalogResult r = CatalogWriter::WriteFile(path, library, {perPage, title},
//                                              [&](size_t done, size_t total) { return !cancelled; });
//   Failed -> LibraryFileMessages::WriteFailure(r.write, path, decode); the previous file stays
class CatalogWriter {
 public:
  static constexpr int32_t kMinPerPage = 1;
  static constexpr int32_t kMaxPerPage = 100;
  static constexpr int32_t kDefaultPerPage = 12;
  // Drawings larger than this many pixels are named in their cell but not
  // drawn: only a damaged file holds such a body.
  static constexpr int64_t kMaxDrawingPixels = int64_t{2048} * 2048;

  // Parts (entries that are not aliases) and the pages they take; an empty
  // library still has one page saying so.
  static size_t PartCount(const Library& library);
  static size_t PageCount(const Library& library, int32_t perPage);

  // Through `sink`; Failed when the sink refused bytes.
  static CatalogStatus Write(const Library& library, const CatalogOptions& options,
                             const PdfWriter::Sink& sink, const CatalogProgress& progress);
  // Replaces the file only with a finished catalogue: a cancel or a failure
  // leaves whatever stood there before.
  static CatalogResult WriteFile(const std::string& path, const Library& library,
                                 const CatalogOptions& options, const CatalogProgress& progress);
};

}  // namespace zanli
