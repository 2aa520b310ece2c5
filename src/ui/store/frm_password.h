#pragma once
// TFrmPassword: sets, changes or removes the open payer file's password. Only letters
// and digits can be entered; Enter moves to the next field and Escape does not close
// the window, so that a half-typed password is never confirmed by accident.
#include <QDialog>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace qnvr {

class TFrmDataModule;

class TFrmPassword final : public QDialog {
    Q_OBJECT
public:
    explicit TFrmPassword(TFrmDataModule& dataModule, QWidget* parent = nullptr);

    QLabel* Label1;
    QLineEdit* PW1;
    QLabel* Label2;
    QLineEdit* PW2;
    QPushButton* BtnOk;
    QPushButton* BtnCancel;
    QGroupBox* GroupBox1;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void BtnOkClick();
    QLineEdit* PasswordField(const char* name, const QString& caption);

    TFrmDataModule& dm_;
};

}  // namespace qnvr
