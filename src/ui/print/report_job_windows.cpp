#include "ui/print/report_job_windows.h"

#include <QApplication>

#include "ui/base/modal.h"
#include "ui/print/output_options.h"
#include "ui/print/report_status.h"

namespace qnvr {

ReportJobWindows::ReportJobWindows() = default;
ReportJobWindows::~ReportJobWindows() = default;

bool ReportJobWindows::AskOutputOptions(const report::ReportJob& job, report::OutputOptions& options, bool fromPreview) {
    TFrmOutputOptions window(job, options, fromPreview, 0, 1, QApplication::activeWindow());
    return ExecModal(window) == QDialog::Accepted;
}

void ReportJobWindows::OpenStatus(const report::ReportJob& job) {
    status_ = std::make_unique<TFrmReportStatus>(QString::fromStdString(job.TitleStatus), QApplication::activeWindow());
    status_->show();
}

bool ReportJobWindows::UpdateStatus(const std::string& text) {
    return !status_ || status_->Update(QString::fromStdString(text));
}

void ReportJobWindows::CloseStatus() { status_.reset(); }

}  // namespace qnvr
