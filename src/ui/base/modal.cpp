#include "ui/base/modal.h"

#include <QApplication>
#include <QPointer>

namespace qnvr {
namespace {
QPointer<QWidget>& LastOwner() {
    static QPointer<QWidget> owner;
    return owner;
}

bool Showing(const QWidget* window) { return window && window->isVisible(); }

}  // namespace

QWidget* OwnerWindow() {
    QWidget* active = QApplication::activeWindow();
    if (Showing(active)) return active;
    return Showing(LastOwner()) ? LastOwner().data() : nullptr;
}

void ReturnToWindow(QWidget* window) {
    if (!Showing(window)) return;
    LastOwner() = window;
    // Qt's own idea of the active window at once (the next key goes there), and the
    // desktop's as soon as its window manager has done it.
    QApplication::setActiveWindow(window);
    window->activateWindow();
    // A window without a focused control of its own takes the keys itself, so that they
    // never stay with a control of the window that closed.
    QWidget* focused = QApplication::focusWidget();
    if (focused != window && !window->isAncestorOf(focused)) window->setFocus(Qt::ActiveWindowFocusReason);
}

namespace {

// The dialog has closed: nothing of it keeps the keyboard (a name field's list of
// suggestions that is still up, the field that had the focus).
void ReleaseKeyboard(QDialog& dialog) {
    while (QWidget* popup = QApplication::activePopupWidget()) {
        if (popup != &dialog && !dialog.isAncestorOf(popup) && !(popup->parentWidget() && dialog.isAncestorOf(popup->parentWidget())))
            break;
        popup->hide();
    }
    if (QWidget* focused = dialog.focusWidget(); focused && !dialog.isVisible()) focused->clearFocus();
}

}  // namespace

int ExecModal(QDialog& dialog) {
    QPointer<QWidget> opener = dialog.parentWidget() ? dialog.parentWidget()->window() : OwnerWindow();
    if (opener == &dialog) opener = nullptr;
    struct Return {
        QDialog& dialog;
        QPointer<QWidget>& opener;
        ~Return() {
            ReleaseKeyboard(dialog);
            ReturnToWindow(opener);
        }
    } returning{dialog, opener};
    const WindowPorts* ports = FindPorts(&dialog);
    if (!ports) ports = FindPorts(opener.data());
    if (!ports || !ports->modal) return dialog.exec();
    const ModalHandler handler = ports->modal;
    dialog.setResult(QDialog::Rejected);
    dialog.setWindowModality(Qt::ApplicationModal);
    dialog.show();
    dialog.activateWindow();
    handler(dialog);
    if (dialog.isVisible()) dialog.reject();
    return dialog.result();
}

}  // namespace qnvr
