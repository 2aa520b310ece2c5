#include "ui/store/frm_password.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

#include "core/base/prompter.h"
#include "core/store/data_module.h"
#include "ui/base/dialog_buttons.h"
#include "ui/base/error_display.h"
#include "ui/base/help_window.h"
#include "ui/entry/enter_as_tab.h"
#include "ui/base/window_ports.h"

namespace qnvr {
namespace {

constexpr int kHelpTopic = 14;

const char* const kRules[] = {
    "1. The following characters are allowed: a to z, A to Z, and  0 to  9.",
    "2. The password must be between 5 and  12 characters.",
    "3. The Enter Password and Confirm Password fields must match.",
    "4. Use a combination of upper and lower case characters  and  numbers.",
};

}  // namespace

TFrmPassword::TFrmPassword(TFrmDataModule& dataModule, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint), dm_(dataModule) {
    setObjectName(QStringLiteral("FrmPassword"));
    setWindowTitle(tr("Set/Change Password"));
    Label1 = new QLabel(tr("Enter Password"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    PW1 = PasswordField("PW1", tr("Enter Password"));
    Label1->setBuddy(PW1);
    Label2 = new QLabel(tr("Confirm Pasword"), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    PW2 = PasswordField("PW2", tr("Confirm Password"));
    Label2->setBuddy(PW2);
    const OkCancelButtons buttons = AddOkCancel(this);
    BtnOk = buttons.ok;
    BtnCancel = buttons.cancel;
    BtnOk->setDefault(false);  // Enter moves between the fields here
    for (QPushButton* button : {BtnOk, BtnCancel}) button->setFocusPolicy(Qt::ClickFocus);  // not tab stops
    ConnectCommand(BtnOk, &QPushButton::clicked, this, &TFrmPassword::BtnOkClick);

    GroupBox1 = new QGroupBox(tr("Password Rules"), this);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    auto* rules = new QVBoxLayout(GroupBox1);
    for (const char* rule : kRules) rules->addWidget(new QLabel(QString::fromLatin1(rule), GroupBox1));

    auto* fields = new QGridLayout;
    fields->addWidget(Label1, 0, 0);
    fields->addWidget(PW1, 0, 1);
    fields->addWidget(Label2, 1, 0);
    fields->addWidget(PW2, 1, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addWidget(GroupBox1);
    layout->addLayout(buttons.row);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    AttachHelpTopic(this, kHelpTopic);
    new TEnterAsTab(this);

    // The password in force shows (masked) in the first field; the second stays empty,
    // so even keeping it means typing it once more.
    PW1->setText(QString::fromStdString(Unscramble(dm_.W3Rec().Password)));
    PW1->setFocus();
}

// Letters and digits only, typed or pasted: a password is stored exactly as it was
// entered, so it can be typed again at the next open.
QLineEdit* TFrmPassword::PasswordField(const char* name, const QString& caption) {
    auto* field = new QLineEdit(this);
    field->setObjectName(QString::fromLatin1(name));
    field->setAccessibleName(caption);
    field->setEchoMode(QLineEdit::Password);
    field->setMaxLength(12);
    field->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[A-Za-z0-9]*")), field));
    return field;
}

void TFrmPassword::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) return;  // only Cancel leaves without storing
    QDialog::keyPressEvent(event);
}

void TFrmPassword::BtnOkClick() {
    W3Record w3 = dm_.W3Rec();
    if (const auto message = ChangePassword(PW1->text().toStdString(), PW2->text().toStdString(), w3)) {
        ShowMsg(PortsOf(this).prompter, *message, MsgStyle::Error);
        return;
    }
    dm_.PostW3Rec(w3);
    accept();
}

}  // namespace qnvr
