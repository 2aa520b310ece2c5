#include "ui/entry/field_focus.h"

#include <QFocusEvent>
#include <QLineEdit>
#include <QPointer>
#include <QTimer>

#include "core/base/prompter.h"
#include "ui/base/window_ports.h"

namespace qnvr {

bool IsMoveWithinWindow(Qt::FocusReason reason) {
    switch (reason) {
        case Qt::TabFocusReason:
        case Qt::BacktabFocusReason:
        case Qt::MouseFocusReason:
        case Qt::ShortcutFocusReason:
        case Qt::OtherFocusReason: return true;
        default: return false;
    }
}

void SelectAllOnEntry(QLineEdit* field, Qt::FocusReason reason) {
    field->selectAll();
    if (reason != Qt::MouseFocusReason) return;
    // The press that gave the focus places the cursor after this; select once it has.
    QTimer::singleShot(0, field, [field = QPointer<QLineEdit>(field)] {
        if (field && field->hasFocus()) field->selectAll();
    });
}

namespace {

bool TakeFocusBack(QWidget* field) {
    if (!field->isVisible() || !field->isEnabled() || field->focusPolicy() == Qt::NoFocus) return false;
    field->setFocus(Qt::OtherFocusReason);
    return field->window()->focusWidget() == field;
}

}  // namespace

void RefuseExit(QWidget* field, const std::string& message, MsgStyle style, const std::string& fallback) {
    const bool back = TakeFocusBack(field);
    Prompter& prompter = PortsOf(field).prompter;
    ShowMsg(prompter, message, kAppTitle, style);
    if (!back) ShowMsg(prompter, fallback, kAppTitle, MsgStyle::Error);
}

bool FieldVisit::Begins() {
    if (inField_) return false;
    inField_ = true;
    return true;
}

bool FieldVisit::Ends(const QWidget* field, const QFocusEvent* event) {
    if (!inField_) return false;
    if (IsMoveWithinWindow(event->reason())) {
        inField_ = false;
        return true;
    }
    // The window itself went away: the visit ends without the exit steps.
    if (!field->window()->isVisible()) inField_ = false;
    return false;
}

}  // namespace qnvr
