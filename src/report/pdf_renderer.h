#pragma once
// PDF output of a page snapshot through libharu: standard fonts, not embedded, in
// WinAnsiEncoding; the document is built in memory and then written beside the target
// and renamed over it.
#include <filesystem>

#include "report/render_options.h"
#include "report/snapshot.h"

namespace qnvr::report {

inline constexpr const char* kPdfFormatName = "Adobe Portable Document (PDF)";
inline constexpr const char* kPdfFilePattern = "*.pdf";

using PdfOptions = RenderOptions;

// Renders the pages; returns false when progress cancelled. Throws EReportException
// when the file cannot be written.
bool RenderPdf(const PageSnapshot& snapshot, const std::filesystem::path& file, const PdfOptions& options = {});

}  // namespace qnvr::report
