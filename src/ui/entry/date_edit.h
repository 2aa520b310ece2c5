#pragma once
// TDateEdit: a masked "mm/dd/yyyy" field with keyboard shortcuts (core/entry/date_keys.h)
// and the pop-up calendar ("C" or a double-click). It tells the user when a complete
// date is invalid, and refuses to be left with one.
#include <QLineEdit>

#include "ui/entry/field_focus.h"

namespace qnvr {

class Clock;

class TDateEdit : public QLineEdit {
    Q_OBJECT

public:
    // "Today" for the shortcuts and the calendar (not owned); nullptr: the system clock.
    static void SetClock(const Clock* clock);
    static const Clock& CurrentClock();

    explicit TDateEdit(QWidget* parent = nullptr);

    // The text as it stands, literals and blanks included: "03/07/2026" or "  /  /    ".
    QString Text() const;
    void SetText(const QString& text);

    // What "C" does: shows the calendar and writes the date the user pastes.
    void OpenCalendar();

signals:
    void Entered();
    void Exited();

protected:
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    void TextEdited();
    void LeaveField();

    QColor colorOnEntry_;
    FieldVisit visit_;
};

}  // namespace qnvr
