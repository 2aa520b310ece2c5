#include "ui/base/modal.h"

#include <QApplication>
#include <QPointer>

namespace qnvr {
namespace {
ModalHandler& Handler() {
    static ModalHandler handler;
    return handler;
}

QPointer<QWidget>& LastOwner() {
    static QPointer<QWidget> owner;
    return owner;
}

bool Showing(const QWidget* window) { return window && window->isVisible(); }

}  // namespace

void SetModalHandler(ModalHandler handler) { Handler() = std::move(handler); }

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
}

int ExecModal(QDialog& dialog) {
    QPointer<QWidget> opener = dialog.parentWidget() ? dialog.parentWidget()->window() : OwnerWindow();
    if (opener == &dialog) opener = nullptr;
    struct Return {
        QPointer<QWidget>& opener;
        ~Return() { ReturnToWindow(opener); }
    } returning{opener};
    if (!Handler()) return dialog.exec();
    dialog.setResult(QDialog::Rejected);
    dialog.setWindowModality(Qt::ApplicationModal);
    dialog.show();
    dialog.activateWindow();
    Handler()(dialog);
    if (dialog.isVisible()) dialog.reject();
    return dialog.result();
}

}  // namespace qnvr
