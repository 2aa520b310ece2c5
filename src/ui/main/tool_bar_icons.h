#pragma once
// The icons of the main window's tool bar: the desktop's icon theme where it has one,
// otherwise the program's own drawing of the same picture, so that every button shows
// an icon on any desktop (and with no icon theme installed at all).
#include <QIcon>
#include <QString>

namespace qnvr {

// The pictures the tool bar uses, by their icon theme names: "document-new",
// "document-open", "document-save-as", "drive-harddisk", "document-revert",
// "x-office-document", "x-office-spreadsheet", "help-browser".
QIcon ToolBarIcon(const QString& themeName);

// The program's own drawing of a picture (a null icon for a name it does not draw).
QIcon DrawnToolBarIcon(const QString& themeName);

}  // namespace qnvr
