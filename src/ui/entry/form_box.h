#pragma once
// The boxes of a form facsimile and the text of its fields. A box is framed, with its
// small caption on top and its fields below, one row of fields per line, as the paper
// form draws them.
#include <QString>

#include <initializer_list>

class QFrame;
class QLabel;
class QWidget;

namespace qnvr {

// A caption in the form's small print.
QLabel* FormCaption(const QString& text, QWidget* parent);

QFrame* FormBox(QWidget* parent, const QString& caption, std::initializer_list<std::initializer_list<QWidget*>> rows);

// Makes a text field wide enough for characters characters.
void FitFieldWidth(QWidget* field, int characters);

// The text of a text field of any kind (filtered, masked, date, state code), as the
// record stores it; SetFieldText writes it back.
QString FieldText(const QWidget* field);
void SetFieldText(QWidget* field, const QString& text);

}  // namespace qnvr
