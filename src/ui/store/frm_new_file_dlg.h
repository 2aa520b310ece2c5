#pragma once
// TFrmNewFileDlg: asks for the name of a new payer file. Enter anywhere confirms,
// Escape cancels, and confirming a blank name counts as cancelling.
#include <QDialog>

class QLabel;
class QPushButton;

namespace qnvr {

class TFilterEdit;

class TFrmNewFileDlg final : public QDialog {
    Q_OBJECT
public:
    explicit TFrmNewFileDlg(QWidget* parent = nullptr);
    void done(int result) override;

    QLabel* Label1;
    TFilterEdit* NewFileName;
    QPushButton* BtnOk;
    QPushButton* BtnCancel;

protected:
    void showEvent(QShowEvent* event) override;
};

}  // namespace qnvr
