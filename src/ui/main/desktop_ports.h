#pragma once
// The desktop program's ports, built once at start and alive until it ends: message
// boxes, the hourglass, the busy notice, the password prompt, the printers of the print
// system with the output options and status windows; modal windows run with exec() and
// the error sound is the system's beep. The main window gets them in its constructor.
#include "platform/print/cups_printer_port.h"
#include "ui/base/busy_notice.h"
#include "ui/base/message_box_prompter.h"
#include "ui/base/window_ports.h"
#include "ui/print/report_job_windows.h"
#include "ui/store/password_dlg.h"

namespace qnvr {

class DesktopPorts {
public:
    DesktopPorts();
    DesktopPorts(const DesktopPorts&) = delete;
    DesktopPorts& operator=(const DesktopPorts&) = delete;

    const WindowPorts& Ports() const { return ports_; }

private:
    MessageBoxPrompter prompter_;
    WaitCursor waitCursor_;
    MsgWinBusyNote busyNote_;
    DialogPasswordEntry passwordEntry_;
    platform::CupsPrinterPort printers_;
    ReportJobWindows jobWindows_;
    WindowPorts ports_;
};

}  // namespace qnvr
