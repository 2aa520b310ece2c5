// File, Print Setup: the program's printer setup, kept in the settings store under
// "Printer", over the printers of the print system.
#include "platform/print/cups_printer_port.h"
#include "ui/main/program_windows.h"
#include "ui/base/modal.h"
#include "ui/print/printer_setup.h"

namespace qnvr {
namespace {

const ProgramWindowRegistration printSetup{ProgramWindow::PrintSetup, [](QWidget* parent, ProgramContext& context) {
    platform::CupsPrinterPort printers;
    TFrmPrinterSetup window(context.Settings, &printers, parent);
    ExecModal(window);
}};

}  // namespace
}  // namespace qnvr
