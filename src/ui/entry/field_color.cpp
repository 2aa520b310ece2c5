#include "ui/entry/field_color.h"

#include <QPalette>
#include <QWidget>

namespace qnvr {

QColor FieldColor(const QWidget* field) { return field->palette().color(QPalette::Base); }

void SetFieldColor(QWidget* field, const QColor& color) {
    QPalette palette = field->palette();
    palette.setColor(QPalette::Base, color);
    field->setPalette(palette);
}

QColor HighlightField(QWidget* field) {
    const QColor before = FieldColor(field);
    SetFieldColor(field, kVisitHighlight);
    return before;
}

}  // namespace qnvr
