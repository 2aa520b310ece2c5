#include "ui/app/desktop_ports.h"

namespace qnvr {

DesktopPorts::DesktopPorts() {
    SetPrompter(&prompter_);
    SetBusyIndicator(&waitCursor_);
    SetBusyNote(&busyNote_);
    SetPasswordEntry(&passwordEntry_);
}

DesktopPorts::~DesktopPorts() {
    SetPasswordEntry(nullptr);
    SetBusyNote(nullptr);
    SetBusyIndicator(nullptr);
    SetPrompter(nullptr);
}

}  // namespace qnvr
