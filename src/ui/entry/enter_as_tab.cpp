#include "ui/entry/enter_as_tab.h"

#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

namespace qnvr {

TEnterAsTab::TEnterAsTab(QWidget* parentForm) : QObject(parentForm) {
    // The window sees its keys before its fields do: the filter sits on the application
    // and picks the key presses meant for a control of the parent form.
    qApp->installEventFilter(this);
    SetParentForm(parentForm);
}

void TEnterAsTab::SetParentForm(QWidget* form) { parentForm_ = form; }

bool TEnterAsTab::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress || !parentForm_) return false;
    auto* control = qobject_cast<QWidget*>(watched);
    if (!control || control->window() != parentForm_ || control != QApplication::focusWidget()) return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
    // A focused button is pressed by Enter as usual.
    if (enter && enterAsTabKey_ && !qobject_cast<QAbstractButton*>(control)) {
        QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
        QApplication::sendEvent(control, &tab);
        return true;
    }
    if (key->key() == Qt::Key_Escape && escapeAsClose_) {
        parentForm_->close();
        return true;
    }
    return false;
}

}  // namespace qnvr
