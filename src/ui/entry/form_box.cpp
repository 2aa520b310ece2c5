#include "ui/entry/form_box.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "ui/entry/date_edit.h"
#include "ui/entry/mask_edit.h"
#include "ui/entry/state_edit.h"

namespace qnvr {

QLabel* FormCaption(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    QFont font = label->font();
    font.setPointSizeF(font.pointSizeF() * 0.85);
    label->setFont(font);
    return label;
}

QFrame* FormBox(QWidget* parent, const QString& caption, std::initializer_list<std::initializer_list<QWidget*>> rows) {
    auto* box = new QFrame(parent);
    box->setFrameShape(QFrame::Box);
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(3, 1, 3, 3);
    layout->setSpacing(1);
    if (!caption.isEmpty()) layout->addWidget(FormCaption(caption, box));
    for (const auto& row : rows) {
        auto* line = new QHBoxLayout;
        for (QWidget* field : row) line->addWidget(field);
        layout->addLayout(line);
    }
    layout->addStretch();
    return box;
}

void FitFieldWidth(QWidget* field, int characters) {
    field->setMinimumWidth(field->fontMetrics().horizontalAdvance(QLatin1Char('W')) * characters / 2 + 16);
}

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
