#include "ui/store/password_dlg.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/base/dialog_buttons.h"
#include "ui/base/modal.h"

namespace qnvr {

TPasswordDlg::TPasswordDlg(const QString& prompt, const QString& caption, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint) {
    setObjectName(QStringLiteral("PasswordDlg"));
    setWindowTitle(caption);
    Label1 = new QLabel(prompt, this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Password = new QLineEdit(this);
    Password->setObjectName(QStringLiteral("Password"));
    Password->setEchoMode(QLineEdit::Password);
    Password->setFixedWidth(241);
    Label1->setBuddy(Password);
    Password->setAccessibleName(prompt);
    const OkCancelButtons buttons = AddOkCancel(this);
    BtnOk = buttons.ok;
    BtnCancel = buttons.cancel;
    connect(BtnOk, &QPushButton::clicked, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Label1);
    layout->addWidget(Password);
    layout->addLayout(buttons.row);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

std::optional<std::string> DialogPasswordEntry::Ask(const std::string& prompt, const std::string& caption) {
    TPasswordDlg dialog(QString::fromStdString(prompt), QString::fromStdString(caption), QApplication::activeWindow());
    if (ExecModal(dialog) != QDialog::Accepted) return std::nullopt;
    return dialog.Password->text().toStdString();
}

}  // namespace qnvr
