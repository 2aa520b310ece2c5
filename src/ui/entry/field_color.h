#pragma once
// The background colour of an input field, as the entry windows save, highlight and
// restore it.
#include <QColor>

class QWidget;

namespace qnvr {

QColor FieldColor(const QWidget* field);
void SetFieldColor(QWidget* field, const QColor& color);

// The light cyan of the field being visited in the entry and EFW2 windows.
inline constexpr QColor kVisitHighlight{187, 255, 255};

// Highlights field for its visit; returns its colour before, to restore when it ends.
QColor HighlightField(QWidget* field);

// The colour a field shows while the calendar or the calculator it opened is open.
inline const QColor kPopupOpenColor{255, 255, 0};

}  // namespace qnvr
