#pragma once
// Connects the core's ports to the desktop for the lifetime of the program: message
// boxes, the hourglass, the busy notice, the password prompt, the error display of the
// input fields, and for print jobs the printers of the print system with the output
// options and status windows.
#include "platform/print/cups_printer_port.h"
#include "ui/base/busy_notice.h"
#include "ui/base/message_box_prompter.h"
#include "ui/print/report_job_windows.h"
#include "ui/store/password_dlg.h"

namespace qnvr {

class DesktopPorts {
public:
    DesktopPorts();
    ~DesktopPorts();
    DesktopPorts(const DesktopPorts&) = delete;
    DesktopPorts& operator=(const DesktopPorts&) = delete;

private:
    MessageBoxPrompter prompter_;
    WaitCursor waitCursor_;
    MsgWinBusyNote busyNote_;
    DialogPasswordEntry passwordEntry_;
    platform::CupsPrinterPort printers_;
    ReportJobWindows jobWindows_;
};

}  // namespace qnvr
