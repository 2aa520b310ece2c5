// Print Labels: a mailing label for every employee of the open payer file, on Avery 5160
// sheets, through the output options, the status window and the preview.
#include "ui/main/program_windows.h"
#include "ui/print/preview_hook.h"
#include "ui/base/window_ports.h"

namespace qnvr {
namespace {

const ProgramWindowRegistration printLabels{ProgramWindow::PrintLabels, [](QWidget* parent, ProgramContext& context) {
    report::ReportJob RptW2Labels(PortsOf(parent));
    context.Printing.SetupLabels(RptW2Labels);
    RptW2Labels.OverridePreview = ReportPreviewHook(parent);
    RptW2Labels.Execute();
}};

}  // namespace
}  // namespace qnvr
