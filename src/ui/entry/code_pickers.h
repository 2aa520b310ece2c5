#pragma once
// The two code lists the W-2 window opens when the user double-clicks a Box 12 code
// field or a box 14b occupation code field: those fields are read-only, so a pick from
// the list is the only way to set or clear them.
#include <QString>

class QWidget;

namespace qnvr {

// Shows the IRS Box 12 code list modally; returns the code of the chosen row ("A",
// "DD", ...), or "" when the user cancelled.
QString PickBox12Code(QWidget* parent);

// Shows the Treasury tipped occupation code list modally; returns the three-digit code
// of the chosen row, or "" when the user cancelled.
QString PickOccupationCode(QWidget* parent);

}  // namespace qnvr
