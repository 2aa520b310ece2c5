#pragma once
// The background colour of an input field, as the entry windows save, highlight and
// restore it.
#include <QColor>

class QWidget;

namespace qnvr {

QColor FieldColor(const QWidget* field);
void SetFieldColor(QWidget* field, const QColor& color);

// The colour a field shows while the calendar or the calculator it opened is open.
inline const QColor kPopupOpenColor{255, 255, 0};

}  // namespace qnvr
