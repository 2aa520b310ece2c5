#include "ui/entry/mask_edit.h"

#include <QFocusEvent>

#include "ui/entry/event_errors.h"

namespace qnvr {
namespace {

// The editor's mask for a layout: "9" is a digit that may be left blank ("0" to the
// editor), every other character a literal; unfilled positions show a blank.
QString EditorMask(const QString& layout) {
    static const QString kMaskCharacters = QStringLiteral("AaNnXx90Dd#HhBb><!\\[]{}");
    QString mask;
    for (QChar c : layout) {
        if (c == u'9') mask += u'0';
        else if (kMaskCharacters.contains(c)) mask += QStringLiteral("\\") + c;
        else mask += c;
    }
    return mask + QStringLiteral("; ");
}

}  // namespace

TMaskEdit::TMaskEdit(const QString& layout, QWidget* parent) : QLineEdit(parent), layout_(layout) {
    setInputMask(EditorMask(layout));
    setAttribute(Qt::WA_InputMethodEnabled, false);
}

QString TMaskEdit::Text() const { return displayText(); }

void TMaskEdit::SetText(const QString& text) { setText(text); }

void TMaskEdit::focusInEvent(QFocusEvent* event) {
    QLineEdit::focusInEvent(event);
    if (!visit_.Begins()) return;
    SelectAllOnEntry(this, event->reason());
    RunGuarded([this] { emit Entered(); });
}

void TMaskEdit::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    if (visit_.Ends(this, event)) RunGuarded([this] { emit Exited(); });
}

}  // namespace qnvr
