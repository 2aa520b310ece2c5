#pragma once
// HTML output of a page snapshot, for viewing as a plain file: one section per page,
// each page an inline SVG drawn in points with the same fonts, baselines and alignment
// as the PDF.
#include <filesystem>

#include "report/render_options.h"
#include "report/snapshot.h"

namespace qnvr::report {

inline constexpr const char* kHtmlFormatName = "Web Document (HTML)";
inline constexpr const char* kHtmlFilePatterns = "*.html;*.htm";

using HtmlOptions = RenderOptions;

bool RenderHtml(const PageSnapshot& snapshot, const std::filesystem::path& file, const HtmlOptions& options = {});

}  // namespace qnvr::report
