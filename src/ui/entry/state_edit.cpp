#include "ui/entry/state_edit.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QFocusEvent>
#include <QWheelEvent>
#include <QKeyEvent>

#include "core/entry/state_keys.h"
#include "ui/entry/event_errors.h"
#include "ui/entry/typed_key.h"

namespace qnvr {
namespace {

// A screen reader (or a test) finds the field by its caption: the drop-down's usual
// accessible interface names it after the code it shows.
class StateEditAccessible final : public QAccessibleWidget {
public:
    explicit StateEditAccessible(QWidget* field) : QAccessibleWidget(field, QAccessible::ComboBox) {}
    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Value) return static_cast<const TStateEdit*>(widget())->Text();
        return QAccessibleWidget::text(t);
    }
};

QAccessibleInterface* StateEditAccessibleFactory(const QString& className, QObject* object) {
    if (className == QLatin1String(TStateEdit::staticMetaObject.className()) && object && object->isWidgetType())
        return new StateEditAccessible(static_cast<QWidget*>(object));
    return nullptr;
}

}  // namespace

TStateEdit::TStateEdit(QWidget* parent) : QComboBox(parent) {
    static const bool accessibleFactory = [] {
        QAccessible::installFactory(StateEditAccessibleFactory);
        return true;
    }();
    (void)accessibleFactory;
    setEditable(false);
    for (const std::string& code : StateCodes()) addItem(QString::fromStdString(code));
    setCurrentIndex(-1);
}

QString TStateEdit::Text() const { return currentIndex() < 0 ? QString() : currentText(); }

void TStateEdit::SetText(const QString& text) { setCurrentIndex(findText(text.trimmed(), Qt::MatchFixedString)); }

void TStateEdit::showPopup() {
    if (!readOnly_) QComboBox::showPopup();
}

void TStateEdit::wheelEvent(QWheelEvent* event) {
    if (readOnly_) event->ignore();
    else QComboBox::wheelEvent(event);
}

void TStateEdit::keyPressEvent(QKeyEvent* event) {
    if (readOnly_) {
        const int key = event->key();
        const bool moves = key == Qt::Key_Tab || key == Qt::Key_Backtab || key == Qt::Key_Return ||
                           key == Qt::Key_Enter || key == Qt::Key_Escape;
        if (moves) QComboBox::keyPressEvent(event);
        else event->accept();
        return;
    }
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
