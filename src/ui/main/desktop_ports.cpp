#include "ui/main/desktop_ports.h"

namespace qnvr {

DesktopPorts::DesktopPorts()
    : ports_{{{prompter_, passwordEntry_, waitCursor_, busyNote_}, printers_, jobWindows_}} {}

}  // namespace qnvr
