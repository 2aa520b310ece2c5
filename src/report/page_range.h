#pragma once
// The pages of a snapshot a renderer goes through. Internal to the report engine.
#include "report/report_job.h"
#include "report/report_errors.h"

namespace qnvr::report {

// The first and last page number of range within a snapshot of pageCount pages;
// throws EReportException when the range holds no page.
inline std::pair<int, int> PagesOf(const PageRange& range, int pageCount) {
    const int first = std::max(1, range.first);
    const int last = range.last == 0 ? pageCount : std::min(range.last, pageCount);
    if (first > last) throw EReportException("The chosen page range holds no page of the report.");
    return {first, last};
}

}  // namespace qnvr::report
