#pragma once
// Snapshots and jobs for the printing tests (windows and the printer adapter).
#include <string>
#include <vector>

#include "report/page.h"
#include "report/report_job.h"
#include "report/snapshot.h"

namespace qnvr::testing {

// A page that says which it is, with a box, so that pages tell apart.
inline report::Page NumberedPage(int n) {
    report::Page page;
    report::TextOp text;
    text.x = 1;
    text.y = 1.5;
    text.sizePt = 24;
    text.text = "Snapshot page " + std::to_string(n);
    page.ops.push_back({text});
    report::RectOp box;
    box.x = 0.5 + 0.1 * n;
    box.y = 2;
    box.w = 3;
    box.h = 1;
    page.ops.push_back({box});
    return page;
}

inline std::vector<report::Page> NumberedPages(int count) {
    std::vector<report::Page> pages;
    for (int n = 1; n <= count; ++n) pages.push_back(NumberedPage(n));
    return pages;
}

inline report::PageSnapshot SnapshotFile(const std::string& file, int pageCount) {
    report::WriteSnapshotFile(file, NumberedPages(pageCount));
    return report::PageSnapshot::OpenFile(file);
}

// The options and setups of the W-2 Copy A job: preview only.
inline void MakeCopyAJob(report::ReportJob& job) {
    job.Options = report::ReportOption::soShowStatus | report::ReportOption::soPreviewModal;
    job.Setups = report::ReportSetup::ssAllowDestPreview | report::ReportSetup::ssAllowPreviewSetup;
}

}  // namespace qnvr::testing
