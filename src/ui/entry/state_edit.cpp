#include "ui/entry/state_edit.h"

#include <QFocusEvent>
#include <QKeyEvent>

#include "core/entry/state_keys.h"
#include "ui/entry/event_errors.h"
#include "ui/entry/typed_key.h"

namespace qnvr {

TStateEdit::TStateEdit(QWidget* parent) : QComboBox(parent) {
    setEditable(false);
    for (const std::string& code : StateCodes()) addItem(QString::fromStdString(code));
    setCurrentIndex(-1);
}

QString TStateEdit::Text() const { return currentIndex() < 0 ? QString() : currentText(); }

void TStateEdit::SetText(const QString& text) { setCurrentIndex(findText(text.trimmed(), Qt::MatchFixedString)); }

void TStateEdit::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Backspace || event->key() == Qt::Key_Delete) {
        if (okToDel_) setCurrentIndex(-1);
        event->accept();
        return;
    }
    const QChar typed = TypedCharacter(event);
    if (typed.isNull()) {  // cursor keys, F4, Alt+Down, Tab: the drop-down as usual
        QComboBox::keyPressEvent(event);
        return;
    }
    // Typed characters never reach the list's own search: letters move through their codes.
    if (const auto code = StateCodeForLetter(Text().toStdString(), typed.unicode()))
        SetText(QString::fromStdString(*code));
    event->accept();
}

void TStateEdit::focusInEvent(QFocusEvent* event) {
    QComboBox::focusInEvent(event);
    if (visit_.Begins()) RunGuarded([this] { emit Entered(); });
}

void TStateEdit::focusOutEvent(QFocusEvent* event) {
    QComboBox::focusOutEvent(event);
    if (visit_.Ends(this, event)) RunGuarded([this] { emit Exited(); });
}

}  // namespace qnvr
