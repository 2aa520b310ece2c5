#include "ui/store/frm_new_file_dlg.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/store/payer_file_commands.h"
#include "core/text/text.h"
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

QPushButton* Button(QWidget* parent, const char* name, const QString& caption) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setAutoDefault(false);  // Enter confirms wherever the focus is
    return button;
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
    BtnOk = Button(this, "BtnOk", tr("&Ok"));
    BtnOk->setDefault(true);
    BtnCancel = Button(this, "BtnCancel", tr("&Cancel"));
    connect(BtnOk, &QPushButton::clicked, this, &QDialog::accept);
    connect(BtnCancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(BtnOk);
    buttons->addWidget(BtnCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Label1);
    layout->addWidget(NewFileName);
    layout->addLayout(buttons);
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
