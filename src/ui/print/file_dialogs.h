#pragma once
// The file dialogs of the printing windows. Filters are written as the program's
// dialogs describe them, "Description (*.ext)|*.ext" pairs joined by "|". The dialogs
// open through ExecModal, so tests answer them as a person would.
#include <QString>

class QWidget;

namespace qnvr {

struct FileDialogSpec {
    const char* objectName;
    QString title;           // empty: the platform's own title
    QString filter;          // "Description (*.ext)|*.ext|..."
    QString defaultSuffix;   // added when the name has none
    bool save = false;       // save: asks before replacing; open: the file must exist
};

// Turns "A (*.a)|*.a|B (*.b)|*.b" into the dialog's filter list.
QStringList DialogFilters(const QString& filter);

// Shows the dialog; true and the chosen path, or false when the user cancelled (or, on
// saving, declined to replace an existing file).
bool AskFileName(QWidget* parent, const FileDialogSpec& spec, QString& path);

}  // namespace qnvr
