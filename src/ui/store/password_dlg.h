#pragma once
// TPasswordDlg: the prompt for a payer file's password when the file is opened, and the
// desktop program's answer to the core's password prompt.
#include <QDialog>

#include "core/store/password.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace qnvr {

class TPasswordDlg final : public QDialog {
    Q_OBJECT
public:
    TPasswordDlg(const QString& prompt, const QString& caption, QWidget* parent = nullptr);

    QLabel* Label1;
    QLineEdit* Password;  // each character shown as "*"
    QPushButton* BtnOk;
    QPushButton* BtnCancel;
};

// Asks through TPasswordDlg; Cancel, Escape and closing the window cancel.
class DialogPasswordEntry final : public PasswordEntry {
public:
    std::optional<std::string> Ask(const std::string& prompt, const std::string& caption) override;
};

}  // namespace qnvr
