#include "support/modal_script.h"

#include <QAbstractButton>
#include <QLineEdit>
#include <QTest>

#include "ui/base/modal.h"

namespace qnvr::testing {

ModalScript::ModalScript() {
    SetModalHandler([this](QDialog& dialog) { Run(dialog); });
}

ModalScript::~ModalScript() { SetModalHandler({}); }

ModalScript& ModalScript::Then(Step step) {
    steps_.push_back(std::move(step));
    return *this;
}

void ModalScript::Run(QDialog& dialog) {
    opened_ << dialog.windowTitle();
    if (steps_.empty()) {
        unexpected_ << dialog.windowTitle();
        dialog.reject();
        return;
    }
    Step step = std::move(steps_.front());
    steps_.pop_front();
    step(dialog);
}

void TypeInto(QDialog& dialog, const char* fieldName, const QString& text) {
    auto* field = dialog.findChild<QLineEdit*>(QString::fromLatin1(fieldName));
    QVERIFY2(field, fieldName);
    field->setFocus();
    QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(field, Qt::Key_Delete);
    QTest::keyClicks(field, text);
}

void ChooseFile(QDialog& fileDialog, const QString& path) {
    TypeInto(fileDialog, "fileNameEdit", path);
    auto* field = fileDialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    QTest::keyClick(field, Qt::Key_Return);
}

void Click(QDialog& dialog, const char* buttonName) {
    auto* button = dialog.findChild<QAbstractButton*>(QString::fromLatin1(buttonName));
    QVERIFY2(button, buttonName);
    QTest::mouseClick(button, Qt::LeftButton);
}

}  // namespace qnvr::testing
