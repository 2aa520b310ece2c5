#include "ui/entry/field_text.h"

#include <QLineEdit>

#include "ui/entry/date_edit.h"
#include "ui/entry/mask_edit.h"
#include "ui/entry/state_edit.h"

namespace qnvr {

// Masked and date fields hold their blanks and literals apart from the line's text, and
// the state field is a list: each has its own Text().
QString FieldText(const QWidget* field) {
    if (auto* mask = qobject_cast<const TMaskEdit*>(field)) return mask->Text();
    if (auto* date = qobject_cast<const TDateEdit*>(field)) return date->Text();
    if (auto* state = qobject_cast<const TStateEdit*>(field)) return state->Text();
    if (auto* edit = qobject_cast<const QLineEdit*>(field)) return edit->text();
    return {};
}

void SetFieldText(QWidget* field, const QString& text) {
    if (auto* mask = qobject_cast<TMaskEdit*>(field)) mask->SetText(text);
    else if (auto* date = qobject_cast<TDateEdit*>(field)) date->SetText(text);
    else if (auto* state = qobject_cast<TStateEdit*>(field)) state->SetText(text);
    else if (auto* edit = qobject_cast<QLineEdit*>(field)) edit->setText(text);
}

}  // namespace qnvr
