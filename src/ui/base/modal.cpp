#include "ui/base/modal.h"

namespace qnvr {
namespace {
ModalHandler& Handler() {
    static ModalHandler handler;
    return handler;
}
}  // namespace

void SetModalHandler(ModalHandler handler) { Handler() = std::move(handler); }

int ExecModal(QDialog& dialog) {
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
