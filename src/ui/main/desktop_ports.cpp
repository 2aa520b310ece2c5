#include "ui/main/desktop_ports.h"

namespace qnvr {

DesktopPorts::DesktopPorts() {
    SetPrompter(&prompter_);
    SetBusyIndicator(&waitCursor_);
    SetBusyNote(&busyNote_);
    SetPasswordEntry(&passwordEntry_);
    report::SetPrinterPort(&printers_);
    report::SetReportJobUi(&jobWindows_);
}

DesktopPorts::~DesktopPorts() {
    report::SetReportJobUi(nullptr);
    report::SetPrinterPort(nullptr);
    SetPasswordEntry(nullptr);
    SetBusyNote(nullptr);
    SetBusyIndicator(nullptr);
    SetPrompter(nullptr);
}

}  // namespace qnvr
