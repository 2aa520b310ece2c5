#pragma once
// Connects the core's ports to the desktop for the lifetime of the program: message
// boxes, the hourglass, the busy notice, the password prompt and the error display of
// the input fields.
#include "ui/base/busy_notice.h"
#include "ui/base/message_box_prompter.h"
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
};

}  // namespace qnvr
