#include "ui/entry/filter_edit.h"

#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QValidator>

#include "core/base/prompter.h"
#include "ui/entry/event_errors.h"
#include "ui/entry/typed_key.h"

namespace qnvr {
namespace {

QString InCase(CharCase charCase, const QString& text) {
    switch (charCase) {
        case CharCase::Upper: return text.toUpper();
        case CharCase::Lower: return text.toLower();
        default: return text;
    }
}

bool PassesFilter(const CharSet& set, const QString& text) {
    return std::all_of(text.begin(), text.end(), [&](QChar c) { return CharPassesFilter(set, c.unicode()); });
}

// Keeps the text in the field's letter case, and refuses a paste or a drop holding a
// character the filter leaves out (a refused edit is undone; text a program writes is
// kept as written).
class FilterValidator final : public QValidator {
public:
    FilterValidator(const CharCase& charCase, const CharSet& set, QObject* parent)
        : QValidator(parent), charCase_(charCase), set_(set) {}
    State validate(QString& input, int&) const override {
        input = InCase(charCase_, input);
        return PassesFilter(set_, input) ? Acceptable : Invalid;
    }

private:
    const CharCase& charCase_;
    const CharSet& set_;
};

}  // namespace

TFilterEdit::TFilterEdit(QWidget* parent) : QLineEdit(parent) {
    validator_ = new FilterValidator(charCase_, validCharSet_, this);
    setValidator(validator_);
    // Text a program writes keeps its characters, but it is shown in the field's case too.
    connect(this, &QLineEdit::textChanged, this, &TFilterEdit::ShowInCase);
}

void TFilterEdit::ShowInCase() {
    const QString shown = InCase(charCase_, text());
    if (shown == text()) return;
    const int cursor = cursorPosition();
    setText(shown);
    setCursorPosition(cursor);
}

void TFilterEdit::SetValidChars(const QString& value) {
    const std::string text = value.toStdString();
    if (const std::optional<CharSet> set = ParseValidChars(text)) {
        validCharSet_ = *set;
        validChars_ = value;
    } else {
        validChars_ = QString::fromStdString(InvalidValidCharsText(text));
    }
}

void TFilterEdit::SetCase(CharCase charCase) {
    charCase_ = charCase;
    ShowInCase();
}

void TFilterEdit::CapitalizeFirst() { setText(QString::fromStdString(qnvr::CapitalizeFirst(text().toStdString()))); }

bool TFilterEdit::HandleCaseShortcut(QKeyEvent* event) {
    if (event->modifiers() != Qt::ControlModifier || isReadOnly()) return false;
    QString changed;
    if (event->key() == Qt::Key_L) changed = QString::fromStdString(qnvr::CapitalizeFirst(text().toLower().toStdString()));
    else if (event->key() == Qt::Key_U) changed = text().toUpper();
    else return false;
    // As one edit, so that Undo brings the old text back.
    selectAll();
    insert(changed);
    event->accept();
    return true;
}

void TFilterEdit::keyPressEvent(QKeyEvent* event) {
    if (HandleCaseShortcut(event)) return;
    const QChar typed = TypedCharacter(event);
    if (isReadOnly() || typed.isNull()) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    QChar key(static_cast<char16_t>(KeyInCase(charCase_, typed.unicode())));
    if (!CharPassesFilter(validCharSet_, key.unicode())) {
        if (beepOnInvalid_) QApplication::beep();
        event->accept();
        return;
    }
    if (keyPressHandler_ && !RunGuarded([&] { keyPressHandler_(*this, key); })) return;
    if (key.isNull()) {
        event->accept();
        return;
    }
    if (key == typed) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    QKeyEvent converted(event->type(), event->key(), event->modifiers(), QString(key), event->isAutoRepeat());
    QLineEdit::keyPressEvent(&converted);
    event->setAccepted(converted.isAccepted());
}

void TFilterEdit::focusInEvent(QFocusEvent* event) {
    QLineEdit::focusInEvent(event);
    if (!visit_.Begins()) return;
    SelectAllOnEntry(this, event->reason());
    RunGuarded([this] { emit Entered(); });
}

void TFilterEdit::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    if (visit_.Ends(this, event)) LeaveField();
}

void TFilterEdit::LeaveField() {
    if (!RunGuarded([this] { emit Exited(); })) return;
    if (requiredField_ && text().trimmed().isEmpty())
        RefuseExit(this, "This field is required!", MsgStyle::Warning, kFilterFocusBackFailed);
}

}  // namespace qnvr
