#include "ui/entry/date_edit.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>

#include "core/base/clock.h"
#include "core/base/prompter.h"
#include "core/entry/date_keys.h"
#include "core/text/dates.h"
#include "ui/base/modal.h"
#include "ui/entry/calendar.h"
#include "ui/entry/event_errors.h"
#include "ui/entry/field_color.h"
#include "ui/entry/typed_key.h"
#include "ui/base/window_ports.h"

namespace qnvr {
namespace {

const Clock*& InstalledClock() {
    static const Clock* clock = nullptr;
    return clock;
}

QDate ToQDate(std::chrono::year_month_day date) {
    return QDate(int(date.year()), static_cast<int>(unsigned(date.month())), static_cast<int>(unsigned(date.day())));
}

}  // namespace

void TDateEdit::SetClock(const Clock* clock) { InstalledClock() = clock; }

const Clock& TDateEdit::CurrentClock() {
    static const SystemClock systemClock;
    return InstalledClock() ? *InstalledClock() : systemClock;
}

TDateEdit::TDateEdit(QWidget* parent) : QLineEdit(parent) {
    setInputMask(QStringLiteral("00/00/0000; "));
    setAttribute(Qt::WA_InputMethodEnabled, false);
    connect(this, &QLineEdit::textChanged, this, &TDateEdit::TextEdited);
}

QString TDateEdit::Text() const { return displayText(); }

void TDateEdit::SetText(const QString& text) { setText(text); }

void TDateEdit::TextEdited() {
    const std::string text = Text().toStdString();
    if (IsCompleteInvalidDate(text)) ShowMsg(PortsOf(this).prompter, InvalidDateMessage(text), kAppTitle, MsgStyle::Error);
}

void TDateEdit::keyPressEvent(QKeyEvent* event) {
    const QChar typed = TypedCharacter(event);
    if (isReadOnly() || typed.isNull()) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    if (IsCalendarKey(typed.unicode())) {
        event->accept();
        OpenCalendar();
        return;
    }
    const auto date = DateShortcut(Text().toStdString(), typed.unicode(), CurrentClock().Today());
    if (!date) {  // digits, and shortcuts that do not apply here, go to the mask
        QLineEdit::keyPressEvent(event);
        return;
    }
    event->accept();
    RunGuarded([&] { SetText(QString::fromStdString(*date)); });
}

void TDateEdit::mouseDoubleClickEvent(QMouseEvent* event) {
    if (isReadOnly()) {
        QLineEdit::mouseDoubleClickEvent(event);
        return;
    }
    event->accept();
    OpenCalendar();
}

void TDateEdit::OpenCalendar() {
    if (isReadOnly()) return;
    const QColor restore = visit_.InField() ? colorOnEntry_ : FieldColor(this);
    const std::string text = Text().toStdString();
    const QDate shown = IsValidDate(text) ? QDate::fromString(QString::fromStdString(text), QStringLiteral("MM/dd/yyyy"))
                                          : ToQDate(CurrentClock().Today());
    TFrmCalendar calendar(shown, this);
    SetFieldColor(this, kPopupOpenColor);
    if (ExecModal(calendar) == QDialog::Accepted) RunGuarded([&] { SetText(calendar.DateText()); });
    SetFieldColor(this, restore);
}

void TDateEdit::focusInEvent(QFocusEvent* event) {
    QLineEdit::focusInEvent(event);
    if (!visit_.Begins()) return;
    if (!RunGuarded([this] { emit Entered(); })) return;
    colorOnEntry_ = FieldColor(this);  // by now the window's highlight
    SelectAllOnEntry(this, event->reason());
}

void TDateEdit::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    if (visit_.Ends(this, event)) LeaveField();
}

void TDateEdit::LeaveField() {
    if (!RunGuarded([this] { emit Exited(); })) return;
    const std::string text = Text().toStdString();
    if (text != kEmptyDateText && !IsValidDate(text)) RefuseExit(this, InvalidDateMessage(text), MsgStyle::Error, kFocusBackFailed);
}

}  // namespace qnvr
