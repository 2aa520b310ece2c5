#include "ui/print/frm_form_type.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "ui/base/dialog_buttons.h"
#include "ui/base/modal.h"

namespace qnvr {
namespace {

using forms::W2FormType;

struct FormTypeButton {
    W2FormType type;
    const char* objectName;
    const char* caption;
};

constexpr FormTypeButton kButtons[] = {
    {W2FormType::Employee, "RbEmployee", "Employee Copy"},
    {W2FormType::Employer, "RbEmployer", "Employer Copy"},
    {W2FormType::State, "RbState", "State Filing Copy"},
    {W2FormType::SSA, "RbSSA", "SSA Laser Copy"},
};

}  // namespace

TFrmFormType::TFrmFormType(forms::W2PrintChoices& choices, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint), choices_(choices) {
    setObjectName(QStringLiteral("FrmFormType"));
    setWindowTitle(tr("Form W-2 Type"));
    auto* layout = new QVBoxLayout(this);
    Label1 = new QLabel(tr("Select a Form Type to print"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    layout->addWidget(Label1);

    auto* group = new QButtonGroup(this);
    QRadioButton** fields[] = {&RbEmployee, &RbEmployer, &RbState, &RbSSA};
    for (std::size_t i = 0; i < std::size(kButtons); ++i) {
        auto* button = new QRadioButton(tr(kButtons[i].caption), this);
        button->setObjectName(QString::fromLatin1(kButtons[i].objectName));
        button->setAccessibleName(button->text());
        group->addButton(button, static_cast<int>(kButtons[i].type));
        layout->addWidget(button);
        *fields[i] = button;
    }
    ChkMaskSSN = new QCheckBox(tr("&Mask SSNs on Employee Copy"), this);
    ChkMaskSSN->setObjectName(QStringLiteral("ChkMaskSSN"));
    ChkMaskSSN->setAccessibleName(tr("Mask SSNs on Employee Copy"));
    layout->addWidget(ChkMaskSSN);

    const OkCancelButtons buttons = AddOkCancel(this);
    BtnOk = buttons.ok;
    BtnCancel = buttons.cancel;
    connect(BtnOk, &QPushButton::clicked, this, &QDialog::accept);
    layout->addLayout(buttons.row);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    // The radio button of the current choice is checked and focused; masking starts on.
    QRadioButton* current = ButtonOf(choices_.formType);
    current->setChecked(true);
    current->setFocus(Qt::OtherFocusReason);
    ChkMaskSSN->setChecked(true);
}

QRadioButton* TFrmFormType::ButtonOf(W2FormType type) const {
    switch (type) {
        case W2FormType::Employee: return RbEmployee;
        case W2FormType::Employer: return RbEmployer;
        case W2FormType::State: return RbState;
        case W2FormType::SSA: return RbSSA;
    }
    return RbEmployee;
}

// Closing by either button, or by the window's close box, keeps what the window shows.
void TFrmFormType::done(int result) {
    for (const FormTypeButton& b : kButtons)
        if (ButtonOf(b.type)->isChecked()) choices_.formType = b.type;
    choices_.maskSSN = ChkMaskSSN->isChecked();
    QDialog::done(result);
}

bool TFrmFormType::Ask(forms::W2PrintChoices& choices, QWidget* parent) {
    TFrmFormType window(choices, parent);
    return ExecModal(window) == QDialog::Accepted;
}

}  // namespace qnvr
