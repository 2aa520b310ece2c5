#pragma once
// The buttons of the program's dialogs.
#include <QString>

class QDialog;
class QHBoxLayout;
class QPushButton;
class QWidget;

namespace qnvr {

QPushButton* NamedButton(QWidget* parent, const char* objectName, const QString& caption);

// BtnOk "&Ok" (the default button: Enter anywhere presses it) and BtnCancel "&Cancel"
// (closes the dialog with Cancel), right-aligned in row. What Ok does is the dialog's.
struct OkCancelButtons {
    QPushButton* ok;
    QPushButton* cancel;
    QHBoxLayout* row;
};
OkCancelButtons AddOkCancel(QDialog* dialog);

}  // namespace qnvr
