#pragma once
// What a renderer of a snapshot is asked to do: which pages, whether the preview's own
// marks go along, and a progress report that can cancel.
#include <functional>

#include "report/report_job.h"

namespace qnvr::report {

struct RenderOptions {
    PageRange range;
    bool includeScreenOnly = false;  // the preview's own marks (label outlines)
    // Called with each page number before it is rendered; false cancels, and nothing is written.
    std::function<bool(int pageNo)> progress;
};

}  // namespace qnvr::report
