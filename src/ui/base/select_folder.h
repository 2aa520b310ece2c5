#pragma once
// The folder picker: the platform's folder dialog with a title.
#include <QString>

class QWidget;

namespace qnvr {

// Shows the picker, starting in folder when it exists; true and the chosen folder in
// folder, or false (folder unchanged) when the user cancels.
bool SelectFolder(QWidget* parent, const QString& title, QString& folder);

}  // namespace qnvr
