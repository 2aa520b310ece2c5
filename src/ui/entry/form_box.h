#pragma once
// The boxes of a form facsimile. A box is framed, with its small caption on top and its
// fields below, one row of fields per line, as the paper form draws them.
#include <QString>

#include <initializer_list>

class QFrame;
class QLabel;
class QWidget;

namespace qnvr {

// A caption in the form's small print.
QLabel* FormCaption(const QString& text, QWidget* parent);

// How a box takes the height of its row in the form's grid.
enum class BoxHeight {
    Grows,    // the box grows with its row, its fields staying at the top
    Natural,  // the box keeps the height its caption and fields need
};

// rows: the lines of fields (or captions) below the box caption. The lines share columns;
// a nullptr widens the widget before it by one column, and a line's last widget reaches
// to the box's last column.
QFrame* FormBox(QWidget* parent, const QString& caption, std::initializer_list<std::initializer_list<QWidget*>> rows,
                BoxHeight height = BoxHeight::Grows);

// Makes a text field wide enough for characters characters.
void FitFieldWidth(QWidget* field, int characters);

}  // namespace qnvr
