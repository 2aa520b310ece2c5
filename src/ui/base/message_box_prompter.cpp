#include "ui/base/message_box_prompter.h"

#include <QApplication>
#include <QMessageBox>

#include "ui/base/modal.h"

namespace qnvr {
namespace {

struct StyleLook {
    MsgStyle style;
    QMessageBox::Icon icon;
    QMessageBox::StandardButtons buttons;
    QMessageBox::StandardButton defaultButton;
    QMessageBox::StandardButton escapeButton;  // the answer when the box is closed without a button
};

constexpr StyleLook kLooks[] = {
    {MsgStyle::Plain, QMessageBox::NoIcon, QMessageBox::Ok, QMessageBox::Ok, QMessageBox::Ok},
    {MsgStyle::Error, QMessageBox::Critical, QMessageBox::Ok, QMessageBox::Ok, QMessageBox::Ok},
    {MsgStyle::Information, QMessageBox::Information, QMessageBox::Ok, QMessageBox::Ok, QMessageBox::Ok},
    {MsgStyle::Warning, QMessageBox::Warning, QMessageBox::Ok, QMessageBox::Ok, QMessageBox::Ok},
    {MsgStyle::OkCancel, QMessageBox::Question, QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Ok, QMessageBox::Cancel},
    {MsgStyle::OkCancelDefaultCancel, QMessageBox::Question, QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Cancel,
     QMessageBox::Cancel},
    {MsgStyle::YesNoDefaultNo, QMessageBox::Warning, QMessageBox::Yes | QMessageBox::No, QMessageBox::No, QMessageBox::No},
};

const StyleLook& LookOf(MsgStyle style) {
    for (const StyleLook& look : kLooks)
        if (look.style == style) return look;
    return kLooks[0];
}

MsgButton ButtonId(QMessageBox::StandardButton button) {
    switch (button) {
        case QMessageBox::Cancel: return MsgButton::Cancel;
        case QMessageBox::Yes: return MsgButton::Yes;
        case QMessageBox::No: return MsgButton::No;
        default: return MsgButton::Ok;
    }
}

}  // namespace

MsgButton MessageBoxPrompter::Show(const std::string& text, const std::string& caption, MsgStyle style) {
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
