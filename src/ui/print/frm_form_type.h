#pragma once
// TFrmFormType: the choice of the copy that Print All prints (employee copies, Copy D
// for the employer, Copy 1 for the state, or Copy A for the SSA) and whether the
// employee copies mask the SSN. The choice made, by Ok or Cancel, is kept for the rest
// of the program run and shown the next time.
#include <QDialog>

#include "forms/form_jobs.h"

class QCheckBox;
class QLabel;
class QPushButton;
class QRadioButton;

namespace qnvr {

class TFrmFormType final : public QDialog {
    Q_OBJECT
public:
    TFrmFormType(forms::W2PrintChoices& choices, QWidget* parent = nullptr);

    QLabel* Label1;
    QRadioButton* RbEmployee;
    QRadioButton* RbEmployer;
    QRadioButton* RbState;
    QRadioButton* RbSSA;
    QCheckBox* ChkMaskSSN;
    QPushButton* BtnOk;
    QPushButton* BtnCancel;

    // Shows the window; true when it closed with Ok. Either way the choices take what
    // the window showed when it closed.
    static bool Ask(forms::W2PrintChoices& choices, QWidget* parent);

protected:
    void done(int result) override;

private:
    QRadioButton* ButtonOf(forms::W2FormType type) const;

    forms::W2PrintChoices& choices_;
};

}  // namespace qnvr
