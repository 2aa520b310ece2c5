#include "ui/print/preview_hook.h"

#include <QEventLoop>
#include <QPointer>

#include <memory>

#include "ui/base/modal.h"
#include "ui/print/report_preview.h"

namespace qnvr {
namespace {

// The window a hook has created for the job running now.
struct PreviewState {
    std::unique_ptr<TFrmReportPreview> window;
};

void Create(PreviewState& state, QWidget* owner, const report::ReportJob& job) {
    state.window = std::make_unique<TFrmReportPreview>(job, owner);
    state.window->setWindowTitle(QString::fromStdString(job.TitlePreview));
}

void Show(PreviewState& state, const report::ReportJob& job) {
    TFrmReportPreview& window = *state.window;
    window.ApplyPreviewSettings(job.Preview);
    window.SetSnapshot(job.OpenSnapshot());
    window.PrepareShow();
    if (job.Options.Has(report::ReportOption::soPreviewModal)) ExecModal(window);
    else window.show();
}

// A preview that is not modal: the job waits, handling events, until it is closed.
void Wait(PreviewState& state, const report::ReportJob& job) {
    if (job.Options.Has(report::ReportOption::soPreviewModal) || !state.window || !state.window->isVisible()) return;
    QEventLoop loop;
    QObject::connect(state.window.get(), &QDialog::finished, &loop, &QEventLoop::quit);
    loop.exec();
}

}  // namespace

report::ReportJob::PreviewHook ReportPreviewHook(QWidget* owner) {
    auto state = std::make_shared<PreviewState>();
    QPointer<QWidget> ownerWindow(owner);
    return [state, ownerWindow](report::ReportJob& job, report::PreviewMode mode) {
        switch (mode) {
            case report::PreviewMode::Create: return Create(*state, ownerWindow.data(), job);
            case report::PreviewMode::Show: return Show(*state, job);
            case report::PreviewMode::Wait: return Wait(*state, job);
            case report::PreviewMode::Free: state->window.reset(); return;  // closes its snapshot file
        }
    };
}

}  // namespace qnvr
