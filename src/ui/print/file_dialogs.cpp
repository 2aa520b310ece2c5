#include "ui/print/file_dialogs.h"

#include <QFileDialog>
#include <QFileInfo>

#include "core/base/prompter.h"
#include "ui/base/modal.h"
#include "ui/base/window_ports.h"

namespace qnvr {

QStringList DialogFilters(const QString& filter) {
    const QStringList parts = filter.split('|');
    QStringList filters;
    for (int i = 0; i + 1 < parts.size(); i += 2) filters << parts[i];
    return filters;
}

bool AskFileName(QWidget* parent, const FileDialogSpec& spec, QString& path) {
    QFileDialog dialog(parent);
    dialog.setObjectName(spec.objectName);
    if (!spec.title.isEmpty()) dialog.setWindowTitle(spec.title);
    // Our own dialog on every platform, and replacing a file is asked through the
    // program's prompter like every other question.
    dialog.setOptions(QFileDialog::DontUseNativeDialog | QFileDialog::DontConfirmOverwrite);
    dialog.setAcceptMode(spec.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(spec.save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setNameFilters(DialogFilters(spec.filter));
    dialog.setDefaultSuffix(spec.defaultSuffix);
    if (!path.isEmpty()) dialog.selectFile(path);
    if (ExecModal(dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return false;

    const QString chosen = dialog.selectedFiles().first();
    if (spec.save && QFileInfo::exists(chosen)) {
        const std::string question = QFileInfo(chosen).fileName().toStdString() +
                                     " already exists.~Do you want to replace it?";
        if (ShowMsg(PortsOf(&dialog).prompter, question, spec.title.isEmpty() ? kAppTitle : spec.title.toStdString(), MsgStyle::YesNoDefaultNo) != MsgButton::Yes)
            return false;
    }
    path = chosen;
    return true;
}

}  // namespace qnvr
