#pragma once
// TFrmRecList: the employee list, a small modal window of every employee by name,
// sorted, from which the user jumps to an employee; and ShowEmployeeList, the W-2
// window's List button behind it.
#include <QDialog>

#include <vector>

#include "core/entry/employee_list.h"

class QLabel;
class QListWidget;
class QPushButton;

namespace qnvr {

class TFrmDataModule;

class TFrmRecList final : public QDialog {
    Q_OBJECT

public:
    explicit TFrmRecList(const std::vector<EmployeeListEntry>& entries, QWidget* parent = nullptr);

    // The chosen row (from 0), -1 when the list was cancelled.
    int Selected = -1;

    QLabel* Header;
    QListWidget* RecListBox;
    QPushButton* BtnOk;
    QPushButton* BtnCancel;

    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FitHeightToEntries(int entries);
};

// Shows the employee list of dm's open payer file (built again first when
// EmployeeListDirty is set); a chosen row makes its employee the store's current record,
// read into W2Rec. A file of fewer than two employees has no list: the user is told so.
void ShowEmployeeList(TFrmDataModule& dm, QWidget* parent);

}  // namespace qnvr
