#pragma once
// The ports of a program that prints: those of the core, the printers of the print
// system and the windows of a report job's run (the output options step and the status
// window). qnvr builds one at start with the printers and no windows; the desktop
// program's WindowPorts (ui/base/window_ports.h) extends it. Every report job is built
// with the ports it runs with.
//
// A port left out is the silent one: no printers (printing is refused), and a job that
// goes straight to generating and delivering without asking or showing its progress.
#include "core/base/core_ports.h"

namespace qnvr::report {

class PrinterPort;
class ReportJobUi;

PrinterPort& NoPrinters();
ReportJobUi& NoJobWindows();

struct ReportPorts : CorePorts {
    PrinterPort& printer = NoPrinters();
    ReportJobUi& jobUi = NoJobWindows();
};

}  // namespace qnvr::report
