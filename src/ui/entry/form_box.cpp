#include "ui/entry/form_box.h"

#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QVBoxLayout>

#include <algorithm>
#include <vector>

namespace qnvr {

QLabel* FormCaption(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    QFont font = label->font();
    font.setPointSizeF(font.pointSizeF() * 0.85);
    label->setFont(font);
    return label;
}

namespace {

// How many grid columns a row's widget at index takes: itself and the empty places
// after it; the last widget of a row reaches to the last column of the box.
int ColumnSpan(const std::initializer_list<QWidget*>& row, std::size_t index, int columns) {
    std::size_t next = index + 1;
    while (next < row.size() && row.begin()[next] == nullptr) ++next;
    return next == row.size() ? columns - static_cast<int>(index) : static_cast<int>(next - index);
}

}  // namespace

QFrame* FormBox(QWidget* parent, const QString& caption, std::initializer_list<std::initializer_list<QWidget*>> rows,
                BoxHeight height) {
    auto* box = new QFrame(parent);
    box->setFrameShape(QFrame::Box);
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(3, 1, 3, 3);
    layout->setSpacing(1);
    if (!caption.isEmpty()) layout->addWidget(FormCaption(caption, box));

    // One grid for all lines, so that a caption line lines up with the fields below it.
    int columns = 1;
    for (const auto& row : rows) columns = std::max(columns, static_cast<int>(row.size()));
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(layout->spacing() + 2);
    grid->setVerticalSpacing(layout->spacing());
    std::vector<int> stretch(columns, 1);
    int line = 0;
    for (const auto& row : rows) {
        for (std::size_t index = 0; index < row.size(); ++index) {
            QWidget* widget = row.begin()[index];
            if (!widget) continue;
            const int column = static_cast<int>(index);
            const int span = ColumnSpan(row, index, columns);
            grid->addWidget(widget, line, column, 1, span);
            // Fields share a line in proportion to what they hold, as on the paper form:
            // a one-letter initial stays narrow beside a twenty-letter name.
            if (span == 1 && !qobject_cast<QLabel*>(widget))
                stretch[column] = std::max({stretch[column], widget->minimumWidth(), widget->minimumSizeHint().width()});
        }
        ++line;
    }
    for (int column = 0; column < columns; ++column) grid->setColumnStretch(column, stretch[column]);
    layout->addLayout(grid);
    if (height == BoxHeight::Grows) layout->addStretch();
    return box;
}

void FitFieldWidth(QWidget* field, int characters) {
    field->setMinimumWidth(field->fontMetrics().horizontalAdvance(QLatin1Char('W')) * characters / 2 + 16);
}

}  // namespace qnvr
