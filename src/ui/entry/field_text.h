#pragma once
// The text of an input field of any kind (filtered, masked, date, state code), as a
// record or a settings file stores it.
#include <QString>

class QWidget;

namespace qnvr {

QString FieldText(const QWidget* field);
void SetFieldText(QWidget* field, const QString& text);

}  // namespace qnvr
