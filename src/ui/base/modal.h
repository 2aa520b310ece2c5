#pragma once
// The one door through which every modal sub-window of the program opens (dialogs,
// pickers, the calendar, the calculator, message boxes, file and folder pickers).
//
// In the program ExecModal is QDialog::exec(). A test gives its windows ports with a
// modal handler instead (ui/base/window_ports.h): it is handed the dialog, already shown
// and application-modal, and uses it as a person would, with real key presses and mouse
// clicks on its widgets; ExecModal then returns the result the dialog was closed with
// (Rejected when the handler left it open).
#include <QDialog>

#include "ui/base/window_ports.h"

namespace qnvr {

// The handler is that of the dialog's ports, else of the ports of the window that opens
// it; a dialog of no window given ports runs as exec().
// When the dialog has closed, the window that opened it (its parent's window, else the
// window that was active) is the active window again, with its focused control: the
// keys typed next reach it, never the hidden dialog.
int ExecModal(QDialog& dialog);

// The window a new notice or dialog belongs to: the active window when it is shown,
// else the window the last modal dialog returned to, else none.
QWidget* OwnerWindow();

// Makes window the active window again, here and on the desktop (nothing when it is
// gone or hidden).
void ReturnToWindow(QWidget* window);

}  // namespace qnvr
