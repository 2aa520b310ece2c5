#pragma once
// The one door through which every modal sub-window of the program opens (dialogs,
// pickers, the calendar, the calculator, message boxes, file and folder pickers).
//
// In the program ExecModal is QDialog::exec(). A test installs a handler instead: it
// is handed the dialog, already shown and application-modal, and uses it as a person
// would, with real key presses and mouse clicks on its widgets; ExecModal then returns
// the result the dialog was closed with (Rejected when the handler left it open).
#include <QDialog>

#include <functional>

namespace qnvr {

using ModalHandler = std::function<void(QDialog& dialog)>;

int ExecModal(QDialog& dialog);

// Installs the handler for every following modal window; an empty one restores exec().
void SetModalHandler(ModalHandler handler);

}  // namespace qnvr
