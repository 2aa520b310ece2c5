#include "ui/base/select_folder.h"

#include <QDir>
#include <QFileDialog>

#include "ui/base/modal.h"

namespace qnvr {

bool SelectFolder(QWidget* parent, const QString& title, QString& folder) {
    QFileDialog picker(parent, title, QDir(folder).exists() ? folder : QDir::homePath());
    picker.setObjectName(QStringLiteral("FolderPicker"));
    picker.setFileMode(QFileDialog::Directory);
    picker.setOption(QFileDialog::ShowDirsOnly);
    if (ExecModal(picker) != QDialog::Accepted || picker.selectedFiles().isEmpty()) return false;
    folder = picker.selectedFiles().first();
    return true;
}

}  // namespace qnvr
