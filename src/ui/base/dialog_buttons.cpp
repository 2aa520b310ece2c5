#include "ui/base/dialog_buttons.h"

#include <QDialog>
#include <QHBoxLayout>
#include <QPushButton>

namespace qnvr {

QPushButton* NamedButton(QWidget* parent, const char* objectName, const QString& caption) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QString::fromLatin1(objectName));
    button->setAutoDefault(false);  // Enter goes to the default button wherever the focus is
    return button;
}

OkCancelButtons AddOkCancel(QDialog* dialog) {
    OkCancelButtons buttons{NamedButton(dialog, "BtnOk", QDialog::tr("&Ok")),
                            NamedButton(dialog, "BtnCancel", QDialog::tr("&Cancel")), new QHBoxLayout};
    buttons.ok->setDefault(true);
    QObject::connect(buttons.cancel, &QPushButton::clicked, dialog, &QDialog::reject);
    buttons.row->addStretch();
    buttons.row->addWidget(buttons.ok);
    buttons.row->addWidget(buttons.cancel);
    return buttons;
}

}  // namespace qnvr
