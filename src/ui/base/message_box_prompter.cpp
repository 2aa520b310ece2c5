#include "ui/base/message_box_prompter.h"

#include <QApplication>
#include <QMessageBox>

#include "ui/base/modal.h"

namespace qnvr {
namespace {

struct StyleLook {
    int style;
    QMessageBox::Icon icon;
    QMessageBox::StandardButtons buttons;
    QMessageBox::StandardButton defaultButton;
    QMessageBox::StandardButton escapeButton;  // the answer when the box is closed without a button
};

constexpr StyleLook kLooks[] = {
    {mbPlain, QMessageBox::NoIcon, QMessageBox::Ok, QMessageBox::Ok, QMessageBox::Ok},
    {mbError, QMessageBox::Critical, QMessageBox::Ok, QMessageBox::Ok, QMessageBox::Ok},
    {mbInformation, QMessageBox::Information, QMessageBox::Ok, QMessageBox::Ok, QMessageBox::Ok},
    {mbWarning, QMessageBox::Warning, QMessageBox::Ok, QMessageBox::Ok, QMessageBox::Ok},
    {mbOkCancel, QMessageBox::Question, QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Ok, QMessageBox::Cancel},
    {mbOkCancelDefaultCancel, QMessageBox::Question, QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Cancel,
     QMessageBox::Cancel},
    {mbYesNoDefaultNo, QMessageBox::Warning, QMessageBox::Yes | QMessageBox::No, QMessageBox::No, QMessageBox::No},
};

const StyleLook& LookOf(int style) {
    for (const StyleLook& look : kLooks)
        if (look.style == style) return look;
    return kLooks[0];
}

int ButtonId(QMessageBox::StandardButton button) {
    switch (button) {
        case QMessageBox::Cancel: return idCancel;
        case QMessageBox::Yes: return idYes;
        case QMessageBox::No: return idNo;
        default: return idOk;
    }
}

}  // namespace

int MessageBoxPrompter::Show(const std::string& text, const std::string& caption, int style) {
    const StyleLook& look = LookOf(style);
    QMessageBox box(look.icon, QString::fromStdString(caption), QString::fromStdString(text), look.buttons,
                    QApplication::activeWindow());
    box.setObjectName(QStringLiteral("MessageBox"));
    box.setTextFormat(Qt::PlainText);
    box.setDefaultButton(look.defaultButton);
    box.setEscapeButton(look.escapeButton);
    ExecModal(box);
    QAbstractButton* pressed = box.clickedButton();
    return ButtonId(pressed ? box.standardButton(pressed) : look.escapeButton);
}

}  // namespace qnvr
