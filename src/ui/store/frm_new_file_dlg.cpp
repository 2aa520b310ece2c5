#include "ui/store/frm_new_file_dlg.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/program/payer_file_commands.h"
#include "core/text/text.h"
#include "ui/base/dialog_buttons.h"
#include "ui/base/help_window.h"
#include "ui/entry/filter_edit.h"

namespace qnvr {
namespace {

constexpr int kHelpTopic = 3;  // the topic on creating a file, as for File, New

TFilterEdit* NameField(QWidget* parent) {
    auto* field = new TFilterEdit(parent);
    field->SetValidChars(QString::fromLatin1(kPayerNameValidChars));
    field->setMaxLength(kPayerNameMaxLength);
    return field;
}

}  // namespace

TFrmNewFileDlg::TFrmNewFileDlg(QWidget* parent) : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint) {
    setObjectName(QStringLiteral("FrmNewFileDlg"));
    setWindowTitle(tr("New Quenvora W-2 Company/Employer File"));
    Label1 = new QLabel(tr("Enter the name of the Company/Employer File to be created"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    NewFileName = NameField(this);
    NewFileName->setObjectName(QStringLiteral("NewFileName"));
    NewFileName->setAccessibleName(Label1->text());
    Label1->setBuddy(NewFileName);
    const OkCancelButtons buttons = AddOkCancel(this);
    BtnOk = buttons.ok;
    BtnCancel = buttons.cancel;
    connect(BtnOk, &QPushButton::clicked, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Label1);
    layout->addWidget(NewFileName);
    layout->addLayout(buttons.row);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    AttachHelpTopic(this, kHelpTopic);
}

void TFrmNewFileDlg::showEvent(QShowEvent* event) {
    NewFileName->clear();
    NewFileName->setFocus();
    QDialog::showEvent(event);
}

void TFrmNewFileDlg::done(int result) {
    if (result == Accepted && IsBlank(NewFileName->text().toStdString())) result = Rejected;
    QDialog::done(result);
}

}  // namespace qnvr
