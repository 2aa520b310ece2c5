#include "ui/entry/check_box_edit.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>

#include "ui/entry/event_errors.h"

namespace qnvr {
namespace {
const QString kCheckMark = QStringLiteral("X");
}

TCheckBoxEdit::TCheckBoxEdit(QWidget* parent) : QLineEdit(parent) {
    setFixedSize(21, 21);
    setAlignment(Qt::AlignCenter);
    setMaxLength(1);
    QFont bold(QStringLiteral("Tahoma"), 10);
    bold.setBold(true);
    setFont(bold);
    setCursor(Qt::PointingHandCursor);
    setContextMenuPolicy(Qt::NoContextMenu);  // nothing may be pasted into the box
    setAcceptDrops(false);
    setAttribute(Qt::WA_InputMethodEnabled, false);
    setTextMargins(0, 0, 0, 0);
}

bool TCheckBoxEdit::Checked() const { return text() == kCheckMark; }

void TCheckBoxEdit::SetChecked(bool checked) { setText(checked ? kCheckMark : QString()); }

void TCheckBoxEdit::Toggle() {
    if (!isReadOnly()) SetChecked(!Checked());
}

void TCheckBoxEdit::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Space:
            if (event->modifiers() == Qt::NoModifier) RunGuarded([this] { Toggle(); });
            event->accept();
            return;
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Escape:
            event->ignore();  // for the window: default button, closing
            return;
        default:
            event->accept();  // every other key, Delete and the cursor keys too, does nothing
    }
}

void TCheckBoxEdit::mousePressEvent(QMouseEvent* event) { event->accept(); }

void TCheckBoxEdit::mouseMoveEvent(QMouseEvent* event) { event->accept(); }

void TCheckBoxEdit::mouseDoubleClickEvent(QMouseEvent* event) { event->accept(); }

void TCheckBoxEdit::mouseReleaseEvent(QMouseEvent* event) {
    event->accept();
    if (event->button() != Qt::LeftButton || !rect().contains(event->position().toPoint())) return;
    RunGuarded([this] {
        Toggle();
        emit Clicked();
    });
}

void TCheckBoxEdit::focusInEvent(QFocusEvent* event) {
    QLineEdit::focusInEvent(event);
    if (visit_.Begins()) RunGuarded([this] { emit Entered(); });
}

void TCheckBoxEdit::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    if (visit_.Ends(this, event)) RunGuarded([this] { emit Exited(); });
}

}  // namespace qnvr
