#pragma once
// The preview hook that the W-2, W-3 and main windows install on their jobs
// (OverridePreview): it creates the job's preview window, gives it the job's snapshot
// and preview settings, shows it (modal for every job of the program) and frees it.
#include "report/report_job.h"

class QWidget;

namespace qnvr {

class TFrmReportPreview;

// A hook whose preview windows belong to owner.
report::ReportJob::PreviewHook ReportPreviewHook(QWidget* owner);

}  // namespace qnvr
