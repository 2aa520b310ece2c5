#include "report/printer_port.h"

namespace qnvr::report {
namespace {
PrinterPort* installedPort = nullptr;
}

void SetPrinterPort(PrinterPort* port) { installedPort = port; }
PrinterPort* CurrentPrinterPort() { return installedPort; }

}  // namespace qnvr::report
