#include "ui/store/frm_backup.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/base/dialog_buttons.h"
#include "ui/base/select_folder.h"

namespace qnvr {
namespace {

QLabel* NamedLabel(QWidget* parent, const char* name, const QString& text) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

}  // namespace

TFrmBackupRestore::TFrmBackupRestore(const Texts& texts, const QString& fileName, const QString& location,
                                     const QString& path, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint), pickerTitle_(texts.pickerTitle) {
    setObjectName(QString::fromLatin1(texts.objectName));
    setWindowTitle(texts.caption);

    GroupCurrent = new QGroupBox(tr(" Current File: "), this);
    GroupCurrent->setObjectName(QStringLiteral("GroupCurrent"));
    LblExplanation = NamedLabel(GroupCurrent, "LblExplanation", texts.explanation);
    LblExplanation->setWordWrap(true);
    LblFileName = NamedLabel(GroupCurrent, "LblFileName", fileName);
    LblLocation = NamedLabel(GroupCurrent, "LblLocation", location);
    auto* current = new QFormLayout;
    current->addRow(tr("File name:"), LblFileName);
    current->addRow(tr("Location:"), LblLocation);
    auto* currentLayout = new QVBoxLayout(GroupCurrent);
    currentLayout->addWidget(LblExplanation);
    currentLayout->addLayout(current);

    GroupFolder = new QGroupBox(texts.folderGroup, this);
    GroupFolder->setObjectName(QStringLiteral("GroupFolder"));
    Path = new QLineEdit(path, GroupFolder);
    Path->setObjectName(QStringLiteral("Path"));
    Path->setAccessibleName(texts.folderGroup.trimmed());
    BtnBrowse = NamedButton(GroupFolder, "BtnBrowse", tr("&Browse"));
    auto* folderLayout = new QHBoxLayout(GroupFolder);
    folderLayout->addWidget(Path, 1);
    folderLayout->addWidget(BtnBrowse);
    connect(BtnBrowse, &QPushButton::clicked, this, &TFrmBackupRestore::BtnBrowseClick);

    const OkCancelButtons buttons = AddOkCancel(this);
    BtnOk = buttons.ok;
    BtnCancel = buttons.cancel;
    connect(BtnOk, &QPushButton::clicked, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(GroupCurrent);
    layout->addWidget(GroupFolder);
    layout->addLayout(buttons.row);
    setFixedWidth(480);
    Path->setFocus();
}

void TFrmBackupRestore::BtnBrowseClick() {
    QString folder = Path->text();
    if (SelectFolder(this, pickerTitle_, folder)) Path->setText(folder);
}

TFrmBackup::TFrmBackup(const QString& fileName, const QString& location, const QString& path, QWidget* parent)
    : TFrmBackupRestore({"FrmBackup", tr("Quenvora W-2 File Backup"),
                         tr("You are about to make a backup of the current file. If you are backing-up to a removable "
                            "storerage device (such as a USB flash drive), connnect it to your system before clicking "
                            "Ok. Use the Restore command to retrieve your backup."),
                         tr(" Backup Current File To: "), tr("Select the backup to folder")},
                        fileName, location, path, parent) {}

TFrmRestore::TFrmRestore(const QString& fileName, const QString& location, const QString& path, QWidget* parent)
    : TFrmBackupRestore({"FrmRestore", tr("Quenvora W-2 Restore File Backup"),
                         tr("You are about to restore the current file from a previous backup. If you are restoring "
                            "from a removable storage device (such as a USB flash drive), connect it to your system "
                            "before clicking Ok."),
                         tr(" Restore Current File Backup From: "), tr("Select the folder to restore from")},
                        fileName, location, path, parent) {}

}  // namespace qnvr
