#pragma once
// PDF output of a page snapshot through libharu: standard fonts, not embedded, in
// WinAnsiEncoding; the document is built in memory and then written beside the target
// and renamed over it.
#include <filesystem>
#include <functional>

#include "report/report_job.h"

namespace qnvr::report {

inline constexpr const char* kPdfFormatName = "Adobe Portable Document (PDF)";
inline constexpr const char* kPdfFilePattern = "*.pdf";

struct PdfOptions {
    PageRange range;
    bool includeScreenOnly = false;  // the preview's own marks (label outlines)
    // Called with each page number before it is rendered; false cancels (nothing is written).
    std::function<bool(int pageNo)> progress;
};

// Renders the pages; returns false when progress cancelled. Throws EReportException
// when the file cannot be written.
bool RenderPdf(const PageSnapshot& snapshot, const std::filesystem::path& file, const PdfOptions& options = {});

}  // namespace qnvr::report
