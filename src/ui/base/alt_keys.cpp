#include "ui/base/alt_keys.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

namespace qnvr {
namespace {

class AltKeyGuard final : public QObject {
public:
    explicit AltKeyGuard(QObject* parent) : QObject(parent) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress || watched != QApplication::focusWidget()) return false;
        const auto* key = static_cast<const QKeyEvent*>(event);
        const Qt::KeyboardModifiers modifiers = key->modifiers() & ~Qt::KeypadModifier;
        if (!(modifiers & Qt::AltModifier) || (modifiers & (Qt::ControlModifier | Qt::MetaModifier))) return false;
        const QString text = key->text();
        // Alt with a character: used up here. Alt with a cursor key (a drop-down's
        // Alt+Down) or a function key goes on as usual.
        return !text.isEmpty() && text.at(0).isPrint();
    }
};

}  // namespace

void GuardAltKeys() {
    static bool installed = false;
    if (installed || !qApp) return;
    installed = true;
    qApp->installEventFilter(new AltKeyGuard(qApp));
}

}  // namespace qnvr
