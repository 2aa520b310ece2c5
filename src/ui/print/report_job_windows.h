#pragma once
// The windows of a report job run, as the desktop program's ports hold them: the output
// options step and the status window.
#include <memory>

#include "report/report_job.h"

namespace qnvr {

class TFrmReportStatus;

class ReportJobWindows final : public report::ReportJobUi {
public:
    ReportJobWindows();
    ~ReportJobWindows() override;

    bool AskOutputOptions(const report::ReportJob& job, report::OutputOptions& options, bool fromPreview) override;
    void OpenStatus(const report::ReportJob& job) override;
    bool UpdateStatus(const std::string& text) override;
    void CloseStatus() override;

    // The status window while one is open (tests reach its Cancel button through it).
    TFrmReportStatus* StatusWindow() const { return status_.get(); }

private:
    std::unique_ptr<TFrmReportStatus> status_;
};

}  // namespace qnvr
