#pragma once
// The ports of the desktop program: those of the core and of printing
// (report::ReportPorts), and the two only windows have: how a modal sub-window runs and
// how the error sound is played. The desktop program builds them once at start
// (ui/main/desktop_ports.h); a window test builds its own.
//
// Windows reach them through the window they belong to: UsePorts gives them to a window,
// and every widget, dialog and window created under it (with it as an ancestor) finds
// them with PortsOf. The main window gets them in its constructor and every window the
// program opens has it as an ancestor, so a window never talks to another window's
// ports: two windows with different ports, in one process, each use their own.
#include <QDialog>

#include <functional>

#include "report/report_ports.h"

class QObject;
class QWidget;

namespace qnvr {

// Handed a modal dialog, already shown and application-modal, it uses it as a person
// would, with real key presses and mouse clicks (tests: ModalScript).
using ModalHandler = std::function<void(QDialog& dialog)>;

struct WindowPorts : report::ReportPorts {
    ModalHandler modal{};                   // empty: QDialog::exec(), the user answers
    std::function<void()> errorSound{};     // empty: the system's beep
};

// Gives window (and whatever is created under it) the ports, which must outlive it.
void UsePorts(QWidget& window, const WindowPorts& ports);

// The ports of the nearest of object and its ancestors that has any; nullptr when none has.
const WindowPorts* FindPorts(const QObject* object);

// The ports of widget's window. A widget outside every window given ports is a fault of
// the program (std::logic_error): a window opened without its owner as parent.
const WindowPorts& PortsOf(const QObject* widget);

}  // namespace qnvr
