#pragma once
// Which key presses count as typing a character into a field.
#include <QKeyEvent>

namespace qnvr {

// The character a key press types: printable characters and Backspace, without Ctrl or
// Alt. Null for everything else (cursor keys, Delete, Enter, Tab, Escape, shortcuts),
// which the field's editor handles as usual.
inline QChar TypedCharacter(const QKeyEvent* event) {
    if (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) return {};
    if (event->key() == Qt::Key_Backspace) return QChar(u'\b');
    const QString text = event->text();
    if (text.size() != 1 || !text[0].isPrint()) return {};
    return text[0];
}

}  // namespace qnvr
