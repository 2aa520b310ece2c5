#include "ui/entry/form_box.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace qnvr {

QLabel* FormCaption(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    QFont font = label->font();
    font.setPointSizeF(font.pointSizeF() * 0.85);
    label->setFont(font);
    return label;
}

QFrame* FormBox(QWidget* parent, const QString& caption, std::initializer_list<std::initializer_list<QWidget*>> rows,
                BoxHeight height) {
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
    if (height == BoxHeight::Grows) layout->addStretch();
    return box;
}

void FitFieldWidth(QWidget* field, int characters) {
    field->setMinimumWidth(field->fontMetrics().horizontalAdvance(QLatin1Char('W')) * characters / 2 + 16);
}

}  // namespace qnvr
